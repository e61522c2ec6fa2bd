// The stand-in's pages for the greeting page, asked over HTTP as a browser or a proxy
// client asks: what it serves, under which types, and the paths it refuses; and a
// character of the site's own named beyond ASCII, from its file to the page.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launchBrowser, siteAddress, uploadGreeting } from './support/browser.js';

const CAST = ['Crookbeak', 'Genie', 'Grumbold', 'Merlin', 'Mirelle', 'Peedy', 'Robby', 'Tolvan', 'Yulebard'];
const VISITOR = 'Test Visitor';
const ZOE = 'Zo\u00eb'; // as a Windows machine names the file "Zo\xEB.ACS"
const DASHED = 'Robo-Tester_2';

let site;
let id;

function characters() {
  const folder = process.env.PARLA_WEB_CHARACTERS;
  assert.ok(folder, 'PARLA_WEB_CHARACTERS names no folder: the host build writes the characters there');
  return folder;
}

// Every file of theirs: pqweb writes later sheets and sounds beside the two.
function removeVisitor() {
  for (const file of readdirSync(characters()))
    if ([VISITOR, ZOE, DASHED].some((name) => file.startsWith(`${name}.`))) rmSync(`${characters()}/${file}`, { force: true });
}

// The character's web form made by pqweb from a copy of one of the cast named so.
function addCastCopy(cast, name) {
  const { PARLA_PQWEB: pqweb, PARLA_CAST_DIR: castFolder } = process.env;
  assert.ok(pqweb && castFolder, 'PARLA_PQWEB and PARLA_CAST_DIR name the web form tool and the cast\'s files');
  const folder = mkdtempSync(join(tmpdir(), 'parlacard-copy-'));
  try {
    copyFileSync(`${castFolder}/${cast}.ACS`, `${folder}/${name}.ACS`);
    execFileSync(pqweb, [characters(), `${folder}/${name}.ACS`], { stdio: 'pipe' });
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

before(async () => {
  site = siteAddress();
  id = await uploadGreeting(site, { actions: ['merlin,Show,Animate', 'Bob,Say,Hi', '../Merlin,Say,x', 'Peedy,Say,"a,b"', 'MERLIN,Hide'] });
});

after(removeVisitor);

// The hashed names the site gives a character's later files, by their plain names in
// the order of their bytes.
function laterFiles(name) {
  const names = {};
  for (const file of readdirSync(characters()).sort().filter((entry) => new RegExp(`^${name}\\.\\d+\\.(png|wav)$`).test(entry))) {
    const hash = createHash('sha256').update(readFileSync(`${characters()}/${file}`)).digest('hex').slice(0, 16);
    names[file] = file.replace(/(\.[a-z]+)$/, `.${hash}$1`);
  }
  return names;
}

// One request written by hand, as a client sends it through a proxy: the site in full.
function throughProxy(path) {
  const { port } = new URL(site);
  return new Promise((resolve, reject) => {
    const socket = connect(Number(port), '127.0.0.1', () =>
      socket.write(`GET http://www.parlacard.example${path} HTTP/1.1\r\nHost: www.parlacard.example\r\nConnection: close\r\n\r\n`));
    const parts = [];
    socket.on('data', (part) => parts.push(part));
    socket.on('end', () => resolve(Buffer.concat(parts).toString('latin1')));
    socket.on('error', reject);
  });
}

test('the page of a stored greeting, with its policy and what it will fetch announced', async () => {
  const response = await fetch(`${site}/play.asp?GID=${id}`);
  assert.equal(response.status, 200);
  assert.equal(response.headers.get('content-type'), 'text/html; charset=utf-8');
  assert.match(response.headers.get('content-security-policy'), /default-src 'none'; script-src 'self'/);
  assert.match(await response.text(), /<script type="module" src="\/play\/main\.[0-9a-f]{16}\.js">/);
  // The greeting, the list, and the first of the site's characters the greeting names, by
  // the site's name: the others would only hold it up on a slow line.
  const links = response.headers.get('link').split(', ').map((link) => link.split(';')[0]);
  assert.deepEqual(links, [`</play/greeting.asp?GID=${id}>`, '</play/characters.json>', '</play/characters/Merlin.json>',
    '</play/characters/Merlin.png>']);
  const unknownFirst = await uploadGreeting(site, { actions: ['Bob,Say,Hi', 'peedy,Show'] });
  const later = (await fetch(`${site}/play.asp?GID=${unknownFirst}`)).headers.get('link');
  assert.match(later, /<\/play\/characters\/Peedy\.png>; rel=preload; as=image; fetchpriority=high$/);
});

test('the stored greeting\'s bytes, in the sender\'s code page', async () => {
  const response = await fetch(`${site}/play/greeting.asp?GID=${id}`);
  assert.equal(response.headers.get('content-type'), 'text/plain; charset=windows-1252');
  assert.match(await response.text(), /^Parlacard File Version : 1\r\nAnna\r\n[^]*\r\nMERLIN,Hide\r\n$/);
  for (const query of ['', '?GID=', '?GID=abc', '?GID=-1', '?GID=99999999', '?GID=1%2F..'])
    assert.equal((await fetch(`${site}/play/greeting.asp${query}`)).status, 404, query);
});

test('the characters the site has, and a character put beside them', async () => {
  const list = async () => (await fetch(`${site}/play/characters.json`)).json();
  assert.deepEqual(await list(), CAST);
  // A user's own character: its two files in the folder, and it is on the list.
  copyFileSync(`${characters()}/Robby.json`, `${characters()}/${VISITOR}.json`);
  assert.deepEqual(await list(), CAST, 'listed only once both files are there');
  copyFileSync(`${characters()}/Robby.png`, `${characters()}/${VISITOR}.png`);
  assert.deepEqual(await list(), [...CAST, VISITOR].sort());
  const sheet = await fetch(`${site}/play/characters/${encodeURIComponent(VISITOR)}.png`);
  assert.equal(sheet.status, 200);
  assert.equal(sheet.headers.get('content-type'), 'image/png');
  removeVisitor();
  assert.deepEqual(await list(), CAST);
});

test('a character named with letters beyond ASCII goes from its file through pqweb to the page', async () => {
  addCastCopy('Robby', ZOE);
  const list = await (await fetch(`${site}/play/characters.json`)).json();
  assert.ok(list.includes(ZOE), JSON.stringify(list));
  const description = await fetch(`${site}/play/characters/${encodeURIComponent(ZOE)}.json`);
  assert.equal(description.status, 200);
  assert.equal((await description.json()).name, ZOE);
  // Its name is no way around the folder, spelt in UTF-8 or in too many bytes.
  for (const path of [`${encodeURIComponent(ZOE)}%2F..%2FMerlin.json`, '%C0%AE%C0%AE%C0%AFMerlin.json', 'Zo%EB.json'])
    assert.equal((await fetch(`${site}/play/characters/${path}`)).status, 404, path);

  // The greeting names it in the sender's code page, in any case; the page plays it.
  const greeting = await uploadGreeting(site, { recipient: ZOE,
    actions: [`${ZOE},Move,Bottom Right`, `${ZOE.toUpperCase()},Show,Don't Animate`, `${ZOE.toLowerCase()},Say,Hallo from ${ZOE}`, `${ZOE},Hide,Animate`] });
  const page = await fetch(`${site}/play.asp?GID=${greeting}`);
  assert.match(page.headers.get('link'), /<\/play\/characters\/Zo%C3%AB\.json>; rel=preload/);
  const chromium = await launchBrowser();
  try {
    const tab = await chromium.browser.newPage();
    const trouble = [];
    tab.on('pageerror', (error) => trouble.push(error.message));
    await tab.goto(`${site}/play.asp?GID=${greeting}`);
    await tab.waitForFunction(() => document.querySelector('#script li:nth-child(3)')?.dataset.state === 'current', { timeout: 20000 });
    assert.equal(await tab.$eval('canvas.character:not([hidden])', (canvas) => canvas.dataset.character), ZOE);
    assert.equal(await tab.$eval('#title', (title) => title.textContent), `A greeting for ${ZOE}`);
    assert.equal(await tab.$eval('#status', (caption) => caption.textContent), `${ZOE}: Hallo from ${ZOE}`);
    await tab.waitForFunction(() => document.body.dataset.state === 'finished', { timeout: 20000 });
    assert.deepEqual(await tab.$$eval('#notices li', (items) => items.map((item) => item.textContent)), []);
    assert.deepEqual(await tab.$$eval('#script li', (rows) => rows.map((row) => row.dataset.state)), ['done', 'done', 'done', 'done']);
    assert.deepEqual(trouble, []);
  } finally {
    await chromium.close();
    removeVisitor();
  }
});

test('the page fetches what its header announced, by the same addresses, once each', async () => {
  addCastCopy('Robby', DASHED);
  const greeting = await uploadGreeting(site, { actions: [`${DASHED},Show,Animate`, `${DASHED},Say,Hi`] });
  const chromium = await launchBrowser();
  try {
    const tab = await chromium.browser.newPage();
    await tab.goto(`${site}/play.asp?GID=${greeting}`);
    await tab.waitForSelector('canvas.character:not([hidden])', { timeout: 20000 });
    const fetched = await tab.evaluate(() => performance.getEntriesByType('resource')
      .map((entry) => decodeURIComponent(new URL(entry.name).pathname + new URL(entry.name).search)));
    for (const file of [`/play/greeting.asp?GID=${greeting}`, '/play/characters.json', `/play/characters/${DASHED}.json`,
      `/play/characters/${DASHED}.png`])
      assert.equal(fetched.filter((path) => path === file).length, 1, `${file} in ${JSON.stringify(fetched)}`);
  } finally {
    await chromium.close();
    removeVisitor();
  }
});

test('the page\'s files go out whole, under their types, text gzip-compressed where the browser takes it', async () => {
  const types = {
    '/play/main.js': 'text/javascript; charset=utf-8',
    '/play/player.css': 'text/css; charset=utf-8',
    '/play/characters/Merlin.json': 'application/json',
    '/play/characters/Merlin.png': 'image/png',
    '/play/characters/Merlin.1.png': 'image/png',
  };
  const files = new URL('../../play/', import.meta.url);
  for (const [path, type] of Object.entries(types)) {
    const text = !type.startsWith('image/');
    let original = path.startsWith('/play/characters/')
      ? readFileSync(`${characters()}/${path.slice('/play/characters/'.length)}`)
      : readFileSync(new URL(path.slice('/play/'.length), files));
    // A description comes with the hashed names of its later files first.
    if (path.endsWith('.json')) original = Buffer.concat([Buffer.from(`{"files":${JSON.stringify(laterFiles('Merlin'))},`), original.subarray(1)]);
    for (const encodings of ['gzip, deflate, br', 'identity']) {
      const response = await fetch(`${site}${path}`, { headers: { 'Accept-Encoding': encodings } });
      assert.equal(response.status, 200, path);
      assert.equal(response.headers.get('content-type'), type, path);
      assert.equal(response.headers.get('content-encoding'), text && encodings !== 'identity' ? 'gzip' : null, `${path} ${encodings}`);
      // Once decoded, as the file is.
      assert.ok(Buffer.from(await response.arrayBuffer()).equals(original), `${path} ${encodings}`);
    }
  }
  assert.match(await throughProxy(`/play/characters/Merlin.json`), /^HTTP\/1\.1 200 OK\r\n[^]*\r\n\r\n\{"files":\{[^}]*\},"name":"Merlin"/);
  assert.match(await throughProxy(`/play.asp?GID=${id}`), /^HTTP\/1\.1 200 OK\r\n/);
});

test('anything else under the page\'s paths is not found', async () => {
  const refused = [
    '/play/characters/..%2FMerlin.json', '/play/characters/Merlin.txt',
    '/play/characters/.json', '/play/characters/Nobody.json', '/play/characters/Merlin.JSON', '/play/characters/%20x.png',
    '/play/characters/Merlin.0.png', '/play/characters/Merlin.999.png', '/play/characters/Merlin.1.json',
    '/play/characters/Merlin.-1.png', '/play/characters/..%2FMerlin.1.png', '/play/characters/%20x.1.png',
    '/play/play.html', '/play/missing.html', '/play/nothing.js', '/play/..%2F..%2Fservice.log', '/play/main.js.map',
  ];
  for (const path of refused) assert.equal((await fetch(`${site}${path}`)).status, 404, path);
  // A greeting's link that has been cut short gets a page saying so.
  for (const path of ['/play.asp?GID=99999999', '/play.asp?GID=1x', '/play.asp']) {
    const response = await fetch(`${site}${path}`);
    assert.equal(response.status, 404, path);
    assert.match(await response.text(), /We could not find this greeting/, path);
    assert.match(response.headers.get('content-security-policy'), /default-src 'none'/, path);
  }
  // Paths as they come, not as a browser tidies them.
  for (const path of ['/play/characters/..%2FMerlin.json', '/play/characters/../characters/Merlin.json', '/play/../play/main.js'])
    assert.match(await throughProxy(path), /^HTTP\/1\.1 404 /, path);
});
