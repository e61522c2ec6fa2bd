// Reading a stored greeting: the head lines, the version check and the action lines.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { MOST_ACTIONS, readGreeting } from '../play/greeting-text.js';
import { checkActions, findName, shown } from '../play/greeting-check.js';

const HEAD = 'Parlacard File Version : 1\r\nAnna\r\nanna@example.com\r\nBen\r\nben@example.com\r\n\r\n';

test('reads the head lines and numbers the actions from 1', () => {
  const greeting = readGreeting(`${HEAD}Merlin,Show,Animate\r\nMerlin,Say,"Hi, Anna"\r\n`);
  assert.equal(greeting.problem, undefined);
  assert.equal(greeting.recipientName, 'Anna');
  assert.equal(greeting.senderName, 'Ben');
  assert.deepEqual(greeting.actions, [
    { number: 1, character: 'Merlin', command: 'Show', argument: 'Animate' },
    { number: 2, character: 'Merlin', command: 'Say', argument: 'Hi, Anna' },
  ]);
});

test('takes line feeds alone, a last line without an end, and empty lines as actions', () => {
  const greeting = readGreeting(HEAD.replaceAll('\r\n', '\n') + 'Merlin,Show\n\nGenie,Hide');
  assert.deepEqual(greeting.actions.map((action) => action.character), ['Merlin', '', 'Genie']);
  assert.deepEqual(greeting.actions[1], { number: 2, character: '', command: '', argument: '' });
});

test('a CR alone ends a line, as the maker reads it, in the head and between actions', () => {
  const greeting = readGreeting('Parlacard File Version : 1\rAnna\ranna@example.com\rBen\rben@example.com\r\r' +
    'Merlin,Show,Animate\rMerlin,Say,Hi\r\nGenie,Hide\r');
  assert.equal(greeting.recipientName, 'Anna');
  assert.equal(greeting.senderName, 'Ben');
  assert.deepEqual(greeting.actions.map((action) => [action.number, action.character, action.command]),
    [[1, 'Merlin', 'Show'], [2, 'Merlin', 'Say'], [3, 'Genie', 'Hide']]);
});

test('a greeting with more actions than the page plays says so instead of being read', () => {
  const lines = (count) => `${HEAD}${'Merlin,Animate,Nope\r\n'.repeat(count)}`;
  assert.equal(readGreeting(lines(MOST_ACTIONS)).actions.length, MOST_ACTIONS);
  const tooLarge = readGreeting(lines(MOST_ACTIONS + 1));
  assert.equal(tooLarge.actions, undefined);
  assert.equal(tooLarge.problem,
    'This greeting is too large for this page: it has 20,001 actions, and the page plays at most 20,000.');
  assert.match(readGreeting(lines(150000)).problem, /too large for this page: it has 150,000 actions/);
});

test('a greeting with only its head, or cut short, has no actions', () => {
  assert.deepEqual(readGreeting(HEAD).actions, []);
  const short = readGreeting('Parlacard File Version : 1\r\nAnna\r\n');
  assert.deepEqual(short.actions, []);
  assert.equal(short.senderName, '');
});

test('refuses what is no greeting and what a newer version made', () => {
  for (const text of ['', 'hello', 'parlacard File Version : 1\r\n', 'Parlacard File Version :1\r\n'])
    assert.match(readGreeting(text).problem, /not a Parlacard greeting/, JSON.stringify(text));
  for (const version of ['2', ' 7', '+2', '12abc'])
    assert.match(readGreeting(`Parlacard File Version : ${version}\r\n`).problem, /newer version/, version);
  // The maker reads any version up to its own, digits or not.
  for (const version of ['0', '-5', 'x', '', '1.9', ' 1'])
    assert.equal(readGreeting(`Parlacard File Version : ${version}\r\n`).problem, undefined, version);
});

test('plays known commands of characters the site has, under the site\'s spelling of the name', () => {
  const { actions } = readGreeting(`${HEAD}merlin,Show,Animate\r\nMERLIN,say,hi\r\n,Say,hi\r\nBob,Say,hi\r\nPeedy,Move,Nowhere\r\n`);
  const { playable, skipped } = checkActions(actions, ['Merlin', 'Peedy']);
  assert.deepEqual(playable.map((action) => [action.number, action.character, action.command]),
    [[1, 'Merlin', 'Show'], [5, 'Peedy', 'Move']]);
  assert.deepEqual(skipped.map(({ action, reason }) => [action.number, reason]), [
    [2, 'Action 2 has an unknown command: "say".'],
    [3, 'Action 3 names no character.'],
    [4, 'Action 4 needs the character "Bob", which this site does not have.'],
  ]);
});

test('quotes fields from a greeting short and without control characters', () => {
  assert.equal(shown('Bob'), 'Bob');
  assert.equal(shown('a\u0000b\tc\u007f'), 'a?b?c?');
  assert.equal(shown('x'.repeat(64)), 'x'.repeat(64));
  assert.equal(shown('y'.repeat(100000)), `${'y'.repeat(64)}...`);
});

test('finds names without regard to case and only among the site\'s names', () => {
  assert.equal(findName(['Merlin', 'Peedy'], 'pEEDY'), 'Peedy');
  assert.equal(findName(['Merlin'], '../Merlin'), undefined);
  assert.equal(findName(['Merlin'], ''), undefined);
});
