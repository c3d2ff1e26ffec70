// The window driven with the keyboard, the mouse and touch, read back from the page.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  WORKED_EXAMPLE,
  accessibleNodes,
  answerOf,
  center,
  clickOn,
  control,
  dropText,
  fillIn,
  shareSession,
  press,
  readWindow,
  tapOn,
} from './harness.js';

const session = shareSession();

const { withPage } = session;

const EMPTY_WINDOW = {
  'Text1(0)': '',
  'Text1(1)': '',
  'Text1(2)': '',
  'Text2(0)': '',
  'Text2(1)': '',
  'Text2(2)': '',
  'Label1(0)': '',
  'Label1(1)': '',
  'Label1(2)': '',
  'Label1(3)': '',
  Label3: '＋',
  Label4: '=',
  Label7: '',
  Line1: true,
  Line2: true,
  Line3: true,
  Frame1: 'Option1(0)',
  Frame2: 'Option2(0)',
  focus: 'Option1(0)',
};

const answerWords = (page) => page.$eval('#window output', (o) => o.textContent);

test('the window starts empty with ＋ and 帯分数 chosen and the focus on ＋', async () => {
  await withPage({}, async (page) => {
    assert.deepEqual(await readWindow(page), EMPTY_WINDOW);
    assert.equal(await page.title(), 'Tavolen');
    assert.equal(await page.$eval('html', (html) => html.lang), 'ja');
  });
});

test('1 1/2 + 2 1/3 typed with the keyboard alone gives 3 5/6', async () => {
  await withPage({}, async (page) => {
    await press(page, 'Tab', 'Tab');
    for (const digit of ['1', '1', '2', '2', '1', '3']) {
      await page.keyboard.type(digit);
      await press(page, 'Tab');
    }
    assert.equal((await readWindow(page)).focus, 'Command1');
    await press(page, 'Enter');
    const shown = await readWindow(page);
    assert.deepEqual(answerOf(shown), ['', '3', '5', '6', true]);
    assert.equal(await answerWords(page), '3と6分の5');
  });
});

// Taps on the options: screens.test.js; on 計算: the early input of page.test.js.
test('a tap into a field focuses it for a digit keyboard', async () => {
  await withPage({ hasTouch: true, width: 400 }, async (page) => {
    await tapOn(page, 'Text2(0)');
    const focused = await page.evaluate(() => [document.activeElement.dataset.name, document.activeElement.inputMode]);
    assert.deepEqual(focused, ['Text2(0)', 'numeric']);
  });
});

// The window on a page with a button before it and one after it. Each step is a key, or
// `focus SELECTOR` for the user going round the rest of the page and the browser (or assistive
// technology moving it to the window's last stop: the golden tab_order script holds the stops
// between); `#id` is a button of the page, any other name the window's control that has the
// focus (and the model's).
// The panel's stops before a calculation: its heading, its choices and 答え合わせ.
const PANEL_STOPS = ['#working-toggle', '#working-details', '#working-one-line', '#working-keep-mixed', '#check-answer', '#check-button'];
const PANEL_BACK = [...PANEL_STOPS].reverse().map((stop) => ['Shift+Tab', stop]);
const TAB_WALK = [
  ['focus [data-name="Command3"]', 'Command3'],
  ...PANEL_STOPS.map((stop) => ['Tab', stop]),
  ['Tab', '#after'],
  ...PANEL_BACK,
  ['Shift+Tab', 'Command3'],
  ['Tab', '#working-toggle'],
  ['focus #before', '#before'],
  ['Tab', 'Option1(0)'],
  ['Shift+Tab', '#before'],
  ['Tab', 'Option1(0)'],
  ['Shift+Tab', '#before'],
  ['focus #after', '#after'],
  ...PANEL_BACK,
  ['Shift+Tab', 'Command3'],
  ['Shift+Tab', 'Command2'],
];

test('Tab visits the stops in order and leaves after the last; coming back wraps as inside the window', async () => {
  await withPage({}, async (page) => {
    await page.evaluate(() => {
      const button = (id) => Object.assign(document.createElement('button'), { id, textContent: id });
      document.body.prepend(button('before'));
      document.body.append(button('after'));
    });
    const walked = [];
    for (const [step] of TAB_WALK) {
      if (step.startsWith('focus ')) {
        await page.focus(step.slice('focus '.length));
      } else {
        await press(page, step);
      }
      const id = await page.evaluate(() => document.activeElement.id);
      walked.push([step, id ? `#${id}` : (await readWindow(page)).focus]);
    }
    assert.deepEqual(walked, TAB_WALK);
  });
});

// Each arrow key reaches the model, which moves the choice (the golden focus_keys script holds
// the moves in both frames).
test('each arrow key moves the choice in the operator group, wrapping at either end', async () => {
  await withPage({}, async (page) => {
    const chosen = [];
    for (const key of ['ArrowLeft', 'ArrowRight', 'ArrowDown', 'ArrowUp']) {
      await press(page, key);
      const shown = await readWindow(page);
      chosen.push([key, shown.Frame1, shown.focus, shown.Label3, shown.Frame2]);
    }
    assert.deepEqual(chosen, [
      ['ArrowLeft', 'Option1(3)', 'Option1(3)', '÷', 'Option2(0)'],
      ['ArrowRight', 'Option1(0)', 'Option1(0)', '＋', 'Option2(0)'],
      ['ArrowDown', 'Option1(1)', 'Option1(1)', '－', 'Option2(0)'],
      ['ArrowUp', 'Option1(0)', 'Option1(0)', '＋', 'Option2(0)'],
    ]);
  });
});

test('Space on an option button, arrow keys and Enter in a field choose and calculate nothing', async () => {
  await withPage({}, async (page) => {
    await press(page, ' ');
    await clickOn(page, 'Text1(1)');
    await page.keyboard.type('12');
    await press(page, 'ArrowLeft', 'ArrowUp', 'ArrowRight', 'Enter');
    const shown = await readWindow(page);
    assert.deepEqual([shown.Frame1, shown.focus, shown['Text1(1)'], shown['Label1(2)']], ['Option1(0)', 'Text1(1)', '12', '']);
  });
});

// The golden field_limits script and the model's tests hold the limits of the other fields, and
// that every character counts.
test('typing into a field stops at its limit', async () => {
  await withPage({}, async (page) => {
    await fillIn(page, { 'Text1(1)': '12345', 'Text2(2)': '7777' });
    const shown = await readWindow(page);
    assert.deepEqual([shown['Text1(1)'], shown['Text2(2)']], ['1234', '777']);
  });
});

test('a character typed into the middle of a full field is refused', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Text1(1)');
    await page.keyboard.type('1234');
    await press(page, 'ArrowLeft', 'ArrowLeft');
    await page.keyboard.type('9');
    await press(page, 'Backspace');
    await page.keyboard.type('5');
    assert.equal((await readWindow(page))['Text1(1)'], '1534');
  });
});

test('text dropped on a field is refused, whether the field has the focus or not', async () => {
  await withPage({}, async (page) => {
    await dropText(page, 'Text1(1)', '42');
    await clickOn(page, 'Text2(0)');
    await page.keyboard.type('7');
    await dropText(page, 'Text2(0)', '8');
    const shown = await readWindow(page);
    assert.deepEqual([shown['Text1(1)'], shown['Text2(0)'], shown.focus], ['', '7', 'Text2(0)']);
  });
});

// Leaving a field cleans it (the golden cleanup script holds the rule); a press on a button
// does as well (below).
test('leaving a field by Tab shows it cleaned', async () => {
  await withPage({}, async (page) => {
    await fillIn(page, { 'Text1(0)': '3.7' });
    assert.equal((await readWindow(page))['Text1(0)'], '3.7');
    await press(page, 'Tab');
    assert.equal((await readWindow(page))['Text1(0)'], '4');
  });
});

test('消す empties the fields and the answer and keeps the choices, the bar and the focus', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Option1(1)');
    await fillIn(page, { 'Text1(2)': '1', 'Text2(2)': '3' });
    await clickOn(page, 'Command1');
    const computed = await readWindow(page);
    assert.deepEqual(answerOf(computed), ['-', '2', '', '', false]);
    await press(page, 'Tab', ' ');
    const cleared = await readWindow(page);
    assert.deepEqual(cleared, { ...EMPTY_WINDOW, Label3: '－', Frame1: 'Option1(1)', Line3: false, focus: 'Command2' });
    assert.equal(await answerWords(page), '');
  });
});

// From the moment an input differs from what the last 計算 read until the inputs match again, the
// answer (numbers and bar) and the working are drawn grey and the answer is described as the
// previous calculation's, while its labels keep their numbers. The model's tests hold which
// changes make it so.
const STALE_STEPS = [
  { name: 'calculated', act: (page) => clickOn(page, 'Command1'), stale: false },
  { name: 'a digit typed', act: (page) => fillIn(page, { 'Text2(0)': '0' }), stale: true },
  { name: 'the digit deleted', act: (page) => press(page, 'Backspace'), stale: false },
];

test('an answer whose inputs have changed is drawn grey and described as the previous one', async () => {
  await withPage({}, async (page) => {
    await fillIn(page, WORKED_EXAMPLE);
    for (const step of STALE_STEPS) {
      await step.act(page);
      const colours = await page.evaluate(() =>
        ['[data-name="Label1(1)"]', '[data-name="Line3"]', '.working-steps'].map((selector) => {
          const style = getComputedStyle(document.querySelector(selector));
          return selector.includes('Line') ? style.borderTopColor : style.color;
        }),
      );
      const area = (await accessibleNodes(page)).find((node) => node.name === '答え');
      const shown = await readWindow(page);
      assert.deepEqual(
        { greys: colours.map((colour) => colour !== 'rgb(0, 0, 0)'), description: area.description ?? '', numerator: shown['Label1(1)'] },
        { greys: Array(3).fill(step.stale), description: step.stale ? '前の計算の答え' : '', numerator: '5' },
        step.name,
      );
    }
  });
});

// Focus moved by assistive technology, not by a key or a press: the model follows it, or takes
// it back to the chosen option; Tab then goes on from there.
const ARRIVALS = [
  { target: 'Text2(1)', focus: ['Text2(1)', 'Text2(0)'] },
  { target: 'Command1', focus: ['Command1', 'Command2'] },
  { target: 'Option1(2)', focus: ['Option1(0)', 'Option2(0)'] },
];
test('focus that arrives some other way is followed, or handed back', async () => {
  for (const row of ARRIVALS) {
    await withPage({}, async (page) => {
      await page.$eval(control(row.target), (element) => (element.matches('label') ? element.control : element).focus());
      const arrived = (await readWindow(page)).focus;
      await press(page, 'Tab');
      assert.deepEqual([arrived, (await readWindow(page)).focus], row.focus, row.target);
    });
  }
});

test('a field keeps the focus when the mouse presses the window background', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Text2(1)');
    const box = await (await page.$('#window .client')).boundingBox();
    await page.mouse.click(box.x + 420, box.y + 100);
    const shown = await readWindow(page);
    assert.deepEqual([shown.focus, shown.Label7], ['Text2(1)', '分子']);
  });
});

// What a release dragged off the control leaves: no calculation, no choice.
const PRESSES = [
  { control: 'Command1', left: (shown) => [shown.Line3, shown['Label1(2)']], expected: [true, ''] },
  { control: 'Option1(2)', left: (shown) => [shown.Frame1, shown.Label3], expected: ['Option1(0)', '＋'] },
];
for (const row of PRESSES) {
  test(`a press on ${row.control} moves the focus at once; a release dragged off it does nothing`, async () => {
    await withPage({}, async (page) => {
      await clickOn(page, 'Text1(2)');
      await page.keyboard.type('-');
      const { x, y } = await center(page, control(row.control));
      await page.mouse.move(x, y);
      await page.mouse.down();
      const pressed = await readWindow(page);
      assert.deepEqual([pressed.focus, pressed['Text1(2)'], pressed.Label7], [row.control, '', '']);
      await page.mouse.move(x, y + 200);
      await page.mouse.up();
      const released = await readWindow(page);
      assert.deepEqual([released.focus, ...row.left(released)], [row.control, ...row.expected]);
    });
  });
}

test('Space held on 計算 shows it pressed and clicks once, on the release', async () => {
  await withPage({}, async (page) => {
    // A numerator over an empty denominator: every click of 計算 opens a refusal box.
    await fillIn(page, { 'Text1(1)': '1' });
    await press(page, 'Tab', 'Tab', 'Tab', 'Tab', 'Tab');
    await page.keyboard.down(' ');
    await page.keyboard.down(' ');
    const held = await page.$eval(control('Command1'), (button) => button.classList.contains('pressed'));
    assert.deepEqual([held, await page.$('dialog[open]')], [true, null]);
    await page.keyboard.up(' ');
    await page.waitForSelector('dialog[open]');
    await press(page, 'Enter');
    assert.deepEqual([await page.$('dialog[open]'), (await readWindow(page)).focus], [null, 'Command1']);
  });
});

test('a long answer is drawn smaller inside its label, never cut, with the whole text in its tooltip', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Option1(2)');
    const operand = { whole: '999', numerator: '9998', denominator: '9999' };
    await fillIn(page, {
      'Text1(2)': operand.whole,
      'Text1(1)': operand.numerator,
      'Text1(0)': operand.denominator,
      'Text2(2)': operand.whole,
      'Text2(1)': operand.numerator,
      'Text2(0)': operand.denominator,
    });
    await clickOn(page, 'Option2(1)');
    await clickOn(page, 'Command1');
    // Each answer caption within its label, a shrunk one with a pixel to spare on either side
    // (screens.test.js reads the fields' digits and the captions from the pixels).
    const shown = await page.$$eval('#window .answer .label', (elements) =>
      elements.map((element) => {
        const box = element.getBoundingClientRect();
        const inner = element.querySelector('.caption').getBoundingClientRect();
        // A pixel of the window, at the scale it is drawn.
        const spare = element.title ? Number(document.documentElement.style.getPropertyValue('--scale')) - 0.01 : 0;
        const fits = inner.left >= box.left + spare && inner.right <= box.right - spare;
        return [element.dataset.name, element.textContent, fits, element.title];
      }),
    );
    assert.deepEqual(shown, [
      ['Label1(3)', '', true, ''],
      ['Label1(2)', '', true, ''],
      ['Label1(1)', '99979981002001', true, '99979981002001'],
      ['Label1(0)', '99980001', true, '99980001'],
    ]);
  });
});

// Tab and Shift+Tab (one code for both keys) into a field select its whole text, so that typing
// replaces it; a click places the caret, so that typing adds to it.
const ENTRIES = [
  { name: 'Tab into a field', enter: (page) => press(page, 'Tab'), typed: '5', shown: '5' },
  { name: 'a click at the end of a field', enter: (page) => clickAtEnd(page, 'Text1(1)'), typed: '5', shown: '125' },
];
async function clickAtEnd(page, name) {
  const box = await (await page.$(control(name))).boundingBox();
  await page.mouse.click(box.x + box.width - 3, box.y + box.height / 2);
}
for (const row of ENTRIES) {
  test(`${row.name}, then typing: ${row.shown}`, async () => {
    await withPage({}, async (page) => {
      await clickOn(page, 'Text1(2)');
      await press(page, 'Tab');
      await page.keyboard.type('12');
      await clickOn(page, 'Text1(2)');
      await row.enter(page);
      assert.equal((await readWindow(page)).focus, 'Text1(1)');
      await page.keyboard.type(row.typed);
      assert.equal((await readWindow(page))['Text1(1)'], row.shown);
    });
  });
}

// Ctrl+Z undoes the last typing wherever the caret was; the model is told, so that leaving the
// field keeps what undo left.
const UNDOS = [
  { name: 'typed at the end', keys: ['1', '2'], undone: '' },
  { name: 'typed in the middle', keys: ['1', '3', 'ArrowLeft', '2'], undone: '13' },
  { name: 'a deletion', keys: ['1', '2', '3', 'Backspace'], undone: '123' },
];
for (const row of UNDOS) {
  test(`Ctrl+Z in a field undoes the last edit: ${row.name}`, async () => {
    await withPage({}, async (page) => {
      await clickOn(page, 'Text2(1)');
      for (const key of row.keys) {
        await (key.length === 1 ? page.keyboard.type(key) : press(page, key));
      }
      await page.keyboard.down('Control');
      await page.keyboard.press('KeyZ', { commands: ['undo'] });
      await page.keyboard.up('Control');
      assert.equal((await readWindow(page))['Text2(1)'], row.undone);
      await press(page, 'Tab');
      assert.equal((await readWindow(page))['Text2(1)'], row.undone);
    });
  });
}

// Each press of 計算 writes the answer's words anew, so that a screen reader says them even when
// they are the same as before; a new operator alone says nothing.
const ANNOUNCED = [
  { name: 'clicked twice', again: (page) => clickOn(page, 'Command1'), times: 2 },
  { name: 'then Enter on it', again: (page) => press(page, 'Enter'), times: 2 },
  { name: 'then Space on it', again: (page) => press(page, ' '), times: 2 },
  { name: 'then another operator chosen', again: (page) => clickOn(page, 'Option1(2)'), times: 1 },
];
for (const row of ANNOUNCED) {
  test(`計算 with the same answer is announced again: ${row.name}`, async () => {
    await withPage({}, async (page) => {
      await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2' });
      await page.$eval('#window output', (output) => {
        window.announced = [];
        new MutationObserver(() => window.announced.push(output.textContent)).observe(output, { childList: true, characterData: true, subtree: true });
      });
      await clickOn(page, 'Command1');
      await row.again(page);
      assert.deepEqual(await page.evaluate(() => window.announced), Array(row.times).fill('2分の1'));
    });
  });
}
