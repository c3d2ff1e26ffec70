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

test('the definition names every control once, with what the page needs of it', () => {
  const definition = module.definition();
  assert.equal(definition.caption, 'Tavolen');
  assert.deepEqual([definition.clientWidth, definition.clientHeight], [6585, 3960]);
  const names = definition.controls.map((control) => control.name);
  assert.equal(new Set(names).size, names.length);
  // Each control reaches the page with what the page itself cannot know.
  const field = definition.controls.find((control) => control.name === 'Text2(0)');
  assert.deepEqual([field.type, field.maxLength, field.accessibleName], ['TextBox', 4, '2つ目の数の分母']);
  const option = definition.controls.find((control) => control.name === 'Option1(3)');
  assert.deepEqual([option.container, option.caption, option.accessibleName], ['Frame1', '÷', 'わり算']);
  assert.deepEqual(definition.lines.map((line) => line.name), ['Line1', 'Line2', 'Line3']);
  assert.deepEqual(definition.menus.map((menu) => [menu.name, menu.caption]),
    [['FileExit', '終了'], ['FileBer', 'バージョン情報']]);
  assert.equal(definition.answerAreaName, '答え');
});

function calculateWorkedExample(window) {
  for (const [field, text] of [['Text1(2)', '1'], ['Text1(1)', '1'], ['Text1(0)', '2'],
    ['Text2(2)', '2'], ['Text2(1)', '1'], ['Text2(0)', '3']]) {
    assert.ok(window.focus(field), field);
    assert.ok(window.type(text), field);
  }
  assert.ok(window.click('Command1'));
}

test('the working panel: lines with pieces for MathML and words, choices that outlive a window', () => {
  const panel = new module.Panel();
  try {
    session((window) => {
      const empty = panel.follow(window);
      assert.deepEqual([empty.lines, empty.more, empty.hidesAnswer, empty.check.message], [[], false, false, '']);
      calculateWorkedExample(window);
      const worked = panel.follow(window);
      // The golden working_steps script holds the texts.
      assert.equal(worked.text.split('\n').length, worked.lines.length + 1);
      assert.deepEqual(worked.lines[4], {
        kind: 'step', name: '帯分数に直す', text: '= 3 5/6（帯分数に直す）',
        words: '3と6分の5、帯分数に直す', appeared: false, readOut: '3と6分の5、帯分数に直す',
        pieces: [
          { text: '=', numerator: '', denominator: '' },
          { text: '3', numerator: '', denominator: '' },
          { text: '', numerator: '5', denominator: '6' },
        ],
      });
      const detailed = panel.setDetails(true);
      assert.deepEqual(detailed.lines.slice(1, 3).map((line) => [line.kind, line.pieces[1].numerator]), [['detail', '1×2＋1'], ['step', '3']]);
      panel.setOneLineAtATime(true);
    });
    session((window) => {
      assert.equal(panel.follow(window).lines.length, 0);
      calculateWorkedExample(window);
      const first = panel.follow(window);
      assert.deepEqual([first.details, first.oneLine, first.more, first.lines.length], [true, true, true, 1]);
      assert.deepEqual(panel.showNextLine().lines.map((line) => line.kind), ['problem', 'detail']);
      assert.equal(panel.showAll().more, false);
    });
  } finally {
    panel.delete();
  }
});

test('a fresh window, then the tab order and an option group by arrow keys', () => {
  session((window) => {
    assert.deepEqual(window.snapshot(), {
      Text1: ['', '', ''], Text2: ['', '', ''], Label1: ['', '', '', ''], Label3: '＋', Label7: '',
      Line3: true, Option1: 0, Option2: 0, focus: 'Option1(0)', unloaded: false, answerWords: '',
      stale: false,
    });
    // The first stop: Shift+Tab from it wraps round, Tab does not.
    assert.deepEqual([window.wrapsOn('Tab'), window.wrapsOn('Shift+Tab')], [false, true]);
    // The golden tab_order script holds the whole order.
    assert.ok(window.key('Tab'));
    assert.equal(window.snapshot().focus, 'Option2(0)');
    assert.ok(window.key('Shift+Tab'));
    assert.ok(window.key('Left'));
    assert.deepEqual([window.snapshot().Option1, window.snapshot().Label3], [3, '÷']);
  });
});

test('each message box carries the window as it stood when the box opened', () => {
  session((window) => {
    assert.ok(window.click('Option1(3)'));
    assert.ok(window.focus('Text1(2)'));
    assert.ok(window.type('5'));
    assert.ok(window.click('Command1'));
    assert.ok(window.focus('Text2(1)'));
    assert.ok(window.type('3'));
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

// The golden unload scripts hold the button and the menu command as well.
test('the close request unloads the window', () => {
  session((window) => {
    assert.ok(window.close());
    assert.equal(window.snapshot().unloaded, true);
    assert.equal(window.click('Command1'), false);
  });
});
