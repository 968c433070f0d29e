// Times lumeno's site against the bare floor pages of bench/web in headless Chromium (Debian's,
// never a downloaded one, through the pinned playwright-core of tests/e2e/web), both served on
// 127.0.0.1 by this script:
//   - start-up: from the navigation to the frame that paints the window with both pictures, in
//     a fresh browser context (empty cache, no service worker) for every run;
//   - the click on Go to the last row on screen, at 96 and 192 dpi (device pixel ratios 1 and
//     2): from the trusted click's event time to the frame after the result box's last row was
//     put on its canvas, in one page of each kept open, the field's b changing between 5 and 2 so that every run changes the result; each
//     run's last row must be the same in both pages;
//   - the site's size: every file of the site compressed with gzip -9, on its own.
// Both pages are timed by the same script inside the page (performance.now(), whose origin is
// the navigation), added before the page's own. Runs alternate between the pages, the first of
// each round swapping every round; one run of each before the first round is left out.
//
//   node bench/web_bench.mjs SITE FLOOR PICTURE RUNS OUT.json
// (SITE: build-web/site; FLOOR: bench/web; PICTURE: resources/picture.bmp)
import { execFileSync } from 'node:child_process';
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { loadavg } from 'node:os';
import { join, extname } from 'node:path';
import { fileURLToPath } from 'node:url';

const [site, floor, picture, runsText, out] = process.argv.slice(2);
const loadBefore = loadavg();
const runs = +runsText;
const here = fileURLToPath(new URL('.', import.meta.url));
const require = createRequire(join(here, '..', 'tests', 'e2e', 'web', 'package.json'));
const { chromium } = require('playwright-core');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.bmp': 'image/bmp', '.webmanifest': 'application/manifest+json' };
// /lumeno/ is the site as it is; /floor/ the floor pages with the picture beside them.
const routes = { lumeno: (name) => join(site, name),
  floor: (name) => (name === 'picture.bmp' ? picture : join(floor, name)) };
const server = createServer((request, response) => {
  const [, route, name] = new URL(request.url, 'http://host').pathname.match(/^\/(\w+)\/(.*)$/) || [];
  try {
    const file = routes[route]((name || '').replace(/\.\./g, '') || 'index.html');
    const body = readFileSync(file);
    response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    response.end(body);
  } catch {
    response.writeHead(404);
    response.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}`;
const pages = { lumeno: `${base}/lumeno/index.html`, floor: `${base}/floor/floor.html` };

// In each page before its own scripts: the time of the frame that first paints the window
// with both boxes' pictures, and that of the frame after the last row of a run is put.
function timing() {
  const marks = { startup: null, click: null, lastRow: null, onScreen: null };
  window.benchMarks = marks;
  const put = new WeakSet();
  const boxes = () => [...document.querySelectorAll('section.form canvas')];
  let startupPending = false;
  const observer = new MutationObserver(() => shown());
  const shown = () => {
    const form = document.querySelector('section.form');
    if (startupPending || !form || getComputedStyle(form).visibility !== 'visible' ||
        boxes().length !== 2 || !boxes().every((box) => put.has(box)))
      return;
    startupPending = true;
    observer.disconnect();
    requestAnimationFrame(() => { marks.startup = performance.now(); });
  };
  observer.observe(document, { subtree: true, childList: true, attributes: true });
  const putImageData = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
    putImageData.call(this, image, ...rest);
    put.add(this.canvas);
    const bottom = rest.length > 2 ? rest[3] + rest[5] : image.height;
    // The last put of the last row counts, should a run put the whole box before it.
    if (marks.click !== null && bottom >= image.height &&
        this.canvas.getAttribute('aria-label') === 'Result picture') {
      const at = marks.lastRow = performance.now();
      marks.onScreen = null;
      requestAnimationFrame(() => {
        if (marks.lastRow === at)
          marks.onScreen = performance.now();
      });
    }
    shown();
  };
  addEventListener('click', (event) => {
    if (event.isTrusted && event.target.localName === 'button' && event.target.textContent === 'Go')
      Object.assign(marks, { click: event.timeStamp, lastRow: null, onScreen: null });
  }, true);
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  // As root the sandbox cannot start; playwright gives the browser a fresh profile folder.
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});
const viewport = { width: 640, height: 480 };
async function open(name, ratio) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: ratio, serviceWorkers: 'block' });
  await context.addInitScript(timing);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(pages[name], { waitUntil: 'commit' });
  await page.waitForFunction(() => window.benchMarks.startup !== null, null, { polling: 20, timeout: 30000 });
  if (errors.length)
    throw new Error(`${name}: ${errors.join('; ')}`);
  return { context, page, startup: await page.evaluate(() => window.benchMarks.startup) };
}

async function startup(name) {
  const { context, startup: ms } = await open(name, 1);
  await context.close();
  return ms;
}

// A click on Go with text in the field; the ms to the last row on screen and that row's pixels.
async function click({ page }, text) {
  await page.bringToFront();
  await page.fill('section.form input', text);
  const go = await page.evaluate(() => {
    const button = [...document.querySelectorAll('section.form button')].find((b) => b.textContent === 'Go');
    const box = button.getBoundingClientRect();
    return [box.x + box.width / 2, box.y + box.height / 2];
  });
  await page.waitForTimeout(100);
  await page.mouse.click(...go);
  // The run has ended once Go is enabled again; its last row is on screen a frame later.
  await page.waitForFunction(() => window.benchMarks.onScreen !== null && !document.querySelector(
    'section.form button:disabled'), null, { polling: 50, timeout: 30000 });
  return page.evaluate(() => {
    const marks = window.benchMarks;
    const box = document.querySelector('canvas[aria-label="Result picture"]');
    const row = box.getContext('2d').getImageData(2, box.height - 3, box.width - 4, 1).data;
    return { ms: marks.onScreen - marks.click, putMs: marks.lastRow - marks.click, row: Array.from(row).join(), size: [box.width, box.height] };
  });
}

const names = ['lumeno', 'floor'];
const order = (round) => (round % 2 ? [...names].reverse() : names);
// The click's times also to the put of the last row, which the frame after it shows.
const samples = { startup: { lumeno: [], floor: [] }, click: {}, lastRowPut: {} };
const boxSize = {};
const values = ['5', '2'];
for (let round = -1; round < runs; ++round)
  for (const name of order(round)) {
    const ms = await startup(name);
    if (round >= 0)
      samples.startup[name].push(ms);
  }

// The click at 96 and 192 dpi: one page of each at the density's device pixel ratio.
for (const ratio of [1, 2]) {
  const opened = { lumeno: await open('lumeno', ratio), floor: await open('floor', ratio) };
  const atDensity = samples.click[96 * ratio] = { lumeno: [], floor: [] };
  const puts = samples.lastRowPut[96 * ratio] = { lumeno: [], floor: [] };
  for (let round = -1; round < runs; ++round) {
    const text = values[(round + 2) % 2];
    const rows = {};
    for (const name of order(round)) {
      const run = await click(opened[name], text);
      rows[name] = run.row;
      boxSize[96 * ratio] = run.size;
      if (round >= 0) {
        atDensity[name].push(run.ms);
        puts[name].push(run.putMs);
      }
    }
    if (rows.lumeno !== rows.floor)
      throw new Error(`${96 * ratio} dpi, b = ${text}: the floor's last row differs from lumeno's`);
  }
  await opened.lumeno.context.close();
  await opened.floor.context.close();
}
const files = readdirSync(site).sort();
const gzip = Object.fromEntries(files.map((file) =>
  [file, execFileSync('gzip', ['-9', '-c', join(site, file)]).length]));
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const version = browser.version();
await browser.close();
server.close();
const result = {
  browser: version,
  runs,
  load_before: loadBefore,
  load_after: loadavg(),
  click: Object.fromEntries(Object.entries(samples.click).map(([dpi, atDensity]) => [dpi, {
    box_size: boxSize[dpi], lumeno_ms: median(atDensity.lumeno), floor_ms: median(atDensity.floor),
    lumeno_put_ms: median(samples.lastRowPut[dpi].lumeno), floor_put_ms: median(samples.lastRowPut[dpi].floor) }])),
  startup_lumeno_ms: median(samples.startup.lumeno),
  startup_floor_ms: median(samples.startup.floor),
  site_gzip_bytes: Object.values(gzip).reduce((a, b) => a + b, 0),
  site_files_gzip_bytes: gzip,
  samples,
};
writeFileSync(out, JSON.stringify(result, null, 2));
for (const [dpi, atDensity] of Object.entries(result.click))
  console.log(`click to last row on screen, ${dpi} dpi: lumeno ${atDensity.lumeno_ms.toFixed(1)} ms, floor page ` +
    `${atDensity.floor_ms.toFixed(1)} ms (to its put ${atDensity.lumeno_put_ms.toFixed(1)} and ` +
    `${atDensity.floor_put_ms.toFixed(1)} ms)`);
console.log(`start-up to first paint: lumeno ${result.startup_lumeno_ms.toFixed(1)} ms, bare page ` +
  `${result.startup_floor_ms.toFixed(1)} ms; site ${(result.site_gzip_bytes / 1024).toFixed(1)} KiB with gzip -9`);
