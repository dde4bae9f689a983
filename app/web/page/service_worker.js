// Keeps the site's files, so that the page works with the network off after its first visit. The
// build names the files and gives the version, the digest of all of them: a new version is
// installed at the next visit, takes over at once and deletes the files of the old one.
const kCache = 'pelmora-simulator-@SITE_VERSION@';
const kFiles = [
@SITE_FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(kCache)
      .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' }))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names.filter((name) => name.startsWith('pelmora-simulator-') && name !== kCache).map((name) => caches.delete(name)),
        ),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(
    caches
      .open(kCache)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((kept) => kept ?? fetch(event.request)),
  );
});
