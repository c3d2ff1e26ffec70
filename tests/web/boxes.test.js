// Message boxes played back in front of the window as it stood when each opened, the version
// box, and the end of the program with its restart.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  accessibleNodes,
  answerOf,
  clickOn,
  control,
  fillIn,
  openAtScaleOne,
  shareSession,
  press,
  readMessageBox,
  readWindow,
  settled,
  waitForMessageBox,
  withOpenPage,
} from './harness.js';

const session = shareSession();

const { withPage } = session;

const ERROR_TITLE = 'エラーメッセージ';
const REFUSAL = '分母を１以上の整数にしてください。';

// One refusal box, closed by each key a dialog closes with. The golden msgboxes and overflow
// scripts hold every box's prompt and the window each one plays back.
test('a message box is an alert holding the focus in front of the window as it stood, closed by Enter, Space or Escape', async () => {
  await withPage({}, async (page) => {
    // A whole answer first, so that the box's picture of the window can be told apart.
    await fillIn(page, { 'Text1(2)': '4' });
    await clickOn(page, 'Command1');
    assert.deepEqual(answerOf(await readWindow(page)), ['', '4', '', '', false]);
    await fillIn(page, { 'Text2(1)': '3' });
    for (const close of ['Enter', ' ', 'Escape']) {
      await clickOn(page, 'Command1');
      await waitForMessageBox(page);
      // Tab stays on the box's one button.
      await press(page, 'Tab');
      assert.deepEqual(await readMessageBox(page), { title: ERROR_TITLE, lines: [REFUSAL], icon: 'critical', focus: 'OK' }, close);
      const alert = (await accessibleNodes(page)).find((node) => node.role === 'alertdialog');
      assert.deepEqual([alert?.name, alert?.description, alert?.modal], [ERROR_TITLE, REFUSAL, true]);
      // Behind the box the answer is already gone, and the window takes no input.
      const behind = await readWindow(page);
      assert.deepEqual(answerOf(behind), ['', '', '', '', true]);
      await clickOn(page, 'Command2');
      assert.deepEqual(await readWindow(page), behind);

      await press(page, close);
      await page.waitForSelector('dialog[open]', { hidden: true });
      assert.deepEqual(await readWindow(page), { ...behind, focus: 'Command1' }, close);
    }
  });
});

test('バージョン情報 from the menu bar by the keyboard shows three lines with the information icon and leaves the focus in the field', async () => {
  await withPage({}, async (page) => {
    await clickOn(page, 'Text2(1)');
    await page.keyboard.type('7');
    // F10 reaches the menu bar from the keyboard.
    await press(page, 'F10');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), '終了');
    await press(page, 'ArrowRight', 'Enter');
    await waitForMessageBox(page);
    const box = await readMessageBox(page);
    assert.deepEqual([box.title, box.icon, box.focus, box.lines.length], ['バージョン情報', 'information', 'OK', 3]);
    assert.match(box.lines[0], /^TavolenVer\d+\.\d+\.\d+$/);
    await clickOn(page, 'FileBer');
    await page.click('dialog[open] .msgbox-ok');
    await page.waitForSelector('dialog[open]', { hidden: true });
    const shown = await readWindow(page);
    assert.deepEqual([shown.focus, shown.Label7, shown['Text2(1)']], ['Text2(1)', '分子', '7']);
    // Escape goes back from the menu bar to the window.
    await press(page, 'F10', 'Escape');
    assert.equal((await readWindow(page)).focus, 'Text2(1)');
  });
});

// The version box's parts as drawn, the window's box, and the viewport, in CSS pixels.
function readBoxOnScreen(page) {
  return page.evaluate(() => {
    const box = (selector) => document.querySelector(selector).getBoundingClientRect();
    const title = document.createRange();
    title.selectNodeContents(document.querySelector('.msgbox-title'));
    const { width, height, left, top } = box('dialog[open]');
    return {
      parts: [box('.msgbox-icon').width, box('.msgbox-ok').height, title.getBoundingClientRect().height],
      centre: [left + width / 2, top + height / 2],
      box: [left, top, left + width, top + height],
      window: box('#window').toJSON(),
      viewport: [document.documentElement.clientWidth, document.documentElement.clientHeight],
    };
  });
}

async function openVersionBox(page) {
  await clickOn(page, 'FileBer');
  await waitForMessageBox(page);
  return readBoxOnScreen(page);
}

// Checks the box shown against the same box at a scale of 1: drawn at the window's scale,
// centred on the window unless that would put it past the margin, inside the viewport.
function assertBoxOverWindow(shown, natural, what) {
  const [left, top, right, bottom] = shown.box;
  assert.ok(left >= 0 && top >= 0 && right <= shown.viewport[0] && bottom <= shown.viewport[1], `${what}: ${shown.box}`);
  // Text laid out again at the scale rounds its lines a little differently.
  const scale = shown.window.width / natural.window.width;
  const near = (drawn, expected) => Math.abs(drawn - expected) <= Math.max(1, expected / 100);
  shown.parts.forEach((drawn, i) => assert.ok(near(drawn, natural.parts[i] * scale), `${what}: part ${i} ${drawn} at ${scale}`));
  const centre = [shown.window.left + shown.window.width / 2, shown.window.top + shown.window.height / 2];
  shown.centre.forEach((at, i) =>
    assert.ok(Math.abs(at - centre[i]) <= 1 || shown.box[i] <= 8.5 || shown.box[i + 2] >= shown.viewport[i] - 8.5, `${what}: centre ${shown.centre} on ${centre}`),
  );
}

const BOX_SCREENS = [
  { name: 'a projector', width: 1920, height: 1080 },
  { name: 'a phone', width: 360, height: 640, hasTouch: true, isMobile: true, deviceScaleFactor: 3, turned: { width: 640, height: 360 } },
  { name: 'a tiny window', width: 300, height: 150 },
];
test('message boxes are drawn at the window\'s scale, centred on it, within the viewport', async () => {
  let natural;
  await withOpenPage(() => openAtScaleOne(session.browser, session.server.url), async (page) => {
    natural = await openVersionBox(page);
  });
  for (const screen of BOX_SCREENS) {
    await withPage(screen, async (page) => {
      assertBoxOverWindow(await openVersionBox(page), natural, screen.name);
      if (screen.turned) {
        await page.setViewport({ ...screen, ...screen.turned });
        await settled(page);
        assertBoxOverWindow(await readBoxOnScreen(page), natural, `${screen.name}, turned`);
      }
    });
  }
});

test('without modal dialogs in the browser, a message box still holds the focus and keeps the window still', async () => {
  const prepare = (page) => page.evaluateOnNewDocument(() => delete HTMLDialogElement.prototype.showModal);
  await withPage({ prepare }, async (page) => {
    assert.equal(await page.evaluate(() => 'showModal' in HTMLDialogElement.prototype), false);
    await fillIn(page, { 'Text2(1)': '7' });
    await clickOn(page, 'FileBer');
    await waitForMessageBox(page);
    assert.equal((await readMessageBox(page)).focus, 'OK');
    const before = await readWindow(page);
    await clickOn(page, 'Option1(3)');
    await fillIn(page, { 'Text1(2)': '5' });
    await press(page, 'Tab', 'Tab');
    // As assistive technology moves it.
    await page.$eval(control('Text1(1)'), (field) => field.focus());
    assert.deepEqual(await readWindow(page), before);
    // Nor does the rest of the page take a click.
    await page.click('#working-toggle');
    assert.equal(await page.$eval('#working-toggle', (toggle) => toggle.getAttribute('aria-expanded')), 'true');
    assert.equal((await readMessageBox(page)).focus, 'OK');
    await press(page, 'Escape');
    await page.waitForSelector('dialog[open]', { hidden: true });
    assert.deepEqual(await readWindow(page), { ...before, focus: 'Text2(1)' });
    await clickOn(page, 'Command1');
    await waitForMessageBox(page);
    assert.equal((await readMessageBox(page)).title, ERROR_TITLE);
    await press(page, 'Enter');
    await page.waitForSelector('dialog[open]', { hidden: true });
    assert.equal((await readWindow(page)).focus, 'Command1');
  });
});

// The golden unload scripts hold the menu command and Space on the button as well.
test('the 終了 button ends Tavolen and the notice starts it again', async () => {
  await withPage({}, async (page) => {
    await fillIn(page, { 'Text1(2)': '12' });
    await clickOn(page, 'Command3');
    const ended = await page.evaluate(() => ({
      window: document.querySelector('#window').checkVisibility(),
      notice: document.querySelector('#ended').innerText,
      focus: document.activeElement.id,
    }));
    assert.equal(ended.window, false);
    assert.match(ended.notice, /終了しました/);
    assert.equal(ended.focus, 'restart');
    await press(page, 'Enter');
    const shown = await readWindow(page);
    assert.deepEqual([shown['Text1(2)'], shown.focus, shown.Frame1], ['', 'Option1(0)', 'Option1(0)']);
  });
});

// Back to the page: Chromium restores it from its back-forward cache as it was when it was left.
const COMING_BACK = [
  {
    name: 'after typing, the window comes back as it was, and works',
    async before(page) {
      await fillIn(page, { 'Text1(1)': '1', 'Text1(0)': '2' });
    },
    ended: false,
    async after(page) {
      assert.deepEqual((await readWindow(page)).focus, 'Text1(0)');
      await fillIn(page, { 'Text2(1)': '1', 'Text2(0)': '3' });
      await clickOn(page, 'Command1');
      assert.deepEqual(answerOf(await readWindow(page)), ['', '', '5', '6', true]);
    },
  },
  {
    name: 'after 終了, the notice comes back',
    async before(page) {
      await clickOn(page, 'Command3');
    },
    ended: true,
    async after(page) {
      assert.equal(await page.evaluate(() => document.activeElement.id), 'restart');
    },
  },
];
for (const row of COMING_BACK) {
  test(`Back to the page: ${row.name}`, async () => {
    await withPage({}, async (page) => {
      await row.before(page);
      await page.evaluate(() => window.addEventListener('pageshow', (event) => (window.restored = event.persisted)));
      await page.goto(new URL('manifest.webmanifest', session.server.url).href);
      await page.goBack();
      assert.equal(await page.evaluate(() => window.restored), true, 'not kept for Back');
      const shown = await page.evaluate(() => ({
        window: document.querySelector('#window').checkVisibility(),
        ended: document.querySelector('#ended').checkVisibility(),
      }));
      assert.deepEqual(shown, { window: !row.ended, ended: row.ended });
      await row.after(page);
    });
  });
}
