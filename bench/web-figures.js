// Figures of the browser edition, measured in headless Chromium against a local server:
//   - the size of each file of the site, raw and gzip -9, and the bytes a first visit transfers;
//   - the time from navigation to the window painted and to an interactive window, median of RUNS
//     fresh visits, each against a floor page measured the same way in the same rounds, and the
//     paint of the page with its modules taken out, which shows what the window's own drawing costs;
//   - the cost of one Calculate click in the page, over CLICKS clicks.
// Usage: node bench/web-figures.js  (site in build-web/site, or TAVOLEN_SITE=DIR; THROTTLE=1 makes
// the first visits over a slow network, 150 ms and 1.6 Mbit/s, on a processor four times slower)
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import {
  SITE,
  WORKED_EXAMPLE,
  clickOn,
  fillIn,
  launchBrowser,
  openTavolen,
  readWindow,
  startServer,
} from '../tests/web/harness.js';

const RUNS = Number(process.env.RUNS ?? 15);
const CLICKS = Number(process.env.CLICKS ?? 1000);
const KB = 1024;
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const kb = (bytes) => `${(bytes / KB).toFixed(1)} KB`;
const ms = (value) => `${value.toFixed(value < 1 ? 3 : 1)} ms`;

function fileSizes() {
  return readdirSync(SITE)
    .sort()
    .map((name) => {
      const raw = readFileSync(join(SITE, name));
      return { name, raw: raw.length, gzip: gzipSync(raw, { level: 9 }).length };
    });
}

// Records, from inside the page, when the first frame that shows each watched selector has been
// drawn, with the keyboard focus inside it where asked: `window.drawnAt[name]`. The frame is over
// when a task posted from its animation callback runs.
function watchFor(watches) {
  window.drawnAt = {};
  const pending = new Map(watches.map(([name, selector, focused]) => [name, { selector, focused }]));
  new MutationObserver((_, observer) => {
    for (const [name, { selector, focused }] of pending) {
      const shown = document.querySelector(selector);
      if (shown && (!focused || (shown.contains(document.activeElement) && document.activeElement !== shown))) {
        pending.delete(name);
        requestAnimationFrame(() => setTimeout(() => (window.drawnAt[name] = performance.now())));
      }
    }
    if (pending.size === 0) {
      observer.disconnect();
    }
  }).observe(document, { subtree: true, attributes: true, childList: true });
}
// The window's last element as the page delivers it, painted; and the window once the module has
// taken it over, with the focus in it.
const WINDOW_WATCHES = [
  ['painted', '#window .client > .answer', false],
  ['interactive', '#window:not([hidden]):not([aria-busy])', true],
];
const drawn = (page, name) => page.waitForFunction((n) => window.drawnAt?.[n] !== undefined, {}, name);

// A slow phone on a slow network.
async function throttle(page) {
  if (process.env.THROTTLE !== '1') {
    return;
  }
  const cdp = await page.createCDPSession();
  const bytesPerSecond = (megabits) => (megabits * 1e6) / 8;
  await cdp.send('Network.emulateNetworkConditions', {
    offline: false,
    latency: 150,
    downloadThroughput: bytesPerSecond(1.6),
    uploadThroughput: bytesPerSecond(0.75),
  });
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
}

async function firstVisit(browser) {
  const server = await startServer({ gzip: true, caching: 'max-age' });
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await throttle(page);
  await page.evaluateOnNewDocument(watchFor, WINDOW_WATCHES);
  await page.goto(server.url);
  await drawn(page, 'interactive');
  await drawn(page, 'painted');
  const untilInteractive = server.served.reduce((sum, r) => sum + r.bytes, 0);
  // The service worker then keeps every file; with the files fresh in the HTTP cache it
  // should need few more requests.
  await page.waitForFunction(async () => (await caches.keys()).length > 0 && navigator.serviceWorker.controller !== null);
  const total = server.served.reduce((sum, r) => sum + r.bytes, 0);
  const { interactive, painted } = await page.evaluate(() => window.drawnAt);
  await context.close();
  await server.stop();
  return { untilInteractive, total, requests: server.served.length, interactive, painted };
}

// A page's paint alone: navigation to the first frame that shows `selector`, in a fresh context.
async function paintVisit(browser, url, selector) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await throttle(page);
  await page.evaluateOnNewDocument(watchFor, [['painted', selector, false]]);
  await page.goto(url);
  await drawn(page, 'painted');
  const at = await page.evaluate(() => window.drawnAt.painted);
  await context.close();
  return at;
}

// A site of its own in a temporary folder, served as the site is: `files` maps names to contents.
async function serveFiles(files) {
  const dir = mkdtempSync(join(tmpdir(), 'tavolen-bench-'));
  for (const [name, content] of Object.entries(files)) {
    writeFileSync(join(dir, name), content);
  }
  const server = await startServer({ gzip: true, caching: 'max-age', site: dir });
  return {
    url: server.url,
    async stop() {
      await server.stop();
      rmSync(dir, { recursive: true, force: true });
    },
  };
}

// The least any page can take here: the same style sheet and one line of Japanese in the
// window's face, no script.
const serveFloor = () =>
  serveFiles({
    'tavolen.css': readFileSync(join(SITE, 'tavolen.css')),
    'index.html':
      '<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8"><title>Tavolen</title>' +
      '<link rel="stylesheet" href="tavolen.css"></head><body><p class="face-gothic">分数の計算</p></body></html>',
  });

// The page as delivered without the scripts that bring it to life: the window drawn from the HTML,
// the style sheet and fit.js alone. Its paint is the least the window itself costs over the floor.
function serveWithoutModules() {
  const files = Object.fromEntries(readdirSync(SITE).map((name) => [name, readFileSync(join(SITE, name))]));
  files['index.html'] = files['index.html']
    .toString()
    .replace(/<script type="module"[^>]*><\/script>\n?/g, '')
    .replace(/<script defer src="too-old.js[^"]*"><\/script>\n?/, '')
    .replace(/<link rel="(?:module)?preload"[^>]*>\n?/g, '');
  if (/type="module"|preload"|too-old\.js/.test(files['index.html'])) {
    throw new Error('the page without its modules still loads some: index.html has changed');
  }
  return serveFiles(files);
}

// The floor, the page and the page without its modules, visited in turn so that each round sees
// the machine alike. The first round of a new browser also starts its font and network services;
// a user's browser has them running, so that round is not counted.
async function firstVisits(browser) {
  const floorSite = await serveFloor();
  const bareSite = await serveWithoutModules();
  const rounds = [];
  for (let i = 0; i <= RUNS; i++) {
    rounds.push({
      floor: await paintVisit(browser, floorSite.url, 'p'),
      visit: await firstVisit(browser),
      alone: await paintVisit(browser, bareSite.url, WINDOW_WATCHES[0][1]),
    });
  }
  await floorSite.stop();
  await bareSite.stop();
  return rounds.slice(1);
}

async function warmVisit(browser, server) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(watchFor, WINDOW_WATCHES);
  await page.goto(server.url);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const times = [];
  for (let i = 0; i < RUNS; i++) {
    await page.reload();
    await drawn(page, 'interactive');
    times.push(await page.evaluate(() => window.drawnAt.interactive));
  }
  await context.close();
  return times;
}

async function clickCost(browser, server) {
  const page = await openTavolen(browser, server.url);
  await fillIn(page, WORKED_EXAMPLE);
  // From the first listener on the way down to the last on the way up, with the style and
  // layout of the new picture forced before the clock stops.
  await page.evaluate(() => {
    window.clickTimes = [];
    let start = 0;
    window.addEventListener('click', () => (start = performance.now()), true);
    window.addEventListener('click', () => {
      void document.body.offsetHeight;
      window.clickTimes.push(performance.now() - start);
    });
  });
  const began = performance.now();
  for (let i = 0; i < CLICKS; i++) {
    await clickOn(page, 'Command1');
  }
  const wall = (performance.now() - began) / CLICKS;
  const shown = await readWindow(page);
  if ([shown['Label1(2)'], shown['Label1(1)'], shown['Label1(0)']].join(' ') !== '3 5 6') {
    throw new Error('the clicks did not calculate 3 5/6');
  }
  const inPage = await page.evaluate(() => window.clickTimes);
  await page.close();
  return { inPage, wall };
}

const sizes = fileSizes();
const loadBefore = loadavg()[0];
const browser = await launchBrowser();
try {
  const rounds = await firstVisits(browser);
  const floor = rounds.map((r) => r.floor);
  const visits = rounds.map((r) => r.visit);
  const alone = rounds.map((r) => r.alone);
  const server = await startServer({ gzip: true, caching: 'max-age' });
  const warm = await warmVisit(browser, server);
  const clicks = await clickCost(browser, server);
  await server.stop();

  console.log('| file | bytes | gzip -9 |');
  console.log('|---|---:|---:|');
  for (const file of sizes) {
    console.log(`| ${file.name} | ${file.raw} | ${file.gzip} |`);
  }
  const all = sizes.reduce((sum, f) => sum + f.gzip, 0);
  console.log(`| all ${sizes.length} files | ${sizes.reduce((sum, f) => sum + f.raw, 0)} | ${all} |`);
  console.log('');
  console.log('| figure | value | target |');
  console.log('|---|---:|---:|');
  console.log(`| every file of the site, gzip | ${kb(all)} | 80 KB |`);
  console.log(`| first visit, transferred until interactive (gzip) | ${kb(visits[0].untilInteractive)} | |`);
  console.log(`| first visit, transferred with the offline copy (gzip, ${visits[0].requests} requests) | ${kb(visits[0].total)} | |`);
  const spread = (times) => `${ms(median(times))} (${ms(Math.min(...times))})`;
  const floorMedian = median(floor);
  const ofFloor = (times) => `${(median(times) / floorMedian).toFixed(2)} ×`;
  const ofAlone = (times) => `${(median(times) / median(alone)).toFixed(2)} ×`;
  const painted = visits.map((v) => v.painted);
  const interactive = visits.map((v) => v.interactive);
  console.log(`| floor: a page of the same style sheet and one line of Japanese, drawn, median of ${RUNS} (fastest) | ${spread(floor)} | |`);
  console.log(`| navigation to the window painted from the page, first visit, median of ${RUNS} (fastest) | ${spread(painted)} | |`);
  console.log(`| the same, against the floor | ${ofFloor(painted)} | |`);
  console.log(`| the window painted from the page without its modules (HTML, style sheet, fit.js), median of ${RUNS} (fastest) | ${spread(alone)} | |`);
  console.log(`| the same, against the floor | ${ofFloor(alone)} | |`);
  console.log(`| the window painted from the page, against the page without its modules | ${ofAlone(painted)} | 1.15 × |`);
  console.log(`| navigation to interactive window drawn, first visit, median of ${RUNS} (fastest) | ${spread(interactive)} | |`);
  console.log(`| the same, against the floor | ${ofFloor(interactive)} | |`);
  console.log(`| the same, against the page without its modules painted | ${ofAlone(interactive)} | 1.5 × |`);
  console.log(`| navigation to interactive window drawn, later visit (service worker), median of ${RUNS} (fastest) | ${spread(warm)} | |`);
  console.log(`| one 計算 click in the page (handler, model, redraw, layout), median of ${CLICKS} | ${ms(median(clicks.inPage))} | |`);
  console.log(`| one 計算 click in the page, mean of ${CLICKS} | ${ms(clicks.inPage.reduce((a, b) => a + b, 0) / CLICKS)} | |`);
  console.log(`| one 計算 click driven from outside (input event round trip), mean of ${CLICKS} | ${ms(clicks.wall)} | |`);
  console.log('');
  console.log(`Load average (1 min) ${loadBefore.toFixed(2)} before, ${loadavg()[0].toFixed(2)} after; the times wander with it.`);
} finally {
  await browser.close();
}
