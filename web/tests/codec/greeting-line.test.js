// The page's decoder against the cases the maker's own codec tests write out: the same
// lines must give the same fields and the same rows of the action list.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { decodeLine, describeAction, isCommand, COMMANDS } from '../../play/greeting-line.js';

function readVectors() {
  const path = process.env.PARLA_CODEC_VECTORS;
  assert.ok(path, 'PARLA_CODEC_VECTORS names no file: the Windows greeting tests write it (ctest in build/win)');
  return JSON.parse(readFileSync(path, 'utf8'));
}

test('decodes and describes every line as the maker does', () => {
  const { codePage, vectors } = readVectors();
  // The page reads greetings as code page 1252; the cases must be of the same.
  assert.equal(codePage, 1252);
  assert.ok(vectors.length > 200, `only ${vectors.length} cases`);
  for (const vector of vectors) {
    const action = decodeLine(vector.line);
    assert.deepEqual(action, { character: vector.character, command: vector.command, argument: vector.argument },
      `line ${JSON.stringify(vector.line)}`);
    assert.equal(describeAction(action), vector.description, `line ${JSON.stringify(vector.line)}`);
  }
});

test('knows the five commands by their exact names', () => {
  assert.deepEqual(COMMANDS, ['Show', 'Hide', 'Say', 'Animate', 'Move']);
  assert.ok(isCommand('Say'));
  for (const other of ['say', 'SAY', 'Speak', '', 'constructor', '__proto__', 'toString'])
    assert.ok(!isCommand(other), other);
  assert.equal(describeAction({ character: 'Merlin', command: 'constructor', argument: '' }), 'Undefined Action.');
});
