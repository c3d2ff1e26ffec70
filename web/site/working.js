// The 途中式 panel: the steps of the last calculation, each drawn in MathML as a pupil writes it
// with its name beside it, a button that copies them as plain text and one that folds the panel.
// Its texts come from the definition; its frame is drawn into the page at build time.

const MATHML = 'http://www.w3.org/1998/Math/MathML';
const COPIED_FOR_MS = 2000;

function math(tag, ...children) {
  const element = document.createElementNS(MATHML, tag);
  element.append(...children);
  return element;
}

// A number as its whole part and fraction: -1 1/6 is "-", "1" and a stacked 1 over 6.
function numberMath(number) {
  const parts = [];
  if (number.negative) {
    parts.push(math('mo', '-'));
  }
  if (number.whole) {
    parts.push(math('mn', number.whole));
  }
  if (number.denominator) {
    parts.push(math('mfrac', math('mn', number.numerator), math('mn', number.denominator)));
  }
  return parts;
}

function stepRow(step, first) {
  const row = document.createElement('li');
  row.className = 'step';
  // Screen readers read the words instead of the MathML and the name, which the words include.
  const words = document.createElement('span');
  words.className = 'step-words';
  words.textContent = step.words;
  const expression = math('mrow');
  if (!first) {
    expression.append(math('mo', '='));
  }
  expression.append(...numberMath(step.left));
  if (step.op) {
    expression.append(math('mo', step.op), ...numberMath(step.right));
  }
  const formula = math('math', expression);
  formula.setAttribute('class', 'step-math');
  formula.setAttribute('aria-hidden', 'true');
  const name = document.createElement('span');
  name.className = 'step-name';
  name.setAttribute('aria-hidden', 'true');
  name.textContent = step.name;
  row.append(words, formula, name);
  return row;
}

// The panel's frame with the definition's texts: the heading that folds it and the copy button
// beside it, the line shown before any calculation and an empty list of steps. Also run at build
// time.
export function drawPanel(panel, texts) {
  const head = document.createElement('div');
  head.className = 'working-head';
  const heading = document.createElement('h2');
  heading.className = 'working-heading';
  const toggle = document.createElement('button');
  toggle.type = 'button';
  toggle.id = 'working-toggle';
  toggle.className = 'working-toggle';
  toggle.setAttribute('aria-expanded', 'true');
  toggle.setAttribute('aria-controls', 'working-body');
  toggle.textContent = texts.heading;
  heading.append(toggle);
  const copy = document.createElement('button');
  copy.type = 'button';
  copy.className = 'working-copy';
  copy.textContent = texts.copy;
  copy.hidden = true;
  head.append(heading, copy);
  const body = document.createElement('div');
  body.id = 'working-body';
  body.className = 'working-body';
  const empty = document.createElement('p');
  empty.className = 'working-empty';
  empty.textContent = texts.empty;
  const steps = document.createElement('ol');
  steps.className = 'working-steps';
  body.append(empty, steps);
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

// Takes over the panel drawn in the page. `show(working)` draws the working of the window's last
// calculation; drawing the same working again leaves the panel as it is.
export function attachPanel(panel, texts) {
  const toggle = panel.querySelector('.working-toggle');
  const empty = panel.querySelector('.working-empty');
  const steps = panel.querySelector('.working-steps');
  const copy = panel.querySelector('.working-copy');
  let shown = '';
  let copiedTimer = 0;

  toggle.addEventListener('click', () => {
    const open = toggle.getAttribute('aria-expanded') !== 'true';
    toggle.setAttribute('aria-expanded', String(open));
    panel.classList.toggle('folded', !open);
  });

  copy.addEventListener('click', async () => {
    if (await copyText(shown)) {
      copy.textContent = texts.copied;
      clearTimeout(copiedTimer);
      copiedTimer = setTimeout(() => (copy.textContent = texts.copy), COPIED_FOR_MS);
    }
  });

  return {
    // Dimmed while the window's inputs differ from what the working was worked out from.
    show(working, stale = false) {
      panel.classList.toggle('stale', stale);
      if (working.text === shown) {
        return;
      }
      shown = working.text;
      const rows = working.steps.map((step, i) => stepRow(step, i === 0));
      if (working.stop !== null) {
        const stop = document.createElement('li');
        stop.className = 'stop';
        stop.textContent = working.stopText;
        rows.push(stop);
      }
      steps.replaceChildren(...rows);
      empty.hidden = rows.length > 0;
      copy.hidden = rows.length === 0;
      clearTimeout(copiedTimer);
      copy.textContent = texts.copy;
    },
    get text() {
      return shown;
    },
  };
}
