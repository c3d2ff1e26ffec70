// Keeps every file of the site on the first visit, so the calculator then works with no
// network. Each build has a cache of its own, which replaces the last one. Its files are checked
// against their hashes as they arrive, so that whatever caching the server asks for, the cache
// holds this build whole or the build is not taken.
const CACHE = 'tavolen-@BUILD@';
// Each file by the address the page asks for it, with the hash of its content.
const FILES = @FILES@;

// A file with the build in its address is taken from the HTTP cache where the page has just
// loaded it, and fetched past it only should that hold another build's file (a server that ignores
// the build in addresses); the others are always fetched past it.
function keep(cache, [file, integrity]) {
  const fetchAs = (mode) =>
    fetch(new Request(file, { cache: mode, integrity })).then((response) => {
      if (!response.ok) {
        throw new Error(`${file}: ${response.status}`);
      }
      return cache.put(file, response);
    });
  return file.includes('?') ? fetchAs('default').catch(() => fetchAs('reload')) : fetchAs('reload');
}

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => Promise.all(FILES.map((file) => keep(cache, file))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith('tavolen-') && n !== CACHE).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  // The page's own files carry the build in their addresses: one of another build is not kept.
  event.respondWith(
    caches.open(CACHE).then((cache) =>
      cache.match(request, { ignoreSearch: request.mode === 'navigate' }).then((kept) => kept ?? fetch(request)),
    ),
  );
});
