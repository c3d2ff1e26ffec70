// Runs in every browser, before the page's module, in the oldest syntax: where the module cannot
// run (no modules, or syntax the browser does not know), the window drawn in the page would never
// come alive, so a note takes its place. The module marks the page as soon as it runs.
(function () {
  var page = document.documentElement;
  var module = document.querySelector('script[type="module"]');
  var fetchFailed = false;

  function replaceWindow(noteId) {
    document.getElementById('window').setAttribute('hidden', '');
    document.getElementById(noteId).removeAttribute('hidden');
  }

  if (!('noModule' in module)) {
    replaceWindow('too-old');
    return;
  }
  // A module file that could not be fetched is a network failure, not an old browser.
  module.addEventListener('error', function () {
    fetchFailed = true;
  });
  document.addEventListener('DOMContentLoaded', function () {
    if (!page.hasAttribute('data-module')) {
      replaceWindow(fetchFailed ? 'load-failed' : 'too-old');
    }
  });
})();
