// Registers the service worker that keeps every file of the site for use without a network.
// It waits for the page to load, so that its downloads do not compete with the first picture.
export function keepForOffline() {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  const register = () => navigator.serviceWorker.register('./sw.js').catch((error) => console.warn(error));
  if (document.readyState === 'complete') {
    register();
  } else {
    window.addEventListener('load', register, { once: true });
  }
}
