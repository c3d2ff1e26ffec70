// A new release reaches a returning visitor whole at the next load, whatever caching the server
// asks for, and stays with them offline: no file of the last release is loaded or kept.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, utimesSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { CACHING, SITE, accessibleNodes, launchBrowser, openTavolen, startServer, takenOver } from './harness.js';

const sha = (bytes) => createHash('sha256').update(bytes).digest('hex');
const buildOf = (site) => /data-build="(\w+)"/.exec(readFileSync(join(site, 'index.html'), 'utf8'))[1];

let browser;
let folder;
const releases = {};
before(async () => {
  browser = await launchBrowser();
  folder = mkdtempSync(join(tmpdir(), 'tavolen-release-'));
  // The last release, its files an hour old, and the next: a module, the style sheet and the model
  // (a custom section its code ignores) changed, the site stamped again as the build stamps it.
  [releases.last, releases.next] = [join(folder, 'last'), join(folder, 'next')];
  cpSync(SITE, releases.last, { recursive: true });
  cpSync(SITE, releases.next, { recursive: true });
  const anHourAgo = new Date(Date.now() - 3600e3);
  readdirSync(releases.last).forEach((name) => utimesSync(join(releases.last, name), anHourAgo, anHourAgo));
  appendFileSync(join(releases.next, 'working.js'), '// the next release\n');
  appendFileSync(join(releases.next, 'tavolen.css'), '/* the next release */\n');
  appendFileSync(join(releases.next, 'tavolen.wasm'), Buffer.from([0, 5, 4, ...Buffer.from('next')]));
  execFileSync(process.execPath, [new URL('../../web/stamp.mjs', import.meta.url).pathname, releases.next, releases.next]);
  assert.notEqual(buildOf(releases.next), buildOf(releases.last));
});
after(async () => {
  await browser?.close();
  rmSync(folder, { recursive: true, force: true });
});

// The path and hash of each file the page receives; `loaded()` takes those received so far.
function recordLoads(page) {
  const loads = [];
  page.on('response', (response) => {
    if (response.status() === 200) {
      loads.push(response.buffer().then((body) => [new URL(response.url()).pathname, sha(body)]));
    }
  });
  return () => Promise.all(loads.splice(0));
}
// Each file the service worker keeps, as "cache path", and the hash of its content.
const readKept = (page) =>
  page.evaluate(async () => {
    const kept = {};
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      for (const request of await cache.keys()) {
        const hash = await crypto.subtle.digest('SHA-256', await (await cache.match(request)).arrayBuffer());
        kept[`${name} ${new URL(request.url).pathname}`] = [...new Uint8Array(hash)].map((b) => b.toString(16).padStart(2, '0')).join('');
      }
    }
    return kept;
  });

for (const caching of Object.keys(CACHING)) {
  test(`served with ${caching} caching, a new release is taken whole at the next load and kept for offline`, async () => {
    const server = await startServer({ caching, site: releases.last });
    const page = await openTavolen(browser, server.url);
    try {
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
      const loaded = recordLoads(page);
      server.release(releases.next);
      await page.evaluate(() => {
        const line = document.getElementById('new-release');
        new MutationObserver(() => (window.said = (window.said ?? 0) + 1)).observe(line, { childList: true });
        return navigator.serviceWorker.getRegistration().then((registration) => registration.update());
      });
      // Said once, quietly, while the last release is still the one running.
      const text = await (await page.waitForSelector('#new-release:not(:empty)')).evaluate((line) => line.dataset.text === line.textContent && line.textContent);
      assert.equal((await accessibleNodes(page)).filter((node) => node.role === 'status' && node.children?.some((child) => child.name === text)).length, 1);
      assert.equal(await page.evaluate(() => window.said), 1);
      await loaded();

      const next = Object.fromEntries(readdirSync(releases.next).map((name) => [`/${name}`, sha(readFileSync(join(releases.next, name)))]));
      next['/'] = next['/index.html'];
      const cache = `tavolen-${buildOf(releases.next)}`;
      for (const online of [true, false]) {
        if (!online) {
          await server.stop();
        }
        await page.reload();
        await takenOver(page);
        for (const [path, hash] of await loaded()) {
          assert.equal(hash, next[path], `${online ? '' : 'offline: '}${path} is not the next release's`);
        }
        // Every file but the worker itself, in the next release's cache only.
        const kept = Object.keys(next).filter((path) => path !== '/sw.js');
        assert.deepEqual(await readKept(page), Object.fromEntries(kept.map((path) => [`${cache} ${path}`, next[path]])));
      }
    } finally {
      await page.close();
      await server.stop().catch(() => {});
    }
  });
}

// A server that ignores the build in an address answers a page of the next release with the last
// release's load.js, on the first load only or on every load: the page is loaded again once, and
// then runs whole, or says it could not be loaded rather than run the two together.
const MIXED = [
  { name: 'once', times: 1, shown: '#window' },
  { name: 'on every load', times: Infinity, shown: '#load-failed' },
];
for (const row of MIXED) {
  test(`a page whose module is answered from the last release ${row.name} is loaded again once, never run mixed`, async () => {
    const server = await startServer({ site: releases.next });
    const page = await browser.newPage();
    try {
      let [left, loads] = [row.times, 0];
      await page.setRequestInterception(true);
      page.on('request', (request) => {
        loads += request.isNavigationRequest() ? 1 : 0;
        if (new URL(request.url()).pathname === '/load.js' && left-- > 0) {
          request.respond({ status: 200, contentType: 'text/javascript', body: readFileSync(join(releases.last, 'load.js')) });
        } else {
          request.continue();
        }
      });
      await page.goto(server.url);
      await page.waitForSelector(`${row.shown}:not([hidden]):not([aria-busy])`);
      await new Promise((done) => setTimeout(done, 300));
      assert.equal(loads, 2);
    } finally {
      await page.close();
      await server.stop();
    }
  });
}
