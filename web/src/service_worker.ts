// Keeps every file of the site after the first visit, so that the program opens and runs
// with no network: files come from the cache of this build, and a new build's cache replaces
// the old one when it is installed.
declare const SITE_FILES: string[];
declare const SITE_VERSION: string;
interface WaitingEvent extends Event { waitUntil(promise: Promise<unknown>): void }
interface FetchingEvent extends WaitingEvent { readonly request: Request; respondWith(response: Promise<Response>): void }
interface ServiceWorkerScope {
  addEventListener(type: 'install' | 'activate', listener: (event: WaitingEvent) => void): void;
  addEventListener(type: 'fetch', listener: (event: FetchingEvent) => void): void;
  skipWaiting(): Promise<void>;
  clients: { claim(): Promise<void> };
}
const worker = self as unknown as ServiceWorkerScope;

const CACHE = `corvel-duvu-${SITE_VERSION}`;

worker.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(SITE_FILES)).then(() => worker.skipWaiting()));
});

worker.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => worker.clients.claim()));
});

worker.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached ?? fetch(event.request)));
});
