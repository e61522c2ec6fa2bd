// The characters' voice: the browser's speech synthesis where there is one, silence
// where there is none.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { Speech } from '../play/speech.js';

test('speaks in US English through the synthesis, and stops it', (t) => {
  const said = [];
  globalThis.SpeechSynthesisUtterance = function Utterance(text) { this.text = text; };
  t.after(() => delete globalThis.SpeechSynthesisUtterance);
  const speech = new Speech({ speak: (utterance) => said.push(utterance), cancel: () => said.push('cancelled') });
  speech.speak('Happy birthday');
  speech.stop();
  assert.deepEqual(said.map((item) => (typeof item === 'string' ? item : [item.text, item.lang])),
    [['Happy birthday', 'en-US'], 'cancelled']);
});

test('without synthesis, or without utterances, it stays silent', () => {
  for (const speech of [new Speech(undefined), new Speech({ speak() { throw new Error('spoke'); }, cancel() {} })]) {
    speech.speak('Hello');
    speech.stop();
  }
});
