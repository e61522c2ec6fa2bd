// The queue of files the page fetches while the greeting plays: nothing before it may
// go, a few at a time, urgent ones first, and a file needed now at once.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { FetchQueue } from '../play/fetch-queue.js';

// Fetches that the test ends by hand, named in the order they began.
function fetches() {
  const begun = [];
  const ends = new Map();
  return {
    begun,
    fetch: (name) => () => {
      begun.push(name);
      return new Promise((resolve) => ends.set(name, resolve));
    },
    async end(name) {
      ends.get(name)();
      await new Promise((resolve) => setImmediate(resolve));
    },
  };
}

test('waits for the start, runs two at a time, urgent ones first, and a hurried one at once', async () => {
  const queue = new FetchQueue();
  const { begun, fetch, end } = fetches();
  const entries = {};
  for (const name of ['a', 'b', 'c', 'd']) entries[name] = queue.add(fetch(name));
  queue.add(fetch('first'), true);
  queue.add(fetch('second'), true);
  assert.deepEqual(begun, [], 'nothing before the page has what it needs first');
  queue.hurry(entries.c);
  assert.deepEqual(begun, ['c'], 'needed now');
  queue.begin();
  assert.deepEqual(begun, ['c', 'first'], 'two at a time, the hurried one counted');
  await end('c');
  assert.deepEqual(begun, ['c', 'first', 'second']);
  queue.hurry(entries.c);
  assert.deepEqual(begun, ['c', 'first', 'second'], 'once only');
  await end('first');
  await end('second');
  assert.deepEqual(begun, ['c', 'first', 'second', 'a', 'b']);
  await end('a');
  assert.deepEqual(begun, ['c', 'first', 'second', 'a', 'b', 'd']);
});
