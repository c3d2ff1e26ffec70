// Fits texts to the boxes the definition gives them, as drawn at the window's scale: a field's text,
// a label's caption, and the answer's labels to the room the answer area leaves them. The boxes are
// measured in twips, turned into CSS pixels here for render.js too.

const TWIPS_PER_PX = 15;
export const px = (twips) => `${twips / TWIPS_PER_PX}px`;

// A line's box, at least a pixel thick.
export function lineBox(line) {
  return {
    name: line.name,
    left: Math.min(line.x1, line.x2),
    top: Math.min(line.y1, line.y2),
    width: Math.max(Math.abs(line.x2 - line.x1), TWIPS_PER_PX),
    height: Math.max(Math.abs(line.y2 - line.y1), TWIPS_PER_PX),
  };
}

// A caption wider than its label is drawn smaller, down to 8 px, and then narrowed, so that it is
// never cut; the label keeps its size, with a pixel to spare on either side, and its tooltip holds
// the whole text. Widths are compared as drawn, at whatever scale the window has, and the label's
// pixel is one of its own. Only a label whose text changed or whose scale changed is measured, so
// a redraw stays cheap. A caption drawn smaller than can be read (a long answer on a phone) is
// marked "tiny": the mouse on it shows the tooltip, a touch shows it at a legible size (see
// tips.js).
const SMALLEST_PX = 8;
const LEGIBLE_PX = 9;

export function fitCaption(label, caption, def, largest = Infinity) {
  const nominalPx = def.font.pixels || parseFloat(getComputedStyle(label).fontSize);
  caption.style.fontSize = `${nominalPx}px`;
  caption.style.transform = '';
  label.classList.remove('shrunk', 'tiny');
  label.style.lineHeight = '';
  label.removeAttribute('title');
  const box = label.getBoundingClientRect().width;
  const pixel = box / label.offsetWidth;
  const room = box - 2 * pixel;
  const width = () => caption.getBoundingClientRect().width;
  // The caption's width at its own size, in the window's pixels.
  const natural = width() / pixel;
  let size = Math.min(nominalPx, largest);
  caption.style.fontSize = `${size}px`;
  if (room <= 0 || (width() <= box && size === nominalPx)) {
    return { size, natural };
  }
  while (width() > room && size > SMALLEST_PX) {
    size -= 1;
    caption.style.fontSize = `${size}px`;
  }
  if (width() > room) {
    caption.style.transform = `translateX(1px) scaleX(${room / width()})`;
  }
  label.classList.add('shrunk');
  label.classList.toggle('tiny', size * pixel < LEGIBLE_PX);
  label.style.lineHeight = px(def.height);
  label.title = caption.textContent;
  return { size, natural };
}

// Fits a field's text to the field at the window's scale, measured by the ruler beside it. Inside
// the field go its text, two borders and two pixels of padding.
export function fieldFitter(input, ruler, def) {
  let fitted = null;
  return (again = false) => {
    if (!input.isConnected || (fitted === input.value && !again)) {
      return;
    }
    fitted = input.value;
    const nominal = def.font.pixels ? `${def.font.pixels}px` : '';
    input.style.fontSize = nominal;
    // An empty field has nothing to fit; measuring it would only lay the window out again.
    if (fitted === '') {
      return;
    }
    ruler.style.fontSize = nominal;
    ruler.textContent = input.value;
    const box = input.getBoundingClientRect().width;
    const room = box - (4 * box) / (def.width / TWIPS_PER_PX);
    let size = parseFloat(getComputedStyle(ruler).fontSize);
    while (ruler.getBoundingClientRect().width > room && size > SMALLEST_PX) {
      size -= 0.5;
      ruler.style.fontSize = `${size}px`;
      input.style.fontSize = `${size}px`;
    }
  };
}

// The answer's labels take the room of the answer area that the labels beside them leave empty, up
// to a little short of the client area's edge: the whole part from the sign's box when there is no
// sign, the fraction from the whole part's right edge (from where the whole part starts when there
// is none), widened about its own middle. A long answer is so drawn as large as the room allows,
// both halves of a fraction at one size, the bar as wide as they are but clear of the whole part.
export function answerFitter(views, def, origin) {
  const part = (name) => {
    const placed = def.controls.find((c) => c.name === name) ?? lineBox(def.lines.find((l) => l.name === name));
    const left = (placed.left - origin.left) / TWIPS_PER_PX;
    return { view: views.get(name), left, right: left + placed.width / TWIPS_PER_PX };
  };
  const [sign, whole, over, under, bar] = ['Label1(3)', 'Label1(2)', 'Label1(1)', 'Label1(0)', 'Line3'].map(part);
  const GAP = 5;
  const end = (def.clientWidth - origin.left) / TWIPS_PER_PX - GAP;
  const put = (placed, left, right) => {
    placed.view.outer.style.left = `${left}px`;
    placed.view.outer.style.width = `${right - left}px`;
  };
  const shows = (placed) => placed.view.outer.textContent !== '';
  return () => {
    // Nothing to fit before the model has written a fraction, nor in a window not drawn.
    const measured = [over, under].map((placed) => placed.view.fit(true));
    if (!measured[0] || !measured[1] || over.view.outer.offsetWidth === 0) {
      return;
    }
    const wholeFrom = shows(sign) ? sign.right : sign.left;
    put(whole, wholeFrom, whole.right);
    whole.view.fit(true);
    const from = shows(whole) ? whole.right + GAP : wholeFrom;
    const needed = Math.max(measured[0].natural, measured[1].natural) + 2;
    const width = Math.min(Math.max(needed, over.right - over.left), end - from);
    const left = Math.min(Math.max((over.left + over.right - width) / 2, from), end - width);
    put(over, left, left + width);
    put(under, left, left + width);
    const size = Math.min(over.view.fit(true).size, under.view.fit(true).size);
    over.view.fit(true, size);
    under.view.fit(true, size);
    put(bar, Math.max(from, left - (over.left - bar.left)), Math.min(end, left + width + (bar.right - over.right)));
  };
}
