// Shows the whole text of a tiny caption, at a legible size, next to it for a few seconds after a
// touch or a pen on it, where a tooltip never shows; the tip is outside the scaled window, so that
// it keeps its size at any scale, and is kept inside the viewport.
const TIP_FOR_MS = 4000;
const TIP_GAP_PX = 4;

export function showCaptionTips() {
  const tip = document.createElement('div');
  tip.className = 'caption-tip';
  tip.setAttribute('role', 'tooltip');
  tip.hidden = true;
  document.body.append(tip);
  let timer = 0;
  const hide = () => {
    tip.hidden = true;
    clearTimeout(timer);
  };
  const show = (label) => {
    tip.textContent = label.textContent;
    tip.hidden = false;
    const box = label.getBoundingClientRect();
    const room = document.documentElement.clientWidth - tip.offsetWidth - TIP_GAP_PX;
    const left = Math.max(TIP_GAP_PX, Math.min(room, box.left + (box.width - tip.offsetWidth) / 2));
    const below = box.bottom + TIP_GAP_PX + tip.offsetHeight <= document.documentElement.clientHeight;
    tip.style.left = `${left}px`;
    tip.style.top = `${below ? box.bottom + TIP_GAP_PX : box.top - TIP_GAP_PX - tip.offsetHeight}px`;
    clearTimeout(timer);
    timer = setTimeout(hide, TIP_FOR_MS);
  };
  const tinyLabel = (event) => event.target.closest?.('.label.tiny') ?? null;
  document.addEventListener('pointerdown', (event) => {
    const label = tinyLabel(event);
    if (label && event.pointerType !== 'mouse') {
      show(label);
    } else {
      hide();
    }
  });
  window.addEventListener('resize', hide);
}
