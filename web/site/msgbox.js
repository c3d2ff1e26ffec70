// Plays back the message boxes a handler raised. A handler cannot wait for the user in a
// browser, so each box comes with the window as it stood when the box opened; the boxes are
// shown in order, each in front of its own picture of the window.

// The icon bits of a message box style.
const ICONS = { 16: 'critical', 64: 'information' };

// A browser without modal dialogs (Safari before 15.4) shows the box as a panel in front of the
// page, which takes no press, click or focus while the box is open; the box keeps the focus.
function modalFallback(dialog, ok, cancel) {
  const outside = (event) => dialog.hasAttribute('open') && !dialog.contains(event.target);
  const refuse = (event) => {
    if (outside(event)) {
      event.preventDefault();
      event.stopPropagation();
    }
  };
  for (const type of ['mousedown', 'click']) {
    document.addEventListener(type, refuse, true);
  }
  document.addEventListener('focusin', (event) => outside(event) && ok.focus(), true);
  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      event.preventDefault();
      cancel();
    }
  });
  return {
    show() {
      dialog.classList.add('modal-fallback');
      dialog.setAttribute('aria-modal', 'true');
      dialog.setAttribute('open', '');
    },
    close() {
      dialog.removeAttribute('open');
    },
  };
}

// CSS pixels kept free between a box and the edges of the viewport.
const MARGIN = 8;

// Draws the box at the window's scale, centred on the window; where that would not fit the
// viewport, its lines are wrapped to the viewport's width and it is made smaller to its height,
// and moved into it. Zoom scales its text, icon, button and borders alike.
function placeOver(dialog, windowElement) {
  const page = document.documentElement;
  const room = { width: page.clientWidth - 2 * MARGIN, height: page.clientHeight - 2 * MARGIN };
  const scale = parseFloat(getComputedStyle(page).getPropertyValue('--scale')) || 1;
  dialog.style.zoom = '1';
  dialog.style.left = '0px';
  dialog.style.top = '0px';
  dialog.style.maxWidth = `${room.width / scale}px`;
  const natural = dialog.getBoundingClientRect();
  const zoom = Math.min(scale, room.width / natural.width, room.height / natural.height);
  dialog.style.zoom = String(zoom);
  // Measured again: its text is laid out anew at that scale.
  const drawn = dialog.getBoundingClientRect();
  const over = windowElement.getBoundingClientRect();
  const start = (centre, size, space) => Math.max(MARGIN, Math.min(centre - size / 2, MARGIN + space - size));
  const left = start(over.left + over.width / 2, drawn.width, room.width);
  const top = start(over.top + over.height / 2, drawn.height, room.height);
  // The box's own offsets are zoomed with it.
  dialog.style.left = `${left / zoom}px`;
  dialog.style.top = `${top / zoom}px`;
}

function nativeModal(dialog) {
  return {
    show: () => dialog.showModal(),
    close() {
      if (dialog.open) {
        dialog.close();
      }
    },
  };
}

export function createMessageBoxes(dialog, windowElement) {
  const title = dialog.querySelector('.msgbox-title');
  const prompt = dialog.querySelector('.msgbox-prompt');
  const icon = dialog.querySelector('.msgbox-icon');
  const ok = dialog.querySelector('.msgbox-ok');
  let queue = [];
  let showWindow = null;
  let done = null;
  const modal = typeof dialog.showModal === 'function' ? nativeModal(dialog) : modalFallback(dialog, ok, () => advance());

  function present(box) {
    showWindow(box.window);
    title.textContent = box.title;
    // The prompt's line breaks are single carriage returns.
    prompt.textContent = box.prompt.replaceAll('\r', '\n');
    icon.dataset.icon = ICONS[box.style & 0x70] ?? '';
    modal.show();
    placeOver(dialog, windowElement);
    ok.focus();
  }

  // Closes the box on screen and opens the next, or, after the last, hands back to the window.
  // Each box is a dialog of its own, so that a screen reader announces it.
  function advance() {
    modal.close();
    const box = queue.shift();
    if (box) {
      present(box);
      return;
    }
    const finish = done;
    done = null;
    finish?.();
  }

  ok.addEventListener('click', advance);
  // The window is fitted to the viewport again first (a turned phone, browser zoom).
  window.addEventListener('resize', () => dialog.hasAttribute('open') && placeOver(dialog, windowElement));
  dialog.addEventListener('cancel', (event) => {
    if (event.cancelable) {
      event.preventDefault();
      advance();
    }
  });
  // Closed by the browser itself (an Escape it would not let the page refuse).
  dialog.addEventListener('close', () => {
    if (!dialog.open && done !== null) {
      advance();
    }
  });
  // One button only: the focus stays on it, whatever is pressed or clicked.
  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'Tab') {
      event.preventDefault();
      ok.focus();
    }
  });
  dialog.addEventListener('mousedown', (event) => {
    if (event.target !== ok) {
      event.preventDefault();
    }
  });

  return {
    get isOpen() {
      return done !== null;
    },
    // Shows boxes one after another; `show(state)` draws the window behind each, and
    // `finish()` runs once the last one is closed.
    play(boxes, show, finish) {
      queue = [...boxes];
      showWindow = show;
      done = finish;
      advance();
    },
  };
}
