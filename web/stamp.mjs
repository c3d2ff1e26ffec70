// Writes the site stamped with its build, a hash of all its files: `@BUILD@` in them becomes the
// build, so the page asks for its files by addresses that no HTTP cache can answer with another
// build's file, and the page, its style sheet and its modules can be checked to be of one build.
// `@FILES@` in the service worker becomes the list of the files it keeps, each with the hash of
// its content, so that a file fetched stale or changed meanwhile is refused rather than kept.
// Usage: node stamp.mjs FROM TO   (FROM may be a stamped site, TO itself: it is stamped anew)
import { createHash } from 'node:crypto';
import { mkdirSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const BUILD = '@BUILD@';
const TEXT = /\.(html|css|js|webmanifest)$/;
const FILES_LINE = /^const FILES = .*;$/m;

const [from, to] = process.argv.slice(2);
if (!from || !to) {
  console.error('usage: node stamp.mjs FROM TO');
  process.exit(2);
}

// The comments are for the sources: a comment-only line of a module and a style sheet's comments
// are left out of the site, which makes it a tenth smaller to fetch. Nothing else is rewritten, so
// each file stays the module or style sheet it is in web/site/.
const COMMENT_LINE = /^[ \t]*\/\/.*\n/gm;
const CSS_COMMENT = /\/\*[\s\S]*?\*\/\n?/g;
const withoutComments = (name, text) =>
  name.endsWith('.js') ? text.replace(COMMENT_LINE, '') : name.endsWith('.css') ? text.replace(CSS_COMMENT, '') : text;

const names = readdirSync(from)
  .filter((name) => statSync(join(from, name)).isFile())
  .sort();
// The files as before any stamp: a stamped site's build and file list turned back into the marks.
const stamped = /<html[^>]* data-build="([0-9a-f]+)"/.exec(readFileSync(join(from, 'index.html'), 'utf8'))?.[1];
const unstamped = new Map(
  names.map((name) => {
    const bytes = readFileSync(join(from, name));
    if (!TEXT.test(name)) {
      return [name, bytes];
    }
    let text = withoutComments(name, stamped ? bytes.toString('utf8').replaceAll(stamped, BUILD) : bytes.toString('utf8'));
    if (name === 'sw.js') {
      text = text.replace(FILES_LINE, 'const FILES = @FILES@;');
    }
    return [name, Buffer.from(text)];
  }),
);

const whole = createHash('sha256');
for (const [name, bytes] of unstamped) {
  whole.update(`${name}\0${bytes.length}\0`).update(bytes);
}
const build = whole.digest('hex').slice(0, 12);

const output = new Map(
  [...unstamped].map(([name, bytes]) => [name, TEXT.test(name) ? Buffer.from(bytes.toString('utf8').replaceAll(BUILD, build)) : bytes]),
);
// A file the page asks for with the build in its address is kept under that address.
const texts = [...unstamped.values()].map((bytes) => bytes.toString('utf8'));
const addressOf = (name) => (texts.some((text) => text.includes(`${name}?${BUILD}`)) ? `${name}?${build}` : name);
const integrity = (bytes) => `sha256-${createHash('sha256').update(bytes).digest('base64')}`;
const kept = [...output]
  .filter(([name]) => name !== 'sw.js')
  .map(([name, bytes]) => [addressOf(name), integrity(bytes)]);
kept.unshift(['./', integrity(output.get('index.html'))]);
output.set('sw.js', Buffer.from(output.get('sw.js').toString('utf8').replace('@FILES@', JSON.stringify(kept))));

mkdirSync(to, { recursive: true });
for (const [name, bytes] of output) {
  writeFileSync(join(to, name), bytes);
}
