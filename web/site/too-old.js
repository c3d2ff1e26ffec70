// Runs in every browser, in the oldest syntax, before the page's module: where the module cannot
// run (no modules, or syntax the browser does not know), the window drawn in the page would never
// come alive, so a note takes its place. The module marks the page as soon as it runs.
(function () {
  var page = document.documentElement;
  var noModules = !('noModule' in document.createElement('script'));
  var fetchFailed = false;

  // A module file that could not be fetched is a network failure, not an old browser.
  document.addEventListener(
    'error',
    function (event) {
      if (event.target.type === 'module') {
        fetchFailed = true;
      }
    },
    true
  );
  document.addEventListener('DOMContentLoaded', function () {
    if (noModules || !page.hasAttribute('data-module')) {
      document.getElementById('window').setAttribute('hidden', '');
      document.getElementById('working').setAttribute('hidden', '');
      document.getElementById(fetchFailed && !noModules ? 'load-failed' : 'too-old').removeAttribute('hidden');
    }
  });
})();
