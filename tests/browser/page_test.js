// The web page in headless Chromium, opened from disk: a shipped example
// loaded, controls changed, and the figure, messages, downloads and pixels
// checked against what the measurement file says.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { readPng } = require('./png.js');

const pageUrl = 'file://' + process.env.POLARSKETCH_PAGE;
const examples = process.env.POLARSKETCH_EXAMPLES;
const foldBedding = path.join(examples, 'fold_bedding.csv');

// The data rows of a measurement file with a header: every line that is
// neither blank nor a comment, less the header, split at commas.
function rows(file) {
  const lines = fs.readFileSync(file, 'utf8').split('\n').filter((l) => l.trim() && !l.startsWith('#'));
  const names = lines[0].split(',');
  return lines.slice(1).map((l) => Object.fromEntries(l.split(',').map((v, i) => [names[i], v])));
}

let browser;
before(async () => {
  browser = await chromium.launch({ executablePath: process.env.POLARSKETCH_CHROMIUM });
});
after(async () => { await browser.close(); });

async function openPage() {
  const context = await browser.newContext({ acceptDownloads: true, viewport: { width: 1280, height: 1000 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(pageUrl);
  await page.waitForSelector('body[data-ready=true]');
  page.errors = errors;
  return page;
}

// Runs `action` and waits for the drawing it starts to finish.
async function andDrawn(page, action) {
  const before = Number(await page.evaluate(() => document.body.dataset.draws || 0));
  await action();
  await page.waitForFunction(
    (n) => Number(document.body.dataset.draws || 0) > n && document.body.dataset.busy === 'false', before);
}

const load = (page, ...files) => andDrawn(page, () => page.setInputFiles('#file-input', files));
const choose = (page, id, value) => andDrawn(page, () => page.selectOption(id, value));

// What the SVG on the page shows of the first data set (drawn in the colour
// of its legend text): the subpaths stroked in that colour and the symbols
// placed in it; the legend's own sample counts one of either.
function setMarks(page) {
  return page.evaluate(() => {
    const svg = document.querySelector('#figure svg');
    const texts = [...svg.querySelectorAll('text')];
    const legend = texts.find((t) => /\(\d+ (planes|lines|slips)\)$/.test(t.textContent));
    const colour = legend.getAttribute('fill');
    let subpaths = 0, symbols = 0;
    for (const g of svg.querySelectorAll(`g[stroke="${colour}"]`)) {
      for (const p of g.querySelectorAll('path')) subpaths += (p.getAttribute('d').match(/M/g) || []).length;
      symbols += g.querySelectorAll('use').length;
    }
    return { legend: legend.textContent, subpaths, symbols, texts: texts.map((t) => t.textContent) };
  });
}

test('a file drawn as great circles, then as poles, one mark per measurement, in a worker', async () => {
  const page = await openPage();
  assert.equal(await page.evaluate(() => engine.inWorker), true);
  await andDrawn(page, () => page.uncheck('#stats'));
  await load(page, foldBedding);
  const n = rows(foldBedding).length;
  let marks = await setMarks(page);
  assert.equal(marks.legend, `fold_bedding.csv (${n} planes)`);
  assert.equal(marks.subpaths, n + 1);
  assert.equal(await page.textContent('#file-list .file-info'), `${n} planes (strike,dip (right-hand rule))`);

  await choose(page, '#planes', 'poles');
  marks = await setMarks(page);
  assert.equal(marks.symbols, n + 1);
  assert.equal(marks.subpaths, 0);
  assert.match(await page.inputValue('#command'), /^polarsketch plot fold_bedding\.csv --planes poles -o fold_bedding\.svg$/);
  assert.deepEqual(page.errors, []);
});

test('the projection and the contour method redraw the figure and its legend', async () => {
  const page = await openPage();
  await load(page, foldBedding);
  assert.ok((await setMarks(page)).texts.includes('Equal-area, lower hemisphere'));
  await choose(page, '#projection', 'equal-angle');
  assert.ok((await setMarks(page)).texts.includes('Equal-angle, lower hemisphere'));

  for (const method of ['kamb', 'exp-kamb']) {
    await choose(page, '#contour', method);
    const texts = (await setMarks(page)).texts;
    assert.ok(texts.some((t) => t.startsWith(`Density ${method},`)), `${method}: ${texts.join(' | ')}`);
  }
  assert.match(await page.inputValue('#command'), / --projection equal-angle .*--contour exp-kamb /);
  // The statistics table of the command line, under the figure.
  assert.match(await page.textContent('#messages'), /fold_bedding\.csv: \d+ planes .*\n\s+mean trend \/ plunge/);
});

test('a bad line is shown beside its file with its line and column, and nothing is drawn', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'polarsketch-'));
  const bad = path.join(folder, 'bad_dips.csv');
  fs.writeFileSync(bad, 'dipdir,dip\n120,30\n130,4x\n140,50\n');
  const page = await openPage();
  await load(page, bad);
  const expected = "bad_dips.csv:3:5: '4x': ";
  assert.ok((await page.textContent('#file-list .file-error')).startsWith(expected));
  assert.ok((await page.textContent('#messages')).startsWith(expected));
  assert.match(await page.textContent('#figure'), /Nothing drawn \(exit status 65\)/);
  assert.equal(await page.isDisabled('#download-svg'), true);

  // Skipping bad lines draws the two good ones.
  await andDrawn(page, () => page.check('#skip-bad'));
  assert.equal((await setMarks(page)).legend, 'bad_dips.csv (2 planes)');
  fs.rmSync(folder, { recursive: true });
});

test('rows chosen by a column are counted as the file says, and the command line quotes them', async () => {
  const page = await openPage();
  await load(page, foldBedding);
  await andDrawn(page, () => page.fill('#where', 'dip>40'));
  const all = rows(foldBedding);
  const kept = all.filter((r) => Number(r.dip) > 40).length;
  assert.match(await page.textContent('#messages'), new RegExp(`fold_bedding\\.csv: kept ${kept} of ${all.length} rows`));
  assert.equal((await setMarks(page)).legend, `fold_bedding.csv (${kept} planes)`);
  assert.match(await page.inputValue('#command'), / --where 'dip>40' /);
});

test('downloads: the SVG shown, a PNG of it, a PDF, the statistics and the density grid as CSV', async () => {
  const page = await openPage();
  await load(page, foldBedding);
  await choose(page, '#contour', 'kamb');
  const take = async (button) => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
    return { name: download.suggestedFilename(), data: fs.readFileSync(await download.path()) };
  };
  const svg = await take('#download-svg');
  assert.equal(svg.name, 'fold_bedding.svg');
  assert.ok(svg.data.toString().startsWith('<?xml'));
  const shown = await page.evaluate(() => new XMLSerializer().serializeToString(document.querySelector('#figure svg')));
  assert.equal((shown.match(/<use /g) || []).length, (svg.data.toString().match(/<use /g) || []).length);

  const png = await take('#download-png');
  assert.equal(png.name, 'fold_bedding.png');
  const image = readPng(png.data);
  const widthPt = Number(svg.data.toString().match(/width="([\d.]+)pt"/)[1]);
  assert.ok(Math.abs(image.width - widthPt * 150 / 72) <= 1, `${image.width} px for ${widthPt} pt`);

  const pdf = await take('#download-pdf');
  assert.equal(pdf.name, 'fold_bedding.pdf');
  assert.match(pdf.data.subarray(0, 8).toString('latin1'), /^%PDF-1\.\d/);
  assert.match(pdf.data.subarray(-8).toString('latin1'), /%%EOF\s*$/);
  // Every compressed stream inflates (the browser's build writes them without zlib).
  const text = pdf.data.toString('latin1');
  let flate = 0;
  for (const m of text.matchAll(/<<([^]*?)>>\s*stream\r?\n/g)) {
    if (!m[1].includes('/FlateDecode')) continue;
    const length = Number(/\/Length (\d+)/.exec(m[1])[1]);
    const start = m.index + m[0].length;
    assert.ok(require('zlib').inflateSync(pdf.data.subarray(start, start + length)).length > 0);
    flate++;
  }
  assert.ok(flate > 0);

  const stats = (await take('#download-stats')).data.toString().split('\n');
  assert.match(stats[0], /^file,kind,n,mean_trend,mean_plunge,/);
  assert.match(stats[1], new RegExp(`^fold_bedding\\.csv,planes,${rows(foldBedding).length},`));

  const density = (await take('#download-density')).data.toString().trim().split('\n');
  assert.equal(density[0], 'trend,plunge,density');
  for (const line of density.slice(1)) assert.match(line, /^[\d.]+,[\d.]+,[\d.e+-]+$/);
});

// Whether a screenshot has ink all round a circle given in page pixels
// (looked for every 30 degrees within 3 % inside its radius) and none at
// two corners of the square around it.
function inkRound(shot, cx, cy, r) {
  // Ink: clearly off the white figure (a thin line is drawn antialiased,
  // spread over neighbouring pixels).
  const dark = ([red, green, blue]) => red + green + blue < 700;
  const near = (x, y) => [[0, 0], [1, 0], [-1, 0], [0, 1], [0, -1]].some(([dx, dy]) => dark(shot.pixel(x + dx, y + dy)));
  for (let degrees = 15; degrees < 360; degrees += 30) {
    const a = (degrees * Math.PI) / 180;
    let ink = false;
    for (let d = r * 0.97; d <= r * 1.01 && !ink; d += 0.5)
      ink = near(cx + d * Math.sin(a), cy - d * Math.cos(a));
    assert.ok(ink, `no ink on the circle at ${degrees} degrees`);
  }
  for (const [x, y] of [[cx - r, cy - r], [cx + r, cy + r]]) assert.ok(!dark(shot.pixel(x, y)), `ink at ${x}, ${y}`);
}

// The primitive circle the page located, in page pixels.
function circleOnPage(page) {
  return page.evaluate(() => {
    const { element, viewBox: [vx, vy, vw, vh], frame } = located;
    const box = element.getBoundingClientRect();
    const k = Math.min(box.width / vw, box.height / vh);
    return { cx: box.x + (box.width - vw * k) / 2 + (frame.cx - vx) * k,
             cy: box.y + (box.height - vh * k) / 2 + (frame.cy - vy) * k, r: frame.r * k };
  });
}

test('the kinematics and fault tables of the files download as the other forms write them', async () => {
  const page = await openPage();
  const joints = path.join(examples, 'slope_joints.csv'), faults = path.join(examples, 'quarry_faults.csv');
  await load(page, joints, faults);
  assert.equal(await page.isDisabled('#download-kinematics'), true);
  await andDrawn(page, () => page.fill('#slope', '120/65'));
  const take = async (button) => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
    return fs.readFileSync(await download.path(), 'utf8').trim().split('\n');
  };
  const kinematics = await take('#download-kinematics');
  assert.equal(kinematics[0], 'mode,zone,label_a,label_b,trend,plunge');
  assert.ok(kinematics.length > 1);
  // One line per fault of known sense, of the file that holds slips only.
  const table = await take('#download-faults');
  assert.match(table[0], /^label,dipdir,dip,slip_trend,slip_plunge,rake,sense,/);
  assert.equal(table.length - 1, rows(faults).filter((r) => r.sense !== 'U').length);
});

test('a rose diagram of the same files, its bins downloaded, counting every measurement once', async () => {
  const page = await openPage();
  await load(page, foldBedding);
  await choose(page, '#figure-kind', 'rose');
  assert.equal(await page.inputValue('#command'), 'polarsketch rose fold_bedding.csv -o fold_bedding_rose.svg');
  const texts = await page.evaluate(() => [...document.querySelectorAll('#figure svg text')].map((t) => t.textContent));
  assert.ok(texts.includes('Rose of strikes of planes, axial'), texts.join(' | '));
  assert.equal(await page.isHidden('#contour'), true);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download-rose')]);
  const bins = fs.readFileSync(await download.path(), 'utf8').trim().split('\n');
  assert.equal(bins[0], 'start,end,count,percent');
  const counted = bins.slice(1).filter((l) => /^\d/.test(l)).reduce((sum, l) => sum + Number(l.split(',')[2]), 0);
  assert.equal(counted, rows(foldBedding).length);
});

test('a screenshot has ink on the primitive circle, drawn as SVG and, for a large figure, as a picture', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'polarsketch-'));
  const many = path.join(folder, 'many_planes.csv');
  const lines = ['dipdir,dip'];
  for (let i = 0; i < 5000; i++) lines.push(`${(i * 137.5) % 360},${(i * 7) % 90}`);
  fs.writeFileSync(many, lines.join('\n') + '\n');
  for (const [file, shownAs] of [[foldBedding, 'svg'], [many, 'canvas']]) {
    const page = await openPage();
    await andDrawn(page, () => page.uncheck('#stats'));
    await load(page, file);
    assert.equal(await page.evaluate(() => document.querySelector('#figure').firstElementChild.tagName.toLowerCase()), shownAs);
    await page.evaluate(() => window.scrollTo(0, 0));
    const { cx, cy, r } = await circleOnPage(page);
    // The net's frame in the SVG: its primitive circle is where the page located it.
    if (shownAs === 'svg') {
      const frame = await page.evaluate(() => {
        const b = document.querySelector('#figure svg g[stroke="#000000"] path').getBoundingClientRect();
        return { cx: b.x + b.width / 2, cy: b.y + b.height / 2 };
      });
      assert.ok(Math.hypot(frame.cx - cx, frame.cy - cy) < 1, `circle at ${cx}, ${cy}, frame at ${frame.cx}, ${frame.cy}`);
    }
    inkRound(readPng(await page.screenshot()), cx, cy, r);
  }
  fs.rmSync(folder, { recursive: true });
});

test('symbols sit where the projection puts each pole, and pointing at one names its line', async () => {
  const page = await openPage();
  await andDrawn(page, () => page.uncheck('#stats'));
  await choose(page, '#planes', 'poles');
  await load(page, foldBedding);
  // Poles from the file by the definitions: strike by the right-hand rule,
  // the pole plunges 90 - dip towards the dip direction + 180.
  const poles = rows(foldBedding).map((r) => ({ trend: Number(r.strike) + 270, plunge: 90 - Number(r.dip) }));
  for (const hemisphere of ['lower', 'upper'])
    for (const projection of ['equal-area', 'equal-angle']) {
      await choose(page, '#hemisphere', hemisphere);
      await choose(page, '#projection', projection);
      const worst = await page.evaluate(({ poles, projection, upper }) => {
        const svg = document.querySelector('#figure svg');
        const outline = svg.querySelector('g[stroke="#000000"] path').getAttribute('d').split(/(?=M)/)[0];
        const circle = document.createElementNS('http://www.w3.org/2000/svg', 'path');
        circle.setAttribute('d', outline);
        svg.append(circle);
        const b = circle.getBBox();
        const R = b.width / 2, cx = b.x + R, cy = b.y + R;
        const symbols = [...svg.querySelectorAll('use')].map((u) => {
          const s = u.getBBox();
          return [s.x + s.width / 2, s.y + s.height / 2];
        });
        let worst = 0;
        for (const { trend, plunge } of poles) {
          const a = ((upper ? trend + 180 : trend) * Math.PI) / 180, half = ((90 - plunge) * Math.PI) / 360;
          const r = R * (projection === 'equal-angle' ? Math.tan(half) : Math.SQRT2 * Math.sin(half));
          const x = cx + r * Math.sin(a), y = cy - r * Math.cos(a);
          worst = Math.max(worst, Math.min(...symbols.map(([sx, sy]) => Math.hypot(sx - x, sy - y))));
        }
        return worst;
      }, { poles, projection, upper: hemisphere === 'upper' });
      assert.ok(worst < 0.1, `${hemisphere} ${projection}: a pole ${worst} pt from its symbol`);
    }

  // Contour lines drawn in black under the data leave the pointing right.
  await choose(page, '#contour', 'kamb');
  const first = rows(foldBedding)[0];
  const colour = await page.evaluate(() => [...document.querySelectorAll('#figure svg text')]
    .find((t) => /\(\d+ planes\)$/.test(t.textContent)).getAttribute('fill'));
  const symbol = page.locator(`#figure svg g[fill="${colour}"] use`).first();
  await symbol.scrollIntoViewIfNeeded();
  const box = await symbol.boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForSelector('#tooltip:not([hidden])');
  const lineOfFirst = fs.readFileSync(foldBedding, 'utf8').split('\n').indexOf(`${first.strike},${first.dip},${first.label}`) + 1;
  const dipDirection = String((Number(first.strike) + 90) % 360).padStart(3, '0');
  assert.equal(await page.textContent('#tooltip'),
    `fold_bedding.csv, line ${lineOfFirst}\nplane ${dipDirection}/${first.dip} (dip direction/dip)\nlabel: ${first.label}`);
});
