// The window on the screens its users have: phones and iPads (touch, device pixel ratios 2 and 3),
// a projector and browser zoom; what fits is read from the rendered pixels (high contrast, paper
// and the focus marks: marks.test.js).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  MARGIN,
  accessibleNodes,
  center,
  clickOn,
  contrast,
  fillIn,
  foldWorking,
  openAtScaleOne,
  shareSession,
  pixelsOf,
  press,
  readWindow,
  settled,
  showLongestWorking,
  withOpenPage,
} from './harness.js';

const session = shareSession();

// Browser zoom at 200 % and 400 % on a 1280 × 800 screen, as the page opens at that zoom, is half
// and a quarter of its CSS pixels, each two and four device pixels.
const SCREENS = [
  { name: 'phone 360 × 640', width: 360, height: 640, deviceScaleFactor: 3, hasTouch: true },
  { name: 'phone 390 × 844', width: 390, height: 844, deviceScaleFactor: 3, hasTouch: true },
  { name: 'phone in landscape 844 × 390', width: 844, height: 390, deviceScaleFactor: 3, hasTouch: true },
  { name: 'iPad 768 × 1024', width: 768, height: 1024, deviceScaleFactor: 2, hasTouch: true },
  { name: 'iPad in landscape 1024 × 768', width: 1024, height: 768, deviceScaleFactor: 2, hasTouch: true },
  { name: 'projector 1920 × 1080', width: 1920, height: 1080 },
  { name: '1280 × 800 at 200 % zoom', width: 640, height: 400, deviceScaleFactor: 2 },
  // A quarter of the screen's CSS pixels leaves no room for the longest answer at 9 of them.
  { name: '1280 × 800 at 400 % zoom', width: 320, height: 200, deviceScaleFactor: 4, folded: true, cramped: true },
];

const { withPage } = session;

// Each control's box from the window's top left corner, its centre's hit, the window's box, its
// scale (the window's width over its width at 1:1) and the box of the window with the working
// panel, which are scaled together.
function readLayout(page) {
  return page.evaluate(() => {
    const scaled = document.querySelector('#scaled');
    const root = document.documentElement.style;
    const scale = root.getPropertyValue('--scale');
    root.setProperty('--scale', '1');
    const natural = document.querySelector('#window').offsetWidth;
    root.setProperty('--scale', scale);
    const window = document.querySelector('#window').getBoundingClientRect();
    const content = scaled.getBoundingClientRect();
    const controls = {};
    for (const element of document.querySelectorAll('#window .client [data-name]:not([type=radio])')) {
      const box = element.getBoundingClientRect();
      const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
      controls[element.dataset.name] = {
        box: [box.left - window.left, box.top - window.top, box.width, box.height],
        hit: hit?.closest('[data-name]')?.dataset.name,
      };
    }
    return {
      scale: window.width / natural,
      window: [window.left, window.top, window.right, window.bottom],
      content: [content.left, content.top, content.right, content.bottom],
      viewport: [document.documentElement.clientWidth, document.documentElement.clientHeight],
      scrolls: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
      controls,
    };
  });
}

let oneToOne = null;
async function layoutAtScaleOne() {
  if (!oneToOne) {
    await withOpenPage(() => openAtScaleOne(session.browser, session.server.url), async (page) => {
      oneToOne = await readLayout(page);
    });
  }
  return oneToOne;
}

for (const screen of SCREENS) {
  test(`${screen.name}: the window and its working fill the screen, its controls scaled and hit where drawn`, async () => {
    const base = await layoutAtScaleOne();
    await withPage(screen, async (page) => {
      // With the working beside it, the window there is drawn at about 0.4, where its borders no
      // longer scale with it; alone it is at 0.64, as before the panel.
      if (screen.folded) {
        await foldWorking(page);
      }
      const layout = await readLayout(page);
      const [left, top, right, bottom] = layout.content;
      const [width, height] = layout.viewport;
      assert.deepEqual(layout.scrolls, layout.viewport);
      assert.ok(left >= MARGIN - 0.5 && top >= MARGIN - 0.5 && right <= width - MARGIN + 0.5 && bottom <= height - MARGIN + 0.5, `window and working at ${layout.content}`);
      // To within the rounding of the scale and of borders to device pixels.
      const fills = right - left >= 0.995 * (width - 2 * MARGIN) - 1 || bottom - top >= 0.995 * (height - 2 * MARGIN) - 1;
      assert.ok(layout.scale <= 3 && (fills || layout.scale > 2.99), `scale ${layout.scale}, window and working ${layout.content}`);
      const misplaced = Object.entries(base.controls).filter(([name, { box }]) =>
        box.some((value, i) => Math.abs(layout.controls[name].box[i] - value * layout.scale) > Math.max(1, layout.scale)),
      );
      assert.deepEqual(misplaced.map(([name]) => name), []);
      const missed = Object.entries(layout.controls).filter(([name, { hit }]) => /^(Text|Command|Option)/.test(name) && hit !== name);
      assert.deepEqual(missed, []);
    });
  });
}

// With the working folded away the window has the screen to itself.
test('a phone in landscape shows a bigger window than in portrait, a projector one three times as big', async () => {
  const scales = [];
  for (const screen of [SCREENS[1], SCREENS[2], SCREENS[5]]) {
    await withPage(screen, async (page) => {
      await foldWorking(page);
      scales.push((await readLayout(page)).scale);
    });
  }
  assert.ok(scales[1] > scales[0] * 1.3, `${scales}`);
  assert.equal(scales[2], 3);
});

// The window's width in device pixels once the page has been refitted, and whether the page scrolls.
async function drawnZoomed(page) {
  await settled(page);
  return page.evaluate(() => ({
    devicePixels: Math.round(document.querySelector('#window').getBoundingClientRect().width * devicePixelRatio),
    scrolls: document.documentElement.scrollWidth > document.documentElement.clientWidth,
  }));
}

// The browser's window as large in the screen's pixels as `bounds`: a viewport of half its CSS
// pixels is then the browser zoomed to 200 %.
async function sizeBrowserWindow(page, bounds) {
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setWindowBounds', { windowId: (await cdp.send('Browser.getWindowForTarget')).windowId, bounds });
  await cdp.detach();
}

// Zoomed to 200 % after the page has opened or before, the window is drawn on twice as many
// device pixels, to within their rounding, and the page scrolls.
test('browser zoom enlarges the window on top of its scale, set after the page has opened or before, and back', async () => {
  const ZOOMED = { width: 640, height: 400, deviceScaleFactor: 2 };
  const twice = (zoomed, at) => assert.ok(Math.abs(zoomed.devicePixels - 2 * at.devicePixels) <= 1 && zoomed.scrolls, `${at.devicePixels} → ${JSON.stringify(zoomed)}`);
  let before;
  await withPage({ width: 1280, height: 800 }, async (page) => {
    before = await drawnZoomed(page);
    await page.setViewport(ZOOMED);
    twice(await drawnZoomed(page), before);
    await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: 1 });
    assert.deepEqual(await drawnZoomed(page), before);
  });
  try {
    await withPage({ ...ZOOMED, prepare: (page) => sizeBrowserWindow(page, { width: 1280, height: 800 }) }, async (page) => twice(await drawnZoomed(page), before));
  } finally {
    await withPage({}, (page) => sizeBrowserWindow(page, { width: 100, height: 100 }));
  }
});

// The largest answers and the fullest fields. Each caption is read from the pixels with its
// label opened up: no ink of it may fall outside the label.
const MAXIMA = [
  {
    name: '999 9998/9999 × 999 9998/9999 as an improper fraction',
    clicks: ['Option1(2)', 'Option2(1)'],
    entries: { 'Text1(2)': '999', 'Text1(1)': '9998', 'Text1(0)': '9999', 'Text2(2)': '999', 'Text2(1)': '9998', 'Text2(0)': '9999' },
    shown: { 'Label1(1)': '99979981002001', 'Label1(0)': '99980001' },
  },
  {
    name: 'the same as a mixed number',
    clicks: ['Option1(2)'],
    entries: { 'Text1(2)': '999', 'Text1(1)': '9998', 'Text1(0)': '9999', 'Text2(2)': '999', 'Text2(1)': '9998', 'Text2(0)': '9999' },
    shown: { 'Label1(2)': '999999', 'Label1(1)': '79982002', 'Label1(0)': '99980001' },
  },
  {
    name: '999 + 999',
    clicks: [],
    entries: { 'Text1(2)': '999', 'Text2(2)': '999' },
    shown: { 'Label1(2)': '1998' },
  },
  {
    name: 'fields full of the widest digits',
    clicks: [],
    entries: { 'Text1(2)': '888', 'Text1(1)': '8888', 'Text1(0)': '8888', 'Text2(2)': '888', 'Text2(1)': '8888', 'Text2(0)': '8888' },
    shown: {},
  },
];

// Ink is the black of the text, not the grey of a border.
const dark = (rgb) => Math.max(...rgb) < 100;

// Columns of the picture with ink in them, as the desktop test reads its labels.
function inkColumns(picture) {
  const columns = [];
  for (let x = 0; x < picture.width; x++) {
    for (let y = 0; y < picture.height; y++) {
      if (dark(picture.at(x, y))) {
        columns.push(x);
        break;
      }
    }
  }
  return columns;
}

async function captionInk(page, name) {
  const label = await page.$(`#window [data-name="${name}"]`);
  await label.evaluate((element) => (element.style.overflow = 'visible'));
  const box = await label.boundingBox();
  // Four of the window's pixels on either side, clear of its neighbours.
  const aside = 4 * (await label.evaluate((element) => element.getBoundingClientRect().width / element.offsetWidth));
  const picture = await pixelsOf(page, { x: box.x - aside, y: box.y, width: box.width + 2 * aside, height: box.height });
  await label.evaluate((element) => (element.style.overflow = ''));
  const perPixel = picture.width / (box.width + 2 * aside);
  const columns = inkColumns(picture);
  return { columns, from: Math.floor(aside * perPixel), to: Math.ceil((aside + box.width) * perPixel), width: box.width * perPixel };
}

// A field's text between its borders, with a device pixel to spare.
async function fieldInk(page, name) {
  const field = await page.$(`#window [data-name="${name}"]`);
  const box = await field.boundingBox();
  const border = await field.evaluate((element) => element.getBoundingClientRect().width / element.offsetWidth);
  const inner = { x: box.x + border, y: box.y + border, width: box.width - 2 * border, height: box.height - 2 * border };
  const picture = await pixelsOf(page, inner);
  return { columns: inkColumns(picture), width: picture.width };
}

for (const screen of SCREENS) {
  test(`${screen.name}: the largest answers and the fullest fields are never cut`, async () => {
    for (const row of MAXIMA) {
      await withPage(screen, async (page) => {
        for (const name of row.clicks) {
          await clickOn(page, name);
        }
        await fillIn(page, row.entries);
        await clickOn(page, 'Command1');
        const shown = await readWindow(page);
        assert.deepEqual(Object.fromEntries(Object.keys(row.shown).map((name) => [name, shown[name]])), row.shown, row.name);
        for (const name of Object.keys(row.shown)) {
          const ink = await captionInk(page, name);
          const [first, last] = [Math.min(...ink.columns), Math.max(...ink.columns)];
          assert.ok(first >= ink.from && last < ink.to && last - first > (ink.to - ink.from) / 3, `${row.name}: ${name} inked ${first}..${last}, label ${ink.from}..${ink.to}`);
        }
        // Legible without a touch, in the room the answer area has, both halves of a fraction alike.
        const sizes = await page.$$eval('#window .answer .label', (labels) =>
          Object.fromEntries(labels.map((l) => [l.dataset.name, (parseFloat(getComputedStyle(l.firstElementChild).fontSize) * l.getBoundingClientRect().width) / l.offsetWidth])),
        );
        assert.ok(screen.cramped || Object.keys(row.shown).every((name) => sizes[name] >= 9), `${row.name}: ${JSON.stringify(sizes)}`);
        assert.equal(sizes['Label1(1)'], sizes['Label1(0)']);
        for (const [name, text] of Object.entries(row.entries)) {
          assert.equal(shown[name], text);
          const ink = await fieldInk(page, name);
          const [first, last] = [Math.min(...ink.columns), Math.max(...ink.columns)];
          assert.ok(first >= 1 && last <= ink.width - 2, `${row.name}: ${name} inked ${first}..${last} of ${ink.width}`);
        }
      });
    }
  });
}

// Where on an option a click or tap lands: its circle, its caption, or the far (right) edge of
// its box. The model's choice shows, and the accessibility tree says the same.
const SPOTS = {
  circle: (page, name) => page.$eval(`#window label[data-name="${name}"] input`, (e) => e.getBoundingClientRect().toJSON()),
  caption: (page, name) => page.$eval(`#window label[data-name="${name}"] .caption`, (e) => e.getBoundingClientRect().toJSON()),
  'far edge': (page, name) =>
    page.$eval(`#window label[data-name="${name}"]`, (e) => {
      const box = e.getBoundingClientRect();
      return { left: box.right - 2, width: 1, top: box.top, height: box.height };
    }),
};
const TAPS = [
  { spot: 'circle', option: 'Option1(1)', symbol: '－', form: 'Option2(0)' },
  { spot: 'caption', option: 'Option1(2)', symbol: '×', form: 'Option2(0)' },
  { spot: 'far edge', option: 'Option1(3)', symbol: '÷', form: 'Option2(0)' },
  { spot: 'circle', option: 'Option2(1)', symbol: '＋', form: 'Option2(1)' },
  { spot: 'far edge', option: 'Option2(1)', symbol: '＋', form: 'Option2(1)' },
  { spot: 'assistive click', option: 'Option1(3)', symbol: '÷', form: 'Option2(0)' },
  // Right after Tab or Shift+Tab into a field, its text selected.
  { spot: 'caption', option: 'Option1(3)', symbol: '÷', form: 'Option2(0)', first: ['Text1(2)', 'Tab'] },
  { spot: 'caption', option: 'Option2(1)', symbol: '＋', form: 'Option2(1)', first: ['Text1(0)', 'Shift+Tab'] },
];

// Fills the fields around `field` and enters the next or previous one with `key`.
async function tabIntoFilledField(page, [field, key]) {
  await fillIn(page, { 'Text1(2)': '1', 'Text1(1)': '2', 'Text1(0)': '3' });
  await clickOn(page, field);
  await press(page, key);
}

async function chosenAsRead(page) {
  const checked = (await accessibleNodes(page)).filter((node) => node.role === 'radio' && node.checked).map((node) => node.name);
  const shown = await readWindow(page);
  return { frames: [shown.Frame1, shown.Frame2], symbol: shown.Label3, checked };
}
const NAMES = { 'Option1(1)': 'ひき算', 'Option1(2)': 'かけ算', 'Option1(3)': 'わり算', 'Option2(0)': '帯分数', 'Option2(1)': '仮分数' };

for (const screen of [SCREENS[0], SCREENS[3], SCREENS[5]]) {
  test(`${screen.name}: a tap or click anywhere on an option chooses it, on screen and for screen readers`, async () => {
    for (const row of TAPS) {
      await withPage({ ...screen, isMobile: screen.hasTouch }, async (page) => {
        if (row.first) {
          await tabIntoFilledField(page, row.first);
        }
        if (row.spot === 'assistive click') {
          await page.$eval(`#window label[data-name="${row.option}"] input`, (input) => input.click());
        } else {
          const box = await SPOTS[row.spot](page, row.option);
          const [x, y] = [box.left + box.width / 2, box.top + box.height / 2];
          await (screen.hasTouch ? page.touchscreen.tap(x, y) : page.mouse.click(x, y));
        }
        const operator = row.option.startsWith('Option1') ? row.option : 'Option1(0)';
        const words = [operator === 'Option1(0)' ? 'たし算' : NAMES[operator], NAMES[row.form]];
        assert.deepEqual(await chosenAsRead(page), { frames: [operator, row.form], symbol: row.symbol, checked: words }, `${row.spot} of ${row.option}`);
        assert.equal((await readWindow(page)).focus, row.option);
      });
    }
  });
}

test('an option is labelled by its whole box, its caption inside it and in its middle', async () => {
  await withOpenPage(() => openAtScaleOne(session.browser, session.server.url), async (page) => {
    const boxes = await page.$$eval('#window input[type=radio]', (inputs) =>
      inputs.map((input) => {
        const rect = (e) => e.getBoundingClientRect();
        const [label, caption] = [rect(input.labels[0]), rect(input.labels[0].querySelector('.caption'))];
        return {
          name: input.dataset.name,
          labelled: input.labels.length === 1 && input.labels[0].dataset.name === input.dataset.name,
          inside: caption.top >= label.top && caption.bottom <= label.bottom && caption.right <= label.right,
          offCentre: Math.abs(caption.top + caption.bottom - label.top - label.bottom) / 2,
        };
      }),
    );
    assert.deepEqual(
      boxes.filter((box) => !box.labelled || !box.inside || box.offCentre > 0.5),
      [],
    );
    assert.equal(boxes.length, 6);
  });
});

// Phones and tablets under their own viewport rules, where a page wider than the screen, even for
// a frame, widens the layout viewport for good. Each change is made in turn on one page.
const DEVICES = [
  { width: 360, height: 640, deviceScaleFactor: 3 },
  { width: 390, height: 844, deviceScaleFactor: 3 },
  { width: 768, height: 1024, deviceScaleFactor: 2 },
  { width: 1024, height: 768, deviceScaleFactor: 2 },
];
const screenOf = (device, changes = {}) => ({ ...device, isMobile: true, hasTouch: true, ...changes });
const tapOnElement = async (page, selector) => {
  const box = await (await page.$(selector)).boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
};
const CHANGES = [
  { name: 'folding 途中式', act: (page) => tapOnElement(page, '#working-toggle') },
  { name: 'opening 途中式', act: (page) => tapOnElement(page, '#working-toggle') },
  { name: 'turning sideways', act: (page, d) => page.setViewport(screenOf(d, { width: d.height, height: d.width })) },
  { name: 'turning back', act: (page, d) => page.setViewport(screenOf(d)) },
  // The window keeps its size for the keyboard: the field typed into is scrolled into view instead.
  { name: 'the keyboard opening', keyboard: true, act: async (page, d) => (await tapOnElement(page, '#window [data-name="Text1(1)"]'), page.setViewport(screenOf(d, { height: Math.round(d.height * 0.55) }))) },
  { name: 'the keyboard closing', act: (page, d) => page.setViewport(screenOf(d)) },
  { name: 'zoom to 200 %', act: (page, d) => page.setViewport(screenOf(d, { width: d.width / 2, height: d.height / 2, deviceScaleFactor: 2 * d.deviceScaleFactor })) },
  { name: 'zoom back', act: (page, d) => page.setViewport(screenOf(d)) },
  { name: '終了', act: (page) => clickOn(page, 'FileExit') },
  { name: 'もう一度起動する', act: (page) => tapOnElement(page, '#restart') },
];

for (const device of DEVICES) {
  test(`${device.width} × ${device.height} under mobile viewport rules: each change leaves the page as wide as the screen and all it shows inside`, async () => {
    await withPage(screenOf(device), async (page) => {
      for (const change of CHANGES) {
        const scale = await page.evaluate(() => document.documentElement.style.getPropertyValue('--scale'));
        await change.act(page, device);
        await settled(page);
        const seen = await page.evaluate((keyboard) => {
          const shown = keyboard ? [document.activeElement] : [...document.querySelectorAll('#window, #working, #ended')].filter((e) => e.checkVisibility());
          const boxes = shown.map((e) => e.getBoundingClientRect());
          return {
            widths: [document.documentElement.clientWidth, window.innerWidth, window.visualViewport.width],
            height: window.innerHeight,
            outside: boxes.filter((box) => box.left < 0 || box.top < 0 || box.right > window.innerWidth || box.bottom > window.innerHeight).length,
            scale: keyboard ? document.documentElement.style.getPropertyValue('--scale') : null,
          };
        }, change.keyboard ?? false);
        const width = page.viewport().width;
        const kept = change.keyboard ? scale : null;
        assert.deepEqual(seen, { widths: [width, width, width], height: page.viewport().height, outside: 0, scale: kept }, `after ${change.name}`);
      }
    });
  });
}

// The room the window and its working panel use, and whether the longest working shows whole. Where it cannot (a phone in landscape, where
// it would draw the window smaller than its own size), its panel scrolls and the window stays. The scale and the blank share of each screen are printed.
const ROOMS = [
  { width: 360, height: 640, deviceScaleFactor: 3, whole: true },
  { width: 390, height: 844, deviceScaleFactor: 3, whole: true },
  { width: 844, height: 390, deviceScaleFactor: 3, whole: false },
  { width: 768, height: 1024, deviceScaleFactor: 2, whole: true },
  { width: 1024, height: 768, deviceScaleFactor: 2, whole: true },
  { width: 1366, height: 768, whole: true },
  { width: 1920, height: 1080, whole: true },
];

test('the working panel takes the room the window leaves and holds the longest working on a tablet or projector', async (t) => {
  const table = ['| screen | scale | blank share |', '|---|---:|---:|'];
  for (const room of ROOMS) {
    await withPage(screenOf(room, { hasTouch: room.deviceScaleFactor !== undefined }), async (page) => {
      await showLongestWorking(page);
      const seen = await page.evaluate(() => {
        const body = document.querySelector('.working-steps');
        const window = () => document.querySelector('#window').getBoundingClientRect().toJSON();
        const before = window();
        body.scrollTop = body.scrollHeight;
        const area = (e) => e.getBoundingClientRect().width * e.getBoundingClientRect().height;
        const page = document.documentElement;
        return {
          whole: body.scrollHeight <= body.clientHeight,
          scrolled: body.scrollTop > 0,
          windowStill: JSON.stringify(window()) === JSON.stringify(before) && page.scrollHeight === page.clientHeight,
          blank: 1 - (area(document.querySelector('#window')) + area(document.querySelector('#working'))) / (innerWidth * innerHeight),
          scale: Number(page.style.getPropertyValue('--scale')),
        };
      });
      const name = `${room.width} × ${room.height}`;
      table.push(`| ${name} | ${seen.scale.toFixed(2)} | ${(100 * seen.blank).toFixed(0)} % |`);
      assert.deepEqual([seen.whole, seen.scrolled, seen.windowStill], [room.whole, !room.whole, true], name);
      assert.ok(seen.blank < 0.35, `${name}: ${seen.blank} of the screen blank`);
    });
  }
  t.diagnostic(`\n${table.join('\n')}`);
});

// A long improper fraction on a phone is drawn far smaller than can be read, and a touch never
// shows a tooltip: a tap on it shows it whole at a legible size, inside the screen, until the
// finger lands elsewhere.
test('a tap on an answer drawn too small to read shows it whole and legible', async () => {
  // A screen too narrow for the answer area to hold it legibly.
  await withPage(screenOf({ width: 200, height: 400, deviceScaleFactor: 3 }), async (page) => {
    await clickOn(page, 'Option1(2)');
    await clickOn(page, 'Option2(1)');
    await fillIn(page, MAXIMA[0].entries);
    await clickOn(page, 'Command1');
    const readTip = () =>
      page.evaluate(() => {
        const tip = document.querySelector('[role=tooltip]');
        const box = tip?.getBoundingClientRect();
        return tip?.checkVisibility()
          ? { text: tip.textContent, size: parseFloat(getComputedStyle(tip).fontSize) * box.width / tip.offsetWidth, inside: box.left >= 0 && box.right <= innerWidth && box.top >= 0 && box.bottom <= innerHeight }
          : null;
      });
    const { x, y } = await center(page, '#window [data-name="Label1(1)"]');
    await page.touchscreen.tap(x, y);
    const tip = await readTip();
    assert.deepEqual({ text: tip?.text, inside: tip?.inside, legible: tip?.size >= 12 }, { text: MAXIMA[0].shown['Label1(1)'], inside: true, legible: true });
    await page.touchscreen.tap(4, 4);
    assert.equal(await readTip(), null);
  });
});
