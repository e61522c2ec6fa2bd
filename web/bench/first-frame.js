// From the greeting page's load to its first character on the screen, beside the load of
// a plain page of the same stand-in, in one headless Chromium and one run: on the
// loopback and on a slow mobile link that Chromium simulates, for a greeting of one of
// our characters, one of three, and one of a large character; and the size of each
// character's files. Cold loads: the browser's cache is off. With several stand-ins
// (builds before and after a change), their loads alternate, so that the machine's load
// falls on all alike.
//
//   node web/bench/first-frame.js <web characters folder> <large character> <name>=<stand-in port file>...
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { loadavg } from 'node:os';
import { launchBrowser, uploadGreeting } from '../tests/served/support/browser.js';
import { SHOWN_MARK } from '../play/sprite-view.js';

const LINKS = [
  { name: 'loopback', rounds: 15, conditions: null },
  // 1.6 Mbit/s down, 750 kbit/s up, 150 ms round trip.
  { name: 'slow mobile link', rounds: 5, conditions: { download: 1.6e6 / 8, upload: 0.75e6 / 8, latency: 150 } },
];
const TARGET_MORE_MS = 100; // on the loopback, beyond the plain page
const TARGET_SLOW_MS = 1500; // on the slow link, from the start
const TARGET_SHEET_KB = 400;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function figures(values) {
  return `median ${median(values).toFixed(0).padStart(5)} ms (best ${Math.min(...values).toFixed(0)}, worst ${Math.max(...values).toFixed(0)})`;
}

async function timeLoad(browser, conditions, address, measure, ...values) {
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  if (conditions) await page.emulateNetworkConditions(conditions);
  await page.goto(address);
  const ms = await page.evaluate(measure, ...values);
  await page.close();
  return ms;
}

function loadEnd() {
  return new Promise((resolve) => {
    const look = () => {
      const [navigation] = performance.getEntriesByType('navigation');
      if (navigation?.loadEventEnd) resolve(navigation.loadEventEnd);
      else setTimeout(look, 5);
    };
    look();
  });
}

function firstFrame(mark) {
  return new Promise((resolve) => {
    const look = () => {
      const [shown] = performance.getEntriesByName(mark);
      if (shown) resolve(shown.startTime);
      else setTimeout(look, 5);
    };
    look();
  });
}

const [characters, large, ...named] = process.argv.slice(2);
if (!characters || !large || named.length === 0 || !named.every((one) => one.includes('='))) {
  console.error('usage: node web/bench/first-frame.js <web characters folder> <large character> <name>=<stand-in port file>...');
  process.exit(2);
}
const greetings = [
  { name: 'one character', actions: ['Merlin,Show,Animate', 'Merlin,Say,Hello there!'] },
  { name: 'three characters', actions: ['Merlin,Show,Animate', 'Genie,Show,Animate', 'Robby,Show,Animate',
    'Merlin,Say,Hello there!', 'Genie,Animate,Wave', 'Robby,Say,Goodbye!'] },
  { name: `large character (${large})`, actions: [`${large},Show,Animate`, `${large},Say,Hello there!`] },
];
const sites = [];
for (const one of named) {
  const at = one.lastIndexOf('=');
  const address = `http://127.0.0.1:${readFileSync(one.slice(at + 1), 'utf8').trim()}`;
  const ids = [];
  for (const greeting of greetings) ids.push(await uploadGreeting(address, { actions: greeting.actions }));
  sites.push({ name: one.slice(0, at), address, ids });
}

const chromium = await launchBrowser();
const results = [];
try {
  for (const link of LINKS) {
    const measured = sites.map(() => ({ plain: [], shown: greetings.map(() => []) }));
    // Alternating, so that the machine's load falls on all alike.
    for (let round = 0; round < link.rounds; round += 1) {
      for (const [at, site] of sites.entries()) {
        const { plain, shown } = measured[at];
        plain.push(await timeLoad(chromium.browser, link.conditions, `${site.address}/help/`, loadEnd));
        for (const [index, id] of site.ids.entries())
          shown[index].push(await timeLoad(chromium.browser, link.conditions, `${site.address}/play.asp?GID=${id}`, firstFrame, SHOWN_MARK));
      }
    }
    results.push({ link, measured });
  }
} finally {
  await chromium.close();
}

const [load1, load5, load15] = loadavg().map((value) => value.toFixed(2));
console.log(`Cold loads in headless Chromium from stand-ins on 127.0.0.1, alternating; times from the start of the load; load average ${load1} ${load5} ${load15}`);
for (const { link, measured } of results) {
  console.log(`${link.name}, ${link.rounds} loads each:`);
  for (const [at, site] of sites.entries()) {
    const { plain, shown } = measured[at];
    if (sites.length > 1) console.log(` ${site.name}:`);
    console.log(`  plain page (/help/) to its load event:  ${figures(plain)}`);
    for (const [index, greeting] of greetings.entries()) {
      const values = shown[index];
      const target = link.conditions
        ? `target: under ${TARGET_SLOW_MS} ms`
        : `${(median(values) - median(plain)).toFixed(0)} ms more than the plain page, target: under ${TARGET_MORE_MS} ms more`;
      console.log(`  ${greeting.name.padEnd(38)} first frame: ${figures(values)}; ${target}`);
    }
  }
}

console.log('each character\'s files (descriptions, sprite sheets):');
const sizes = new Map();
for (const file of readdirSync(characters).sort()) {
  const [name, ...rest] = file.split('.');
  const kind = rest.at(-1);
  const entry = sizes.get(name) ?? { json: 0, png: 0, sheets: 0, first: 0 };
  const kb = statSync(`${characters}/${file}`).size / 1024;
  if (kind === 'json') entry.json += kb;
  if (kind === 'png') {
    entry.png += kb;
    entry.sheets += 1;
    if (rest.length === 1) entry.first = kb;
  }
  sizes.set(name, entry);
}
for (const [name, { json, png, sheets, first }] of sizes) {
  console.log(`  ${name.padEnd(13)} description ${json.toFixed(1).padStart(5)} KB, sheets ${png.toFixed(1).padStart(7)} KB in ${sheets}` +
    ` (the first ${first.toFixed(1)} KB; target for the whole: under ${TARGET_SHEET_KB} KB for ours)`);
}
