// A stored greeting as the page gets it: six head lines, then one action per line.
import { decodeLine } from './greeting-line.js';

export const FILE_HEADER = 'Parlacard File Version : ';
const FILE_VERSION = 1;
const HEAD_LINES = 6;
// Far beyond any greeting made with the maker; a page with more would stall the browser.
export const MOST_ACTIONS = 20000;

// The version after the header as the maker reads it: blanks, a sign, digits up to the
// first other character; no digits count as 0.
function headerVersion(rest) {
  const match = /^[ \t\n\v\f\r]*([+-]?)(\d*)/.exec(rest);
  const value = Number(match[2] || '0');
  return match[1] === '-' ? -value : value;
}

// Lines end in CR LF, LF or a CR alone, as the maker reads them; the text after the last
// line end is a line too unless empty.
function splitLines(text) {
  const lines = text.split(/\r\n|\r|\n/);
  if (lines.at(-1) === '') lines.pop();
  return lines;
}

// What the greeting holds, or `problem` saying why it is no greeting the page can play.
// Actions are numbered from 1 in greeting order, as the maker's list numbers them.
export function readGreeting(text) {
  const lines = splitLines(text);
  if (lines.length === 0 || !lines[0].startsWith(FILE_HEADER))
    return { problem: 'This is not a Parlacard greeting.' };
  if (headerVersion(lines[0].slice(FILE_HEADER.length)) > FILE_VERSION)
    return { problem: 'A newer version of Parlacard made this greeting; this page cannot play it.' };
  const actionCount = Math.max(lines.length - HEAD_LINES, 0);
  if (actionCount > MOST_ACTIONS) {
    return {
      problem: `This greeting is too large for this page: it has ${actionCount.toLocaleString('en-US')} actions, ` +
        `and the page plays at most ${MOST_ACTIONS.toLocaleString('en-US')}.`,
    };
  }
  const head = (index) => lines[index] ?? '';
  return {
    recipientName: head(1),
    senderName: head(3),
    actions: lines.slice(HEAD_LINES).map((line, index) => ({ number: index + 1, ...decodeLine(line) })),
  };
}
