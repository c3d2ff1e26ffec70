// Registers the service worker that keeps every file of the site for use without a network.
// It waits until the page has loaded and the window has been drawn: the load event comes before
// the module is ready, and starting the worker then held the window back.
export function keepForOffline() {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  const register = () => navigator.serviceWorker.register('./sw.js').catch((error) => console.warn(error));
  const afterFrame = () => requestAnimationFrame(() => setTimeout(register));
  if (document.readyState === 'complete') {
    afterFrame();
  } else {
    window.addEventListener('load', afterFrame, { once: true });
  }
}
