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

function roomIn(stage) {
  const style = getComputedStyle(stage);
  const viewport = document.documentElement;
  return {
    width: viewport.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight),
    height: viewport.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom),
  };
}

// Scales `scaled` to fit its stage and again whenever the viewport (rotation, browser zoom) or
// the content changes; `onScale(scale)` runs after each change of scale.
export function fitToViewport(stage, scaled, onScale = () => {}) {
  let current = 1;
  const apply = (scale) => {
    scaled.style.zoom = scale === 1 ? '' : String(scale);
    scaled.style.setProperty('--scale', String(scale));
  };
  // The room and the window's size as the last fitting left them. The window's own zoom changes
  // the size the observer reports, which would fit it again, laying it out twice more for nothing.
  let fitted = null;
  const unchanged = (room) =>
    fitted !== null &&
    room.width === fitted.room.width &&
    room.height === fitted.room.height &&
    scaled.offsetWidth === fitted.width &&
    scaled.offsetHeight === fitted.height;
  const update = () => {
    if (unchanged(roomIn(stage))) {
      return;
    }
    // Measured at 1:1, then once more as drawn: borders of at least a device pixel and lines of
    // text laid out again make the zoomed window a little larger than its scale alone would.
    apply(1);
    const room = roomIn(stage);
    let scale = scaleFor(room, scaled.offsetWidth, scaled.offsetHeight);
    apply(scale);
    const drawn = scaled.getBoundingClientRect();
    if (drawn.width > room.width || drawn.height > room.height) {
      scale = scaleFor(room, drawn.width / scale, drawn.height / scale);
      apply(scale);
    }
    fitted = { room: roomIn(stage), width: scaled.offsetWidth, height: scaled.offsetHeight };
    if (scale !== current) {
      current = scale;
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
