// The page's engine: the WebAssembly module and the requests the page sends
// it. In a worker (the usual case) requests arrive as messages, so a large
// figure never blocks the page; where no worker can be started the page
// loads the same code and calls polarsketchHandle itself.
'use strict';

const polarsketchModule = createPolarsketch();

// Answers one request: {op, ...arguments} -> a result object.
async function polarsketchHandle(request) {
  const m = await polarsketchModule;
  switch (request.op) {
    case 'tables':
      return m.tables();
    case 'put':
      if (!m.putFile(request.name, request.text)) throw new Error(`cannot keep '${request.name}'`);
      return m.readFile(request.name, request.columns || []);
    case 'remove':
      m.removeFile(request.name);
      return {};
    case 'run': {
      // A command line and the files it writes, taken back as text.
      const started = performance.now();
      const ran = m.run(request.args);
      ran.files = {};
      for (const name of request.outputs || []) ran.files[name] = m.takeFile(name);
      // Files that are bytes rather than text (PDF), taken as they are.
      for (const name of request.binaryOutputs || []) {
        try {
          ran.files[name] = m.FS.readFile(`/files/${name}`);
        } catch (error) {
          ran.files[name] = null;
        }
        m.removeFile(name);
      }
      ran.milliseconds = performance.now() - started;
      const svg = request.figure && ran.files[request.figure];
      if (svg) {
        ran.viewBox = viewBox(svg);
        ran.frame = primitiveCircle(svg);
        if (svg.length > request.pictureAbove && typeof OffscreenCanvas !== 'undefined')
          ran.picture = drawFigure(svg, request.scale);
      }
      return ran;
    }
    case 'locate':
      return m.locate(request.args);
    case 'describe':
      return m.describe(request.set, request.index);
    default:
      throw new Error(`unknown request '${request.op}'`);
  }
}

// ---- Reading back the SVG the library writes: its view box, the net's
// primitive circle, and (for figures too large for the page to build as
// elements quickly) a picture of it drawn here on a canvas.

// The view box [x, y, width, height] of the figure, in points.
function viewBox(svg) {
  const m = /viewBox="([-\d.]+) ([-\d.]+) ([-\d.]+) ([-\d.]+)"/.exec(svg.slice(0, 2000));
  return m ? m.slice(1).map(Number) : null;
}

// The outlines of a path's data, each as its points: "M x y" then
// relative steps, as the library writes them.
function outlines(d) {
  return d.split('M').slice(1).map((outline) => {
    const numbers = (outline.match(/-?(?:\d+\.?\d*|\.\d+)/g) || []).map(Number);
    const points = [];
    let x = 0, y = 0;
    for (let i = 0; i + 1 < numbers.length; i += 2) {
      x = i === 0 ? numbers[0] : x + numbers[i];
      y = i === 0 ? numbers[1] : y + numbers[i + 1];
      points.push([x, y]);
    }
    return points;
  });
}

// The net's primitive circle {cx, cy, r}: the largest round outline drawn
// in black without fill (the frame; contour lines and grids lie inside it).
function primitiveCircle(svg) {
  let best = null;
  const group = /<g fill="none" stroke="#000000"[^>]*>\n((?:<path d="[^"]*"\/>\n)+)/g;
  for (let g; (g = group.exec(svg));) {
    for (const p of g[1].matchAll(/<path d="([^"]*)"/g)) {
      for (const points of outlines(p[1])) {
        if (points.length < 24) continue;
        const xs = points.map((q) => q[0]), ys = points.map((q) => q[1]);
        const width = Math.max(...xs) - Math.min(...xs), height = Math.max(...ys) - Math.min(...ys);
        if (Math.abs(width - height) > 0.01 * width || (best && width <= 2 * best.r)) continue;
        best = { cx: Math.min(...xs) + width / 2, cy: Math.min(...ys) + height / 2, r: width / 2 };
      }
    }
  }
  return best;
}

function unescapeXml(text) {
  return text.replace(/&(lt|gt|amp|quot|apos|#x?[0-9a-fA-F]+);/g, (all, e) => {
    const named = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" }[e];
    if (named) return named;
    return String.fromCodePoint(e[1] === 'x' ? parseInt(e.slice(2), 16) : parseInt(e.slice(1), 10));
  });
}

// Draws the figure `scale` pixels to the point, white behind it: the
// library's SVG is groups of one paint holding paths, symbols placed with
// <use>, and text.
function drawFigure(svg, scale) {
  const [vx, vy, vw, vh] = viewBox(svg);
  const canvas = new OffscreenCanvas(Math.ceil(vw * scale), Math.ceil(vh * scale));
  const g = canvas.getContext('2d');
  g.fillStyle = '#fff';
  g.fillRect(0, 0, canvas.width, canvas.height);
  g.setTransform(scale, 0, 0, scale, -vx * scale, -vy * scale);
  g.miterLimit = 10;
  const symbols = new Map();
  let fill = 'none', stroke = 'none', width = 1;
  const paint = (path) => {
    if (fill !== 'none') { g.fillStyle = fill; g.fill(path); }
    if (stroke !== 'none' && width > 0) { g.strokeStyle = stroke; g.lineWidth = width; g.stroke(path); }
  };
  const element = /<path id="(m\d+)" d="([^"]*)"\/>|<g fill="([^"]*)" stroke="([^"]*)" stroke-width="([^"]*)">|<path d="([^"]*)"\/>|<use xlink:href="#(m\d+)" x="([^"]*)" y="([^"]*)"\/>|<text ([^>]*)>([^<]*)<\/text>/g;
  for (let m; (m = element.exec(svg));) {
    if (m[1]) symbols.set(m[1], new Path2D(m[2]));
    else if (m[3]) [fill, stroke, width] = [m[3], m[4], Number(m[5])];
    else if (m[6] !== undefined) paint(new Path2D(m[6]));
    else if (m[7]) {
      g.save();
      g.translate(Number(m[8]), Number(m[9]));
      paint(symbols.get(m[7]));
      g.restore();
    } else if (m[10] !== undefined) {
      const a = Object.fromEntries([...m[10].matchAll(/([\w-]+)="([^"]*)"/g)].map((x) => [x[1], x[2]]));
      g.save();
      const rotation = /rotate\(([-\d.]+)/.exec(a.transform || '');
      g.translate(Number(a.x), Number(a.y));
      if (rotation) g.rotate((Number(rotation[1]) * Math.PI) / 180);
      g.font = `${a['font-style'] || ''} ${a['font-weight'] || ''} ${a['font-size']}px ${a['font-family']}`;
      g.textAlign = { middle: 'center', end: 'right' }[a['text-anchor']] || 'left';
      g.fillStyle = a.fill || '#000';
      g.fillText(unescapeXml(m[11]), 0, 0);
      g.restore();
    }
  }
  return canvas.transferToImageBitmap();
}

if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
  self.onmessage = async (event) => {
    const { id, request } = event.data;
    try {
      const result = await polarsketchHandle(request);
      self.postMessage({ id, result }, result && result.picture ? [result.picture] : []);
    } catch (error) {
      self.postMessage({ id, error: String(error && error.message ? error.message : error) });
    }
  };
}
