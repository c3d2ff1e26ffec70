// Starts Tavolen: one model window, drawn by render.js, fed by input.js, with its message
// boxes played back by msgbox.js. Exit replaces the window with a notice that can start it anew.
import { loadModule } from './load.js?@BUILD@';
import { announceNewRelease, checkBuild, keepForOffline } from './release.js?@BUILD@';
import { buildWindow } from './render.js?@BUILD@';
import { showCaptionTips } from './tips.js?@BUILD@';
import { routeInput } from './input.js?@BUILD@';
import { createMessageBoxes } from './msgbox.js?@BUILD@';
import { attachPanel } from './working.js?@BUILD@';

function element(id) {
  return document.getElementById(id);
}

// The window is in the page before the module is ready, so a user may already have used it: what
// the page kept of that (early.js) is performed, in order, as the model would have seen it, each
// step drawn as it is done. Once a step has opened a message box, the steps after it are dropped,
// as the box would have taken that input.
function performEarlyInput(session, view, early) {
  const PERFORM = {
    // An option takes the focus by being chosen.
    focus: (w, { name }) => ['TextBox', 'CommandButton'].includes(view.typeOf(name)) && w.focus(name),
    edit: (w, { name, value }) => {
      w.focus(name);
      return w.editText(name, value);
    },
    choose: (w, { name }) => w.click(name),
    click(w, { name }) {
      view.announceAnswer();
      return w.click(name);
    },
    menu: (w, { name }) => w.menu(name),
    key: (w, { key }) => w.key(key),
    type: (w, { text }) => w.type(text),
    erase: (w) => w.erase(),
  };
  for (const step of early) {
    if (step.type === 'press') {
      document.getElementById(step.id)?.click();
    } else {
      session.act((w) => PERFORM[step.type](w, step));
    }
  }
}

async function start() {
  // Tells the page's older script that the module runs.
  document.documentElement.dataset.module = '';
  const windowElement = element('window');
  const working = element('working');
  announceNewRelease(element('new-release'));
  const build = checkBuild();
  if (build === 'reloading') {
    return build;
  }
  const loaded = build === 'whole' ? await loadModule() : { failure: 'mixed' };
  if (!loaded.module) {
    windowElement.hidden = true;
    working.hidden = true;
    element(loaded.failure === 'no-wasm' ? 'too-old' : 'load-failed').hidden = false;
    return;
  }
  const { module } = loaded;
  const ended = element('ended');
  const def = JSON.parse(element('definition').textContent);
  const view = buildWindow(windowElement, def);
  const boxes = createMessageBoxes(element('msgbox'), windowElement);
  // The panel outlives each window: its choices hold across 終了 and a new start.
  const panel = attachPanel(working, def.working, new module.Panel(), view.hideAnswer);
  let model = new module.Window();

  const show = (snapshot) => {
    view.render(snapshot);
    panel.follow(model);
  };
  // The window as the last event left it: the model changes only through an event, and each event
  // ends in settle(), which reads it once.
  let state = null;
  const refocus = () => view.elementOf(state.focus)?.focus();

  const finish = () => {
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
    state = model.snapshot();
    if (raised.length > 0) {
      boxes.play(raised, show, finish);
    } else {
      finish();
    }
  };

  const session = {
    accepting: () => !boxes.isOpen && !windowElement.hidden,
    focusName: () => state.focus,
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
  showCaptionTips();
  windowElement.querySelector('[autofocus]')?.removeAttribute('autofocus');
  windowElement.removeAttribute('aria-busy');
  settle();
  performEarlyInput(session, view, document.documentElement.earlyInput?.splice(0) ?? []);
}

// A page about to load itself again leaves the worker to the page that follows: registered now,
// it could keep the files of the build it is leaving and answer the next load with them.
start().then((outcome) => outcome !== 'reloading' && keepForOffline(), keepForOffline);
