// The 途中式 panel: the lines of the last calculation, each drawn in MathML as a pupil writes it
// with its step's name beside it, the choices くわしく (the details), 1行ずつ (one line at a time,
// with 次の行 and すべて表示) and 帯分数のまま, a button that copies the lines shown as plain text,
// one that folds the panel, and 答え合わせ: the pupil's own answer checked by the model.
// Its texts come from the definition; its frame is drawn into the page at build time.

const MATHML = 'http://www.w3.org/1998/Math/MathML';
const COPIED_FOR_MS = 2000;

// An element with its properties set.
const make = (tag, properties = {}) => Object.assign(document.createElement(tag), properties);

// A region that screen readers read out as its text changes.
function liveRegion(className) {
  const region = make('div', { className });
  region.setAttribute('aria-live', 'polite');
  return region;
}

function math(tag, ...children) {
  const element = document.createElementNS(MATHML, tag);
  element.append(...children);
  return element;
}

// A part of a number: "7", or a term of whole numbers as it stands, such as "1×2＋1" or
// "(3÷3)×(2÷2)", each sign and parenthesis its own token.
function partMath(part) {
  const tokens = part
    .split(/([×÷＋－()])/)
    .filter((token) => token)
    .map((token) => math(/^\d/.test(token) ? 'mn' : 'mo', token));
  return tokens.length === 1 ? tokens[0] : math('mrow', ...tokens);
}

// A piece of a line: "=", an operator, a whole part with its sign ("-1" is "-" and "1"), or a
// stacked fraction; a detail's (1×2＋1)/2 is a stacked row 1 × 2 ＋ 1 over 2.
function pieceMath(piece) {
  if (piece.denominator) {
    return [math('mfrac', partMath(piece.numerator), partMath(piece.denominator))];
  }
  const sign = piece.text.startsWith('-') ? [math('mo', '-')] : [];
  const rest = piece.text.slice(sign.length);
  return rest ? [...sign, partMath(rest)] : sign;
}

// A line of the working: the problem, a step with its name beside it, a detail set apart without
// one, or the sentence of a stop.
function lineRow(line) {
  const row = document.createElement('li');
  if (line.kind === 'stop') {
    row.className = 'stop';
    row.textContent = line.text;
    return row;
  }
  row.className = line.kind === 'detail' ? 'step detail' : 'step';
  // Screen readers read the words instead of the MathML and the name, which the words include.
  const words = make('span', { className: 'step-words', textContent: line.words });
  const expression = math('mrow', ...line.pieces.flatMap(pieceMath));
  const formula = math('math', expression);
  formula.setAttribute('class', 'step-math');
  formula.setAttribute('aria-hidden', 'true');
  row.append(words, formula);
  if (line.kind !== 'detail') {
    const name = make('span', { className: 'step-name', textContent: line.name });
    name.setAttribute('aria-hidden', 'true');
    row.append(name);
  }
  return row;
}

function button(className, text) {
  return make('button', { type: 'button', className, textContent: text });
}

function checkBox(id, text) {
  const label = make('label');
  label.append(make('input', { type: 'checkbox', id }), text);
  return label;
}

// 答え合わせ: the field 自分の答え, named for screen readers by what to type, its button, the
// message with its mark ○ or ×, and the region that reads the message out once. The field takes
// any text, so a phone offers a keyboard with "/" and a space.
function drawCheck(texts) {
  const part = make('div', { className: 'working-check' });
  const caption = make('label', { htmlFor: 'check-answer', textContent: texts.answerField });
  const field = make('input', { type: 'text', id: 'check-answer', autocomplete: 'off', spellcheck: false });
  field.setAttribute('aria-label', texts.answerFieldName);
  const press = button('check-button', texts.check);
  press.id = 'check-button';
  const message = make('p', { className: 'check-message', hidden: true });
  message.append(make('span', { className: 'check-mark' }), make('span'));
  part.append(caption, field, press, message, liveRegion('working-said check-said'));
  return part;
}

// The panel's frame with the definition's texts: the heading that folds it with the choices
// くわしく and 1行ずつ and the copy button beside it, the line shown before any calculation, an empty list
// of lines, the buttons that show more and the region that reads them out. Also run at build time.
export function drawPanel(panel, texts) {
  const head = make('div', { className: 'working-head' });
  const heading = make('h2', { className: 'working-heading' });
  const toggle = button('working-toggle', texts.heading);
  toggle.id = 'working-toggle';
  toggle.setAttribute('aria-expanded', 'true');
  toggle.setAttribute('aria-controls', 'working-body');
  heading.append(toggle);
  const copy = button('working-copy', texts.copy);
  copy.hidden = true;
  const options = make('div', { className: 'working-options' });
  options.append(
    checkBox('working-details', texts.details),
    checkBox('working-one-line', texts.oneLine),
    checkBox('working-keep-mixed', texts.keepMixed),
  );
  head.append(heading, options, copy);
  const body = make('div', { id: 'working-body', className: 'working-body' });
  const empty = make('p', { className: 'working-empty', textContent: texts.empty });
  const steps = make('ol', { className: 'working-steps' });
  const more = make('div', { className: 'working-more', hidden: true });
  more.append(button('working-next', texts.next), button('working-all', texts.all));
  // Lines shown by 次の行 and すべて表示 are read out here; a calculation's own lines are not, as
  // the answer's region reads its answer.
  body.append(empty, steps, more, liveRegion('working-said'), drawCheck(texts));
  panel.setAttribute('aria-label', texts.heading);
  panel.append(head, body);
}

// Puts `text` on the clipboard: through the Clipboard API, or where the browser refuses it (no
// secure context, no permission) by copying a selected, unseen text area.
async function copyText(text) {
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch {
    const area = document.createElement('textarea');
    area.className = 'copy-source';
    area.value = text;
    area.setAttribute('readonly', '');
    document.body.append(area);
    // The copy takes the focused selection; the focus then goes back to the button.
    const focused = document.activeElement;
    area.focus();
    area.select();
    let done = false;
    try {
      done = document.execCommand('copy');
    } catch {
      done = false;
    }
    area.remove();
    focused?.focus();
    return done;
  }
}

// Takes over the panel drawn in the page, with the module's `view` of the working, which keeps the
// choices for the page's life. `follow(window)` draws the working of the window's last
// calculation; drawing the same lines again leaves the panel as it is. `hideAnswer(on)` is told
// whether the model wants the answer area drawn empty.
export function attachPanel(panel, texts, view, hideAnswer) {
  const find = (className) => panel.querySelector(`.${className}`);
  const toggle = find('working-toggle');
  const empty = find('working-empty');
  const steps = find('working-steps');
  const copy = find('working-copy');
  const details = panel.querySelector('#working-details');
  const oneLine = panel.querySelector('#working-one-line');
  const keepMixed = panel.querySelector('#working-keep-mixed');
  const more = find('working-more');
  const said = find('working-said');
  const field = panel.querySelector('#check-answer');
  const message = find('check-message');
  const checkSaid = find('check-said');
  let shown = { text: '', more: false };
  let copiedTimer = 0;
  let current = null;

  // The model's message with its mark; what it says to read out is read once.
  const drawCheck = (check) => {
    message.firstChild.textContent = check.mark;
    message.lastChild.textContent = check.message;
    message.hidden = !check.message;
    message.classList.toggle('right', check.right);
    if (check.said || (!check.message && checkSaid.textContent)) {
      checkSaid.replaceChildren(check.said);
    }
  };

  const draw = (state) => {
    // While the window's inputs differ from what the working was worked out from, it is dimmed and
    // the region says it holds the previous calculation's working.
    panel.classList.toggle('stale', state.stale);
    if (state.description) {
      panel.setAttribute('aria-description', state.description);
    } else {
      panel.removeAttribute('aria-description');
    }
    details.checked = state.details;
    oneLine.checked = state.oneLine;
    keepMixed.checked = state.keepMixed;
    hideAnswer(state.hidesAnswer);
    drawCheck(state.check);
    if (state.text === shown.text && state.more === shown.more) {
      return;
    }
    const moreFocused = more.contains(document.activeElement);
    shown = state;
    steps.replaceChildren(...state.lines.map(lineRow));
    empty.hidden = state.lines.length > 0;
    copy.hidden = state.lines.length === 0;
    more.hidden = !state.more;
    clearTimeout(copiedTimer);
    copy.textContent = texts.copy;
    // The model marks the lines 次の行 and すべて表示 revealed just now: only they are read out, once.
    const revealed = state.lines.filter((line) => line.appeared);
    said.textContent = revealed.map((line) => line.readOut).join('\n');
    if (revealed.length > 0) {
      // The newest line in view, by scrolling the list alone: the page never moves.
      steps.scrollTop = steps.scrollHeight;
    }
    // With the last line shown, the focus goes on to コピー, where a next Space does no harm.
    if (moreFocused && !state.more) {
      copy.focus();
    }
  };

  toggle.addEventListener('click', () => {
    const open = toggle.getAttribute('aria-expanded') !== 'true';
    toggle.setAttribute('aria-expanded', String(open));
    panel.classList.toggle('folded', !open);
    // Folded, the working is off screen: the answer area shows the answer again.
    draw(view.setOpen(open));
  });

  copy.addEventListener('click', async () => {
    if (await copyText(shown.text)) {
      copy.textContent = texts.copied;
      clearTimeout(copiedTimer);
      copiedTimer = setTimeout(() => (copy.textContent = texts.copy), COPIED_FOR_MS);
    }
  });

  details.addEventListener('change', () => draw(view.setDetails(details.checked)));
  oneLine.addEventListener('change', () => draw(view.setOneLineAtATime(oneLine.checked)));
  keepMixed.addEventListener('change', () => draw(view.setKeepMixed(keepMixed.checked)));
  find('working-next').addEventListener('click', () => draw(view.showNextLine()));
  find('working-all').addEventListener('click', () => draw(view.showAll()));
  field.addEventListener('input', () => draw(view.setAnswer(field.value)));
  const check = () => current && draw(view.check(current));
  find('check-button').addEventListener('click', check);
  field.addEventListener('keydown', (event) => {
    // Not the Enter that ends a word of the input method.
    if (event.key === 'Enter' && !event.isComposing) {
      event.preventDefault();
      check();
    }
  });

  // Choices made in the page before the module was ready.
  if (details.checked) {
    view.setDetails(true);
  }
  if (oneLine.checked) {
    view.setOneLineAtATime(true);
  }
  if (keepMixed.checked) {
    view.setKeepMixed(true);
  }
  // The answer typed before: the field keeps it.
  if (field.value) {
    view.setAnswer(field.value);
  }

  return {
    follow(window) {
      current = window;
      draw(view.follow(window));
    },
    get text() {
      return shown.text;
    },
  };
}
