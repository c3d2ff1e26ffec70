// The page as a whole: what a screen reader is told, narrow screens, working offline and from
// any folder, no other origin, and words instead of a blank page where it cannot run.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readdirSync } from 'node:fs';
import {
  SITE,
  accessibleNodes,
  clickOn,
  fillIn,
  launchBrowser,
  openAtScaleOne,
  openTavolen,
  readSiteFile,
  readWindow,
  startServer,
} from './harness.js';

let browser;
before(async () => {
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
});

async function withServer(options, body) {
  const server = await startServer(options);
  try {
    await body(server);
  } finally {
    await server.stop();
  }
}

async function calculateHalfAndThird(page) {
  await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2', 'Text2(1)': '1', 'Text2(0)': '3' });
  await clickOn(page, 'Command1');
  const shown = await readWindow(page);
  return [shown['Label1(1)'], shown['Label1(0)']];
}

const NAMES = [
  { role: 'menuitem', name: '終了' },
  { role: 'menuitem', name: 'バージョン情報' },
  { role: 'radiogroup', name: '計算の方法' },
  { role: 'radio', name: 'たし算', checked: true, group: '計算の方法' },
  { role: 'radio', name: 'ひき算', checked: false, group: '計算の方法' },
  { role: 'radio', name: 'かけ算', checked: false, group: '計算の方法' },
  { role: 'radio', name: 'わり算', checked: false, group: '計算の方法' },
  { role: 'radiogroup', name: '答えの出し方' },
  { role: 'radio', name: '帯分数', checked: true, group: '答えの出し方' },
  { role: 'radio', name: '仮分数', checked: false, group: '答えの出し方' },
  { role: 'textbox', name: '1つ目の数の整数' },
  { role: 'textbox', name: '1つ目の数の分子' },
  { role: 'textbox', name: '1つ目の数の分母' },
  { role: 'textbox', name: '2つ目の数の整数' },
  { role: 'textbox', name: '2つ目の数の分子' },
  { role: 'textbox', name: '2つ目の数の分母' },
  { role: 'button', name: '終了' },
  { role: 'button', name: '計算' },
  { role: 'button', name: '消す' },
  { role: 'status', name: '答え', live: 'polite' },
];
const ROLES = new Set(NAMES.map((n) => n.role));

test('the accessibility tree names every control and reads the answer in words', async () => {
  await withServer({}, async (server) => {
    const page = await openTavolen(browser, server.url);
    const nodes = (await accessibleNodes(page)).filter((node) => ROLES.has(node.role));
    assert.deepEqual(
      nodes.map(({ role, name, checked, group, live }) =>
        role === 'radio' ? { role, name, checked, group } : role === 'status' ? { role, name, live } : { role, name },
      ),
      NAMES,
    );
    assert.equal(nodes.find((node) => node.focused)?.name, 'たし算');

    assert.deepEqual(await calculateHalfAndThird(page), ['5', '6']);
    const status = (await accessibleNodes(page)).find((node) => node.role === 'status');
    assert.deepEqual(status.children?.map((child) => child.name), ['6分の5']);
    await page.close();
  });
});

test('at 360 CSS pixels the whole window is visible without horizontal scrolling', async () => {
  await withServer({}, async (server) => {
    const page = await openTavolen(browser, server.url, { width: 360, height: 640, hasTouch: true });
    const fit = await page.evaluate(() => {
      const boxes = [...document.querySelectorAll('#window, #window [data-name]')].map((e) => e.getBoundingClientRect());
      return {
        scrollWidth: document.documentElement.scrollWidth,
        left: Math.min(...boxes.map((b) => b.left)),
        right: Math.max(...boxes.map((b) => b.right)),
      };
    });
    assert.ok(fit.scrollWidth <= 360, `page scrolls to ${fit.scrollWidth}px`);
    assert.ok(fit.left >= 0 && fit.right <= 360, `window spans ${fit.left}..${fit.right}`);
    assert.deepEqual(await calculateHalfAndThird(page), ['5', '6']);
    await page.close();
  });
});

test('at a scale of 1 the window is drawn one CSS pixel per 15 twips', async () => {
  await withServer({}, async (server) => {
    const page = await openAtScaleOne(browser, server.url);
    const sizes = await page.evaluate(() => {
      const size = (selector) => {
        const box = document.querySelector(selector).getBoundingClientRect();
        return [box.width, box.height];
      };
      return { client: size('#window .client'), calculate: size('[data-name="Command1"]') };
    });
    assert.deepEqual(sizes, { client: [439, 264], calculate: [97, 41] });
    await page.close();
  });
});

test('after the first visit the page works with the server stopped', async () => {
  const server = await startServer();
  const page = await openTavolen(browser, server.url);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const kept = await page.evaluate(async () => {
    const names = [];
    for (const key of await caches.keys()) {
      for (const request of await (await caches.open(key)).keys()) {
        names.push(new URL(request.url).pathname.slice(1));
      }
    }
    return names.sort();
  });
  const files = readdirSync(SITE).filter((name) => name !== 'sw.js');
  assert.deepEqual(kept, ['', ...files].sort());

  await server.stop();
  await page.reload();
  await page.waitForSelector('#window:not([hidden])');
  assert.deepEqual(await calculateHalfAndThird(page), ['5', '6']);
  await page.close();
});

test('the site works from a folder of the server and asks no other origin', async () => {
  await withServer({ prefix: '/some/folder/' }, async (server) => {
    const page = await browser.newPage();
    const requests = [];
    page.on('request', (request) => requests.push(request.url()));
    await page.evaluateOnNewDocument(() => {
      window.violations = [];
      document.addEventListener('securitypolicyviolation', (event) => window.violations.push(event.violatedDirective));
    });
    await page.goto(server.url);
    await page.waitForSelector('#window:not([hidden])');
    assert.deepEqual(await calculateHalfAndThird(page), ['5', '6']);
    assert.deepEqual(await page.evaluate(() => window.violations), []);
    const elsewhere = requests.filter((url) => !url.startsWith(server.url));
    assert.deepEqual(elsewhere, []);
    const csp = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (meta) => meta.content);
    assert.match(csp, /default-src 'self'/);
    assert.match(csp, /script-src 'self' 'wasm-unsafe-eval';/);
    await page.close();
  });
});

test('the manifest makes it installable, with its icons at 192 and 512 pixels', async () => {
  const manifest = JSON.parse(readSiteFile('manifest.webmanifest'));
  assert.deepEqual([manifest.name, manifest.lang, manifest.display, manifest.start_url], ['Tavolen', 'ja', 'standalone', './']);
  const pngSize = (name) => {
    const png = readSiteFile(name);
    return `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`;
  };
  assert.deepEqual(
    manifest.icons.map((icon) => [icon.sizes, pngSize(icon.src)]),
    [
      ['192x192', '192x192'],
      ['512x512', '512x512'],
    ],
  );
  assert.equal(pngSize('icon-32.png'), '32x32');
});

test('without JavaScript the page says so', async () => {
  await withServer({}, async (server) => {
    const page = await browser.newPage();
    await page.setJavaScriptEnabled(false);
    await page.goto(server.url);
    const note = await page.$eval('noscript', (n) => n.textContent);
    assert.match(await page.evaluate(() => document.body.innerText), /JavaScript/);
    assert.match(note, /JavaScript を有効に/);
    await page.close();
  });
});

test('without WebAssembly the page says the browser is too old', async () => {
  await withServer({}, async (server) => {
    const page = await browser.newPage();
    // A browser of before WebAssembly, as far as the page can tell.
    await page.evaluateOnNewDocument(() => delete globalThis.WebAssembly);
    await page.goto(server.url);
    await page.waitForSelector('#too-old:not([hidden])');
    assert.match(await page.$eval('#too-old', (n) => n.innerText), /WebAssembly/);
    assert.equal(await page.$eval('#window', (w) => w.hidden), true);
    await page.close();
  });
});
