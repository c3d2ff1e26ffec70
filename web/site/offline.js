// Registers the service worker that keeps every file of the site for use without a network.
export function keepForOffline() {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  navigator.serviceWorker.register('./sw.js').catch((error) => console.warn(error));
}
