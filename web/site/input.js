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

export function routeInput(windowElement, view, session) {
  const typeAt = (element) => view.typeOf(view.nameOf(element));
  const inWindow = (element) => windowElement.contains(element) && element !== windowElement;
  const menuKey = routeMenu(windowElement, session);
  let spaceDownOn = null;

  document.addEventListener('keydown', (event) => {
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
    if (!key) {
      return;
    }
    if (!inWindow(target)) {
      // The page had the focus elsewhere: the first key brings it back to the window.
      if (key === 'Tab' || key === 'Shift+Tab') {
        event.preventDefault();
        session.refocus();
      }
      return;
    }
    // In an entry field the arrows move the caret and Space is typed, as the browser does.
    if (typeAt(target) === 'TextBox' && !['Tab', 'Shift+Tab', 'Enter'].includes(key)) {
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
    // Enter held down clicks once, like Space; Tab and the arrows repeat.
    if (key !== 'Enter' || !event.repeat) {
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
    if (type === 'OptionButton' || type === 'CommandButton') {
      // The model chooses the option; the browser must not check it on its own.
      event.preventDefault();
      session.act((w) => w.click(name));
    }
  });

  // Focus that arrives some other way (assistive technology, the browser returning to the page)
  // is reported to the model, or handed back to the control the model has.
  windowElement.addEventListener('focusin', (event) => {
    const name = view.nameOf(event.target);
    if (!session.accepting() || !name || isMenu(event.target) || name === session.focusName()) {
      return;
    }
    const type = view.typeOf(name);
    if (type === 'TextBox' || type === 'CommandButton') {
      session.act((w) => w.focus(name));
    } else {
      session.refocus();
    }
  });

  // Typing at the end of a field is the model's Type, which refuses characters past the limit.
  // Other edits (in the middle, deletions, pastes) are left to the field, whose maxlength cuts
  // a paste, and then given to the model as the field's new text.
  windowElement.addEventListener('beforeinput', (event) => {
    const field = event.target;
    if (typeAt(field) !== 'TextBox') {
      return;
    }
    if (event.inputType === 'insertFromDrop') {
      event.preventDefault();
      return;
    }
    const end = field.value.length;
    const atEnd = field.selectionStart === end && field.selectionEnd === end;
    if (event.inputType === 'insertText' && event.data && atEnd && !event.isComposing) {
      event.preventDefault();
      session.act((w) => w.type(event.data));
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
