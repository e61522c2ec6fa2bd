// Reading the messages the service sent: .eml files in a folder (the service's own outbox
// when it has no relay, or what the tests' SMTP server received).
import { existsSync, readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

export function decodeQuotedPrintable(text) {
  return text.replace(/=\r\n/g, '').replace(/=([0-9A-F]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
}

// The value of a header field of the message, its folded lines joined.
export function header(message, name) {
  const head = message.slice(0, message.indexOf('\r\n\r\n')).replace(/\r\n[ \t]/g, ' ');
  const line = head.split('\r\n').find((field) => field.toLowerCase().startsWith(`${name.toLowerCase()}:`));
  return line?.slice(name.length + 1).trim();
}

// Every message in the folder to that address about that subject.
export function messagesIn(folder, address, subject) {
  if (!existsSync(folder)) return [];
  return readdirSync(folder)
    .filter((file) => file.endsWith('.eml'))
    .sort()
    .map((name) => readFileSync(join(folder, name), 'latin1'))
    .filter((message) => header(message, 'To') === `<${address}>` && header(message, 'Subject') === subject);
}

// Waits for the folder's first message to that address about that subject.
export async function messageIn(folder, address, subject, deadline = 30000) {
  const started = Date.now();
  while (Date.now() - started < deadline) {
    const [message] = messagesIn(folder, address, subject);
    if (message) return message;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error(`no message to ${address} about "${subject}" in ${folder}`);
}
