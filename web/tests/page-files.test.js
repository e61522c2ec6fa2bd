// The page's own files: what the first frame needs is fetched early, none reaches beyond the site,
// and none puts text into the page as HTML.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';

const PLAY = new URL('../play/', import.meta.url);
const modules = readdirSync(PLAY).filter((name) => name.endsWith('.js'));
const source = (name) => readFileSync(new URL(name, PLAY), 'utf8');

test('the page fetches what its first frame needs side by side with its start, the rest after it', () => {
  const page = source('play.html');
  const preloaded = [...page.matchAll(/<link rel="modulepreload" href="\/play\/([\w-]+\.js)">/g)].map((match) => match[1]);
  const importsOf = (name, pattern) => [...source(name).matchAll(pattern)].map(([, target]) => target);
  // From main.js through the imports made as modules load.
  const first = new Set(['main.js']);
  for (const name of first)
    for (const target of importsOf(name, /^import .* from '\.\/([\w-]+\.js)';$/gm)) first.add(target);
  const later = new Set();
  for (const name of modules)
    for (const target of importsOf(name, /\bimport\('\.\/([\w-]+\.js)'\)/g)) later.add(target);
  assert.deepEqual([...first].filter((name) => name !== 'main.js').sort(), preloaded.sort());
  for (const name of ['speak-action.js', 'move-action.js', 'balloon-view.js', 'speech.js', 'script-list.js', 'action-words.js',
    'end-card.js'])
    assert.ok(later.has(name) && !first.has(name), `${name} comes after the first frame`);
  for (const name of later)
    for (const target of importsOf(name, /^import .* from '\.\/([\w-]+\.js)';$/gm)) later.add(target);
  assert.deepEqual([...new Set([...first, ...later])].sort(), modules.sort(), 'a module nothing imports');
  assert.match(page, /<script type="module" src="\/play\/main\.js"><\/script>/);
});

test('scripts import only each other and write no HTML', () => {
  for (const name of modules) {
    const text = source(name);
    for (const [line] of text.matchAll(/^import .*$/gm)) assert.match(line, / from '\.\/[\w-]+\.js';$/, `${name}: ${line}`);
    for (const [call] of text.matchAll(/\bimport\([^)]*\)/g)) assert.match(call, /^import\('\.\/[\w-]+\.js'\)$/, `${name}: ${call}`);
    for (const sink of ['innerHTML', 'outerHTML', 'insertAdjacentHTML', 'document.write', 'eval(', 'new Function', 'setAttribute(\'style\''])
      assert.ok(!text.includes(sink), `${name} uses ${sink}`);
  }
});
