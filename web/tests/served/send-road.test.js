// The whole road of a greeting on the site, in headless Chromium: its send page, Send,
// one message per recipient in the outbox (the fixture's service has no mail relay, so
// its messages are .eml files in PARLA_SERVICE_OUTBOX), a recipient's own link, and the
// sender's message that the recipient opened it.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, siteAddress, uploadGreeting } from './support/browser.js';
import { decodeQuotedPrintable, header, messageIn } from './support/mail.js';

const DEADLINE = 30000;
let site;
let chromium;

before(async () => {
  site = siteAddress();
  chromium = await launchBrowser();
});

after(async () => {
  await chromium?.close();
});

// Waits for the outbox's message to that address about that subject.
function messageTo(address, subject) {
  return messageIn(process.env.PARLA_SERVICE_OUTBOX, address, subject, DEADLINE);
}

function statesOn(page) {
  return page.$$eval('#recipients li', (items) => items.map((item) => [item.querySelector('.address').textContent, item.dataset.state]));
}

test('send page, Send, one message per recipient, pick-up, and the sender hears of it', async () => {
  const sender = `Ben ${Date.now()}`;
  const id = await uploadGreeting(site, { sender, recipient: 'Anna', actions: ['Merlin,Show,Animate', 'Merlin,Say,Hello Anna!'] });
  const page = await chromium.browser.newPage();
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));

  await page.goto(`${site}/send/default.asp?GID=${id}`);
  assert.equal(await page.$eval('#sender', (from) => from.textContent), `${sender} <ben@example.com>`);
  assert.deepEqual(await statesOn(page), [['anna@example.com', 'not-sent']]);
  // The greeting plays on the send page as it will for Anna.
  await page.waitForFunction(() => document.querySelector('#script li')?.dataset.state, { timeout: DEADLINE });

  await Promise.all([page.waitForNavigation(), page.click('#send')]);
  assert.equal(new URL(page.url()).pathname, '/send/default.asp');
  assert.equal(await page.$('#send'), null, 'a sent greeting has no Send button');
  assert.ok(await page.$('#sent-note'));

  const message = await messageTo('anna@example.com', `${sender} sent you a Parlacard`);
  assert.equal(header(message, 'Reply-To'), `"${sender}" <ben@example.com>`);
  assert.match(header(message, 'List-Unsubscribe'), /^<http:\/\/www\.parlacard\.example\/unsubscribe\.asp\?r=[0-9a-f]{32}>$/);
  const link = decodeQuotedPrintable(message).match(/http:\/\/www\.parlacard\.example(\/play\.asp\?GID=\d+&r=[0-9a-f]{32})/);
  assert.ok(link, 'the message holds the recipient\'s own link');

  // Anna opens her link: the greeting plays, and Ben gets one message saying so.
  const anna = await chromium.browser.newPage();
  anna.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));
  const opened = await anna.goto(`${site}${link[1]}`);
  assert.equal(opened.status(), 200);
  await anna.waitForFunction(() => document.querySelector('#script li')?.dataset.state, { timeout: DEADLINE });
  const notice = await messageTo('ben@example.com', 'anna@example.com opened your Parlacard');
  assert.match(decodeQuotedPrintable(notice), new RegExp(`/send/default\\.asp\\?GID=${id}`));

  await page.reload();
  assert.deepEqual(await statesOn(page), [['anna@example.com', 'opened']]);
  assert.deepEqual(trouble, []);
  await anna.close();
  await page.close();
});
