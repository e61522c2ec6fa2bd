// The rest of the road of the greeting that the maker sent in the end-to-end test: the
// send page the program asked the browser for (left in PARLA_SENT_PAGE), opened in
// headless Chromium through the service as the site's proxy; Send; one message to the
// recipient at the real SMTP server behind the service (PARLA_SMTP_MESSAGES); the
// recipient's own link; and the sender's message that the recipient opened it.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { launchBrowser } from '../served/support/browser.js';
import { decodeQuotedPrintable, header, messageIn, messagesIn } from '../served/support/mail.js';

const DEADLINE = 30000;
const SITE = 'http://www.parlacard.example';
const SENDER = 'Robin Sender';
const SENDER_ADDRESS = 'robin@example.com';
const RECIPIENT_ADDRESS = 'pat@example.com';
const SUBJECT = `${SENDER} sent you a Parlacard`;
const messages = process.env.PARLA_SMTP_MESSAGES;
let chromium;

before(async () => {
  const port = readFileSync(process.env.PARLA_SERVICE_PORT_FILE, 'utf8').trim();
  chromium = await launchBrowser({ proxy: `127.0.0.1:${port}` });
});

after(async () => {
  await chromium?.close();
});

function statesOn(page) {
  return page.$$eval('#recipients li', (items) => items.map((item) => [item.querySelector('.address').textContent, item.dataset.state]));
}

test('the sent greeting: send page, Send, the recipient\'s message, pick-up, the sender\'s notice', async () => {
  const sentPage = readFileSync(process.env.PARLA_SENT_PAGE, 'latin1');
  const id = new URL(sentPage).searchParams.get('GID');
  assert.match(id, /^\d{9,10}$/);
  const page = await chromium.browser.newPage();
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));

  const shown = await page.goto(sentPage);
  assert.equal(shown.status(), 200);
  assert.equal(await page.$eval('#sender', (from) => from.textContent), `${SENDER} <${SENDER_ADDRESS}>`);
  assert.deepEqual(await statesOn(page), [[RECIPIENT_ADDRESS, 'not-sent']]);
  await page.waitForFunction(() => document.querySelector('#script li')?.dataset.state, { timeout: DEADLINE });

  await Promise.all([page.waitForNavigation(), page.click('#send')]);
  assert.ok(await page.$('#sent-note'));
  const message = await messageIn(messages, RECIPIENT_ADDRESS, SUBJECT, DEADLINE);
  assert.match(header(message, 'From'), new RegExp(`^"?${SENDER}"? <[^>]+>$`));
  assert.equal(header(message, 'Reply-To'), `"${SENDER}" <${SENDER_ADDRESS}>`);
  assert.match(header(message, 'Message-ID'), /^<[^<>\s]+@[^<>\s]+>$/);
  assert.match(header(message, 'List-Unsubscribe'), /^<http:\/\/www\.parlacard\.example\/unsubscribe\.asp\?r=[0-9a-f]{32}>$/);
  const body = decodeQuotedPrintable(message);
  const link = body.match(new RegExp(`${SITE.replace(/\./g, '\\.')}/play\\.asp\\?GID=${id}&r=[0-9a-f]{32}`));
  assert.ok(link, 'the message holds the recipient\'s own link');

  // A second press or a reload sends nothing twice.
  await page.reload();
  assert.equal(await page.$('#send'), null, 'a sent greeting has no Send button');

  // Pat opens the link from the message: the greeting plays, and Robin hears of it once.
  const pat = await chromium.browser.newPage();
  pat.on('pageerror', (error) => trouble.push(`script error: ${error.message}`));
  const opened = await pat.goto(link[0]);
  assert.equal(opened.status(), 200);
  await pat.waitForFunction(() => document.querySelector('#script li')?.dataset.state, { timeout: DEADLINE });
  const notice = await messageIn(messages, SENDER_ADDRESS, `${RECIPIENT_ADDRESS} opened your Parlacard`, DEADLINE);
  assert.match(decodeQuotedPrintable(notice), new RegExp(`/send/default\\.asp\\?GID=${id}`));
  await pat.reload();

  await page.reload();
  assert.deepEqual(await statesOn(page), [[RECIPIENT_ADDRESS, 'opened']]);
  assert.equal(messagesIn(messages, RECIPIENT_ADDRESS, SUBJECT).length, 1, 'one message to the recipient');
  assert.equal(messagesIn(messages, SENDER_ADDRESS, `${RECIPIENT_ADDRESS} opened your Parlacard`).length, 1,
    'one notice to the sender, however often the greeting is opened');
  assert.deepEqual(trouble, []);
  await pat.close();
  await page.close();
});
