// Plays back the message boxes a handler raised. A handler cannot wait for the user in a
// browser, so each box comes with the window as it stood when the box opened; the boxes are
// shown in order, each in front of its own picture of the window.

// The icon bits of a message box style.
const ICONS = { 16: 'critical', 32: 'question', 48: 'exclamation', 64: 'information' };

export function createMessageBoxes(dialog) {
  const title = dialog.querySelector('.msgbox-title');
  const prompt = dialog.querySelector('.msgbox-prompt');
  const icon = dialog.querySelector('.msgbox-icon');
  const ok = dialog.querySelector('.msgbox-ok');
  let queue = [];
  let showWindow = null;
  let done = null;

  function showNext() {
    const box = queue.shift();
    if (!box) {
      const finish = done;
      done = null;
      finish?.();
      return;
    }
    showWindow(box.window);
    title.textContent = box.title;
    // The prompt's line breaks are single carriage returns.
    prompt.textContent = box.prompt.replaceAll('\r', '\n');
    icon.dataset.icon = ICONS[box.style & 0x70] ?? '';
    dialog.showModal();
    ok.focus();
  }

  ok.addEventListener('click', () => dialog.close());
  dialog.addEventListener('close', showNext);
  dialog.addEventListener('keydown', (event) => {
    // One button only: the focus stays on it.
    if (event.key === 'Tab') {
      event.preventDefault();
      ok.focus();
    }
  });

  return {
    get isOpen() {
      return dialog.open || done !== null;
    },
    // Shows boxes one after another; `show(state)` draws the window behind each, and
    // `finish()` runs once the last one is closed.
    play(boxes, show, finish) {
      queue = [...boxes];
      showWindow = show;
      done = finish;
      showNext();
    },
  };
}
