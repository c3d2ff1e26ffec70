// The site's releases: the service worker that keeps this one for use with no network, the line
// that says a newer one has been kept, and the check that the page runs the files of one build.
import { BUILD } from './load.js?@BUILD@';

const RELOADED = 'tavolen-reloaded';

// Whether the page, its style sheet and its modules are of one build. A server that ignores the
// build in an address may answer with another build's file (a page of the last build starting
// while a new one replaces the kept files): the page is then loaded again, once for each build of
// the page. Returns "whole", "reloading" or "mixed".
export function checkBuild() {
  const root = document.documentElement;
  const page = root.dataset.build;
  const whole = page === BUILD && getComputedStyle(root).getPropertyValue('--build').trim() === `"${BUILD}"`;
  let tried = null;
  try {
    tried = sessionStorage.getItem(RELOADED);
    if (whole) {
      sessionStorage.removeItem(RELOADED);
    } else {
      sessionStorage.setItem(RELOADED, page);
    }
  } catch {
    // Without storage the page is loaded again once per visit at most, as tried stays null.
  }
  if (whole) {
    return 'whole';
  }
  if (tried === page) {
    return 'mixed';
  }
  location.reload();
  return 'reloading';
}

// Says once, in a quiet line, that a newer build has been kept and that the next load brings it:
// its worker takes over this page as soon as it has kept every file. On a first visit the first
// worker to take over is this build's own.
export function announceNewRelease(line) {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  let own = navigator.serviceWorker.controller ? 0 : 1;
  const said = () => {
    if (own-- === 0) {
      line.textContent = line.dataset.text;
      navigator.serviceWorker.removeEventListener('controllerchange', said);
    }
  };
  navigator.serviceWorker.addEventListener('controllerchange', said);
}

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
