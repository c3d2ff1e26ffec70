// Hands every user action to the model. The model decides the focus, the tab order and the
// chosen options; the browser's own handling of those is held back here.

const KEYS = {
  Tab: 'Tab',
  ArrowLeft: 'Left',
  ArrowRight: 'Right',
  ArrowUp: 'Up',
  ArrowDown: 'Down',
  ' ': 'Space',
  Enter: 'Enter',
};

const isMenu = (element) => element?.dataset?.menu !== undefined;

function keyName(event) {
  const key = KEYS[event.key];
  if (!key || event.ctrlKey || event.altKey || event.metaKey) {
    return null;
  }
  if (key === 'Tab') {
    return event.shiftKey ? 'Shift+Tab' : 'Tab';
  }
  return event.shiftKey ? null : key;
}

// The menu bar is reached with F10 and left with Escape, as in a desktop window; choosing a
// command does not move the model's focus.
function routeMenu(windowElement, session) {
  const items = () => [...windowElement.querySelectorAll('[data-menu]')];
  const step = (from, by) => {
    const all = items();
    all[(all.indexOf(from) + by + all.length) % all.length].focus();
  };
  return (event) => {
    const item = event.target;
    switch (event.key) {
      case 'ArrowLeft':
        step(item, -1);
        break;
      case 'ArrowRight':
        step(item, 1);
        break;
      case 'Enter':
      case ' ':
        session.act((w) => w.menu(item.dataset.name));
        break;
      case 'Escape':
      case 'Tab':
      case 'F10':
        session.refocus();
        break;
      default:
        return;
    }
    event.preventDefault();
  };
}

// Invisible stops at either end of the window. Tab from before the page's window lands on the
// first and Shift+Tab from after it on the last; each hands the focus to the model. Tab from the
// model's last stop (Shift+Tab from its first) leaves the window, as from any other part of a page.
function tabEdges(windowElement) {
  const edge = () => {
    const element = document.createElement('span');
    element.className = 'tab-edge';
    element.tabIndex = 0;
    return element;
  };
  const first = edge();
  const last = edge();
  windowElement.prepend(first);
  windowElement.append(last);
  let restore = null;
  const edges = {
    entering: (element) => (element === first ? 'Tab' : element === last ? 'Shift+Tab' : null),
    // While the browser moves the focus out, the edge on the way is not a stop; it is one again
    // once the focus has moved, or before the next key.
    stepOver(key) {
      const passed = key === 'Tab' ? last : first;
      passed.tabIndex = -1;
      restore = () => (passed.tabIndex = 0);
      setTimeout(edges.restore);
    },
    restore() {
      restore?.();
      restore = null;
    },
  };
  document.addEventListener('focusin', edges.restore);
  return edges;
}

export function routeInput(windowElement, view, session) {
  const typeAt = (element) => view.typeOf(view.nameOf(element));
  const inWindow = (element) => windowElement.contains(element) && element !== windowElement;
  const menuKey = routeMenu(windowElement, session);
  const edges = tabEdges(windowElement);
  let spaceDownOn = null;

  // Tab and Shift+Tab into a field select its whole text, as in the desktop window.
  const tabTo = (key) => {
    session.act((w) => w.key(key));
    const focused = document.activeElement;
    if (typeAt(focused) === 'TextBox') {
      focused.select();
    }
  };

  document.addEventListener('keydown', (event) => {
    edges.restore();
    if (!session.accepting() || event.isComposing) {
      return;
    }
    const target = document.activeElement;
    if (isMenu(target)) {
      menuKey(event);
      return;
    }
    if (event.key === 'F10' && !event.shiftKey) {
      event.preventDefault();
      windowElement.querySelector('[data-menu]')?.focus();
      return;
    }
    const key = keyName(event);
    if (!key || !inWindow(target)) {
      return;
    }
    // In an entry field the arrows move the caret and Space is typed, as the browser does.
    if (typeAt(target) === 'TextBox' && !['Tab', 'Shift+Tab', 'Enter'].includes(key)) {
      return;
    }
    if ((key === 'Tab' || key === 'Shift+Tab') && session.wrapsOn(key)) {
      edges.stepOver(key);
      return;
    }
    event.preventDefault();
    if (key === 'Space') {
      // As on the desktop, Space shows the button pressed and clicks it on the release; a key
      // held down repeats its press but clicks once.
      spaceDownOn = target;
      target.classList.add('pressed');
      return;
    }
    if (key === 'Tab' || key === 'Shift+Tab') {
      tabTo(key);
      return;
    }
    // Enter held down clicks once, like Space; the arrows repeat.
    if (key !== 'Enter' || !event.repeat) {
      if (typeAt(target) === 'CommandButton') {
        view.announceAnswer();
      }
      session.act((w) => w.key(key));
    }
  });

  document.addEventListener('keyup', (event) => {
    if (event.key !== ' ' || !spaceDownOn) {
      return;
    }
    const pressed = spaceDownOn;
    spaceDownOn = null;
    pressed.classList.remove('pressed');
    event.preventDefault();
    if (session.accepting() && document.activeElement === pressed) {
      if (typeAt(pressed) === 'CommandButton') {
        view.announceAnswer();
      }
      session.act((w) => w.key('Space'));
    }
  });

  // A press into a field focuses it through the model, then lets the browser place the caret
  // (and open a digit keyboard on touch screens). A press on a button or option moves the focus
  // there at once, as on the desktop; its click follows only if the release is over it too.
  // Any other press keeps the focus where it is.
  windowElement.addEventListener('mousedown', (event) => {
    if (!session.accepting() || event.button !== 0) {
      return;
    }
    const name = view.nameOf(event.target);
    const type = view.typeOf(name);
    if (type === 'TextBox') {
      session.act((w) => w.focus(name));
      if (session.focusName() === name) {
        return;
      }
    } else if (type === 'OptionButton' || type === 'CommandButton') {
      session.act((w) => w.press(name));
    }
    event.preventDefault();
  });

  windowElement.addEventListener('click', (event) => {
    if (!session.accepting()) {
      event.preventDefault();
      return;
    }
    const item = event.target.closest('[data-menu]');
    if (item) {
      event.preventDefault();
      session.act((w) => w.menu(item.dataset.name));
      return;
    }
    const name = view.nameOf(event.target);
    const type = view.typeOf(name);
    if (type === 'CommandButton') {
      view.announceAnswer();
      session.act((w) => w.click(name));
    } else if (type === 'OptionButton') {
      // A click on the circle has already checked it, and cancelling it would undo what the model
      // drew. One on the rest of the box is not passed on as the label's: the browser passes it on
      // only while no text is selected, and a field entered by Tab has its text selected.
      const onCircle = event.target === view.elementOf(name);
      if (!onCircle) {
        event.preventDefault();
      }
      if (!session.act((w) => w.click(name)) && onCircle) {
        event.preventDefault();
      }
    }
  });

  // Focus that arrives some other way (assistive technology, the browser returning to the page)
  // is reported to the model, or handed back to the control the model has. Focus that arrives at
  // an edge by Tab moves the model's focus as its own Tab would wrap round, when it was left at
  // that end, and otherwise back to where it was.
  windowElement.addEventListener('focusin', (event) => {
    if (!session.accepting()) {
      return;
    }
    const entering = edges.entering(event.target);
    if (entering) {
      if (session.wrapsOn(entering)) {
        tabTo(entering);
      } else {
        session.refocus();
      }
      return;
    }
    const name = view.nameOf(event.target);
    if (!name || isMenu(event.target) || name === session.focusName()) {
      return;
    }
    const type = view.typeOf(name);
    if (type === 'TextBox' || type === 'CommandButton') {
      session.act((w) => w.focus(name));
    } else {
      session.refocus();
    }
  });

  // The field edits its text itself, typing included, so that its own undo (Ctrl+Z) knows every
  // change; the model is then given the new text, and cuts what is past the limit.
  windowElement.addEventListener('beforeinput', (event) => {
    if (typeAt(event.target) === 'TextBox' && event.inputType === 'insertFromDrop') {
      event.preventDefault();
    }
  });

  const edited = (event) => {
    const field = event.target;
    const name = view.nameOf(field);
    if (view.typeOf(name) === 'TextBox' && !event.isComposing) {
      session.act((w) => w.editText(name, field.value));
    }
  };
  windowElement.addEventListener('input', edited);
  windowElement.addEventListener('compositionend', edited);

  // A drop would write into a field without giving it the focus, skipping its clean-up.
  for (const type of ['dragover', 'drop']) {
    document.addEventListener(type, (event) => {
      event.preventDefault();
      if (event.dataTransfer) {
        event.dataTransfer.dropEffect = 'none';
      }
    });
  }
}
