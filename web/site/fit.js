// Draws the window as large as the viewport allows, up to three times its size. CSS zoom lays the
// window out again at that scale rather than stretching a picture of it, so text and lines stay
// sharp and the browser hit-tests what it draws. The margin is the stage's padding.

export const MAX_SCALE = 3;

// The scale at which a window of `width` × `height` fills `room` (CSS pixels), in thousandths
// rounded down so that rounding never makes it overflow.
export function scaleFor(room, width, height) {
  if (width <= 0 || height <= 0) {
    return 1;
  }
  const fits = Math.min(MAX_SCALE, room.width / width, room.height / height);
  return Math.max(0.001, Math.floor(fits * 1000) / 1000);
}

// The room inside the stage, in CSS pixels as they were when the page opened. Scroll bars count
// as room: a window zoomed past the viewport brings them, and must not shrink for them.
function roomIn(stage, zoom) {
  const style = getComputedStyle(stage);
  return {
    width: window.innerWidth * zoom - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight),
    height: window.innerHeight * zoom - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom),
  };
}

// How far the browser has been zoomed since the page opened. Zoom changes the size of a CSS pixel
// (devicePixelRatio) but not the viewport's size in device pixels, unlike a move to another
// screen; the window keeps the size it was fitted to, and the browser's zoom enlarges it on top.
function browserZoom() {
  let zoom = 1;
  let last = null;
  return () => {
    const ratio = window.devicePixelRatio;
    const now = { ratio, width: window.innerWidth * ratio, height: window.innerHeight * ratio };
    const slack = ratio + (last?.ratio ?? 0);
    if (last && ratio !== last.ratio && Math.abs(now.width - last.width) <= slack && Math.abs(now.height - last.height) <= slack) {
      zoom *= ratio / last.ratio;
    }
    last = now;
    return zoom;
  };
}

// Scales `scaled` to fit its stage, with the working panel where it gives the larger scale, and
// again whenever the viewport (rotation, browser zoom) or the content changes (the panel folded or
// opened); `onScale(scale)` runs after each change of scale or of pixel density.
export function fitToViewport(stage, scaled, onScale = () => {}) {
  const zoomSinceOpened = browserZoom();
  let current = { scale: 1, ratio: window.devicePixelRatio };
  const apply = (scale) => {
    scaled.style.zoom = scale === 1 ? '' : String(scale);
    scaled.style.setProperty('--scale', String(scale));
  };
  const update = () => {
    // Pinch zoom magnifies the page as it is drawn.
    if ((window.visualViewport?.scale ?? 1) > 1) {
      return;
    }
    // Measured at 1:1, then once more as drawn: borders of at least a device pixel and lines of
    // text laid out again make the zoomed window a little larger than its scale alone would.
    apply(1);
    const room = roomIn(stage, zoomSinceOpened());
    // With the working panel beside the window and below it; below only where that is larger.
    const arrangements = [false];
    if (scaled.querySelector('.working:not([hidden])')) {
      arrangements.push(true);
    }
    let best = null;
    for (const below of arrangements) {
      scaled.classList.toggle('below', below);
      const fits = scaleFor(room, scaled.offsetWidth, scaled.offsetHeight);
      if (!best || fits > best.scale) {
        best = { below, scale: fits };
      }
    }
    scaled.classList.toggle('below', best.below);
    let { scale } = best;
    apply(scale);
    const drawn = scaled.getBoundingClientRect();
    if (drawn.width > room.width || drawn.height > room.height) {
      scale = scaleFor(room, drawn.width / scale, drawn.height / scale);
      apply(scale);
    }
    if (scale !== current.scale || window.devicePixelRatio !== current.ratio) {
      current = { scale, ratio: window.devicePixelRatio };
      onScale(scale);
    }
  };
  window.addEventListener('resize', update);
  new ResizeObserver(update).observe(scaled, { box: 'content-box' });
  update();
}

// The page loads this module as a render-blocking script, so that the window it carries is scaled
// before it is first painted. A change of scale is told with a `rescale` event on the scaled element.
const scaled = document.getElementById('scaled');
fitToViewport(document.getElementById('stage'), scaled, () => scaled.dispatchEvent(new Event('rescale')));
