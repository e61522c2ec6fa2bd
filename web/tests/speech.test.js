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

test('a character\'s own voice: its speed, pitch and language, and a voice of that language and gender', (t) => {
  const said = [];
  globalThis.SpeechSynthesisUtterance = function Utterance(text) {
    Object.assign(this, { text, rate: 1, pitch: 1, voice: null });
  };
  t.after(() => delete globalThis.SpeechSynthesisUtterance);
  const voices = [
    { name: 'Anna US', lang: 'en-US' }, { name: 'Brian male', lang: 'en-GB' }, { name: 'Carol (Female)', lang: 'en_GB' },
    { name: 'Dieter', lang: 'de-AT' },
  ];
  const speech = new Speech({ speak: (utterance) => said.push(utterance), cancel() {}, getVoices: () => voices });
  const heard = () => {
    const { lang, rate, pitch, voice } = said.at(-1);
    return { lang, rate, pitch, voice: voice?.name ?? null };
  };
  speech.speak('Hi', { rate: 2, pitch: 0.5, language: 'en-GB', gender: 'female' });
  assert.deepEqual(heard(), { lang: 'en-GB', rate: 2, pitch: 0.5, voice: 'Carol (Female)' });
  speech.speak('Hi', { rate: null, pitch: null, language: 'en-GB', gender: 'male' });
  assert.deepEqual(heard(), { lang: 'en-GB', rate: 1, pitch: 1, voice: 'Brian male' }, 'not the female one');
  speech.speak('Hi', { rate: 0.03, pitch: 7.7, language: 'de-DE', gender: null });
  assert.deepEqual(heard(), { lang: 'de-DE', rate: 0.1, pitch: 2, voice: 'Dieter' }, 'bounded, and of its kind');
  speech.speak('Hi', { rate: 1.25, pitch: null, language: 'fi-FI', gender: null });
  assert.deepEqual(heard(), { lang: 'fi-FI', rate: 1.25, pitch: 1, voice: null }, 'the browser picks for the language');
  speech.speak('Hi', null);
  assert.deepEqual(heard(), { lang: 'en-US', rate: 1, pitch: 1, voice: null }, 'without settings as before');
});
