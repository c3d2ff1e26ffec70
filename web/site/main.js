// Starts Tavolen: one model window, drawn by render.js, fed by input.js, with its message
// boxes played back by msgbox.js. Exit replaces the window with a notice that can start it anew.
import { loadModule } from './load.js';
import { buildWindow } from './render.js';
import { routeInput } from './input.js';
import { createMessageBoxes } from './msgbox.js';
import { fitToViewport } from './fit.js';
import { keepForOffline } from './offline.js';

function element(id) {
  return document.getElementById(id);
}

async function start() {
  const loaded = await loadModule();
  if (!loaded.module) {
    element(loaded.failure === 'no-wasm' ? 'too-old' : 'load-failed').hidden = false;
    return;
  }
  const { module } = loaded;
  const windowElement = element('window');
  const ended = element('ended');
  const view = buildWindow(windowElement, module.definition());
  const boxes = createMessageBoxes(element('msgbox'));
  let model = new module.Window();

  const show = (state) => view.render(state);
  const refocus = () => view.elementOf(model.snapshot().focus)?.focus();

  const finish = () => {
    const state = model.snapshot();
    if (state.unloaded) {
      windowElement.hidden = true;
      ended.hidden = false;
      element('restart').focus();
      return;
    }
    show(state);
    refocus();
  };

  // After every event: the message boxes it raised, in order, then the window as it is now.
  const settle = () => {
    const raised = model.takeMessageBoxes();
    if (raised.length > 0) {
      boxes.play(raised, show, finish);
    } else {
      finish();
    }
  };

  const session = {
    accepting: () => !boxes.isOpen && !windowElement.hidden,
    focusName: () => model.snapshot().focus,
    wrapsOn: (key) => model.wrapsOn(key),
    refocus,
    act(action) {
      if (!session.accepting()) {
        return false;
      }
      const done = action(model);
      settle();
      return done;
    },
  };

  routeInput(windowElement, view, session);

  element('restart').addEventListener('click', () => {
    model.delete();
    model = new module.Window();
    ended.hidden = true;
    windowElement.hidden = false;
    settle();
  });

  // Closing the tab is the window system's close request.
  window.addEventListener('pagehide', () => {
    if (!windowElement.hidden && model.close()) {
      settle();
    }
  });

  windowElement.hidden = false;
  fitToViewport(element('stage'), element('scaled'), view.refit);
  settle();
}

start().finally(keepForOffline);
