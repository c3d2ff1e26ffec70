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

// Keeps what is done in the window before the module has taken it over, in order, for the module
// to perform then: fields edited, options chosen, the focus moved, buttons and menu commands
// clicked. Only the module knows where Tab goes: from the first Tab on, every key is held back
// for it, typing included.
(function () {
  var windowElement = document.getElementById('window');
  var panel = document.getElementById('working');
  if (!windowElement || !windowElement.closest) {
    return;
  }
  var kept = [];
  var tabbed = false;
  windowElement.earlyInput = kept;
  var nameOf = function (element) {
    return element.getAttribute('data-name');
  };
  // What was done before this ran: the options and fields changed, and the focus.
  var shown = windowElement.querySelectorAll('input');
  for (var i = 0; i < shown.length; i++) {
    if (shown[i].type === 'radio' && shown[i].checked && !shown[i].defaultChecked) {
      kept.push({ type: 'choose', name: nameOf(shown[i]) });
    } else if (shown[i].type === 'text' && shown[i].value !== shown[i].defaultValue) {
      kept.push({ type: 'edit', name: nameOf(shown[i]), value: shown[i].value });
    }
  }
  if (windowElement.contains(document.activeElement) && document.activeElement.hasAttribute('data-name')) {
    kept.push({ type: 'focus', name: nameOf(document.activeElement) });
  }
  var starting = function () {
    return windowElement.hasAttribute('aria-busy');
  };
  var named = function (target) {
    var element = target && target.closest ? target.closest('[data-name]') : null;
    return element && windowElement.contains(element) ? element : null;
  };
  var listen = function (type, keep) {
    document.addEventListener(
      type,
      function (event) {
        if (starting()) {
          keep(event, named(event.target));
        }
      },
      true
    );
  };

  listen('input', function (event, element) {
    if (element && element.type === 'text') {
      kept.push({ type: 'edit', name: nameOf(element), value: element.value });
    }
  });
  listen('change', function (event, element) {
    if (element && element.type === 'radio' && element.checked) {
      kept.push({ type: 'choose', name: nameOf(element) });
    }
  });
  // Focus moved by a press (Tab is held back) is where the module's focus will be: a field takes
  // typing itself again, also the one the focus never left.
  listen('focusin', function (event, element) {
    tabbed = false;
    if (element && element.type !== 'radio' && !element.hasAttribute('data-menu')) {
      kept.push({ type: 'focus', name: nameOf(element) });
    }
  });
  listen('mousedown', function (event, element) {
    if (tabbed && element && element === document.activeElement) {
      tabbed = false;
      kept.push({ type: 'focus', name: nameOf(element) });
    }
  });
  listen('click', function (event, element) {
    var button = event.target.closest('button');
    if (element && element === button) {
      kept.push({ type: button.hasAttribute('data-menu') ? 'menu' : 'click', name: nameOf(element) });
    } else if (button && button.id && panel && panel.contains(button)) {
      kept.push({ type: 'press', id: button.id });
    }
  });
  var KEYS = { Tab: 'Tab', Enter: 'Enter', ' ': 'Space', ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down' };
  var held = function (event) {
    if (event.key === 'Tab') {
      tabbed = true;
      return { type: 'key', key: event.shiftKey ? 'Shift+Tab' : 'Tab' };
    }
    if (!tabbed || event.shiftKey || event.isComposing) {
      return null;
    }
    if (KEYS[event.key]) {
      return { type: 'key', key: KEYS[event.key] };
    }
    if (event.key === 'Backspace') {
      return { type: 'erase' };
    }
    return event.key.length === 1 ? { type: 'type', text: event.key } : null;
  };
  listen('keydown', function (event, element) {
    var step = element && !event.ctrlKey && !event.altKey && !event.metaKey ? held(event) : null;
    if (step) {
      event.preventDefault();
      kept.push(step);
    }
  });
})();
