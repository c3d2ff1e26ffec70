// Starts Tavolen: one model window, drawn by render.js, fed by input.js, with its message
// boxes played back by msgbox.js. Exit replaces the window with a notice that can start it anew.
import { loadModule } from './load.js';
import { buildWindow } from './render.js';
import { routeInput } from './input.js';
import { createMessageBoxes } from './msgbox.js';
import { keepForOffline } from './offline.js';
import { attachPanel } from './working.js';

function element(id) {
  return document.getElementById(id);
}

// The window is in the page before the module is ready, so a user may already have typed into its
// fields or chosen an option; the elements' defaults still hold the first frame. The model is told
// as if it had seen the input: each newly checked option clicked, each changed field entered and
// edited, the field with the focus last.
function adoptEarlyInput(model, view, def) {
  const focused = view.nameOf(document.activeElement);
  const named = (type) => def.controls.filter((c) => c.type === type).map((c) => c.name);
  for (const name of named('OptionButton')) {
    const input = view.elementOf(name);
    if (input.checked && !input.defaultChecked) {
      model.click(name);
    }
  }
  const changed = (name) => view.elementOf(name).value !== view.elementOf(name).defaultValue;
  const fields = named('TextBox');
  for (const name of [...fields.filter((n) => n !== focused && changed(n)), ...fields.filter((n) => n === focused)]) {
    model.focus(name);
    model.editText(name, view.elementOf(name).value);
  }
  if (view.typeOf(focused) === 'CommandButton') {
    model.focus(focused);
  }
}

async function start() {
  // Tells the page's older script that the module runs.
  document.documentElement.dataset.module = '';
  const windowElement = element('window');
  const working = element('working');
  const loaded = await loadModule();
  if (!loaded.module) {
    windowElement.hidden = true;
    working.hidden = true;
    element(loaded.failure === 'no-wasm' ? 'too-old' : 'load-failed').hidden = false;
    return;
  }
  const { module } = loaded;
  const ended = element('ended');
  const def = module.definition();
  const view = buildWindow(windowElement, def);
  const boxes = createMessageBoxes(element('msgbox'));
  // The panel outlives each window: its choices hold across 終了 and a new start.
  const panel = attachPanel(working, def.working, new module.Panel());
  let model = new module.Window();
  adoptEarlyInput(model, view, def);

  const show = (state) => {
    view.render(state);
    panel.follow(model);
  };
  const refocus = () => view.elementOf(model.snapshot().focus)?.focus();

  const finish = () => {
    const state = model.snapshot();
    if (state.unloaded) {
      windowElement.hidden = true;
      working.hidden = true;
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
    working.hidden = false;
    settle();
  });

  // Closing the tab is the window system's close request. A page the browser keeps for Back and
  // Forward is not closed: it comes back as it was.
  window.addEventListener('pagehide', (event) => {
    if (!event.persisted && !windowElement.hidden && model.close()) {
      settle();
    }
  });

  element('scaled').addEventListener('rescale', view.refit);
  windowElement.querySelector('[autofocus]')?.removeAttribute('autofocus');
  windowElement.removeAttribute('aria-busy');
  settle();
}

start().finally(keepForOffline);
