// How a text is paced: when each word appears, the mouth for each letter, when the
// balloon goes.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { MOUTH } from '../play/mouths.js';
import { BALLOON_LINGER, LETTER_TIME, WORD_GAP, SpeechPacing, mouthForLetter, speechWords } from '../play/speech-pacing.js';

test('splits the text into words at any white space', () => {
  assert.deepEqual(speechWords('  Hello,\tdear\r\nAnna  '), ['Hello,', 'dear', 'Anna']);
  assert.deepEqual(speechWords(' \t '), []);
  // A non-breaking space belongs to its word, as in the player.
  assert.deepEqual(speechWords('a\u00a0b c'), ['a\u00a0b', 'c']);
});

test('each word takes its letters and a gap; the balloon lingers after the last', () => {
  assert.equal(LETTER_TIME, 60);
  assert.equal(WORD_GAP, 120);
  assert.equal(BALLOON_LINGER, 1200);
  const pacing = new SpeechPacing(['Hi', 'there']);
  assert.deepEqual([0, 239, 240, 659, 660].map((t) => pacing.shownAt(t)), [1, 1, 2, 2, 2]);
  assert.equal(pacing.end, 660);
  assert.ok(pacing.talkingAt(659));
  assert.ok(!pacing.talkingAt(660));
  assert.ok(!pacing.doneAt(1859));
  assert.ok(pacing.doneAt(1860));
});

test('the mouth takes each letter\'s shape, closes in the gaps and rests after talking', () => {
  const pacing = new SpeechPacing(['Hi', 'moa']);
  assert.equal(pacing.mouthAt(0), MOUTH.WIDE1); // H
  assert.equal(pacing.mouthAt(60), MOUTH.WIDE2); // i
  assert.equal(pacing.mouthAt(130), MOUTH.CLOSED); // the gap
  assert.equal(pacing.mouthAt(240), MOUTH.CLOSED); // m
  assert.equal(pacing.mouthAt(300), MOUTH.MEDIUM); // o
  assert.equal(pacing.mouthAt(419), MOUTH.WIDE4); // a
  assert.equal(pacing.mouthAt(pacing.end), MOUTH.NONE);
});

test('letters have the player\'s mouth shapes', () => {
  const shapes = { a: 4, E: 3, i: 2, Y: 2, o: 5, u: 6, w: 6, Q: 6, m: 0, b: 0, P: 0, t: 1, Z: 1, '!': 0, '7': 0, '\u00e9': 0 };
  for (const [letter, mouth] of Object.entries(shapes)) assert.equal(mouthForLetter(letter), mouth, letter);
});
