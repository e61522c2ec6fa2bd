// How a spoken text is paced, as the player paces it: the words appear one by one, each
// taking a while per letter and a pause after it; the balloon stays a little after the
// last word. The mouth takes a shape per letter of the word being said.
import { MOUTH } from './mouths.js';

export const LETTER_TIME = 60; // ms per letter spoken
export const WORD_GAP = 120; // ms between words
export const BALLOON_LINGER = 1200; // ms the balloon stays after the last word

const SHAPES = [
  ['a', MOUTH.WIDE4], ['e', MOUTH.WIDE3], ['iy', MOUTH.WIDE2], ['o', MOUTH.MEDIUM],
  ['uwq', MOUTH.NARROW], ['mbp', MOUTH.CLOSED],
];

export function speechWords(text) {
  return text.split(/[ \t\n\v\f\r]+/).filter((word) => word !== '');
}

export function mouthForLetter(letter) {
  const lower = letter.toLowerCase();
  for (const [letters, mouth] of SHAPES)
    if (letters.includes(lower)) return mouth;
  return /^[A-Za-z]$/.test(letter) ? MOUTH.WIDE1 : MOUTH.CLOSED;
}

// The course of speaking the words, by the time since speaking began.
export class SpeechPacing {
  constructor(words) {
    this.words = words;
    this.starts = [];
    let at = 0;
    for (const word of words) {
      this.starts.push(at);
      at += word.length * LETTER_TIME + WORD_GAP;
    }
    this.end = at; // when the last word and its pause are over
  }

  // How many words have appeared.
  shownAt(elapsed) {
    let shown = 0;
    while (shown < this.words.length && this.starts[shown] <= elapsed) shown += 1;
    return shown;
  }

  talkingAt(elapsed) {
    return elapsed < this.end;
  }

  // The mouth shape to show, or MOUTH.NONE once the talking is over.
  mouthAt(elapsed) {
    if (!this.talkingAt(elapsed)) return MOUTH.NONE;
    const last = this.shownAt(elapsed) - 1;
    const word = this.words[last];
    const letter = Math.floor((elapsed - this.starts[last]) / LETTER_TIME);
    return letter < word.length ? mouthForLetter(word[letter]) : MOUTH.CLOSED;
  }

  doneAt(elapsed) {
    return elapsed >= this.end + BALLOON_LINGER;
  }
}
