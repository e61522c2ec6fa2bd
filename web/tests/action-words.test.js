// The transcript in the recipient's words: no command or animation names of the maker.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { tellAction } from '../play/action-words.js';

const told = (character, command, argument) => tellAction({ character, command, argument });

test('each command is told as what the recipient sees or hears', () => {
  assert.equal(told('Merlin', 'Show', 'Animate'), 'Merlin appears');
  assert.equal(told('Merlin', 'Hide', 'Don\'t Animate'), 'Merlin leaves');
  assert.equal(told('Zoë', 'Say', 'Hello, "you"'), 'Zoë says: "Hello, "you""');
  assert.equal(told('Merlin', 'Move', 'Bottom Right'), 'Merlin moves to the bottom right');
  assert.equal(told('Merlin', 'Move', 'Center'), 'Merlin moves to the middle');
  assert.equal(told('Merlin', 'Move', 'nowhere'), 'Merlin moves to the middle', 'any other name is the centre');
  assert.equal(told('Merlin', 'Dance', 'x'), 'A part this page cannot play');
  assert.equal(told('Merlin', 'constructor', ''), 'A part this page cannot play');
});

test('animation names become plain words', () => {
  assert.equal(told('Wabbit', 'Animate', 'DOMAGIC1'), 'Wabbit acts: domagic1');
  assert.equal(told('Merlin', 'Animate', 'DoMagic1'), 'Merlin acts: do magic 1');
  assert.equal(told('Merlin', 'Animate', 'GetAttention_Return'), 'Merlin acts: get attention return');
  assert.equal(told('Merlin', 'Animate', '__'), 'Merlin acts: a gesture');
});
