// From the greeting page's load to its first character on the screen, beside the load of
// a plain page of the same stand-in, in one headless Chromium and one run; and the size
// of each character's sprite sheet. Cold loads: the browser's cache is off.
//
//   node web/bench/first-frame.js <stand-in port file> <web characters folder>
import { readdirSync, statSync } from 'node:fs';
import { launchBrowser, siteAddress, uploadGreeting } from '../tests/served/support/browser.js';
import { SHOWN_MARK } from '../play/sprite-view.js';

const ROUNDS = 15;
const TARGET_MORE_MS = 300;
const TARGET_SHEET_KB = 400;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function figures(name, values) {
  return `${name}: median ${median(values).toFixed(1)} ms, best ${Math.min(...values).toFixed(1)} ms, worst ${Math.max(...values).toFixed(1)} ms`;
}

async function timeLoad(browser, address, measure, ...values) {
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.goto(address);
  const ms = await page.evaluate(measure, ...values);
  await page.close();
  return ms;
}

const [portFile, characters] = process.argv.slice(2);
if (!portFile || !characters) {
  console.error('usage: node web/bench/first-frame.js <stand-in port file> <web characters folder>');
  process.exit(2);
}
process.env.PARLA_SERVICE_PORT_FILE = portFile;
const site = siteAddress();
const id = await uploadGreeting(site, { actions: ['Merlin,Show,Animate', 'Merlin,Say,Hello there!'] });

const chromium = await launchBrowser();
const plain = [];
const greeting = [];
try {
  for (let round = 0; round < ROUNDS; round += 1) {
    plain.push(await timeLoad(chromium.browser, `${site}/help/`, () => performance.getEntriesByType('navigation')[0].loadEventEnd));
    greeting.push(await timeLoad(chromium.browser, `${site}/play.asp?GID=${id}`, (mark) => new Promise((resolve) => {
      const look = () => {
        const [shown] = performance.getEntriesByName(mark);
        if (shown) resolve(shown.startTime);
        else setTimeout(look, 5);
      };
      look();
    }), SHOWN_MARK));
  }
} finally {
  await chromium.close();
}

console.log(`${ROUNDS} cold loads each, alternating, in headless Chromium from the stand-in on 127.0.0.1`);
console.log(figures('plain page (/help/), start to load event', plain));
console.log(figures('greeting page, start to first character frame on screen', greeting));
const more = median(greeting) - median(plain);
console.log(`greeting page takes ${more.toFixed(1)} ms more than the plain page (target: under ${TARGET_MORE_MS} ms)`);

console.log('sprite sheets and descriptions:');
for (const file of readdirSync(characters).filter((name) => name.endsWith('.png')).sort()) {
  const name = file.slice(0, -4);
  const sheet = statSync(`${characters}/${file}`).size / 1024;
  const description = statSync(`${characters}/${name}.json`).size / 1024;
  console.log(`  ${name.padEnd(10)} sheet ${sheet.toFixed(1).padStart(6)} KB (target: under ${TARGET_SHEET_KB} KB), description ${description.toFixed(1)} KB`);
}
