// Writes the site's index.html and tavolen.css with the window's first frame in them, so that the
// browser paints the window from the HTML and the style sheet alone, before the module has
// arrived. The frame is drawn by the page's own render.js, under node, from the module's definition
// and the state of a new window; the module later takes over these same elements.
// Usage: node prerender.mjs SOURCE_DIR SITE_DIR   (the page's sources, the built site)
import { readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

// Just enough of a document for drawing: elements, their attributes, text and the properties
// render.js sets. A property it does not know stops the build rather than being lost.
const VOID = new Set(['input', 'br', 'img', 'link', 'meta']);
const REFLECTED = {
  className: 'class',
  id: 'id',
  name: 'name',
  type: 'type',
  htmlFor: 'for',
  inputMode: 'inputmode',
  autocomplete: 'autocomplete',
  tabIndex: 'tabindex',
  maxLength: 'maxlength',
  title: 'title',
};
const FLAGS = new Set(['hidden', 'checked', 'autofocus', 'disabled', 'readOnly']);
const FLAG_ATTRIBUTES = new Set([...FLAGS].map((name) => name.toLowerCase()));
const kebab = (name) => name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`);

const escapeText = (text) => text.replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;');
const escapeAttribute = (text) => text.replaceAll('&', '&amp;').replaceAll('"', '&quot;');

class Text {
  constructor(data) {
    this.data = String(data);
    this.parentNode = null;
  }
  get textContent() {
    return this.data;
  }
  serialize() {
    return escapeText(this.data);
  }
}

function styleOf(element) {
  const properties = new Map();
  const write = () => {
    const text = [...properties].map(([name, value]) => `${name}: ${value};`).join(' ');
    if (text) {
      element.attributes.set('style', text);
    } else {
      element.attributes.delete('style');
    }
  };
  return new Proxy(
    {},
    {
      get: (_, name) => properties.get(kebab(String(name))) ?? '',
      set: (_, name, value) => {
        if (value === '' || value === null) {
          properties.delete(kebab(name));
        } else {
          properties.set(kebab(name), String(value));
        }
        write();
        return true;
      },
    },
  );
}

class Element {
  constructor(tag, attributes = new Map()) {
    this.localName = tag;
    this.attributes = attributes;
    this.childNodes = [];
    this.parentNode = null;
    this.style = styleOf(this);
    const element = this;
    this.dataset = new Proxy(
      {},
      {
        get: (_, key) => element.attributes.get(`data-${kebab(String(key))}`),
        set: (_, key, value) => {
          element.attributes.set(`data-${kebab(key)}`, String(value));
          return true;
        },
      },
    );
    this.classList = {
      add: (...names) => {
        const classes = element.classes();
        element.attributes.set('class', [...classes, ...names.filter((n) => !classes.includes(n))].join(' '));
      },
      remove: (...names) => {
        element.attributes.set('class', element.classes().filter((n) => !names.includes(n)).join(' '));
      },
      contains: (name) => element.classes().includes(name),
      toggle: (name, on) => (on ? element.classList.add(name) : element.classList.remove(name)),
    };
    return new Proxy(this, {
      get: (target, name, receiver) => {
        if (name in target || typeof name !== 'string') {
          return Reflect.get(target, name, receiver);
        }
        if (REFLECTED[name]) {
          return target.attributes.get(REFLECTED[name]) ?? '';
        }
        if (FLAGS.has(name)) {
          return target.attributes.has(name.toLowerCase());
        }
        if (name === 'value' || name === 'spellcheck') {
          return target.attributes.get(name) ?? (name === 'value' ? '' : true);
        }
        return undefined;
      },
      set: (target, name, value) => {
        if (REFLECTED[name]) {
          target.attributes.set(REFLECTED[name], String(value));
        } else if (FLAGS.has(name)) {
          if (value) {
            target.attributes.set(name.toLowerCase(), '');
          } else {
            target.attributes.delete(name.toLowerCase());
          }
        } else if (name === 'value') {
          // The text the field starts with; an empty field carries no value at all.
          if (value === '') {
            target.attributes.delete('value');
          } else {
            target.attributes.set('value', String(value));
          }
        } else if (name === 'spellcheck') {
          target.attributes.set('spellcheck', String(Boolean(value)));
        } else if (name === 'textContent') {
          target.replaceChildren(...(value === '' ? [] : [new Text(value)]));
        } else if (Object.hasOwn(target, name)) {
          target[name] = value;
        } else {
          throw new Error(`prerender: <${target.localName}>.${name} is not drawn at build time`);
        }
        return true;
      },
    });
  }

  classes() {
    return (this.attributes.get('class') ?? '').split(' ').filter(Boolean);
  }
  setAttribute(name, value) {
    this.attributes.set(name.toLowerCase(), String(value));
  }
  getAttribute(name) {
    return this.attributes.get(name.toLowerCase()) ?? null;
  }
  removeAttribute(name) {
    this.attributes.delete(name.toLowerCase());
  }
  append(...nodes) {
    for (const node of nodes) {
      const child = typeof node === 'string' ? new Text(node) : node;
      child.parentNode?.childNodes.splice(child.parentNode.childNodes.indexOf(child), 1);
      child.parentNode = this;
      this.childNodes.push(child);
    }
  }
  replaceChildren(...nodes) {
    for (const child of this.childNodes) {
      child.parentNode = null;
    }
    this.childNodes = [];
    this.append(...nodes);
  }
  get children() {
    return this.childNodes.filter((node) => node instanceof Element);
  }
  get firstElementChild() {
    return this.children[0] ?? null;
  }
  get previousElementSibling() {
    const siblings = this.parentNode?.children ?? [];
    return siblings[siblings.indexOf(this) - 1] ?? null;
  }
  get nextElementSibling() {
    const siblings = this.parentNode?.children ?? [];
    const index = siblings.indexOf(this);
    return index < 0 ? null : (siblings[index + 1] ?? null);
  }
  get textContent() {
    return this.childNodes.map((node) => node.textContent).join('');
  }

  // Simple selectors only: tag, .class, #id, [attribute] and [attribute="value"].
  matches(selector) {
    const match = /^(?:([a-z]+)|\.([\w-]+)|#([\w-]+)|\[([\w-]+)(?:="([^"]*)")?\])$/.exec(selector);
    if (!match) {
      throw new Error(`prerender: selector ${selector} is not supported`);
    }
    const [, tag, className, id, attribute, value] = match;
    return (
      (tag !== undefined && this.localName === tag) ||
      (className !== undefined && this.classes().includes(className)) ||
      (id !== undefined && this.attributes.get('id') === id) ||
      (attribute !== undefined && this.attributes.has(attribute) && (value === undefined || this.attributes.get(attribute) === value))
    );
  }
  querySelectorAll(selector) {
    const found = [];
    const walk = (element) => {
      for (const child of element.children) {
        if (child.matches(selector)) {
          found.push(child);
        }
        walk(child);
      }
    };
    walk(this);
    return found;
  }
  querySelector(selector) {
    return this.querySelectorAll(selector)[0] ?? null;
  }

  serialize() {
    const attributes = [...this.attributes].map(([name, value]) => (value === '' && FLAG_ATTRIBUTES.has(name) ? ` ${name}` : ` ${name}="${escapeAttribute(value)}"`));
    const open = `<${this.localName}${attributes.join('')}>`;
    return VOID.has(this.localName) ? open : `${open}${this.childNodes.map((node) => node.serialize()).join('')}</${this.localName}>`;
  }
}

// The window's empty frame in the template: its element and the two it fills, each written as
// `<div attributes></div>` with nothing between.
function parseSkeleton(template) {
  const found = /<div id="window"[^>]*>\s*(<div class="menubar"[^>]*><\/div>)\s*(<div class="client"[^>]*><\/div>)\s*<\/div>/.exec(template);
  if (!found) {
    throw new Error('prerender: the template has no empty window');
  }
  const element = (markup) => {
    const attributes = new Map();
    for (const [, name, value] of markup.matchAll(/\s([\w-]+)(?:="([^"]*)")?/g)) {
      attributes.set(name, value ?? '');
    }
    return new Element('div', attributes);
  };
  return { found, menubar: element(found[1].slice(0, found[1].indexOf('>'))), client: element(found[2].slice(0, found[2].indexOf('>'))) };
}

const [sourceArgument, siteArgument] = process.argv.slice(2);
if (!sourceArgument || !siteArgument) {
  console.error('usage: node prerender.mjs SOURCE_DIR SITE_DIR');
  process.exit(2);
}
const site = resolve(siteArgument);
const template = readFileSync(join(sourceArgument, 'index.html'), 'utf8');
// The style sheet with each part it imports written in its place: one file for the page to fetch.
const IMPORT = /^@import url\("([^"]+)"\);\n/gm;
const styleSheet = readFileSync(join(sourceArgument, 'tavolen.css'), 'utf8').replace(IMPORT, (_, part) =>
  readFileSync(join(sourceArgument, part), 'utf8'),
);
if (styleSheet.includes('@import')) {
  throw new Error('prerender: tavolen.css imports a part in a form not joined');
}
const { default: createTavolen } = await import(pathToFileURL(join(site, 'tavolen.js')).href);
const { modelOf } = await import(pathToFileURL(join(site, 'load.js')).href);
const module = modelOf(await createTavolen({ wasmBinary: readFileSync(join(site, 'tavolen.wasm')) }));

globalThis.document = { createElement: (tag) => new Element(tag) };
const { buildWindow } = await import(pathToFileURL(join(site, 'render.js')).href);
const { px } = await import(pathToFileURL(join(site, 'fitting.js')).href);
const { drawPanel } = await import(pathToFileURL(join(site, 'working.js')).href);

const { found, menubar, client } = parseSkeleton(template);
const windowElement = new Element('div');
windowElement.append(menubar, client);
const definition = module.definition();
const view = buildWindow(windowElement, definition);
const model = new module.Window();
const state = model.snapshot();
view.render(state);
// The control the window starts with is focused as the page is shown, as the module focuses it.
view.elementOf(state.focus).autofocus = true;
model.delete();

// The page's policy allows no style attributes, so each element's place and looks move into rules
// of the style sheet, found by the element's name, or by its class and the named element before it.
function selectorOf(element) {
  const name = element.getAttribute('data-name');
  if (name !== null) {
    return `${element.localName}[data-name="${name}"]`;
  }
  const before = element.previousElementSibling;
  const own = `.${element.classes()[0]}`;
  return before?.getAttribute('data-name') ? `${selectorOf(before)} + ${own}` : own;
}

function moveStylesToRules(root) {
  const rules = new Map();
  const walk = (element) => {
    const style = element.getAttribute('style');
    if (style !== null) {
      const selector = `#window ${selectorOf(element)}`;
      if (rules.has(selector)) {
        throw new Error(`prerender: ${selector} names two elements`);
      }
      rules.set(selector, style);
      element.removeAttribute('style');
    }
    element.children.forEach(walk);
  };
  walk(root);
  return [...rules].map(([selector, style]) => `${selector} { ${style} }`).join('\n');
}

// The working panel as it starts: its heading, the line shown before any calculation, its button.
const panelMarkup = '<section id="working" class="working"></section>';
if (!template.includes(panelMarkup)) {
  throw new Error('prerender: the template has no empty working panel');
}
const panel = new Element('section', new Map([['id', 'working'], ['class', 'working']]));
drawPanel(panel, definition.working);

// The definition itself, for the page to read rather than ask the module for: answering that first
// call, the module compiles each function it runs on the page's only thread, while the window waits.
const definitionMarkup = '<script type="application/json" id="definition"></script>';
if (!template.includes(definitionMarkup)) {
  throw new Error('prerender: the template has no place for the definition');
}
const definitionJson = JSON.stringify(definition).replaceAll('<', '\\u003c');

// The modules that main.js imports, near or far, nearest first: the page preloads them all at once.
const WASM_PRELOAD = '<link rel="preload" href="tavolen.wasm';
function importedModules(folder) {
  const found = ['main.js'];
  for (const module of found) {
    for (const [, name] of readFileSync(join(folder, module), 'utf8').matchAll(/^import [^;]* from '\.\/([\w-]+\.js)\?@BUILD@';$/gm)) {
      if (!found.includes(name)) {
        found.push(name);
      }
    }
  }
  return found.slice(1);
}
if (!template.includes(WASM_PRELOAD)) {
  throw new Error('prerender: the template has no preload of the model');
}
const preloads = importedModules(site)
  .map((name) => `<link rel="modulepreload" href="${name}?@BUILD@">\n`)
  .join('');

const rules = moveStylesToRules(windowElement);
const filled = found[0].replace(found[1], menubar.serialize()).replace(found[2], client.serialize());
writeFileSync(
  join(site, 'index.html'),
  template
    .replace(found[0], filled)
    .replace(WASM_PRELOAD, `${preloads}${WASM_PRELOAD}`)
    .replace(panelMarkup, panel.serialize())
    .replace(definitionMarkup, () => definitionMarkup.replace('><', `>${definitionJson}<`)),
);
// The client area's size, for fit.js to scale the first frame before the page is laid out.
const measures = `:root { --client-width: ${px(definition.clientWidth)}; --client-height: ${px(definition.clientHeight)}; }`;
writeFileSync(join(site, 'tavolen.css'), `${styleSheet}\n/* The window's first frame: places and looks from its definition. */\n${measures}\n${rules}\n`);
