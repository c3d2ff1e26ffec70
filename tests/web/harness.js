// Shared by the browser tests and the figures script: a static server for the built site,
// headless Chromium, and reading the window back as a user or a screen reader would.
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync, inflateSync } from 'node:zlib';
import { after, before } from 'node:test';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
export const SITE = resolve(process.env.TAVOLEN_SITE ?? join(here, '..', '..', 'build-web', 'site'));

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves `site` (the built site unless told; `release(site)` serves another from then on) on
// 127.0.0.1 at a free port, under the folder `prefix`. With `gzip`, answers gzip to clients that
// ask for it; `caching` is how it lets them keep files (CACHING). With `pauseAt` ({ text, ms }), a
// page is sent up to where `text` begins and the rest `ms` later, as a slow network delivers it.
// Every response is counted in `served`.
// Compressed once per version of a file, for every server started here, as a server with
// precompressed files answers: the first visit of each server should not pay for compressing.
const compressed = new Map();
const gzipped = (file, body) => {
  const key = `${file}@${statSync(file).mtimeMs}`;
  if (!compressed.has(key)) {
    compressed.set(key, gzipSync(body, { level: 9 }));
  }
  return compressed.get(key);
};

// The ways static servers let browsers keep files: no word at all, only the file's time (answering
// If-Modified-Since), for an hour, or only after asking again.
export const CACHING = {
  none: () => ({}),
  'last-modified': (stats) => ({ 'Last-Modified': stats.mtime.toUTCString() }),
  'max-age': () => ({ 'Cache-Control': 'max-age=3600' }),
  'no-cache': () => ({ 'Cache-Control': 'no-cache' }),
};

export async function startServer({ gzip = false, prefix = '/', caching = 'no-cache', site = SITE, pauseAt = null } = {}) {
  const served = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    let file = normalize(join(site, path.slice(prefix.length - 1)));
    if (!path.startsWith(prefix) || !file.startsWith(site)) {
      response.writeHead(403).end();
      return;
    }
    try {
      if (statSync(file).isDirectory()) {
        file = join(file, 'index.html');
      }
      const stats = statSync(file);
      const since = Date.parse(request.headers['if-modified-since'] ?? '');
      if (caching === 'last-modified' && Math.floor(stats.mtimeMs / 1000) <= since / 1000) {
        response.writeHead(304).end();
        return;
      }
      let body = readFileSync(file);
      const headers = { 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream', ...CACHING[caching](stats) };
      if (gzip && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
        body = gzipped(file, body);
        headers['Content-Encoding'] = 'gzip';
      }
      served.push({ path, bytes: body.length });
      const cut = pauseAt && extname(file) === '.html' && !headers['Content-Encoding'] ? body.indexOf(pauseAt.text) : -1;
      if (cut < 0) {
        response.writeHead(200, headers).end(body);
        return;
      }
      response.writeHead(200, headers).write(body.subarray(0, cut));
      setTimeout(() => response.end(body.subarray(cut)), pauseAt.ms);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const sockets = new Set();
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  return {
    url: `http://127.0.0.1:${server.address().port}${prefix}`,
    served,
    release(another) {
      site = another;
    },
    async stop() {
      for (const socket of sockets) {
        socket.destroy();
      }
      await new Promise((done) => server.close(done));
    },
  };
}

// Headless Chromium with a profile of its own, removed again by close().
export async function launchBrowser(extraArgs = []) {
  const profile = mkdtempSync(join(tmpdir(), 'tavolen-chromium-'));
  const args = [
    '--headless',
    '--disable-gpu',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--lang=ja',
    // A window smaller than any viewport the tests set, so that the page never takes the ratio of
    // its outer size to the viewport for a zoom the browser opened it at (see openZoomed).
    '--window-size=100,100',
    ...extraArgs,
  ];
  if (process.getuid?.() === 0) {
    args.push('--no-sandbox');
  }
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// The server and browser that the tests of one file share, opened before its first test and closed
// after its last. `withPage(options, body)` runs `body` on a page of the window opened with `options`.
export function shareSession() {
  const session = {
    withPage: (options, body) => withOpenPage(() => openTavolen(session.browser, session.server.url, options), body),
  };
  before(async () => {
    session.server = await startServer();
    session.browser = await launchBrowser();
  });
  after(async () => {
    await session.browser?.close();
    await session.server?.stop();
  });
  return session;
}

// Opens the page and waits until the window is shown with the focus on a control. `prepare(page)`
// runs before the page loads; `isMobile` applies a phone's viewport rules.
export async function openTavolen(browser, url, { width = 800, height = 600, hasTouch = false, isMobile = false, deviceScaleFactor = 1, prepare } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, hasTouch, isMobile, deviceScaleFactor });
  await prepare?.(page);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  page.errors = errors;
  await page.goto(url);
  await page.waitForFunction(() => {
    const shown = document.querySelector('#window:not([hidden]):not([aria-busy])');
    return shown && shown.contains(document.activeElement) && document.activeElement !== shown;
  });
  return page;
}

// Waits until the module has taken the window over, with the focus on a control.
export const takenOver = (page) =>
  page.waitForFunction(() => document.querySelector('#window:not([aria-busy])') && document.activeElement?.dataset.name);

// Runs `body` on the page that `open()` returns, then checks that the page threw no error, and
// closes it whatever happened.
export async function withOpenPage(open, body) {
  const page = await open();
  try {
    await body(page);
    assert.deepEqual(page.errors, []);
  } finally {
    await page.close();
  }
}

// Opens the page on a screen just large enough for the window at a scale of 1, with the margin
// that the page keeps around it.
export async function openAtScaleOne(browser, url) {
  const page = await openTavolen(browser, url);
  const size = await page.$eval('#scaled', (scaled) => {
    const root = document.documentElement.style;
    const scale = root.getPropertyValue('--scale');
    root.setProperty('--scale', '1');
    const box = { width: scaled.offsetWidth, height: scaled.offsetHeight };
    root.setProperty('--scale', scale);
    return box;
  });
  await page.setViewport({ width: size.width + 2 * MARGIN, height: size.height + 2 * MARGIN });
  await page.waitForFunction(() => document.documentElement.style.getPropertyValue('--scale') === '1');
  return page;
}

// CSS pixels kept free around the window.
export const MARGIN = 8;

// What the window shows: each control's text or caption, the chosen option of each frame,
// whether each bar is drawn, and the control with the keyboard focus.
export function readWindow(page) {
  return page.evaluate(() => {
    const shown = {};
    for (const element of document.querySelectorAll('#window .client [data-name]')) {
      const name = element.dataset.name;
      if (element.matches('input.field')) {
        shown[name] = element.value;
      } else if (element.matches('.label')) {
        shown[name] = element.textContent;
      } else if (element.matches('.line')) {
        shown[name] = element.checkVisibility();
      } else if (element.matches('input[type=radio]') && element.checked) {
        shown[element.name] = name;
      }
    }
    shown.focus = document.activeElement?.dataset?.name ?? null;
    return shown;
  });
}

// The answer area as shown: the sign, the whole part, the numerator, the denominator and whether
// the bar is drawn.
export const answerOf = (shown) => ['Label1(3)', 'Label1(2)', 'Label1(1)', 'Label1(0)', 'Line3'].map((n) => shown[n]);

// Two frames on: the page refits in the first after a change.
export const settled = (page) => page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));

// Folds the working panel away, or opens it, and waits for the window to be fitted again.
export async function foldWorking(page) {
  await page.click('#working-toggle');
  await settled(page);
}

export const center = async (page, selector) => {
  const box = await (await page.$(selector)).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
};

export const control = (name) => `#window [data-name="${name}"]`;

// A press and release of the mouse in the middle of a control, as a user clicks it.
export async function clickOn(page, name) {
  const { x, y } = await center(page, control(name));
  await page.mouse.click(x, y);
}

// Types into fields entered with the mouse, as most users fill the window in.
export async function fillIn(page, entries) {
  for (const [name, text] of Object.entries(entries)) {
    await clickOn(page, name);
    await page.keyboard.type(text);
  }
}

// The fields of 1 1/2 + 2 1/3, the worked example whose answer is 3 5/6.
export const WORKED_EXAMPLE = {
  'Text1(2)': '1',
  'Text1(1)': '1',
  'Text1(0)': '2',
  'Text2(2)': '2',
  'Text2(1)': '1',
  'Text2(0)': '3',
};

// The longest working, twelve lines: the rows of the worked calculation repeated.
export const LONGEST_WORKING = 12;
export async function showLongestWorking(page) {
  await fillIn(page, WORKED_EXAMPLE);
  await clickOn(page, 'Command1');
  await page.evaluate((lines) => {
    const steps = document.querySelector('.working-steps');
    const rows = [...steps.children];
    while (steps.children.length < lines) {
      steps.append(rows[steps.children.length % rows.length].cloneNode(true));
    }
  }, LONGEST_WORKING);
}

export async function tapOn(page, name) {
  const { x, y } = await center(page, control(name));
  await page.touchscreen.tap(x, y);
}

// Text dragged from another program and dropped on a control, as the browser receives it.
export async function dropText(page, name, text) {
  const { x, y } = await center(page, control(name));
  const cdp = await page.createCDPSession();
  const data = { items: [{ mimeType: 'text/plain', data: text }], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop']) {
    await cdp.send('Input.dispatchDragEvent', { type, x, y, data });
  }
  await cdp.detach();
}

export async function press(page, ...keys) {
  for (const key of keys) {
    if (key === 'Shift+Tab') {
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    } else {
      await page.keyboard.press(key);
    }
  }
}

// The message box on screen, as its parts read: null when none is open.
export function readMessageBox(page) {
  return page.evaluate(() => {
    const dialog = document.querySelector('dialog[open]');
    if (!dialog) {
      return null;
    }
    return {
      title: dialog.querySelector('.msgbox-title').textContent,
      lines: dialog.querySelector('.msgbox-prompt').innerText.split('\n'),
      icon: dialog.querySelector('.msgbox-icon').dataset.icon,
      focus: document.activeElement?.textContent,
    };
  });
}

export function waitForMessageBox(page) {
  return page.waitForSelector('dialog[open]');
}

// Chromium's whole accessibility tree as a list of nodes; each node also tells the name of
// the group it sits in (`group`), so that a radio button can be checked against its frame.
export async function accessibleNodes(page) {
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const nodes = [];
  const walk = (node, group) => {
    nodes.push({ ...node, group });
    const inner = node.role === 'radiogroup' ? node.name : group;
    for (const child of node.children ?? []) {
      walk(child, inner);
    }
  };
  walk(tree, null);
  return nodes;
}

export function readSiteFile(name) {
  return readFileSync(join(SITE, name));
}

// The pixels of a PNG as Chromium writes its screenshots (8 bits, RGB or RGBA, not interlaced):
// { width, height, at(x, y) -> [r, g, b] }.
export function decodePng(png) {
  let offset = 8;
  let width = 0;
  let height = 0;
  let channels = 4;
  const data = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset);
    const type = png.toString('latin1', offset + 4, offset + 8);
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += length + 12;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let i = 0; i < stride; i++) {
      const x = raw[y * (stride + 1) + 1 + i];
      const a = i >= channels ? pixels[y * stride + i - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + i] : 0;
      const c = y > 0 && i >= channels ? pixels[(y - 1) * stride + i - channels] : 0;
      const p = a + b - c;
      const paeth = Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c) ? a : Math.abs(p - b) <= Math.abs(p - c) ? b : c;
      const predicted = [0, a, b, (a + b) >> 1, paeth][filter];
      pixels[y * stride + i] = (x + predicted) & 0xff;
    }
  }
  const at = (x, y) => [...pixels.subarray(y * stride + x * channels, y * stride + x * channels + 3)];
  return { width, height, at };
}

// A picture of part of the page, CSS pixels in, device pixels out.
export async function pixelsOf(page, clip) {
  return decodePng(Buffer.from(await page.screenshot({ clip, type: 'png' })));
}

// WCAG's contrast ratio of two sRGB colours.
export function contrast(one, other) {
  const luminance = (rgb) => {
    const [r, g, b] = rgb.map((v) => {
      const c = v / 255;
      return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const [light, dark] = [luminance(one), luminance(other)].sort((a, b) => b - a);
  return (light + 0.05) / (dark + 0.05);
}
