// The page's own files: every script is fetched early, none reaches beyond the site,
// and none puts text into the page as HTML.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';

const PLAY = new URL('../play/', import.meta.url);
const modules = readdirSync(PLAY).filter((name) => name.endsWith('.js'));
const source = (name) => readFileSync(new URL(name, PLAY), 'utf8');

test('the page fetches every module it imports side by side with its start', () => {
  const page = source('play.html');
  const preloaded = [...page.matchAll(/<link rel="modulepreload" href="\/play\/([\w-]+\.js)">/g)].map((match) => match[1]);
  const imported = new Set(['main.js']);
  for (const name of modules)
    for (const [, target] of source(name).matchAll(/^import .* from '\.\/([\w-]+\.js)';$/gm)) imported.add(target);
  assert.deepEqual([...imported].filter((name) => name !== 'main.js').sort(), preloaded.sort());
  assert.deepEqual([...imported].sort(), modules.sort(), 'a module nothing imports');
  assert.match(page, /<script type="module" src="\/play\/main\.js"><\/script>/);
});

test('scripts import only each other and write no HTML', () => {
  for (const name of modules) {
    const text = source(name);
    for (const [line] of text.matchAll(/^import .*$/gm)) assert.match(line, / from '\.\/[\w-]+\.js';$/, `${name}: ${line}`);
    for (const sink of ['innerHTML', 'outerHTML', 'insertAdjacentHTML', 'document.write', 'eval(', 'new Function', 'setAttribute(\'style\''])
      assert.ok(!text.includes(sink), `${name} uses ${sink}`);
  }
});
