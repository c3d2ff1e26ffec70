// Runs first, in the page's head, so that nothing done in the window from its first frame on is
// lost: what is done before the module has taken the window over is kept, in order, for the module
// to perform then (fields edited, options chosen, the focus moved, buttons and menu commands
// clicked). Only the module knows where Tab goes: from the first Tab on, every key is held back
// for it, typing included. Written in the oldest syntax, as it runs in every browser.
(function () {
  var page = document.documentElement;
  if (!page.closest) {
    return;
  }
  var kept = [];
  var tabbed = false;
  page.earlyInput = kept;
  var windowElement = null;
  var panel = null;
  var nameOf = function (element) {
    return element.getAttribute('data-name');
  };
  // The window is drawn in the body, which does not exist yet as this runs.
  var starting = function () {
    windowElement = windowElement || document.getElementById('window');
    panel = panel || document.getElementById('working');
    return windowElement !== null && windowElement.hasAttribute('aria-busy');
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
    // Enter in 自分の答え presses 答え合わせ, as it will once the module is there.
    if (event.key === 'Enter' && event.target.id === 'check-answer' && !event.isComposing) {
      event.preventDefault();
      kept.push({ type: 'press', id: 'check-button' });
      return;
    }
    var step = element && !event.ctrlKey && !event.altKey && !event.metaKey ? held(event) : null;
    if (step) {
      event.preventDefault();
      kept.push(step);
    }
  });
})();
