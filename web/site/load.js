// Loads the window model compiled to WebAssembly. Returns { module } or { failure }, where
// failure is "no-wasm" for a browser without WebAssembly and "failed" for anything else.
export async function loadModule() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
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
