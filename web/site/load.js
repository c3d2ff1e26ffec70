// Loads the window model compiled to WebAssembly. Returns { module } or { failure }, where
// failure is "no-wasm" for a browser that cannot compile WebAssembly and "failed" for anything else.
// The module is { definition(), Window }: its entry points with their texts as JavaScript values.

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
    const { default: createTavolen } = await import('./tavolen.js');
    return { module: modelOf(await createTavolen()) };
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
  const done = (result) => result !== 0;

  class Window {
    constructor() {
      this.handle = compiled._tavolen_window_new();
    }
    focus(name) {
      return done(call(compiled._tavolen_focus, this.handle, name));
    }
    press(name) {
      return done(call(compiled._tavolen_press, this.handle, name));
    }
    click(name) {
      return done(call(compiled._tavolen_click, this.handle, name));
    }
    menu(name) {
      return done(call(compiled._tavolen_menu, this.handle, name));
    }
    type(text) {
      return done(call(compiled._tavolen_type, this.handle, text));
    }
    erase() {
      return done(compiled._tavolen_erase(this.handle));
    }
    editText(name, text) {
      return done(call(compiled._tavolen_edit_text, this.handle, name, text));
    }
    key(name) {
      return done(call(compiled._tavolen_key, this.handle, name));
    }
    wrapsOn(name) {
      return done(call(compiled._tavolen_wraps_on, this.handle, name));
    }
    close() {
      return done(compiled._tavolen_close(this.handle));
    }
    snapshot() {
      return readJson(compiled._tavolen_snapshot(this.handle));
    }
    working() {
      return readJson(compiled._tavolen_working(this.handle));
    }
    takeMessageBoxes() {
      return readJson(compiled._tavolen_take_message_boxes(this.handle));
    }
    delete() {
      compiled._tavolen_window_delete(this.handle);
      this.handle = 0;
    }
  }

  return { definition: () => readJson(compiled._tavolen_definition()), Window };
}
