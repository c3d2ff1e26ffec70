// Loads the window model compiled to WebAssembly. Returns { module } or { failure }, where
// failure is "no-wasm" for a browser that cannot compile WebAssembly and "failed" for anything else.
// The module is { definition(), Window, Panel }: its entry points with their texts as JavaScript
// values.
import createTavolen from './tavolen.js?@BUILD@';

// The build this file is of, written in when the site is built.
export const BUILD = '@BUILD@';

// The smallest valid module: its magic number and version.
const EMPTY_MODULE = new Uint8Array([0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00]);

// A browser without WebAssembly, or one that does not know the page's policy keyword for it
// ('wasm-unsafe-eval') and so forbids compiling it, cannot run the window.
function canCompileWasm() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    return false;
  }
  try {
    return new WebAssembly.Module(EMPTY_MODULE) instanceof WebAssembly.Module;
  } catch {
    return false;
  }
}

export async function loadModule() {
  if (!canCompileWasm()) {
    return { failure: 'no-wasm' };
  }
  try {
    // The model by the address of this build, as the page preloads it.
    const locateFile = (path, folder) => `${folder}${path}?${BUILD}`;
    return { module: modelOf(await createTavolen({ locateFile })) };
  } catch (error) {
    console.error(error);
    return { failure: 'failed' };
  }
}

// The compiled module's entry points as the page uses them. Names and texts go in as UTF-8 with a
// terminating zero; what comes back is JSON, read before the next call replaces it.
export function modelOf(compiled) {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const read = (address) => {
    const memory = compiled.HEAPU8;
    return decoder.decode(memory.subarray(address, memory.indexOf(0, address)));
  };
  const readJson = (address) => JSON.parse(read(address));
  // Calls `entry` with the window and each text, copied into the module's memory for the call.
  const call = (entry, handle, ...texts) => {
    const addresses = texts.map((text) => {
      const bytes = encoder.encode(text);
      const address = compiled._tavolen_alloc(bytes.length + 1);
      compiled.HEAPU8.set(bytes, address);
      compiled.HEAPU8[address + bytes.length] = 0;
      return address;
    });
    try {
      return entry(handle, ...addresses);
    } finally {
      addresses.forEach((address) => compiled._tavolen_free(address));
    }
  };
  // The window's entry points: those that say whether the window took the input, with the texts
  // they are given, and those that read it.
  const ACTIONS = {
    focus: compiled._tavolen_focus,
    press: compiled._tavolen_press,
    click: compiled._tavolen_click,
    menu: compiled._tavolen_menu,
    type: compiled._tavolen_type,
    erase: compiled._tavolen_erase,
    editText: compiled._tavolen_edit_text,
    key: compiled._tavolen_key,
    wrapsOn: compiled._tavolen_wraps_on,
    close: compiled._tavolen_close,
  };
  const READS = {
    snapshot: compiled._tavolen_snapshot,
    takeMessageBoxes: compiled._tavolen_take_message_boxes,
  };

  class Window {
    constructor() {
      this.handle = compiled._tavolen_window_new();
    }
    delete() {
      compiled._tavolen_window_delete(this.handle);
      this.handle = 0;
    }
  }
  for (const [name, entry] of Object.entries(ACTIONS)) {
    Window.prototype[name] = function (...texts) {
      return call(entry, this.handle, ...texts) !== 0;
    };
  }
  for (const [name, entry] of Object.entries(READS)) {
    Window.prototype[name] = function () {
      return readJson(entry(this.handle));
    };
  }

  // What the page shows of the working and of 答え合わせ, for the page's life: each method returns
  // the panel's lines, choices and check as they are after it.
  const PANEL = {
    follow: (handle, window) => compiled._tavolen_panel_follow(handle, window.handle),
    setDetails: (handle, on) => compiled._tavolen_panel_details(handle, on ? 1 : 0),
    setOneLineAtATime: (handle, on) => compiled._tavolen_panel_one_line(handle, on ? 1 : 0),
    setKeepMixed: (handle, on) => compiled._tavolen_panel_keep_mixed(handle, on ? 1 : 0),
    setOpen: (handle, on) => compiled._tavolen_panel_open(handle, on ? 1 : 0),
    setAnswer: (handle, text) => call(compiled._tavolen_panel_set_answer, handle, text),
    check: (handle, window) => compiled._tavolen_panel_check(handle, window.handle),
    showNextLine: (handle) => compiled._tavolen_panel_next_line(handle),
    showAll: (handle) => compiled._tavolen_panel_show_all(handle),
  };
  class Panel {
    constructor() {
      this.handle = compiled._tavolen_panel_new();
    }
    delete() {
      compiled._tavolen_panel_delete(this.handle);
      this.handle = 0;
    }
  }
  for (const [name, entry] of Object.entries(PANEL)) {
    Panel.prototype[name] = function (argument) {
      return readJson(entry(this.handle, argument));
    };
  }

  return { definition: () => readJson(compiled._tavolen_definition()), Window, Panel };
}
