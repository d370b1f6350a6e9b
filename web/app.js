// The page: measurement files kept in the engine's in-memory folder, the
// controls turned into the arguments of `polarsketch plot`, the figure
// redrawn when a control changes, downloads, and the same command line
// ready to copy.
'use strict';

const $ = (id) => document.getElementById(id);

// ---- The engine: a worker started from the engine's source, or (where no
// worker can be started) the same code on this page.
const engine = (() => {
  let worker = null;
  try {
    const url = URL.createObjectURL(new Blob([polarsketchEngineSource], { type: 'text/javascript' }));
    worker = new Worker(url);
  } catch (error) {
    const script = document.createElement('script');
    script.textContent = polarsketchEngineSource;
    document.head.appendChild(script);
  }
  const waiting = new Map();
  let next = 1;
  if (worker) {
    worker.onmessage = (event) => {
      const { id, result, error } = event.data;
      const w = waiting.get(id);
      waiting.delete(id);
      if (error !== undefined) w.reject(new Error(error));
      else w.resolve(result);
    };
  }
  return {
    inWorker: worker !== null,
    ask(request) {
      if (!worker) return polarsketchHandle(request);
      return new Promise((resolve, reject) => {
        const id = next++;
        waiting.set(id, { resolve, reject });
        worker.postMessage({ id, request });
      });
    },
  };
})();

// ---- Files: name -> {info} (their text lives in the engine).
const files = new Map();

function columnsOption() {
  return $('columns').value.split(',').map((c) => c.trim()).filter((c) => c);
}

async function addFile(name, text) {
  const info = await engine.ask({ op: 'put', name, text, columns: columnsOption() });
  files.set(name, { info, text });
  showFiles();
  redraw();
}

async function rereadFiles() {
  for (const [name, file] of files)
    file.info = await engine.ask({ op: 'put', name, text: file.text, columns: columnsOption() });
  showFiles();
}

function removeFile(name) {
  files.delete(name);
  engine.ask({ op: 'remove', name });
  showFiles();
  redraw();
}

// The file list: what each file holds, or what is wrong with it, beside it.
function showFiles() {
  const list = $('file-list');
  list.replaceChildren();
  const columns = new Set();
  for (const [name, { info }] of files) {
    const item = document.createElement('li');
    const title = document.createElement('span');
    title.className = 'file-name';
    title.textContent = name;
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.textContent = 'Remove';
    remove.setAttribute('aria-label', `Remove ${name}`);
    remove.addEventListener('click', () => removeFile(name));
    const what = document.createElement('div');
    what.className = 'file-info';
    what.textContent = info.sets.map((s) => `${s.count} ${s.kind} (${s.notation})`).join('; ');
    item.append(title, remove, what);
    const problems = info.fatal ? [info.fatal] : info.errors.map((e) => e.message);
    if (info.errorCount > info.errors.length)
      problems.push(`${info.errorCount} errors in all (the first ${info.errors.length} listed)`);
    for (const text of [...problems, ...info.warnings]) {
      const p = document.createElement('div');
      p.className = problems.includes(text) ? 'file-error' : 'file-warning';
      p.textContent = text;
      item.append(p);
    }
    list.append(item);
    for (const c of info.columns) columns.add(c);
  }
  for (const id of ['by', 'label']) {
    const select = $(id);
    const chosen = select.value;
    while (select.options.length > 1) select.remove(1);
    for (const c of columns) select.add(new Option(c, c, false, c === chosen));
  }
}

// ---- The controls as arguments of `polarsketch plot`.
function value(id) { return $(id).value.trim(); }

// The files (every one unless named) and how they are read and chosen
// from, as every form takes them.
function inputArguments(form, names = [...files.keys()]) {
  // A name that starts with a dash would read as an option: said as ./NAME.
  const args = [form, ...names.map((n) => (n.startsWith('-') ? `./${n}` : n))];
  const columns = columnsOption();
  if (columns.length) args.push('--columns', columns.join(','));
  if ($('skip-bad').checked) args.push('--skip-bad');
  for (const condition of value('where').split(';').map((c) => c.trim()).filter((c) => c))
    args.push('--where', condition);
  if (value('by')) args.push('--by', value('by'));
  return args;
}

// The rose diagram of the files instead: `polarsketch rose`.
function roseArguments(output) {
  const args = inputArguments('rose');
  if (value('rose-of')) args.push('--of', value('rose-of'));
  if (value('rose-circle')) args.push(value('rose-circle'));
  if (value('rose-bin')) args.push('--bin', value('rose-bin'));
  if (value('rose-scale')) args.push('--scale', value('rose-scale'));
  if (output) args.push('-o', output);
  return args;
}

// The figure the controls ask for, written to `output`.
function figureArguments(output) {
  return value('figure-kind') === 'rose' ? roseArguments(output) : plotArguments(output);
}

function plotArguments(output) {
  const args = inputArguments('plot');
  const option = (name, v) => { if (v !== '') args.push(name, v); };
  const flag = (name, on) => { if (on) args.push(name); };
  if (value('projection') !== 'equal-area') option('--projection', value('projection'));
  if (value('hemisphere') !== 'lower') option('--hemisphere', value('hemisphere'));
  if (value('net')) option(value('net'), value('net-step') || '10');
  if (value('planes') !== 'great-circles') option('--planes', value('planes'));
  flag('--hide-data', $('hide-data').checked);
  option('--label', value('label'));
  flag('--stats', $('stats').checked);
  flag('--cone-fit', $('cone-fit').checked);
  if (value('contour')) {
    args.push('--contour', value('contour'));
    option('--sigma', value('sigma'));
    option('--units', value('units'));
    option('--levels', value('levels'));
  }
  if (value('slope')) {
    option('--slope', value('slope'));
    if (value('kinematic') !== 'planar') option('--kinematic', value('kinematic'));
    option('--friction', value('friction'));
  }
  if (value('fault-plot') !== 'angelier') option('--fault-plot', value('fault-plot'));
  flag('--pt', $('pt').checked);
  option('--stress', value('stress'));
  flag('--dihedra', $('dihedra').checked);
  args.push('-o', output);
  return args;
}

// A word as a POSIX shell reads it back.
function shellWord(word) {
  return /^[A-Za-z0-9_@%+=:,./-]+$/.test(word) ? word : `'${word.replace(/'/g, `'\\''`)}'`;
}

function baseName() {
  const first = files.keys().next().value || 'figure';
  return first.replace(/\.[^.]*$/, '') || 'figure';
}

// ---- Drawing: one run at a time; a change during a run redraws once more
// after it with the controls as they are then.
let running = false;
let again = false;
let last = null;  // {svg, density, args}

// The body's data-draws counts the drawings finished and data-busy says
// whether one is under way (for scripts and tests that wait for a figure).
let draws = 0;

async function redraw() {
  if (running) { again = true; return; }
  running = true;
  document.body.dataset.busy = 'true';
  try {
    do {
      again = false;
      await drawOnce();
    } while (again);
  } catch (error) {
    showFigure(null, String(error), 'Nothing drawn: the engine failed.');
  } finally {
    running = false;
    document.body.dataset.draws = String(++draws);
    document.body.dataset.busy = 'false';
  }
}

async function drawOnce() {
  const rose = value('figure-kind') === 'rose';
  document.querySelectorAll('.net-only').forEach((box) => { box.hidden = rose; });
  $('rose-box').hidden = !rose;
  const output = `${baseName()}${rose ? '_rose' : ''}.svg`;
  const args = figureArguments(output);
  $('command').value = ['polarsketch', ...args].map(shellWord).join(' ');
  if (files.size === 0) {
    showFigure(null, '', 'Open or drop a measurement file to draw it.');
    return;
  }
  const outputs = [output];
  const density = !rose && value('contour') ? 'density.csv' : '';
  if (density) { args.splice(args.length - 2, 0, '--density-out', density); outputs.push(density); }
  $('status').textContent = 'drawing…';
  // A large figure comes back as a picture drawn in the worker as well: the
  // page would take seconds to build its elements.
  const scale = (Math.min(window.devicePixelRatio || 1, 2) * 96) / 72;
  const started = performance.now();
  const ran = await engine.ask({ op: 'run', args, outputs, figure: output, pictureAbove: 1500000, scale });
  const svg = ran.status === 0 ? ran.files[output] : null;
  last = { svg, density: density ? ran.files[density] : null, output };
  let hint = '';
  if (ran.status !== 0) hint = `Nothing drawn (exit status ${ran.status}): see the messages below.`;
  else if (svg === null) hint = 'The figure was drawn but could not be read back.';
  showFigure(svg, ran.err, hint, ran.picture);
  // Until the figure is painted (the library's part in brackets).
  await new Promise((painted) => requestAnimationFrame(() => setTimeout(painted, 0)));
  const shown = performance.now() - started;
  $('status').textContent = ran.status === 0
    ? `drawn in ${Math.round(shown)} ms (library ${Math.round(ran.milliseconds)} ms)`
    : `exit status ${ran.status}`;
  if (svg && ran.frame) await locateSymbols(args, ran.frame, ran.viewBox);
}

function showFigure(svg, messages, hint, picture) {
  const figure = $('figure');
  located = null;
  if (svg && picture) {
    const canvas = document.createElement('canvas');
    canvas.width = picture.width;
    canvas.height = picture.height;
    canvas.getContext('bitmaprenderer').transferFromImageBitmap(picture);
    const size = /width="([\d.]+)pt" height="([\d.]+)pt"/.exec(svg.slice(0, 2000));
    canvas.style.width = `${size[1]}pt`;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'The figure');
    figure.replaceChildren(canvas);
  } else if (svg) {
    const doc = new DOMParser().parseFromString(svg, 'image/svg+xml');
    figure.replaceChildren(document.importNode(doc.documentElement, true));
  } else if (hint) {
    const p = document.createElement('p');
    p.className = 'hint';
    p.textContent = hint;
    figure.replaceChildren(p);
  }
  $('messages').textContent = messages;
  const drawn = Boolean(svg);
  $('download-svg').disabled = !drawn;
  $('download-png').disabled = !drawn;
  $('download-pdf').disabled = !drawn;
  $('download-stats').disabled = files.size === 0;
  const rose = value('figure-kind') === 'rose';
  $('download-rose').disabled = !(drawn && rose);
  $('download-density').disabled = !(drawn && !rose && last && last.density);
  $('download-kinematics').disabled = !(drawn && !rose && value('slope'));
  $('download-faults').disabled = slipFiles().length === 0;
}

// ---- Pointing at a symbol: the measurements' symbols are placed where the
// projection puts them on the net's primitive circle (read back from the
// figure by the engine), so the one nearest the pointer is found from the
// measurements themselves, and the engine describes it.
let located = null;  // {element, viewBox, frame, sets: [{index, xy}]}

// Where a direction (trend, plunge in degrees, pointing down) is drawn: the
// lower hemisphere seen from above; the upper one shows the other end.
function projected(trend, plunge, where) {
  const azimuth = ((where.upper ? trend + 180 : trend) * Math.PI) / 180;
  const half = ((90 - plunge) * Math.PI) / 360;
  const r = where.projection === 'equal-angle' ? Math.tan(half) : Math.SQRT2 * Math.sin(half);
  return [where.frame.cx + where.frame.r * r * Math.sin(azimuth),
          where.frame.cy - where.frame.r * r * Math.cos(azimuth)];
}

async function locateSymbols(args, frame, viewBox) {
  const element = $('figure').firstElementChild;
  const sets = await engine.ask({ op: 'locate', args });
  const where = { frame, projection: value('projection'), upper: value('hemisphere') === 'upper' };
  const drawn = (set) => set.kind !== 'planes' || value('planes') !== 'great-circles';
  located = {
    element,
    viewBox,
    frame,
    sets: sets.filter(drawn).map((set) => {
      const xy = new Float64Array(set.points.length);
      for (let i = 0; i < set.points.length; i += 2)
        [xy[i], xy[i + 1]] = projected(set.points[i], set.points[i + 1], where);
      return { index: sets.indexOf(set), xy };
    }),
  };
}

let pointed = null;
$('figure').addEventListener('mousemove', (e) => {
  if (!located || $('hide-data').checked) return;
  // The pointer in the figure's points: the element shows the whole view
  // box, as large as fits and centred.
  const box = located.element.getBoundingClientRect();
  const [vx, vy, vw, vh] = located.viewBox;
  const k = Math.min(box.width / vw, box.height / vh);
  const at = { x: vx + (e.clientX - box.left - (box.width - vw * k) / 2) / k,
               y: vy + (e.clientY - box.top - (box.height - vh * k) / 2) / k };
  let best = null, nearest = 16;  // within 4 points of a symbol's centre
  for (const set of located.sets)
    for (let i = 0; i < set.xy.length; i += 2) {
      const d = (set.xy[i] - at.x) ** 2 + (set.xy[i + 1] - at.y) ** 2;
      if (d < nearest) { nearest = d; best = { set: set.index, index: i / 2 }; }
    }
  const tip = $('tooltip');
  if (!best) { tip.hidden = true; pointed = null; return; }
  tip.style.left = `${e.clientX + 14}px`;
  tip.style.top = `${e.clientY + 14}px`;
  const key = `${best.set}:${best.index}`;
  if (key === pointed) return;
  pointed = key;
  engine.ask({ op: 'describe', ...best }).then((text) => {
    if (pointed !== key) return;
    tip.textContent = text;
    tip.hidden = !text;
  });
});
$('figure').addEventListener('mouseleave', () => { $('tooltip').hidden = true; pointed = null; });

// ---- Downloads.
function download(name, blob) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(blob);
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 10000);
}

// The figure drawn on a canvas at 150 pixels per inch (the image's size is
// in CSS pixels, 96 to the inch), white behind it.
function pngOf(svg) {
  return new Promise((resolve, reject) => {
    const image = new Image();
    image.onload = () => {
      const scale = 150 / 96;
      const canvas = document.createElement('canvas');
      canvas.width = Math.ceil(image.width * scale);
      canvas.height = Math.ceil(image.height * scale);
      const g = canvas.getContext('2d');
      g.fillStyle = '#fff';
      g.fillRect(0, 0, canvas.width, canvas.height);
      g.drawImage(image, 0, 0, canvas.width, canvas.height);
      canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('no PNG'))), 'image/png');
    };
    image.onerror = () => reject(new Error('the figure could not be drawn as an image'));
    image.src = URL.createObjectURL(new Blob([svg], { type: 'image/svg+xml' }));
  });
}

$('download-svg').addEventListener('click', () =>
  download(last.output, new Blob([last.svg], { type: 'image/svg+xml' })));
$('download-png').addEventListener('click', async () =>
  download(last.output.replace(/\.svg$/, '.png'), await pngOf(last.svg)));
// The figure as PDF: the same command line with a .pdf output.
$('download-pdf').addEventListener('click', async () => {
  const name = last.output.replace(/\.svg$/, '.pdf');
  const ran = await engine.ask({ op: 'run', args: figureArguments(name), binaryOutputs: [name] });
  if (ran.status !== 0 || !ran.files[name]) { $('messages').textContent = ran.err; return; }
  download(name, new Blob([ran.files[name]], { type: 'application/pdf' }));
});
$('download-density').addEventListener('click', () =>
  download(`${baseName()}_density.csv`, new Blob([last.density], { type: 'text/csv' })));
// A table of another form as CSV: its standard output, or the file it
// writes; its messages shown when it fails.
async function downloadTable(args, name, written) {
  const ran = await engine.ask({ op: 'run', args, outputs: written ? [written] : [] });
  const text = written ? ran.files[written] : ran.out;
  if (ran.status !== 0 || text === null) { $('messages').textContent = ran.err; return; }
  download(`${baseName()}_${name}.csv`, new Blob([text], { type: 'text/csv' }));
}
$('download-rose').addEventListener('click', () =>
  downloadTable([...roseArguments(''), '--csv'], 'rose'));
$('download-stats').addEventListener('click', () =>
  downloadTable([...inputArguments('stats'), '--csv'], 'statistics'));
// The faults of the files that hold slips.
const slipFiles = () => [...files].filter(([, f]) => f.info.sets.some((set) => set.kind === 'slips')).map(([name]) => name);
$('download-faults').addEventListener('click', () =>
  downloadTable([...inputArguments('faults', slipFiles()), '--csv'], 'faults'));
$('download-kinematics').addEventListener('click', () => {
  const args = [...inputArguments('kinematics'), '--slope', value('slope')];
  if (value('friction')) args.push('--friction', value('friction'));
  downloadTable([...args, '--csv', 'kinematics.csv'], 'kinematics', 'kinematics.csv');
});

$('copy-command').addEventListener('click', async () => {
  $('command').select();
  try { await navigator.clipboard.writeText($('command').value); } catch (e) { document.execCommand('copy'); }
});

// ---- Opening files: the picker, or files dropped on the page.
async function openFiles(list) {
  for (const file of list) await addFile(file.name, await file.text());
}
$('file-input').addEventListener('change', (e) => openFiles(e.target.files));
for (const type of ['dragover', 'drop']) {
  document.addEventListener(type, (e) => {
    e.preventDefault();
    if (type === 'drop' && e.dataTransfer) openFiles(e.dataTransfer.files);
  });
}

// ---- Controls: the menus from the library's tables, a redraw on each change.
function fill(id, choices, keepFirst) {
  const select = $(id);
  if (!keepFirst) select.replaceChildren();
  for (const c of choices) {
    const option = new Option(c.name, c.name);
    option.title = c.description;
    select.add(option);
  }
}

let typing = null;
$('controls').addEventListener('input', (e) => {
  if (e.target.id === 'file-input') return;
  clearTimeout(typing);
  // Text is drawn once the typing pauses; menus and boxes at once.
  const wait = e.target.tagName === 'INPUT' && e.target.type !== 'checkbox' ? 300 : 0;
  typing = setTimeout(async () => {
    if (e.target.id === 'columns') await rereadFiles();
    redraw();
  }, wait);
});

engine.ask({ op: 'tables' }).then((tables) => {
  fill('contour', tables.densityMethods, true);
  fill('kinematic', tables.kinematicModes, false);
  fill('stress', tables.stressMethods, true);
  fill('fault-plot', tables.faultPlots, false);
  document.body.dataset.ready = 'true';
});
