// A new release reaches a returning visitor whole at the next load, whatever caching the server
// asks for, and stays with them offline: no file of the last release is loaded or kept.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, utimesSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { CACHING, SITE, accessibleNodes, launchBrowser, openTavolen, startServer } from './harness.js';

const STAMP = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'web', 'stamp.mjs');
const sha = (bytes) => createHash('sha256').update(bytes).digest('hex');
const buildOf = (site) => /data-build="(\w+)"/.exec(readFileSync(join(site, 'index.html'), 'utf8'))[1];

let browser;
let folder;
const releases = {};
before(async () => {
  browser = await launchBrowser();
  folder = mkdtempSync(join(tmpdir(), 'tavolen-release-'));
  // The last release, its files an hour old, and the next: a module, the style sheet and the model
  // changed, the site stamped again as the build stamps it.
  releases.last = join(folder, 'last');
  releases.next = join(folder, 'next');
  cpSync(SITE, releases.last, { recursive: true });
  const anHourAgo = new Date(Date.now() - 3600e3);
  for (const name of readdirSync(releases.last)) {
    utimesSync(join(releases.last, name), anHourAgo, anHourAgo);
  }
  cpSync(SITE, releases.next, { recursive: true });
  appendFileSync(join(releases.next, 'working.js'), '// the next release\n');
  appendFileSync(join(releases.next, 'tavolen.css'), '/* the next release */\n');
  // A custom section named "next", which the model's code ignores.
  appendFileSync(join(releases.next, 'tavolen.wasm'), Buffer.from([0, 5, 4, ...Buffer.from('next')]));
  execFileSync(process.execPath, [STAMP, releases.next, releases.next]);
  assert.notEqual(buildOf(releases.next), buildOf(releases.last));
});
after(async () => {
  await browser?.close();
  rmSync(folder, { recursive: true, force: true });
});

const takenOver = (page) => page.waitForFunction(() => document.querySelector('#window:not([aria-busy])') && document.activeElement?.dataset.name);

// Each file's path and the hash of its content: as the page received them since `since`, and as
// its service worker keeps them.
function recordLoads(page) {
  const loads = [];
  page.on('response', (response) => {
    if (response.status() === 200) {
      loads.push(response.buffer().then((body) => [new URL(response.url()).pathname, sha(body)]));
    }
  });
  return async () => Promise.all(loads.splice(0));
}
const readKept = (page) =>
  page.evaluate(async () => {
    const kept = {};
    for (const name of await caches.keys()) {
      for (const request of await (await caches.open(name)).keys()) {
        const body = await (await caches.open(name)).match(request).then((r) => r.arrayBuffer());
        const hash = [...new Uint8Array(await crypto.subtle.digest('SHA-256', body))].map((b) => b.toString(16).padStart(2, '0'));
        kept[`${name} ${new URL(request.url).pathname}`] = hash.join('');
      }
    }
    return kept;
  });

// What a release's files hash to, by path.
function hashesOf(site) {
  const hashes = { '/': sha(readFileSync(join(site, 'index.html'))) };
  for (const name of readdirSync(site)) {
    hashes[`/${name}`] = sha(readFileSync(join(site, name)));
  }
  return hashes;
}

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
        window.said = [];
        new MutationObserver(() => window.said.push(line.textContent)).observe(line, { childList: true });
        return navigator.serviceWorker.getRegistration().then((registration) => registration.update());
      });
      // Said once, quietly, while the last release is still the one running.
      const line = await page.waitForSelector('#new-release:not(:empty)');
      const text = await line.evaluate((p) => p.textContent);
      assert.equal(text, await line.evaluate((p) => p.dataset.text));
      const statuses = (await accessibleNodes(page)).filter((node) => node.role === 'status' && node.children?.some((child) => child.name === text));
      assert.equal(statuses.length, 1);
      assert.equal(await page.evaluate(() => window.said.length), 1);

      await loaded();
      const next = hashesOf(releases.next);
      const build = buildOf(releases.next);
      for (const online of [true, false]) {
        if (!online) {
          await server.stop();
        }
        await page.reload();
        await takenOver(page);
        for (const [path, hash] of await loaded()) {
          assert.equal(hash, next[path], `${online ? '' : 'offline: '}${path} is not the next release's`);
        }
        assert.equal(await page.evaluate(() => document.documentElement.dataset.build), build);
        // Every file but the worker itself, in the next release's cache only.
        const kept = Object.keys(next).filter((path) => path !== '/sw.js');
        assert.deepEqual(await readKept(page), Object.fromEntries(kept.map((path) => [`tavolen-${build} ${path}`, next[path]])));
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
  { name: 'once', times: 1, loads: 2, shown: '#window' },
  { name: 'on every load', times: Infinity, loads: 2, shown: '#load-failed' },
];
for (const row of MIXED) {
  test(`a page whose module is answered from the last release ${row.name} is loaded again once, never run mixed`, async () => {
    const server = await startServer({ site: releases.next });
    const page = await browser.newPage();
    try {
      const last = readFileSync(join(releases.last, 'load.js'));
      let left = row.times;
      let loads = 0;
      await page.setRequestInterception(true);
      page.on('request', (request) => {
        const path = new URL(request.url()).pathname;
        loads += request.isNavigationRequest() ? 1 : 0;
        if (path === '/load.js' && left-- > 0) {
          request.respond({ status: 200, contentType: 'text/javascript', body: last });
        } else {
          request.continue();
        }
      });
      await page.goto(server.url);
      await page.waitForSelector(`${row.shown}:not([hidden]):not([aria-busy])`);
      await new Promise((done) => setTimeout(done, 300));
      assert.equal(loads, row.loads);
    } finally {
      await page.close();
      await server.stop();
    }
  });
}
