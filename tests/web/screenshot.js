// Pictures of the page for the README: 1 1/2 + 2 1/3 entered with real input and 計算
// pressed, the window at 1:1, the whole page on a screen 360 CSS pixels wide, the whole
// page on an iPad in landscape (1024 × 768) and the window with its working, details shown
// (くわしく), at 1:1; and the window with its working of 1 2/3 ＋ 2 3/4 with 帯分数のまま and
// くわしく chosen, the answer 3 5/12 checked in 自分の答え, at 1:1.
// Usage: node tests/web/screenshot.js WIDE.png NARROW.png IPAD.png WORKING.png CHECK.png
import { WORKED_EXAMPLE, clickOn, fillIn, launchBrowser, openAtScaleOne, openTavolen, readWindow, startServer } from './harness.js';

const [wide, narrow, ipad, working, check] = process.argv.slice(2);
if (!wide || !narrow || !ipad || !working || !check) {
  console.error('usage: node screenshot.js WIDE.png NARROW.png IPAD.png WORKING.png CHECK.png');
  process.exit(2);
}

async function workedExample(page) {
  await fillIn(page, WORKED_EXAMPLE);
  await clickOn(page, 'Command1');
  const shown = await readWindow(page);
  const answer = [shown['Label1(2)'], shown['Label1(1)'], shown['Label1(0)']].join(' ');
  if (answer !== '3 5 6') {
    throw new Error(`the page shows ${answer}, not 3 5/6`);
  }
  // The pointer leaves the window, so that nothing in the picture is hovered.
  const viewport = page.viewport();
  await page.mouse.move(viewport.width - 1, viewport.height - 1);
}

const server = await startServer();
const browser = await launchBrowser(['--hide-scrollbars']);
try {
  const page = await openAtScaleOne(browser, server.url);
  await workedExample(page);
  await (await page.$('#window')).screenshot({ path: wide });
  await page.click('#working-details');
  await page.mouse.move(page.viewport().width - 1, page.viewport().height - 1);
  await (await page.$('#scaled')).screenshot({ path: working });

  const checked = await openAtScaleOne(browser, server.url);
  await checked.click('#working-details');
  await checked.click('#working-keep-mixed');
  await fillIn(checked, { 'Text1(2)': '1', 'Text1(1)': '2', 'Text1(0)': '3', 'Text2(2)': '2', 'Text2(1)': '3', 'Text2(0)': '4' });
  await clickOn(checked, 'Command1');
  await checked.type('#check-answer', '3 5/12');
  await checked.keyboard.press('Enter');
  await checked.waitForSelector('#working .check-message:not([hidden])');
  await checked.mouse.move(checked.viewport().width - 1, checked.viewport().height - 1);
  await (await checked.$('#scaled')).screenshot({ path: check });

  const small = await openTavolen(browser, server.url, { width: 360, height: 640, hasTouch: true });
  await workedExample(small);
  const bottom = await small.$eval('#fit', (fit) => Math.ceil(fit.getBoundingClientRect().bottom));
  await small.screenshot({ path: narrow, clip: { x: 0, y: 0, width: 360, height: bottom } });

  const tablet = await openTavolen(browser, server.url, { width: 1024, height: 768, hasTouch: true });
  await workedExample(tablet);
  await tablet.screenshot({ path: ipad });
  console.log(`wrote ${wide}, ${narrow}, ${ipad}, ${working} and ${check}`);
} finally {
  await browser.close();
  await server.stop();
}
