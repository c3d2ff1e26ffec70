// What the window marks and draws beyond plain colours: its bars and the fold mark in high
// contrast, the answer of a previous calculation there, paper, and the focus marks; read from the
// rendered pixels.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { clickOn, contrast, fillIn, foldWorking, openAtScaleOne, openTavolen, pixelsOf, press, shareSession, showLongestWorking, withOpenPage } from './harness.js';

const session = shareSession();
const { withPage } = session;

const PHONE = { name: 'phone 360 × 640', width: 360, height: 640, deviceScaleFactor: 3, hasTouch: true };
const IPAD_LANDSCAPE = { name: 'iPad in landscape 1024 × 768', width: 1024, height: 768, deviceScaleFactor: 2, hasTouch: true };
const PROJECTOR = { name: 'projector 1920 × 1080', width: 1920, height: 1080 };

// High contrast, as Windows draws it (puppeteer's own emulation does not know the feature), light
// or with a dark theme.
async function forceColours(page, scheme = 'light') {
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setEmulatedMedia', {
    features: [
      { name: 'forced-colors', value: 'active' },
      { name: 'prefers-color-scheme', value: scheme },
    ],
  });
}

// High contrast and paper without background colours: the window's bars must still be drawn.
const MEDIA = [
  { name: 'forced colours', setUp: (page) => forceColours(page) },
  {
    name: 'print without background colours',
    async setUp(page) {
      await page.emulateMediaType('print');
      await page.evaluate(() => {
        const sheet = new CSSStyleSheet();
        sheet.replaceSync('*, *::before, *::after { background: none !important; box-shadow: none !important; }');
        document.adoptedStyleSheets = [sheet];
      });
    },
  },
];

// Whether some row of the box (and a pixel above and below) is a line across it: nearly every
// pixel stands out from the background at 3:1.
async function lineAcross(page, box) {
  const picture = await pixelsOf(page, { x: box.x, y: box.y - 3, width: box.width, height: box.height + 6 });
  const background = picture.at(0, 0);
  for (let y = 0; y < picture.height; y++) {
    let inked = 0;
    for (let x = 0; x < picture.width; x++) {
      inked += contrast(picture.at(x, y), background) >= 3 ? 1 : 0;
    }
    if (inked >= picture.width * 0.9) {
      return true;
    }
  }
  return false;
}

for (const medium of MEDIA) {
  test(`${medium.name}: the three fraction bars are drawn`, async () => {
    await withPage(IPAD_LANDSCAPE, async (page) => {
      await fillIn(page, { 'Text1(2)': '1', 'Text1(1)': '1', 'Text1(0)': '2' });
      await clickOn(page, 'Option2(1)');
      await clickOn(page, 'Command1');
      await medium.setUp(page);
      const bars = {};
      for (const name of ['Line1', 'Line2', 'Line3']) {
        bars[name] = await lineAcross(page, await (await page.$(`#window [data-name="${name}"]`)).boundingBox());
      }
      assert.deepEqual(bars, { Line1: true, Line2: true, Line3: true });
    });
  });
}

test('forced colours: an answer whose inputs have changed is drawn in the system\'s grey text colour', async () => {
  await withPage(IPAD_LANDSCAPE, async (page) => {
    await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2' });
    await clickOn(page, 'Command1');
    await fillIn(page, { 'Text2(2)': '1' });
    await forceColours(page);
    const colours = await page.evaluate(() => {
      const probe = document.body.appendChild(document.createElement('span'));
      probe.style.color = 'GrayText';
      const style = (name) => getComputedStyle(document.querySelector(`#window [data-name="${name}"]`));
      return [getComputedStyle(probe).color, style('Label1(0)').color, style('Line3').borderTopColor, style('Label3').color];
    });
    assert.deepEqual(colours.map((colour) => colour === colours[0]), [true, true, true, false]);
  });
});

// The fold mark of the working panel, read from the pixels at its place in the heading.
test('in forced colours, light or dark, the fold mark is drawn open and folded', async () => {
  for (const scheme of ['light', 'dark']) {
    await withPage(IPAD_LANDSCAPE, async (page) => {
      await forceColours(page, scheme);
      const inked = [];
      for (const fold of [false, true]) {
        if (fold) {
          await foldWorking(page);
        }
        const mark = await page.$eval('#working-toggle', (toggle) => {
          const box = toggle.getBoundingClientRect();
          const text = toggle.firstChild;
          const range = document.createRange();
          range.selectNode(text);
          return { x: box.left, y: box.top, width: range.getBoundingClientRect().left - box.left, height: box.height };
        });
        const picture = await pixelsOf(page, mark);
        const background = picture.at(0, 0);
        let count = 0;
        for (let x = 0; x < picture.width; x++) {
          for (let y = 0; y < picture.height; y++) {
            count += contrast(picture.at(x, y), background) >= 3 ? 1 : 0;
          }
        }
        inked.push(count > 20);
      }
      assert.deepEqual(inked, [true, true], scheme);
    });
  }
});

// Folded on screen, the working is printed all the same.
test('printing puts the window and its working on one page, from a phone or a projector, on A4 or Letter either way up, without the page\'s buttons or a focus mark', async () => {
  for (const screen of [PHONE, PROJECTOR]) {
    await withPage(screen, async (page) => {
      await showLongestWorking(page);
      await clickOn(page, 'Option1(3)');
      if (screen === PROJECTOR) {
        await foldWorking(page);
      }
      await page.$eval('#window [data-name="Command1"]', (button) => button.focus());
      for (const format of ['A4', 'Letter']) {
        for (const landscape of [false, true]) {
          const pdf = Buffer.from(await page.pdf({ format, landscape, printBackground: false })).toString('latin1');
          assert.equal(pdf.match(/\/Type\s*\/Page[^s]/g)?.length, 1, `${screen.name} on ${format}${landscape ? ' landscape' : ''}`);
        }
      }
      await page.emulateMediaType('print');
      const printed = await page.evaluate(() => {
        const visible = (selector) => document.querySelector(selector).checkVisibility();
        const window = document.querySelector('#window').getBoundingClientRect();
        const panel = document.querySelector('#working').getBoundingClientRect();
        return {
          width: window.width,
          marked: [...document.querySelectorAll('#scaled *')].filter((e) => getComputedStyle(e).outlineStyle !== 'none' || getComputedStyle(e).borderTopColor === 'rgb(0, 103, 192)').length,
          steps: visible('#working .working-steps'),
          copy: visible('#working .working-copy'),
          toggle: getComputedStyle(document.querySelector('#working-toggle'), '::before').display,
          // Below the window on an upright sheet, beside it on a sideways one.
          below: panel.top >= window.bottom,
          beside: panel.left >= window.right,
        };
      });
      assert.ok(printed.width > 441 && printed.width < 700, `printed ${printed.width} px wide`);
      const upright = screen.height > screen.width;
      assert.deepEqual({ ...printed, width: 0 }, { width: 0, marked: 0, steps: true, copy: false, toggle: 'none', below: upright, beside: !upright });
    });
  }
});

// Focus marks, from the pixels of a control at rest and with the focus: on each side the mark is
// the run of pixels, from the outside in, that changed at a contrast of 3:1 or more.
const FOCUSED = [
  { name: 'Option1(0)', rest: (page) => clickOn(page, 'Text1(1)'), focus: (page) => clickOn(page, 'Option1(0)') },
  { name: 'Text1(1)', rest: async () => {}, focus: (page) => clickOn(page, 'Text1(1)') },
  { name: 'Command1', rest: (page) => clickOn(page, 'Text2(0)'), focus: (page) => press(page, 'Tab') },
  { name: 'FileExit', rest: async () => {}, focus: (page) => press(page, 'F10') },
  // The working panel's heading, next after the window's last stop.
  {
    name: 'working-toggle',
    selector: '#working-toggle',
    rest: (page) => clickOn(page, 'Text2(0)'),
    focus: (page) => press(page, 'Tab', 'Tab', 'Tab', 'Tab'),
  },
];
const FOCUS_SCREENS = [
  { name: 'at a scale of 1', open: () => openAtScaleOne(session.browser, session.server.url), setUp: async () => {} },
  { name: 'on a phone', open: () => openTavolen(session.browser, session.server.url, { width: 360, height: 640 }), setUp: async () => {} },
  {
    name: 'in forced colours',
    open: () => openAtScaleOne(session.browser, session.server.url),
    setUp: (page) => forceColours(page),
  },
];

function markWidths(rest, focused) {
  const changed = (x, y) => contrast(rest.at(x, y), focused.at(x, y)) >= 3;
  const run = (points) => {
    const start = points.findIndex(([x, y]) => changed(x, y));
    const end = points.findIndex(([x, y], i) => i > start && !changed(x, y));
    return start < 0 ? 0 : end - start;
  };
  const [w, h] = [rest.width, rest.height];
  const [midX, midY] = [Math.floor(w / 2), Math.floor(h / 2)];
  const line = (n, point) => Array.from({ length: n }, (_, i) => point(i));
  return [
    run(line(w, (i) => [i, midY])),
    run(line(w, (i) => [w - 1 - i, midY])),
    run(line(h, (i) => [midX, i])),
    run(line(h, (i) => [midX, h - 1 - i])),
  ];
}

for (const screen of FOCUS_SCREENS) {
  test(`focus marks ${screen.name} are 2 pixels thick at 3:1 or more all round`, async () => {
    for (const row of FOCUSED) {
      await withOpenPage(screen.open, async (page) => {
        await screen.setUp(page);
        const target = await page.$(row.selector ?? `#window [data-name="${row.name}"]${row.name.startsWith('Option') ? ' .caption' : ''}`);
        const box = await target.boundingBox();
        const around = { x: box.x - 4, y: box.y - 4, width: box.width + 8, height: box.height + 8 };
        await row.rest(page);
        await page.mouse.move(0, 0);
        const rest = await pixelsOf(page, around);
        await row.focus(page);
        await page.mouse.move(0, 0);
        assert.equal(await page.evaluate(() => document.activeElement.dataset.name ?? document.activeElement.id), row.name);
        const widths = markWidths(rest, await pixelsOf(page, around));
        assert.ok(Math.min(...widths) >= 2, `${row.name}: mark ${widths}`);
      });
    }
  });
}

