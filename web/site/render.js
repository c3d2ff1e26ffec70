// Builds the window's elements from the module's definition and shows a snapshot of the model.
// The layout lives in the definition (twips); this file only turns it into elements.

import { answerFitter, fieldFitter, fitCaption, lineBox, px } from './fitting.js?@BUILD@';

const ALIGN = { left: 'left', centre: 'center', right: 'right' };

// A control's value in a snapshot: the definition names the member that holds it and, for a member
// of a control array, its index there (an option group holds the index of its chosen button).
function valueOf(state, view) {
  const value = state[view.key];
  return view.index >= 0 && Array.isArray(value) ? value[view.index] : value;
}

function place(element, def, origin = { left: 0, top: 0 }) {
  element.style.left = px(def.left - origin.left);
  element.style.top = px(def.top - origin.top);
  element.style.width = px(def.width);
  element.style.height = px(def.height);
}

function applyFont(element, font) {
  element.classList.add(`face-${font.face || 'default'}`);
  if (font.pixels) {
    element.style.fontSize = `${font.pixels}px`;
  }
  element.style.fontWeight = font.bold ? '700' : '400';
}

function applyLooks(element, def) {
  applyFont(element, def.font);
  if (def.align) {
    element.style.textAlign = ALIGN[def.align];
  }
  if (def.colour) {
    element.style.color = def.colour;
  }
}

// An element with its properties set.
const make = (tag, properties = {}) => Object.assign(document.createElement(tag), properties);

function makeFrame(def) {
  const frame = make('fieldset', { className: 'frame' });
  frame.setAttribute('role', 'radiogroup');
  frame.setAttribute('aria-label', def.accessibleName || def.caption);
  frame.append(make('legend', { textContent: def.caption }));
  applyLooks(frame, def);
  return { outer: frame, focusable: null };
}

// The whole box of an option is its label, so that a click or tap anywhere in it reaches the
// button, and the button's accessible area is the box.
function makeOption(def) {
  const outer = make('label', { className: 'option' });
  const input = make('input', { type: 'radio', name: def.container, tabIndex: -1 });
  input.setAttribute('aria-label', def.accessibleName);
  outer.append(input, make('span', { className: 'caption', textContent: def.caption }));
  applyLooks(outer, def);
  return { outer, focusable: input };
}

function makeField(def) {
  const input = make('input', {
    type: 'text',
    className: 'field',
    inputMode: 'numeric',
    autocomplete: 'off',
    spellcheck: false,
    tabIndex: -1,
  });
  input.setAttribute('autocapitalize', 'off');
  input.setAttribute('aria-label', def.accessibleName);
  if (def.maxLength > 0) {
    input.maxLength = def.maxLength;
  }
  input.value = def.caption;
  applyLooks(input, def);
  // A text that fits at 1:1 can come out wider than its field at another scale: it is then drawn
  // smaller, measured as drawn by a hidden copy beside the field.
  const ruler = make('span', { className: 'ruler' });
  ruler.setAttribute('aria-hidden', 'true');
  applyFont(ruler, def.font);
  return { outer: input, focusable: input, beside: ruler };
}

function makeButton(def) {
  const button = make('button', { type: 'button', className: 'command', tabIndex: -1, textContent: def.caption });
  if (def.accessibleName && def.accessibleName !== def.caption) {
    button.setAttribute('aria-label', def.accessibleName);
  }
  applyLooks(button, def);
  return { outer: button, focusable: button };
}

function makeLabel(def) {
  const label = make('div', { className: 'label' });
  label.append(make('span', { className: 'caption', textContent: def.caption }));
  applyLooks(label, def);
  return { outer: label, focusable: null };
}

const MAKERS = {
  Frame: makeFrame,
  OptionButton: makeOption,
  TextBox: makeField,
  CommandButton: makeButton,
  Label: makeLabel,
};

function makeAnswerArea(def) {
  const area = make('div', { className: 'answer' });
  // The labels and the bar of the answer, as the model draws them in every front end, in twips.
  const box = def.answerArea;
  place(area, box);
  const shown = make('div');
  shown.setAttribute('aria-hidden', 'true');
  const words = make('output', { className: 'answer-words' });
  words.setAttribute('aria-live', 'polite');
  words.setAttribute('aria-label', def.answerAreaName);
  area.append(shown, words);
  return { area, shown, words, origin: box };
}

// Creates the window's elements. The page as delivered already carries them, drawn by this same
// code when the site was built; a window without them is drawn here.
function drawWindow(client, menubar, def) {
  client.style.width = px(def.clientWidth);
  client.style.height = px(def.clientHeight);

  const outers = new Map();
  const answer = makeAnswerArea(def);

  for (const control of def.controls) {
    const made = MAKERS[control.type](control);
    made.outer.dataset.name = control.name;
    if (made.focusable) {
      made.focusable.dataset.name = control.name;
    }
    place(made.outer, control, control.inAnswerArea ? answer.origin : undefined);
    const parent = control.container ? outers.get(control.container) : control.inAnswerArea ? answer.shown : client;
    parent.append(made.outer, ...(made.beside ? [made.beside] : []));
    outers.set(control.name, made.outer);
  }
  for (const line of def.lines) {
    const box = lineBox(line);
    const bar = make('div', { className: 'line' });
    // A border, not a filled box: forced colours and printing without backgrounds keep borders.
    bar.style.borderWidth = box.width >= box.height ? '1px 0 0' : '0 0 0 1px';
    bar.dataset.name = line.name;
    place(bar, box, line.inAnswerArea ? answer.origin : undefined);
    (line.inAnswerArea ? answer.shown : client).append(bar);
  }
  client.append(answer.area);

  for (const menu of def.menus) {
    const item = make('button', { type: 'button', className: 'menu' });
    item.setAttribute('role', 'menuitem');
    item.tabIndex = -1;
    item.dataset.name = menu.name;
    item.dataset.menu = '';
    item.textContent = menu.caption;
    menubar.append(item);
  }
}

// Finds each control's elements by name: the outer element is the first of its name, the one that
// takes the focus is the option's circle or the control itself.
function findViews(client, def) {
  const outers = new Map();
  for (const element of client.querySelectorAll('[data-name]')) {
    if (!outers.has(element.dataset.name)) {
      outers.set(element.dataset.name, element);
    }
  }
  const views = new Map();
  for (const control of def.controls) {
    const outer = outers.get(control.name);
    const view = { outer, focusable: null, type: control.type, key: control.key, index: control.index, inAnswerArea: control.inAnswerArea };
    if (control.type === 'OptionButton') {
      view.focusable = outer.querySelector('input');
    } else if (control.type === 'TextBox') {
      view.focusable = outer;
      view.fit = fieldFitter(outer, outer.nextElementSibling, control);
    } else if (control.type === 'CommandButton') {
      view.focusable = outer;
    } else if (control.type === 'Label') {
      // A caption as the definition gives it is drawn as it is, as it always has been; one that the
      // model wrote is fitted, and fitted again at each scale.
      let written = false;
      view.fit = (again, largest) => written && fitCaption(outer, outer.firstElementChild, control, largest);
      view.show = (text) => {
        outer.firstElementChild.textContent = text;
        written = true;
        view.fit();
      };
    }
    views.set(control.name, view);
  }
  // A line is never a member of an array: its name is its member in a snapshot.
  for (const line of def.lines) {
    views.set(line.name, { outer: outers.get(line.name), focusable: null, type: 'Line', key: line.name, index: -1 });
  }
  return views;
}

export function buildWindow(windowElement, def) {
  const client = windowElement.querySelector('.client');
  if (!client.firstElementChild) {
    drawWindow(client, windowElement.querySelector('.menubar'), def);
  }
  const views = findViews(client, def);
  const area = client.querySelector('.answer');
  const words = client.querySelector('output');
  const fitAnswer = answerFitter(views, def, def.answerArea);

  // A second 計算 with the same answer changes no text; the words are written anew all the same,
  // so that a screen reader says them again.
  let announce = false;
  // While the model hides the answer (1行ずつ with lines still to come), the area is drawn empty and
  // says that the answer follows the working; the labels keep it.
  let hidden = false;
  let answerWords = '';
  const writeWords = (again) => {
    const text = hidden ? def.working.answerAfterWorking : answerWords;
    if (words.textContent !== text || (again && text)) {
      words.replaceChildren(text);
    }
  };

  function render(state) {
    let answered = false;
    for (const [name, view] of views) {
      const value = valueOf(state, view);
      if (view.type === 'TextBox' && typeof value === 'string') {
        if (view.outer.value !== value) {
          view.outer.value = value;
        }
        view.fit();
      } else if (view.type === 'Label' && typeof value === 'string' && view.outer.textContent !== value) {
        view.show(value);
        answered ||= view.inAnswerArea;
      } else if (view.type === 'OptionButton') {
        view.focusable.checked = value === view.index;
      } else if (view.type === 'Line' && typeof value === 'boolean') {
        view.outer.hidden = !value;
      }
    }
    if (answered) {
      fitAnswer();
    }
    answerWords = state.answerWords;
    writeWords(announce && state.answerWords);
    announce = false;
    // Once an input differs from what the answer was worked out from, it is drawn dimmed and said
    // to be the previous calculation's; the labels keep their numbers.
    area.classList.toggle('stale', state.stale);
    if (state.stale) {
      words.setAttribute('aria-description', def.previousAnswer);
    } else {
      words.removeAttribute('aria-description');
    }
  }

  return {
    render,
    hideAnswer(on) {
      if (on !== hidden) {
        hidden = on;
        area.classList.toggle('hidden', on);
        writeWords(false);
      }
    },
    // Measures every caption again, as after a change of scale.
    refit() {
      for (const view of views.values()) {
        view.fit?.(true);
      }
      fitAnswer();
    },
    // The next drawing reads the answer out even if it is unchanged (a button was pressed).
    announceAnswer() {
      announce = true;
    },
    // The element that takes the keyboard focus for a control name, if any.
    elementOf: (name) => views.get(name)?.focusable ?? null,
    typeOf: (name) => views.get(name)?.type ?? null,
    nameOf: (element) => element?.closest?.('[data-name]')?.dataset.name ?? null,
  };
}
