// Loads the window model compiled to WebAssembly. Returns { module } or { failure }, where
// failure is "no-wasm" for a browser that cannot compile WebAssembly and "failed" for anything else.

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
    return { module: await createTavolen() };
  } catch (error) {
    console.error(error);
    return { failure: 'failed' };
  }
}
