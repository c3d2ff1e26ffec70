// The page's module as built for the site, loaded under node: its definition
// and Window sessions through the entry points the page uses.
// Run by the web build's ctest: TAVOLEN_SITE=build-web/site node --test module_node.mjs
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import test from 'node:test';

const site = resolve(process.env.TAVOLEN_SITE ?? 'build-web/site');
const { default: createTavolen } = await import(pathToFileURL(join(site, 'tavolen.js')).href);
// Built for browsers only: hand it the binary instead of letting it fetch one.
const { modelOf } = await import(pathToFileURL(join(site, 'load.js')).href);
const module = modelOf(await createTavolen({ wasmBinary: readFileSync(join(site, 'tavolen.wasm')) }));

function session(steps) {
  const window = new module.Window();
  try {
    return steps(window);
  } finally {
    window.delete();
  }
}

test('the definition lays out every control once, in twips', () => {
  const definition = module.definition();
  assert.equal(definition.caption, 'Tavolen');
  assert.deepEqual([definition.clientWidth, definition.clientHeight], [6585, 3960]);
  const names = definition.controls.map((control) => control.name);
  assert.equal(new Set(names).size, names.length);
  const byName = Object.fromEntries(definition.controls.map((control) => [control.name, control]));
  const rows = [
    // name, type, container, caption, maxLength, accessible name
    ['Frame1', 'Frame', '', '計算の方法', 0, '計算の方法'],
    ['Option1(3)', 'OptionButton', 'Frame1', '÷', 0, 'わり算'],
    ['Option2(1)', 'OptionButton', 'Frame2', '仮分数', 0, '仮分数'],
    ['Text1(2)', 'TextBox', '', '', 3, '1つ目の数の整数'],
    ['Text2(0)', 'TextBox', '', '', 4, '2つ目の数の分母'],
    ['Label7', 'Label', '', '', 0, ''],
    ['Command1', 'CommandButton', '', '計算', 0, '計算'],
  ];
  for (const [name, type, container, caption, maxLength, accessibleName] of rows) {
    const control = byName[name];
    assert.ok(control, name);
    assert.deepEqual(
      [control.type, control.container, control.caption, control.maxLength, control.accessibleName],
      [type, container, caption, maxLength, accessibleName],
      name,
    );
  }
  assert.deepEqual(byName.Label7.font, { face: 'mincho', pixels: 32, bold: false });
  assert.equal(byName.Label7.colour, '#0000ff');
  assert.deepEqual(byName['Text1(0)'].font, { face: 'gothic', pixels: 16, bold: true });
  assert.equal(byName['Text1(0)'].align, 'centre');
  assert.deepEqual(definition.lines.map((line) => line.name), ['Line1', 'Line2', 'Line3']);
  assert.deepEqual(definition.menus.map((menu) => [menu.name, menu.caption]),
    [['FileExit', '終了'], ['FileBer', 'バージョン情報']]);
  assert.equal(definition.answerAreaName, '答え');
});

test('a worked example: 1と2分の1 + 3分の1 = 1と6分の5, read in words', () => {
  const state = session((window) => {
    for (const [field, text] of [['Text1(2)', '1'], ['Text1(1)', '1'], ['Text1(0)', '2'],
      ['Text2(1)', '1'], ['Text2(0)', '3']]) {
      assert.ok(window.focus(field), field);
      assert.ok(window.type(text), field);
    }
    assert.ok(window.click('Command1'));
    assert.deepEqual(window.takeMessageBoxes(), []);
    return window.snapshot();
  });
  assert.deepEqual(state.label1, ['6', '5', '1', '']);
  assert.equal(state.answerWords, '1と6分の5');
  assert.equal(state.focus, 'Command1');
  assert.equal(state.unloaded, false);
});

test('the working of a calculation: steps, numbers for MathML, words and the copy text', () => {
  const texts = module.definition().working;
  assert.deepEqual([texts.heading, texts.copy, texts.copied],
    ['途中式', 'コピー', 'コピーしました']);
  assert.ok(texts.empty.length > 0);
  session((window) => {
    assert.deepEqual(window.working(), { steps: [], stop: null, stopText: '', text: '' });
    for (const [field, text] of [['Text1(2)', '1'], ['Text1(1)', '1'], ['Text1(0)', '2'],
      ['Text2(2)', '2'], ['Text2(1)', '1'], ['Text2(0)', '3']]) {
      assert.ok(window.focus(field), field);
      assert.ok(window.type(text), field);
    }
    assert.ok(window.click('Command1'));
    const working = window.working();
    assert.deepEqual(working.steps.map((step) => [step.name, step.expr]), [
      ['', '1 1/2 ＋ 2 1/3'], ['仮分数に直す', '3/2 ＋ 7/3'], ['通分する', '9/6 ＋ 14/6'],
      ['計算する', '23/6'], ['帯分数に直す', '3 5/6']]);
    const none = { negative: false, whole: '', numerator: '', denominator: '' };
    assert.deepEqual(working.steps[0], {
      name: '', expr: '1 1/2 ＋ 2 1/3', words: '1と2分の1 たす 2と3分の1', op: '＋',
      left: { negative: false, whole: '1', numerator: '1', denominator: '2' },
      right: { negative: false, whole: '2', numerator: '1', denominator: '3' },
    });
    assert.deepEqual(working.steps[4], {
      name: '帯分数に直す', expr: '3 5/6', words: '3と6分の5、帯分数に直す', op: '',
      left: { negative: false, whole: '3', numerator: '5', denominator: '6' }, right: none,
    });
    assert.equal(working.stop, null);
    assert.equal(working.text, '1 1/2 ＋ 2 1/3\n= 3/2 ＋ 7/3（仮分数に直す）\n'
      + '= 9/6 ＋ 14/6（通分する）\n= 23/6（計算する）\n= 3 5/6（帯分数に直す）\n');

    assert.ok(window.click('Option1(3)'));
    assert.ok(window.focus('Text2(2)'));
    assert.ok(window.erase());
    assert.ok(window.click('Command1'));
    const divided = window.working();
    assert.deepEqual(divided.steps.map((step) => step.words),
      ['1と2分の1 わる 3分の1', '2分の3 わる 3分の1、仮分数に直す',
        '2分の3 かける 3、逆数をかける', '2分の9、計算する', '4と2分の1、帯分数に直す']);
    assert.equal(divided.stop, null);
    for (const field of ['Text2(1)', 'Text2(0)']) {
      assert.ok(window.focus(field));
      assert.ok(window.erase());
    }
    assert.ok(window.click('Command1'));
    assert.equal(window.takeMessageBoxes().length, 1);
    assert.deepEqual(window.working().steps.map((step) => step.expr), ['1 1/2 ÷ 0', '3/2 ÷ 0']);
    assert.equal(window.working().stop, '0で割り算しようとしています。');
    assert.equal(window.working().stopText, '計算できません：0で割り算しようとしています。');
    assert.ok(window.click('Command2'));
    assert.deepEqual(window.working().steps, []);
  });
});

test('a fresh window, then the tab order and an option group by arrow keys', () => {
  session((window) => {
    assert.deepEqual(window.snapshot(), {
      text1: ['', '', ''], text2: ['', '', ''], label1: ['', '', '', ''], label3: '＋', label7: '',
      line3: true, option1: 0, option2: 0, focus: 'Option1(0)', unloaded: false, answerWords: '',
      stale: false,
    });
    // The first stop: Shift+Tab from it wraps round, Tab does not.
    assert.deepEqual([window.wrapsOn('Tab'), window.wrapsOn('Shift+Tab')], [false, true]);
    const visited = [];
    for (let i = 0; i < 11; i += 1) {
      assert.ok(window.key('Tab'));
      visited.push(window.snapshot().focus);
    }
    assert.deepEqual(visited, ['Option2(0)', 'Text1(2)', 'Text1(1)', 'Text1(0)', 'Text2(2)',
      'Text2(1)', 'Text2(0)', 'Command1', 'Command2', 'Command3', 'Option1(0)']);
    assert.ok(window.key('Left'));
    assert.deepEqual([window.snapshot().option1, window.snapshot().label3], [3, '÷']);
  });
});

test('the typing limit holds for typing and for a paste', () => {
  session((window) => {
    assert.ok(window.focus('Text1(2)'));
    assert.ok(window.type('12345'));
    assert.ok(window.editText('Text1(0)', '987654'));
    const state = window.snapshot();
    assert.equal(state.text1[2], '123');
    assert.equal(state.text1[0], '9876');
  });
});

test('each message box carries the window as it stood when the box opened', () => {
  session((window) => {
    assert.ok(window.click('Option1(3)'));
    assert.ok(window.focus('Text1(2)'));
    assert.ok(window.type('5'));
    assert.ok(window.click('Command1'));
    const boxes = window.takeMessageBoxes();
    assert.deepEqual(boxes.map((box) => [box.prompt, box.title, box.style]),
      [['0で割り算しようとしています。', 'エラーメッセージ', 16]]);
    const after = window.snapshot();
    assert.notDeepEqual(boxes[0].window, after);
    assert.equal(boxes[0].window.focus, 'Command1');
    assert.deepEqual(window.takeMessageBoxes(), []);

    assert.ok(window.menu('FileBer'));
    const [version] = window.takeMessageBoxes();
    assert.equal(version.style, 64);
    assert.match(version.prompt, /^TavolenVer\d+\.\d+\.\d+\r/);
  });
});

test('unknown names and keys are refused without a throw', () => {
  session((window) => {
    const refused = [
      window.focus('Text9(0)'), window.focus('Label7'), window.focus('Option1(0)'),
      window.click('Label3'), window.click(''), window.key('Escape'), window.menu('Command1'),
      window.editText('Command1', '1'), window.type('1'), window.erase(), window.wrapsOn('Escape'),
    ];
    assert.deepEqual(refused, refused.map(() => false));
    assert.equal(window.snapshot().focus, 'Option1(0)');
  });
});

test('Exit, the menu command and the close request each unload the window', () => {
  for (const end of [(w) => w.click('Command3'), (w) => w.menu('FileExit'), (w) => w.close()]) {
    session((window) => {
      assert.ok(end(window));
      assert.equal(window.snapshot().unloaded, true);
      assert.equal(window.click('Command1'), false);
    });
  }
});
