// How long the web page takes to redraw a figure when a control changes,
// for 1,000 and 100,000 generated planes, and how long the page's own
// thread was held meanwhile (the longest gap between its timer ticks).
// Run after web/build.sh and npm ci:
//   node bench/web_redraw.js build-web/page/index.html
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const page_file = path.resolve(process.argv[2] || 'build-web/page/index.html');

// `n` planes spread over the sphere by a fixed sequence (no randomness).
function planes(n) {
  const lines = ['dipdir,dip'];
  for (let i = 0; i < n; i++) lines.push(`${((i * 137.508) % 360).toFixed(1)},${(i * 7.3) % 90}`);
  return lines.join('\n') + '\n';
}

(async () => {
  const browser = await chromium.launch({ executablePath: process.env.POLARSKETCH_CHROMIUM || '/usr/bin/chromium' });
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'polarsketch-bench-'));
  for (const n of [1000, 100000]) {
    const page = await browser.newPage();
    await page.goto('file://' + page_file);
    await page.waitForSelector('body[data-ready=true]');
    const file = path.join(folder, `planes_${n}.csv`);
    fs.writeFileSync(file, planes(n));
    const drawn = async (action) => {
      const before = Number(await page.evaluate(() => document.body.dataset.draws || 0));
      const started = Date.now();
      await action();
      await page.waitForFunction((k) => Number(document.body.dataset.draws || 0) > k &&
        document.body.dataset.busy === 'false', before, { timeout: 600000 });
      return Date.now() - started;
    };
    await page.evaluate(() => {
      window.longestGap = 0;
      let last = performance.now();
      setInterval(() => { const now = performance.now(); window.longestGap = Math.max(window.longestGap, now - last); last = now; }, 10);
    });
    const load = await drawn(() => page.setInputFiles('#file-input', file));
    // Each redraw as the page measures it (from the request to the figure
    // painted) and as seen from here (with the automation's own delays).
    const times = [], pageTimes = [];
    for (const projection of ['equal-angle', 'equal-area', 'equal-angle', 'equal-area']) {
      times.push(await drawn(() => page.selectOption('#projection', projection)));
      pageTimes.push((await page.textContent('#status')).replace('drawn in ', ''));
    }
    const gap = await page.evaluate(() => window.longestGap);
    console.log(`${n} planes: loaded and drawn in ${load} ms; redraws on the page ${pageTimes.join(', ')}; ` +
                `seen from here ${times.join(', ')} ms; longest hold of the page's thread ${Math.round(gap)} ms`);
    await page.close();
  }
  fs.rmSync(folder, { recursive: true });
  await browser.close();
})();
