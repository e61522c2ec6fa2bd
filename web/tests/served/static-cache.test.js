// The page's static parts under content-hashed addresses, in the browser: the page plays
// from them with its import map allowed by the page's policy, and a second visit takes
// its scripts, styles and the characters' later sheets and sounds from the browser's
// cache, asking the site again only for the greeting and what may change (the
// characters' descriptions and first sheets, answered 304). The site's access log
// (PARLA_SERVICE_ACCESS_LOG) says what reached it.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { launchBrowser, siteAddress, uploadGreeting } from './support/browser.js';
import { addSampleCharacter } from './support/sample-character.js';

const DEADLINE = 20000; // ms a state may take to come
const SHEETS = 'Cache Sheets'; // Merlin's files under a name no other test asks for
const SOUNDS = 'Cache Sounds';
const HASHED = /\.[0-9a-f]{16}\.[a-z]+$/;

let site;
let browser;
const removals = [];

function folder(variable) {
  const path = process.env[variable];
  assert.ok(path, `${variable} names no folder`);
  return path;
}

before(async () => {
  site = siteAddress();
  const characters = folder('PARLA_WEB_CHARACTERS');
  for (const file of readdirSync(characters).filter((entry) => entry.startsWith('Merlin.')))
    copyFileSync(join(characters, file), join(characters, `${SHEETS}${file.slice('Merlin'.length)}`));
  removals.push(() => {
    for (const file of readdirSync(characters).filter((entry) => entry.startsWith(`${SHEETS}.`))) rmSync(join(characters, file));
  });
  removals.push(addSampleCharacter(SOUNDS, [['tone', 'Showing', '1', '200', '440']]));
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  for (const remove of removals) remove();
});

// The requests the site answers while `visit` runs, from its access log, which the
// service writes out every second: what lies between two requests of the test's own.
async function requestsDuring(visit) {
  const log = folder('PARLA_SERVICE_ACCESS_LOG');
  const mark = async () => {
    const path = `/static-cache-mark-${Math.random().toString(16).slice(2)}`;
    await fetch(`${site}${path}`);
    const deadline = Date.now() + DEADLINE;
    for (;;) {
      const lines = readFileSync(log, 'latin1').split('\n');
      const at = lines.findIndex((line) => line.includes(`"GET ${path}"`));
      if (at >= 0) return { lines, at };
      assert.ok(Date.now() < deadline, `${path} reached the access log`);
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  };
  const start = await mark();
  const result = await visit();
  const end = await mark();
  const requests = end.lines.slice(end.lines.indexOf(start.lines[start.at]) + 1, end.at).map((line) => {
    const [, path, status] = line.match(/"GET ([^"]*)" (\d+) /) ?? [];
    return { path: decodeURIComponent(path ?? line), status: Number(status) };
  });
  return { ...result, requests };
}

// Opens the greeting in a new tab and waits until it has played and fetched every later
// sheet and sound; gives what the page fetched and the policy violations it reported.
async function visit(id, laterFiles) {
  const page = await browser.browser.newPage();
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));
  page.on('requestfailed', (request) => trouble.push(`failed: ${request.url()}`));
  await page.evaluateOnNewDocument(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (event) => window.violations.push(`${event.violatedDirective} ${event.blockedURI}`));
  });
  await page.goto(`${site}/play.asp?GID=${id}`);
  await page.waitForFunction(() => document.body.dataset.state === 'finished', { timeout: DEADLINE });
  await page.waitForFunction((count) => performance.getEntriesByType('resource')
    .filter(({ name }) => /\/play\/characters\/Cache%20S(heets|ounds)\.\d+\.[0-9a-f]{16}\.(png|wav)$/.test(name)).length >= count,
  { timeout: DEADLINE }, laterFiles);
  const fetched = await page.evaluate(() => performance.getEntriesByType('resource').map(({ name }) => decodeURIComponent(new URL(name).pathname)));
  const violations = await page.evaluate(() => window.violations);
  await page.close();
  return { fetched, violations, trouble };
}

test('the page plays from hashed addresses, and a second visit takes them from the cache', async () => {
  // Merlin's later sheets, and the sound of the sample character.
  const laterFiles = readdirSync(folder('PARLA_WEB_CHARACTERS'))
    .filter((file) => /^Cache S(heets|ounds)\.\d+\.(png|wav)$/.test(file)).length;
  assert.ok(laterFiles > 2, 'Merlin comes in several sheets');
  const id = await uploadGreeting(site, {
    actions: [`${SHEETS},Show,Animate`, `${SOUNDS},Move,Top Left`, `${SOUNDS},Show,Animate`, `${SHEETS},Say,Cached`, `${SHEETS},Hide,Animate`],
  });

  const first = await visit(id, laterFiles);
  assert.deepEqual([first.trouble, first.violations], [[], []]);
  const statics = first.fetched.filter((path) => /\.(js|css|png|wav)$/.test(path));
  const plain = statics.filter((path) => !HASHED.test(path) && !/^\/play\/characters\/Cache S\w+\.png$/.test(path));
  assert.deepEqual(plain, [], 'scripts, styles and later files by their hashed addresses only');
  for (const ending of ['main', 'greeting-page', 'character', 'speech'])
    assert.ok(statics.some((path) => new RegExp(`^/play/${ending}\\.[0-9a-f]{16}\\.js$`).test(path)), ending);
  assert.ok(statics.some((path) => /^\/play\/player\.[0-9a-f]{16}\.css$/.test(path)));
  assert.ok(statics.some((path) => /^\/play\/characters\/Cache Sounds\.\d+\.[0-9a-f]{16}\.wav$/.test(path)), 'the sound');

  const second = await requestsDuring(() => visit(id, laterFiles));
  assert.deepEqual([second.trouble, second.violations], [[], []]);
  const paths = second.requests.map(({ path }) => path);
  assert.deepEqual(paths.filter((path) => HASHED.test(path)), [], 'nothing kept for good is asked for again');
  assert.ok(paths.includes('/play.asp') && paths.includes('/play/greeting.asp'), paths.join(' '));
  // What may change is asked again, with the tag the browser holds: 304.
  for (const path of ['/play/characters.json', `/play/characters/${SHEETS}.json`, `/play/characters/${SHEETS}.png`]) {
    const statuses = second.requests.filter((request) => request.path === path).map(({ status }) => status);
    assert.ok(statuses.length > 0 && statuses.every((status) => status === 304), `${path}: ${statuses}`);
  }
});
