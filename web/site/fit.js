// Draws the window as large as the viewport allows, up to three times its size, and gives the
// working panel the room the window leaves. CSS zoom lays the window out again at that scale
// rather than stretching a picture of it, so text and lines stay sharp and the browser hit-tests
// what it draws. The page's root holds the scale (--scale), the panel's size at that scale
// (--panel-width, --panel-height) and the class "below" that puts the panel under the window.
//
// The page runs this script in its head, once the style sheet is in and before the body exists,
// so that the window's first frame is drawn at its scale. That first scale is worked out from the
// measures the style sheet gives (the window's client area, its frame, the panel), because laying
// the page out once only to measure it would cost as much as drawing it. Later fits (rotation,
// browser zoom, the panel folded, the ended notice) are measured as drawn. It is written in the
// oldest syntax, as it runs in every browser.
(function () {
  'use strict';
  var MAX_SCALE = 3;
  var root = document.documentElement;

  // The scale at which a box of `width` × `height` fills `room` (CSS pixels), in thousandths
  // rounded down so that rounding never makes it overflow.
  function scaleFor(room, width, height) {
    if (width <= 0 || height <= 0) {
      return 1;
    }
    var fits = Math.min(MAX_SCALE, room.width / width, room.height / height);
    return Math.max(0.001, Math.floor(fits * 1000) / 1000);
  }

  // The style sheet's measures, in CSS pixels at a scale of 1.
  function readMeasures() {
    var style = getComputedStyle(root);
    var read = function (name) {
      return parseFloat(style.getPropertyValue(name)) || 0;
    };
    var border = read('--window-border');
    return {
      margin: read('--stage-margin'),
      gap: read('--panel-gap'),
      window: {
        width: read('--client-width') + 2 * border,
        height: read('--client-height') + read('--menubar-height') + 2 * border,
      },
      working: { width: read('--working-width'), least: read('--working-height'), whole: read('--working-full-height') },
    };
  }
  var measures = readMeasures();

  // How far the browser has been zoomed since the page opened. Zoom changes the size of a CSS
  // pixel (devicePixelRatio) but not the viewport's size in device pixels, unlike a move to
  // another screen; the window keeps the size it was fitted to, and the browser's zoom enlarges
  // it on top.
  var last = null;
  // On a touch screen the page is refitted instead: there a page wider than the screen widens the
  // layout viewport for good, rather than bringing scroll bars.
  var touchFirst = window.matchMedia ? window.matchMedia('(pointer: coarse)').matches : false;

  // A zoom the browser had before the page opened (set for the site, or remembered): the browser
  // window's outer size is in the screen's pixels and its inner size in CSS pixels, so their ratio
  // is the zoom, and a little for the window's frame and toolbars (the lesser ratio, across, has
  // the least). It is taken only near one of the browser's zoom levels: a browser that gives both
  // sizes in CSS pixels, or a panel docked beside the page, is taken for no zoom.
  var LEVELS = [1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4, 5];
  function zoomAtOpening() {
    if (touchFirst || !window.outerWidth || !window.innerWidth || !window.innerHeight) {
      return 1;
    }
    var ratio = Math.min(window.outerWidth / window.innerWidth, window.outerHeight / window.innerHeight);
    for (var i = 0; i < LEVELS.length; i++) {
      if (Math.abs(ratio / LEVELS[i] - 1) <= 0.03) {
        return LEVELS[i];
      }
    }
    return 1;
  }
  var zoom = zoomAtOpening();
  function zoomSinceOpened() {
    if (touchFirst) {
      return 1;
    }
    var ratio = window.devicePixelRatio;
    var now = { ratio: ratio, width: window.innerWidth * ratio, height: window.innerHeight * ratio };
    var slack = ratio + (last ? last.ratio : 0);
    if (last && ratio !== last.ratio && Math.abs(now.width - last.width) <= slack && Math.abs(now.height - last.height) <= slack) {
      zoom *= ratio / last.ratio;
    }
    last = now;
    return zoom;
  }

  // The room inside the stage's margin, in CSS pixels as they were when the page opened. Scroll
  // bars count as room: a window zoomed past the viewport brings them, and must not shrink for
  // them (the class "zoomed" lets it spill over). Should a phone's layout viewport have grown past
  // the screen all the same, the page is shown zoomed out, and the room is the visible viewport
  // at a page scale of 1.
  function roomNow() {
    var zoomed = zoomSinceOpened();
    var seen = window.visualViewport;
    var shrunk = seen && seen.scale < 1;
    root.classList.toggle('zoomed', zoomed > 1);
    return {
      width: (shrunk ? seen.width * seen.scale : window.innerWidth * zoomed) - 2 * measures.margin,
      height: (shrunk ? seen.height * seen.scale : window.innerHeight * zoomed) - 2 * measures.margin,
    };
  }

  // Each way the page's content can be arranged, with its size at a scale of 1: the window alone
  // (the panel folded), or with a panel `panelHeight` high beside it and below it.
  function arrangementsOf(withPanel, panelHeight) {
    var w = measures.window;
    var p = measures.working;
    if (!withPanel) {
      return [{ below: false, width: w.width, height: w.height }];
    }
    return [
      { below: false, width: w.width + measures.gap + p.width, height: Math.max(w.height, panelHeight) },
      { below: true, width: Math.max(w.width, p.width), height: w.height + measures.gap + panelHeight },
    ];
  }

  // The arrangement with the largest scale; beside where both give the same.
  function best(room, arrangements) {
    var chosen = null;
    for (var i = 0; i < arrangements.length; i++) {
      var scale = scaleFor(room, arrangements[i].width, arrangements[i].height);
      if (!chosen || scale > chosen.scale) {
        chosen = { below: arrangements[i].below, scale: scale };
      }
    }
    return chosen;
  }

  // The panel tall enough for the longest working, unless that would draw the window smaller than
  // its own size where a shorter panel would not: the panel then scrolls its steps.
  function fitWithPanel(room) {
    var whole = best(room, arrangementsOf(true, measures.working.whole));
    var least = best(room, arrangementsOf(true, measures.working.least));
    var fit = whole.scale >= Math.min(1, least.scale) ? whole : least;
    // The panel takes all the room the window leaves beside or below it, in its own pixels.
    var across = Math.floor(room.width / fit.scale);
    var down = Math.floor(room.height / fit.scale);
    var w = measures.window;
    fit.panel = fit.below
      ? { width: Math.max(w.width, across), height: down - w.height - measures.gap }
      : { width: across - w.width - measures.gap, height: Math.max(w.height, down) };
    fit.whole = fit.below
      ? { width: fit.panel.width, height: w.height + measures.gap + fit.panel.height }
      : { width: w.width + measures.gap + fit.panel.width, height: fit.panel.height };
    return fit;
  }

  // The size of the window with its panel is set as well, so that a first frame painted before the
  // panel has been read puts the window where it stays.
  function apply(fit) {
    root.style.setProperty('--scale', String(fit.scale));
    root.classList.toggle('below', fit.below);
    if (fit.panel) {
      root.style.setProperty('--panel-width', fit.panel.width + 'px');
      root.style.setProperty('--panel-height', fit.panel.height + 'px');
    }
    if (fit.whole) {
      root.style.setProperty('--whole-width', fit.whole.width + 'px');
      root.style.setProperty('--whole-height', fit.whole.height + 'px');
    } else {
      root.style.removeProperty('--whole-width');
      root.style.removeProperty('--whole-height');
    }
  }

  // As first drawn: the window with its panel open.
  apply(fitWithPanel(roomNow()));

  // What the stage shows now: the window and the open panel, the window alone, or something the
  // measures do not cover (the ended notice, a note), which is measured.
  function contentOf() {
    var shown = function (id) {
      var element = document.getElementById(id);
      return element !== null && !element.hidden;
    };
    if (!shown('window')) {
      return 'other';
    }
    return shown('working') && !document.getElementById('working').classList.contains('folded') ? 'panel' : 'window';
  }

  // Each arrangement measured as laid out at a scale of 1.
  function measuredArrangements(scaled) {
    apply({ below: false, scale: 1 });
    var found = [{ below: false, width: scaled.offsetWidth, height: scaled.offsetHeight }];
    apply({ below: true, scale: 1 });
    found.push({ below: true, width: scaled.offsetWidth, height: scaled.offsetHeight });
    return found;
  }

  // Registered as the head runs, before any script of the body: on a resize the page is refitted
  // before later listeners (a message box placing itself over the window) read its layout.
  var refit = null;
  window.addEventListener('resize', function () {
    if (refit) {
      refit();
    }
  });

  // On a touch screen a viewport that has only grown shorter while a field has the focus is the
  // on-screen keyboard: the window keeps its size, which the page scrolls, and the field is brought
  // into view instead. `fitted` is the room of the last fit.
  var fitted = null;
  function keyboardOpened(room) {
    var typing = document.activeElement !== null && document.activeElement.type === 'text';
    return touchFirst && typing && fitted !== null && room.width === fitted.width && room.height < fitted.height;
  }

  function follow(scaled) {
    var current = { scale: Number(root.style.getPropertyValue('--scale')), ratio: window.devicePixelRatio };
    var update = function () {
      // Pinch zoom magnifies the page as it is drawn.
      if (window.visualViewport && window.visualViewport.scale > 1) {
        return;
      }
      var room = roomNow();
      if (keyboardOpened(room)) {
        document.activeElement.scrollIntoView({ block: 'nearest' });
        return;
      }
      fitted = room;
      var content = contentOf();
      var fit =
        content === 'panel' ? fitWithPanel(room) : best(room, content === 'other' ? measuredArrangements(scaled) : arrangementsOf(false));
      apply(fit);
      // Borders of at least a device pixel and lines of text laid out again make the zoomed page
      // a little larger than its scale alone would.
      var drawn = scaled.getBoundingClientRect();
      if (drawn.width > room.width || drawn.height > room.height) {
        fit.scale = scaleFor(room, drawn.width / fit.scale, drawn.height / fit.scale);
        apply(fit);
      }
      if (fit.scale !== current.scale || window.devicePixelRatio !== current.ratio) {
        current = { scale: fit.scale, ratio: window.devicePixelRatio };
        scaled.dispatchEvent(new Event('rescale'));
      }
    };
    refit = update;
    // It reports after layout and before paint, so what it mends is never drawn first. The window,
    // the panel and the ended notice are watched each, as the panel's room holds the size of all.
    if (typeof ResizeObserver === 'function') {
      var observer = new ResizeObserver(update);
      observer.observe(scaled);
      for (var i = 0; i < scaled.children.length; i++) {
        observer.observe(scaled.children[i]);
      }
    }
  }

  document.addEventListener('DOMContentLoaded', function () {
    var scaled = document.getElementById('scaled');
    if (scaled !== null) {
      follow(scaled);
    }
  });
})();
