// The page as a whole: what a screen reader is told, working from any folder, no other origin,
// and words instead of a blank page where it cannot run.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  accessibleNodes,
  clickOn,
  control,
  fillIn,
  launchBrowser,
  openAtScaleOne,
  openTavolen,
  press,
  readSiteFile,
  readWindow,
  startServer,
  takenOver,
  tapOn,
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
  { role: 'button', name: '途中式' },
  { role: 'textbox', name: '自分の答え（例：3 5/6、23/6、3と6分の5）' },
  { role: 'button', name: '答え合わせ' },
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

test('the site works from a folder of the server, asks no other origin, and asks for its modules at once', async () => {
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
    // Preloaded, each module that main.js imports, near or far, is asked for before main.js itself.
    const files = requests.map((url) => new URL(url).pathname.split('/').pop());
    assert.deepEqual(files.slice(files.indexOf('main.js') + 1).filter((file) => /^(?!sw\.js).*\.js$/.test(file)), []);
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

test('without JavaScript the page says so, and shows no window that could not work', async () => {
  await withServer({}, async (server) => {
    const page = await browser.newPage();
    await page.setJavaScriptEnabled(false);
    await page.goto(server.url);
    const note = await page.$eval('noscript', (n) => n.textContent);
    assert.match(await page.evaluate(() => document.body.innerText), /JavaScript/);
    assert.match(note, /JavaScript を有効に/);
    assert.equal(await page.$eval('#window', (w) => w.checkVisibility()), false);
    await page.close();
  });
});

// Browsers the window cannot run in, made by taking features away from Chromium before the page
// loads, or by answering its requests as such a browser or a broken network would see them.
const TOO_OLD = 'このブラウザーは古いため Tavolen を動かせません。新しいブラウザーで開いてください。';
const LOAD_FAILED = 'Tavolen を読み込めませんでした。ページを再読み込みしてください。';
const CANNOT_RUN = [
  {
    name: 'no WebAssembly',
    prepare: (page) => page.evaluateOnNewDocument(() => delete globalThis.WebAssembly),
    note: TOO_OLD,
  },
  {
    name: "WebAssembly forbidden by a policy keyword it does not know ('wasm-unsafe-eval')",
    answer: { 'index.html': (body) => body.replace(" 'wasm-unsafe-eval'", '') },
    note: TOO_OLD,
  },
  {
    name: 'modules whose syntax it cannot read (optional chaining)',
    answer: { 'render.js': (body) => body.replaceAll('?.', '?.?.') },
    note: TOO_OLD,
  },
  {
    name: 'no modules at all',
    prepare: (page) => page.evaluateOnNewDocument(() => delete HTMLScriptElement.prototype.noModule),
    answer: { 'main.js': null },
    note: TOO_OLD,
  },
  {
    name: 'a module file that does not arrive',
    answer: { 'input.js': null },
    note: LOAD_FAILED,
  },
  {
    name: 'a WebAssembly file that does not arrive',
    answer: { 'tavolen.wasm': null },
    note: LOAD_FAILED,
  },
];
for (const row of CANNOT_RUN) {
  test(`a browser with ${row.name} gets a note instead of the window`, async () => {
    await withServer({}, async (server) => {
      const page = await browser.newPage();
      await row.prepare?.(page);
      await page.setRequestInterception(true);
      page.on('request', async (request) => {
        const file = new URL(request.url()).pathname.slice(1) || 'index.html';
        if (!(file in (row.answer ?? {}))) {
          await request.continue();
        } else if (row.answer[file] === null) {
          await request.abort();
        } else {
          const body = row.answer[file](readSiteFile(file).toString());
          await request.respond({ contentType: file.endsWith('.js') ? 'text/javascript' : 'text/html', body });
        }
      });
      await page.goto(server.url);
      await page.waitForFunction(() => document.querySelector('.note:not([hidden])'));
      const shown = await page.evaluate(() => document.body.innerText.trim());
      assert.equal(shown, row.note);
      await page.close();
    });
  });
}

// The model is fetched once: the module takes the response the page preloaded. A server that does
// not call it WebAssembly defeats compiling it on arrival; it is then fetched again, and runs.
const SERVED_AS = [
  { name: 'as WebAssembly', type: 'application/wasm', requests: 1 },
  { name: 'as an unknown type', type: 'application/octet-stream', requests: 2 },
];
for (const row of SERVED_AS) {
  test(`a model served ${row.name} is fetched ${row.requests === 1 ? 'once' : 'again'} and calculates`, async () => {
    await withServer({}, async (server) => {
      const page = await browser.newPage();
      let requests = 0;
      await page.setRequestInterception(true);
      page.on('request', async (request) => {
        if (new URL(request.url()).pathname !== '/tavolen.wasm') {
          await request.continue();
          return;
        }
        requests += 1;
        await request.respond({ contentType: row.type, body: readSiteFile('tavolen.wasm') });
      });
      await page.goto(server.url);
      await page.waitForFunction(() => document.querySelector('#window:not([aria-busy])'));
      assert.deepEqual(await calculateHalfAndThird(page), ['5', '6']);
      assert.equal(requests, row.requests);
      await page.close();
    });
  });
}

// The window as the page delivers it, before the module has arrived: the module's WebAssembly, and
// any other of its files `held`, are held back at the server's door until `release()`.
async function openHeldBack(server, options = {}, held = ['/tavolen.wasm']) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600, ...options });
  // Every move of an element already drawn, as the browser counts it.
  await page.evaluateOnNewDocument(() => {
    window.shifts = [];

    new PerformanceObserver((list) => window.shifts.push(...list.getEntries().map((e) => e.value))).observe({ type: 'layout-shift', buffered: true });
  });
  await page.setRequestInterception(true);
  let release;
  const released = new Promise((done) => (release = done));
  page.on('request', async (request) => {
    if (held.includes(new URL(request.url()).pathname)) {
      await released;
    }
    await request.continue();
  });
  // Held files may hold the load event back too: the page is not awaited past its first frame.
  page.goto(server.url).catch(() => {});
  await page.waitForSelector('#window .client > .answer');
  return { page, release };
}

// What the window draws: its menu bar and client area, and everything in them.
const DRAWN = '#window .menubar, #window .menubar *, #window .client, #window .client *, #working, #working *';

// Every element of the window and the working panel in order: its tag, attributes, state, box and looks, as drawn.
function readElements(page) {
  return page.evaluate((drawn) =>
    [...document.querySelectorAll(drawn)].map((element) => {
      const style = getComputedStyle(element);
      const { x, y, width, height } = element.getBoundingClientRect();
      const attributes = [...element.attributes]
        .filter((a) => !['style', 'autofocus', 'checked', 'value'].includes(a.name))
        .map((a) => `${a.name}=${a.value}`);
      return {
        tag: element.localName,
        attributes,
        text: element.children.length === 0 ? element.textContent : '',
        value: element.value,
        checked: element.checked,
        box: [x, y, width, height],
        looks: ['font', 'color', 'text-align', 'line-height', 'display', 'visibility', 'border'].map((p) => style.getPropertyValue(p)),
      };
    }),
    DRAWN,
  );
}

// The window as drawn, without the marks of a window still starting.
async function readFirstFrame(page) {
  // A picture of the viewport as it is: capturing beyond it would resize the page for a moment.
  const clip = await (await page.$('#scaled')).boundingBox();
  const busy = await page.$eval('#window', (w) => [w.getAttribute('aria-busy'), w.removeAttribute('aria-busy')][0]);
  const frame = {
    elements: await readElements(page),
    focus: await page.evaluate(() => document.activeElement?.dataset.name),
    pixels: Buffer.from(await page.screenshot({ clip, captureBeyondViewport: false })),
  };
  await page.$eval('#window', (w, value) => value !== null && w.setAttribute('aria-busy', value), busy);
  return frame;
}

function assertSameFrame(actual, expected, what) {
  assert.deepEqual({ ...actual, pixels: null }, { ...expected, pixels: null }, what);
  assert.ok(actual.pixels.equals(expected.pixels), `${what}: the pixels differ`);
}

// A desk screen, and a phone held upright with touch at three device pixels to the CSS pixel.
const SCREENS = [
  { name: 'at 800 × 600', viewport: { width: 800, height: 600 } },
  { name: 'on a phone', viewport: { width: 360, height: 640, hasTouch: true, isMobile: true, deviceScaleFactor: 3 } },
];
for (const screen of SCREENS) {
  test(`${screen.name}, the window in the page as delivered is, element by element and pixel by pixel, the one the module draws at start`, async () => {
    await withServer({}, async (server) => {
      const { page: delivered, release } = await openHeldBack(server, screen.viewport);
      const asDelivered = await readFirstFrame(delivered);
      const elements = await delivered.evaluate((drawn) => (window.firstElements = [...document.querySelectorAll(drawn)]).length, DRAWN);
      release();
      await takenOver(delivered);
      // The module takes over the very elements of the page; nothing moves, nothing changes.
      assert.equal(await delivered.evaluate((drawn) => [...document.querySelectorAll(drawn)].every((e, i) => e === window.firstElements[i]), DRAWN), true);
      assert.equal(await delivered.evaluate((drawn) => document.querySelectorAll(drawn).length, DRAWN), elements);
      assertSameFrame(await readFirstFrame(delivered), asDelivered, 'taken over');
      // Nor has anything drawn moved since the first frame.
      assert.deepEqual(await delivered.evaluate(() => window.shifts), [], 'the layout shifted before the module took over');

      // The same window drawn by the module alone, from a page whose window is emptied before it runs.
      const drawn = await browser.newPage();
      await drawn.setViewport(screen.viewport);
      await drawn.evaluateOnNewDocument(() =>
        document.addEventListener('readystatechange', () => {
          if (document.readyState === 'interactive') {
            document.querySelector('#window .menubar').replaceChildren();
            document.querySelector('#window .client').replaceChildren();
          }
        }),
      );
      await drawn.goto(server.url);
      await takenOver(drawn);
      assertSameFrame(await readFirstFrame(drawn), asDelivered, 'drawn by the module');
      assert.equal(asDelivered.focus, 'Option1(0)');
      await Promise.all([delivered.close(), drawn.close()]);
    });
  });
}

// The page as a slow network delivers it, stopping for a while at each of these places: a browser
// may draw a frame from what it has read so far, and nothing drawn then may move once the rest
// has arrived and the module has taken over.
const PAUSE_MS = 800;
const PAUSES = [
  { name: 'in the menu bar', text: '<button type="button" class="menu" role="menuitem" tabindex="-1" data-name="FileBer"' },
  { name: 'in the client area', text: '<fieldset class="frame face-default" role="radiogroup" aria-label="答えの出し方"' },
  { name: "in the panel's choices", text: '<label><input type="checkbox" id="working-one-line">' },
];
for (const screen of SCREENS) {
  for (const pause of PAUSES) {
    test(`${screen.name}, a page that stops arriving ${pause.name} draws nothing that moves once the rest is in`, async () => {
      assert.ok(readSiteFile('index.html').includes(pause.text), `the page has no ${pause.text}`);
      await withServer({ pauseAt: { text: pause.text, ms: PAUSE_MS } }, async (server) => {
        const { page, release } = await openHeldBack(server, screen.viewport);
        release();
        await takenOver(page);
        const reading = await page.evaluate(() => {
          const timing = performance.getEntriesByType('navigation')[0];
          return timing.domInteractive - timing.responseStart;
        });
        assert.ok(reading >= PAUSE_MS / 2, `the page was read in ${reading} ms, without the pause`);
        assert.deepEqual(await page.evaluate(() => window.shifts), [], 'the layout shifted');
        await page.close();
      });
    });
  }
}

// Input before the module has taken over, performed in order once it has.
const looksOf = (page) =>
  page.$eval(control('Command1'), (button) => [
    getComputedStyle(button).cursor,
    getComputedStyle(button).color,
    getComputedStyle(document.querySelector('#window .menubar'), '::after').content,
  ]);
const ANSWER = ['', '5', '6', 'Command1', null];
const EARLY = [
  { name: 'a click on 計算', input: (page) => clickOn(page, 'Command1'), shown: ANSWER },
  { name: 'a tap on 計算', touch: true, input: (page) => tapOn(page, 'Command1'), shown: ANSWER },
  // From the first frame on, before the page's other scripts have run.
  { name: 'a tap on 計算 before any script of the body', touch: true, held: ['/too-old.js', '/main.js'], input: (page) => tapOn(page, 'Command1'), shown: ANSWER },
  {
    name: '計算 and then 消す',
    input: async (page) => {
      await clickOn(page, 'Command1');
      await clickOn(page, 'Command2');
    },
    shown: ['', '', '', 'Command2', null],
  },
  {
    name: 'Shift+Tab twice, 1 typed, Tab three times to 計算 and Enter',
    input: async (page) => {
      await press(page, 'Shift+Tab', 'Shift+Tab');
      await page.keyboard.type('1');
      await press(page, 'Tab', 'Tab', 'Tab', 'Enter');
    },
    shown: ['1', '5', '6', 'Command1', null],
  },
  {
    name: 'Tab, a click back into the field, 0 typed and 計算',
    input: async (page) => {
      await press(page, 'Tab');
      await fillIn(page, { 'Text2(0)': '0' });
      await clickOn(page, 'Command1');
    },
    shown: ['', '8', '15', 'Command1', null],
  },
  { name: 'バージョン情報 from the menu', input: (page) => clickOn(page, 'FileBer'), shown: ['', '', '', null, 'バージョン情報'] },
];
for (const row of EARLY) {
  test(`before the module has taken over, ${row.name} is performed once it has`, async () => {
    await withServer({}, async (server) => {
      const screen = row.touch ? { width: 390, height: 844, hasTouch: true, isMobile: true } : {};
      const { page, release } = await openHeldBack(server, screen, ['/tavolen.wasm', ...(row.held ?? [])]);
      // Still starting: the pointer says so over the whole window, the dimmed buttons and a word in the menu bar to touch.
      assert.deepEqual(await looksOf(page), ['progress', 'rgb(89, 89, 89)', '"準備中" / ""']);
      await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2', 'Text2(1)': '1', 'Text2(0)': '3' });
      await row.input(page);
      release();
      await page.waitForSelector('#window:not([aria-busy])');
      const shown = await readWindow(page);
      const box = await page.evaluate(() => document.querySelector('dialog[open] .msgbox-title')?.textContent ?? null);
      assert.deepEqual([shown['Label1(2)'], shown['Label1(1)'], shown['Label1(0)'], shown.focus, box], row.shown);
      assert.deepEqual(await looksOf(page), ['default', 'rgb(0, 0, 0)', 'none']);
      await page.close();
    });
  });
}

test('what is typed and chosen before the module is ready is kept, and the model calculates with it', async () => {
  await withServer({}, async (server) => {
    const { page, release } = await openHeldBack(server);
    await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2' });
    await clickOn(page, 'Option1(2)');
    await fillIn(page, { 'Text2(1)': '1', 'Text2(0)': '3' });
    release();
    await takenOver(page);
    const shown = await readWindow(page);
    assert.deepEqual(
      [shown['Text1(1)'], shown['Text1(0)'], shown['Text2(1)'], shown['Text2(0)'], shown.Frame1, shown.Label3, shown.focus, shown.Label7],
      ['1', '2', '1', '3', 'Option1(2)', '×', 'Text2(0)', '分母'],
    );
    await clickOn(page, 'Command1');
    const answer = await readWindow(page);
    assert.deepEqual([answer['Label1(1)'], answer['Label1(0)']], ['1', '6']);
    await page.close();
  });
});
