// The 途中式 panel beside the window: the steps drawn in MathML, what a screen reader reads, the
// copy, its place on wide and narrow screens, folding and paper.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  MARGIN,
  WORKED_EXAMPLE,
  accessibleNodes,
  clickOn,
  fillIn,
  shareSession,
  waitForMessageBox,
} from './harness.js';

const session = shareSession();

const WORKED_TEXT = '1 1/2 ＋ 2 1/3\n= 3/2 ＋ 7/3（仮分数に直す）\n= 9/6 ＋ 14/6（通分する）\n= 23/6（分子どうしをたす）\n= 3 5/6（帯分数に直す）\n';

const { withPage } = session;

async function calculate(page, entries = WORKED_EXAMPLE) {
  await fillIn(page, entries);
  await clickOn(page, 'Command1');
}

// Each row as drawn: the MathML's elements in order (tag, and the text of tokens), the name and
// the words read instead.
function readRows(page) {
  return page.$$eval('#working .working-steps > li', (rows) =>
    rows.map((row) => {
      const math = row.querySelector('math');
      return {
        math: math ? [...math.querySelectorAll('mn, mo, mfrac, mfrac > mrow')].map((e) => ({ mfrac: 'frac', mrow: 'row' })[e.localName] ?? e.textContent) : null,
        hidden: math?.getAttribute('aria-hidden') ?? null,
        name: row.querySelector('.step-name')?.textContent ?? null,
        text: math ? null : row.textContent,
      };
    }),
  );
}

// The boxes of the window and the panel, the scale and whether the page scrolls either way.
function readPlacement(page) {
  return page.evaluate(() => {
    const box = (selector) => {
      const r = document.querySelector(selector).getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
    };
    const root = document.documentElement;
    return {
      window: box('#window'),
      panel: box('#working'),
      zoom: document.documentElement.style.getPropertyValue('--scale'),
      viewport: [root.clientWidth, root.clientHeight],
      scrolls: [root.scrollWidth, root.scrollHeight],
    };
  });
}

test('the worked example: one MathML row per step, its name beside it, words for screen readers', async () => {
  await withPage({ width: 1280, height: 800 }, async (page) => {
    await calculate(page);
    assert.deepEqual(await readRows(page), [
      { math: ['1', 'frac', '1', '2', '＋', '2', 'frac', '1', '3'], hidden: 'true', name: '', text: null },
      { math: ['=', 'frac', '3', '2', '＋', 'frac', '7', '3'], hidden: 'true', name: '仮分数に直す', text: null },
      { math: ['=', 'frac', '9', '6', '＋', 'frac', '14', '6'], hidden: 'true', name: '通分する', text: null },
      { math: ['=', 'frac', '23', '6'], hidden: 'true', name: '分子どうしをたす', text: null },
      { math: ['=', '3', 'frac', '5', '6'], hidden: 'true', name: '帯分数に直す', text: null },
    ]);
    assert.equal(await page.$eval('#working .working-empty', (p) => p.checkVisibility()), false);

    // The panel is a region named 途中式 whose text is the words alone; the answer's live region
    // alone announces the calculation.
    const nodes = await accessibleNodes(page);
    const region = nodes.find((node) => node.role === 'region');
    assert.equal(region?.name, '途中式');
    const texts = [];
    const walk = (node) => {
      if (node.role === 'StaticText') {
        texts.push(node.name);
      }
      (node.children ?? []).forEach(walk);
    };
    walk(region);
    assert.deepEqual(texts, [
      '途中式',
      'コピー',
      '1と2分の1 たす 2と3分の1',
      '2分の3 たす 3分の7、仮分数に直す',
      '6分の9 たす 6分の14、通分する',
      '6分の23、分子どうしをたす',
      '3と6分の5、帯分数に直す',
      '自分の答え',
      '答え合わせ',
    ]);
    const choices = nodes.filter((node) => node.role === 'checkbox').map((node) => [node.name, node.checked]);
    assert.deepEqual(choices, [['くわしく', false], ['1行ずつ', false], ['帯分数のまま', false]]);
    assert.deepEqual(await page.$$eval('[aria-live]', (live) => live.map((region) => region.textContent)), ['3と6分の5', '', '']);
  });
});

// Where the Clipboard API works, the test of the choices below copies by it.
test('コピー puts the working on the clipboard as plain text where the Clipboard API is refused', async () => {
  await withPage(
    {
      prepare: async (page) => {
        await session.browser.defaultBrowserContext().overridePermissions(session.server.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
        await page.evaluateOnNewDocument(() => {
          // The test empties the clipboard first, with the API the page may not use.
          const write = navigator.clipboard.writeText.bind(navigator.clipboard);
          window.emptyClipboard = () => write('');
          navigator.clipboard.writeText = () => Promise.reject(new DOMException('refused', 'NotAllowedError'));
        });
      },
    },
    async (page) => {
      await calculate(page);
      await page.evaluate(() => window.emptyClipboard());
      await page.click('#working .working-copy');
      await page.waitForFunction(() => document.querySelector('#working .working-copy').textContent === 'コピーしました');
      assert.equal(await page.evaluate(() => navigator.clipboard.readText()), WORKED_TEXT);
      await page.waitForFunction(() => document.querySelector('#working .working-copy').textContent === 'コピー', { timeout: 5000 });
    },
  );
});

// The worked example with くわしく: each detail its own row before its step, without a name, a
// compound term a row inside the fraction. Its first rows; the golden working_steps script holds
// the texts of all nine.
const DETAILED_LINES = 9;
const DETAILED_ROWS = [
  [['1', 'frac', '1', '2', '＋', '2', 'frac', '1', '3'], ''],
  [['=', 'frac', 'row', '1', '×', '2', '＋', '1', '2', '＋', 'frac', 'row', '2', '×', '3', '＋', '1', '3'], null],
  [['=', 'frac', '3', '2', '＋', 'frac', '7', '3'], '仮分数に直す'],
  [['=', 'frac', 'row', '3', '×', '3', 'row', '2', '×', '3', '＋', 'frac', 'row', '7', '×', '2', 'row', '3', '×', '2'], null],
];
const DETAILED_WORDS = ['分母 2、分子 1かける2たす1 たす 分母 3、分子 2かける3たす1', '2分の3 たす 3分の7、仮分数に直す'];

const readSaid = (page) => page.$eval('#working .working-said', (region) => region.textContent);
const readChoices = (page) => page.$$eval('#working .working-options input', (boxes) => boxes.map((box) => box.checked));
const readMore = (page) => page.$eval('#working .working-more', (more) => more.checkVisibility());
// How far below the last line shown 次の行 stands, in the panel's own pixels.
const readMoreGap = (page) =>
  page.$eval('#working .working-more', (more) => {
    const box = more.getBoundingClientRect();
    const last = more.parentElement.querySelector('.working-steps > li:last-child').getBoundingClientRect();
    return (box.top - last.bottom) / (box.width / more.offsetWidth);
  });

test('くわしく draws the details as their own lighter rows, unnamed, compound terms as rows in fractions', async () => {
  await withPage({ width: 1280, height: 800 }, async (page) => {
    await calculate(page);
    await page.click('#working-details');
    const rows = await readRows(page);
    assert.deepEqual([rows.length, ...rows.slice(0, DETAILED_ROWS.length).map((row) => [row.math, row.name])], [DETAILED_LINES, ...DETAILED_ROWS]);
    const colours = await page.$$eval('#working .working-steps > li', (items) => items.slice(0, 2).map((item) => getComputedStyle(item).color));
    assert.notEqual(colours[1], colours[0]);
    await page.click('#working-details');
    assert.equal((await readRows(page)).length, 5);
  });
});

// 1行ずつ: a calculation shows its problem and reads nothing out; each 次の行 shows and reads one
// more line (a detail counts), すべて表示 the rest; then the buttons go and the focus goes to コピー.
// The panel's buttons and check boxes are the browser's own, which answer the keyboard as a click.
test('1行ずつ: 次の行 shows and reads one line, すべて表示 the rest', async () => {
  await withPage({ width: 1280, height: 800 }, async (page) => {
    await page.click('#working-details');
    await page.click('#working-one-line');
    assert.deepEqual(await readChoices(page), [true, true, false]);
    await calculate(page);
    assert.equal((await readRows(page)).length, 1);
    assert.equal(await readSaid(page), '');
    assert.equal(await readMore(page), true);
    assert.ok((await readMoreGap(page)) < 10, '次の行 is not under the last line');

    await page.click('#working .working-next');
    assert.deepEqual((await readRows(page)).map((row) => row.math), DETAILED_ROWS.slice(0, 2).map(([math]) => math));
    assert.equal(await readSaid(page), DETAILED_WORDS[0]);
    // Another operator: what is revealed now is the previous calculation's working.
    await clickOn(page, 'Option1(2)');
    await page.click('#working .working-next');
    assert.deepEqual([await readSaid(page), await page.$eval('#working', (panel) => panel.getAttribute('aria-description'))],
      [`前の計算の途中式、${DETAILED_WORDS[1]}`, '前の計算の途中式']);

    await page.click('#working .working-all');
    assert.equal((await readRows(page)).length, DETAILED_LINES);
    assert.equal((await readSaid(page)).split('\n').length, DETAILED_LINES - 3);
    assert.equal(await readMore(page), false);
    // On コピー, not on the check box that a next Space would untick.
    assert.equal(await page.evaluate(() => document.activeElement.className), 'working-copy');
  });
});

// 帯分数のまま reaches the model; with 1行ずつ the answer area is drawn empty and says why while lines
// are hidden, until the last line or the panel folded away.
test('帯分数のまま changes the route; 1行ずつ hides the answer until the last line, or while folded', async () => {
  await withPage({ width: 1280, height: 800 }, async (page) => {
    const readAnswer = () => page.$eval('#window .answer', (area) => [area.querySelector('div').checkVisibility({ visibilityProperty: true }), area.querySelector('output').textContent]);
    const after = await page.$eval('#definition', (json) => JSON.parse(json.textContent).working.answerAfterWorking);
    await calculate(page, { 'Text1(2)': '1', 'Text1(1)': '2', 'Text1(0)': '3', 'Text2(2)': '2', 'Text2(1)': '3', 'Text2(0)': '4' });
    const usual = await readRows(page);
    const [, words] = await readAnswer();
    await page.click('#working-keep-mixed');
    assert.notDeepEqual(await readRows(page), usual);
    await page.click('#working-one-line');
    assert.deepEqual(await readAnswer(), [false, after]);
    await page.click('#working-toggle');
    assert.deepEqual(await readAnswer(), [true, words]);
    await page.click('#working-toggle');
    await page.click('#working .working-all');
    assert.deepEqual(await readAnswer(), [true, words]);
  });
});

// 答え合わせ: Enter in 自分の答え or its button checks what is typed; the model's message shows with
// its mark and is read out once, and goes when the field or the problem changes. The field takes any
// text: no digits-only keyboard.
const CHECKS = [
  { answer: '3 5/6', mark: '○', check: (page) => page.keyboard.press('Enter'), change: (page) => page.type('#check-answer', '0') },
  { answer: '3 2/5', mark: '×', check: (page) => page.click('#check-button'), change: (page) => clickOn(page, 'Option1(1)') },
];
for (const { answer, mark, check, change } of CHECKS) {
  test(`答え合わせ of ${answer}: the model's message marked ${mark}, read out once, gone on a change`, async () => {
    await withPage({ width: 360, height: 640, hasTouch: true }, async (page) => {
      await calculate(page);
      assert.equal(await page.$eval('#check-answer', (input) => input.inputMode), '');
      await page.$eval('#working .check-said', (said) => {
        window.said = [];
        new MutationObserver(() => window.said.push(said.textContent)).observe(said, { childList: true });
      });
      await page.click('#check-answer');
      await page.keyboard.type(answer);
      await check(page);
      await page.click('#working-details');
      const shown = await page.$eval('#working .check-message', (message) => [message.checkVisibility(), message.firstChild.textContent, message.textContent.slice(1)]);
      assert.deepEqual(await page.evaluate(() => window.said), [shown[2]]);
      assert.deepEqual(shown.slice(0, 2), [true, mark]);
      assert.ok(shown[2]);
      await change(page);
      assert.equal(await page.$eval('#working .check-message', (message) => message.checkVisibility()), false);
    });
  });
}

// No box around a control clips the ring its focus draws: with the panel beside the window, below
// it, and folded into the menu bar, every button of the panel shown.
const RING_SCREENS = [
  { viewport: { width: 1280, height: 800 } },
  { viewport: { width: 360, height: 640, hasTouch: true } },
  { viewport: { width: 1280, height: 800 }, fold: true },
];
for (const { viewport, fold } of RING_SCREENS) {
  test(`at ${viewport.width} × ${viewport.height}${fold ? ', the panel folded,' : ''} every focus ring is drawn whole`, async () => {
    await withPage(viewport, async (page) => {
      await page.click('#working-one-line');
      await calculate(page);
      if (fold) {
        await page.click('#working-toggle');
      }
      await page.keyboard.press('Shift');
      const clipped = await page.evaluate(() => {
        const found = [];
        // A box's edges moved out by `grow` of its own pixels.
        const edges = (element, grow) => {
          const box = element.getBoundingClientRect();
          const by = (grow * box.width) / element.offsetWidth;
          return [box.left - by, box.top - by, -box.right - by, -box.bottom - by];
        };
        for (const control of document.querySelectorAll('#window button, #window input, #working button, #working input')) {
          control.focus();
          const style = getComputedStyle(control);
          if (style.outlineStyle === 'none' || control.offsetWidth === 0) {
            continue;
          }
          const ring = edges(control, parseFloat(style.outlineWidth) + parseFloat(style.outlineOffset));
          for (let box = control.parentElement; box; box = box.parentElement) {
            const around = getComputedStyle(box);
            if (around.overflowX === 'visible' && around.overflowY === 'visible') {
              continue;
            }
            const margin = around.overflowX === 'clip' ? parseFloat(around.overflowClipMargin) : 0;
            const clip = edges(box, margin - parseFloat(around.borderTopWidth));
            if (ring.some((edge, i) => edge < clip[i] - 0.5)) {
              found.push(`${control.dataset.name || control.id || control.className} by ${box.id || box.className}`);
            }
          }
        }
        return found;
      });
      assert.deepEqual(clipped, []);
    });
  });
}

// On a phone, where the window and its panel are drawn smaller than 1:1, each control of either is
// hit throughout a square of 24 CSS pixels or more, read back from the points that reach it.
test('on a phone every control is a target of 24 × 24 CSS pixels or more', async () => {
  await withPage({ width: 360, height: 640, hasTouch: true, isMobile: true }, async (page) => {
    await page.click('#working-one-line');
    await calculate(page);
    const small = await page.evaluate(() => {
      const found = [];
      const STEP = 1;
      for (const control of document.querySelectorAll('#window .option, #window .command, #window .menu, #working button, #working .working-options label')) {
        if (!control.checkVisibility()) {
          continue;
        }
        const box = control.getBoundingClientRect();
        // The largest square of points that reach the control, over its box and 16 pixels around it.
        const side = [];
        let largest = 0;
        for (let y = box.top - 16, row = 0; y < box.bottom + 16; y += STEP, row++) {
          side[row] = [];
          for (let x = box.left - 16, column = 0; x < box.right + 16; x += STEP, column++) {
            const hits = control.contains(document.elementFromPoint(x, y));
            side[row][column] = hits ? 1 + Math.min(side[row - 1]?.[column] ?? 0, side[row][column - 1] ?? 0, side[row - 1]?.[column - 1] ?? 0) : 0;
            largest = Math.max(largest, side[row][column] * STEP);
          }
        }
        if (largest < 24) {
          found.push(`${control.dataset.name || control.className || control.textContent}: ${largest}`);
        }
      }
      return found;
    });
    assert.deepEqual(small, []);
  });
});

test('the choices hold across 終了 and a new start, and コピー copies the lines as shown', async () => {
  await withPage(
    {
      prepare: (page) => session.browser.defaultBrowserContext().overridePermissions(session.server.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']),
    },
    async (page) => {
      await page.click('#working-details');
      await page.click('#working-one-line');
      await clickOn(page, 'Command3');
      await page.click('#restart');
      assert.deepEqual(await readChoices(page), [true, true, false]);
      await calculate(page);
      await page.click('#working .working-next');
      await page.click('#working .working-copy');
      await page.waitForFunction(() => document.querySelector('#working .working-copy').textContent === 'コピーしました');
      assert.equal(await page.evaluate(() => navigator.clipboard.readText()), '1 1/2 ＋ 2 1/3\n= (1×2＋1)/2 ＋ (2×3＋1)/3\n');
    },
  );
});

// A stop ends the working after the last step completed, with the message box's prompt: here an
// overflow after the product (the golden working_stops script holds the others). Without a
// working, as after 消す or before any calculation, the panel says where it will appear, and has
// nothing to copy.
test('a stop is a sentence in its row, long numbers fit their rows, and 消す empties the panel', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Option1(3)');
    await calculate(page, { 'Text1(2)': '999', 'Text1(1)': '1', 'Text1(0)': '9999', 'Text2(1)': '1', 'Text2(0)': '9998' });
    await waitForMessageBox(page);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !document.querySelector('dialog[open]'));
    const rows = await readRows(page);
    assert.deepEqual(rows.slice(-2).map((row) => row.math ?? row.text), [
      ['=', 'frac', 'row', '9989002', '×', '9998', '9999'],
      '計算できません：数が大きすぎて計算できません。',
    ]);
    const overflowing = await page.$$eval('#working .working-steps > li', (items) => items.filter((item) => item.scrollWidth > item.clientWidth).length);
    assert.equal(overflowing, 0);
    await clickOn(page, 'Command2');
    const shown = await page.$eval('#working', (panel) => ({
      empty: panel.querySelector('.working-empty').checkVisibility(),
      rows: panel.querySelectorAll('.working-steps > li').length,
      copy: panel.querySelector('.working-copy').checkVisibility(),
    }));
    assert.deepEqual(shown, { empty: true, rows: 0, copy: false });
  });
});

// Wide screens have the panel to the right of the window, narrow ones below it; either way both
// fit with the margin and fill it one way, the page does not scroll, and a calculation moves
// nothing: the longest working with its details scrolls inside the panel.
const PLACEMENTS = [
  { name: 'a wide screen', viewport: { width: 1280, height: 800 }, beside: true },
  { name: 'a wide, low browser window', viewport: { width: 1280, height: 400 }, beside: true },
  { name: 'a phone 360 px wide', viewport: { width: 360, height: 640, hasTouch: true, deviceScaleFactor: 3 }, beside: false },
  { name: 'a phone in landscape', viewport: { width: 844, height: 390, hasTouch: true, deviceScaleFactor: 3 }, beside: true },
];
for (const { name, viewport, beside } of PLACEMENTS) {
  test(`on ${name} the panel is ${beside ? 'to the right of' : 'below'} the window, both in view`, async () => {
    await withPage(viewport, async (page) => {
      await page.click('#working-details');
      const before = await readPlacement(page);
      // The longest working there is: eleven-digit numerators over a common denominator.
      await calculate(page, { 'Text1(2)': '999', 'Text1(1)': '9998', 'Text1(0)': '9999', 'Text2(2)': '999', 'Text2(1)': '9996', 'Text2(0)': '9997' });
      const after = await readPlacement(page);
      assert.deepEqual(after, before);
      const { window, panel } = after;
      const [width, height] = after.viewport;
      assert.deepEqual(after.scrolls, after.viewport);
      // Beside, both from the top; below, each in the middle of the other.
      if (beside) {
        assert.ok(panel.left > window.right && Math.abs(panel.top - window.top) < 1, JSON.stringify(after));
      } else {
        assert.ok(panel.top > window.bottom && Math.abs(panel.left + panel.right - window.left - window.right) < 2, JSON.stringify(after));
      }
      for (const box of [window, panel]) {
        assert.ok(box.left >= MARGIN - 0.5 && box.top >= MARGIN - 0.5 && box.right <= width - MARGIN + 0.5 && box.bottom <= height - MARGIN + 0.5, JSON.stringify(after));
      }
      // Filled to within the rounding of the scale and of the borders.
      const filled = Math.max(window.right, panel.right) - Math.min(window.left, panel.left) >= 0.99 * (width - 2 * MARGIN) ||
        Math.max(window.bottom, panel.bottom) - Math.min(window.top, panel.top) >= 0.99 * (height - 2 * MARGIN);
      assert.ok(filled, JSON.stringify(after));
      const overflowing = await page.$$eval('#working .step, #working .working-steps', (boxes) =>
        boxes.filter((box) => box.scrollWidth > box.clientWidth || (box.scrollHeight > box.clientHeight && getComputedStyle(box).overflowY !== 'auto')).length,
      );
      assert.equal(overflowing, 0);
    });
  });
}

test('the panel folds away, the window alone is then drawn larger, and it opens again', async () => {
  await withPage({ width: 1280, height: 800 }, async (page) => {
    await calculate(page);
    const open = await readPlacement(page);
    await page.click('#working-toggle');
    await page.waitForFunction((zoom) => document.documentElement.style.getPropertyValue('--scale') !== zoom, {}, open.zoom);
    const folded = await readPlacement(page);
    assert.equal(await page.$eval('#working-toggle', (b) => b.getAttribute('aria-expanded')), 'false');
    assert.equal(await page.$eval('#working .working-steps', (list) => list.checkVisibility()), false);
    // screens.test.js checks that the window alone fills the screen.
    assert.ok(Number(folded.zoom) > Number(open.zoom) * 1.3, `${open.zoom} → ${folded.zoom}`);

    await page.click('#working-toggle');
    await page.waitForFunction((zoom) => document.documentElement.style.getPropertyValue('--scale') === zoom, {}, open.zoom);
    assert.equal(await page.$eval('#working-toggle', (b) => b.getAttribute('aria-expanded')), 'true');
    assert.equal((await readRows(page)).length, 5);
  });
});
