// Runs only in browsers without ES modules, which have no WebAssembly either.
document.getElementById('too-old').removeAttribute('hidden');
