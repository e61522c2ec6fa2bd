// Characters and stand-ins for the page's views, for tests that run the player's logic
// without a browser.
import { Character } from '../../play/character.js';
import { CharacterActor } from '../../play/character-actor.js';

// A frame of `duration` ms showing image `image`, with optional extras.
export function frame(image, duration = 100, extras = {}) {
  return { duration, images: [[image, 0, 0]], ...extras };
}

// A description as the site serves it: images 0-9 on the sheet, a rest pose, showing,
// hiding, speaking, moving and idling animations, and "Wave", which loops back once.
export function description(overrides = {}) {
  return {
    name: 'Tester',
    width: 100,
    height: 80,
    balloon: {
      lines: 2, charsPerLine: 30, foreground: '#000000', background: '#ffffe1', border: '#000000',
      font: 'Tahoma', fontSize: 13, fontWeight: 400, italic: false,
    },
    images: Array.from({ length: 10 }, (_, index) => [index * 10, 0, 10, 10]),
    states: [
      { name: 'Showing', animations: ['Show'] },
      { name: 'Hiding', animations: ['Hide'] },
      { name: 'Speaking', animations: ['Speak'] },
      { name: 'MovingRight', animations: ['MoveRight'] },
      { name: 'Moving Left', animations: ['MoveLeft'] },
      { name: 'IdlingLevel1', animations: ['Idle'] },
    ],
    animations: [
      { name: 'RestPose', frames: [frame(0, 100, { mouths: [[4, 9, 5, 6, 0]] })] },
      { name: 'Show', return: 'RESTPOSE', frames: [frame(1), frame(2)] },
      { name: 'Hide', frames: [frame(3), frame(4)] },
      { name: 'Speak', frames: [frame(5, 100, { mouths: [[1, 8, 0, 0, 1]] })] },
      { name: 'MoveRight', frames: [frame(6), frame(7)] },
      { name: 'MoveLeft', frames: [frame(7)] },
      { name: 'Idle', frames: [frame(8, 200), frame(9, 200)] },
      { name: 'Wave', frames: [frame(1), frame(2, 100, { branches: [[0, 100]], exit: 3 }), frame(3), frame(4)] },
    ],
    ...overrides,
  };
}

// Records what the actor asks of its picture, balloon and voice.
export class Recorder {
  constructor() {
    this.visible = false;
    this.position = null;
    this.layers = [];
    this.draws = 0;
    this.frames = []; // the images of each frame drawn, in turn
    this.visibility = []; // [visible, the images shown then] at each change
    this.balloon = { open: false, words: [], shown: 0, bounds: null };
    this.spoken = [];
    this.removed = false;
  }

  views() {
    const record = this;
    return {
      view: {
        draw(layers) {
          record.layers = layers;
          record.draws += 1;
          record.frames.push(record.images);
        },
        setVisible(visible) {
          record.visible = visible;
          record.visibility.push([visible, record.images]);
        },
        moveTo(x, y) { record.position = { x, y }; },
        remove() { record.removed = true; },
      },
      balloon: {
        open(words, bounds) { Object.assign(record.balloon, { open: true, words, shown: 0, bounds }); },
        showWords(count) { record.balloon.shown = count; },
        close() { record.balloon.open = false; },
        remove() {},
      },
      speech: {
        speak(text) { record.spoken.push(text); },
        stop() { record.spoken.push(null); },
      },
    };
  }

  // The sheet images the last frame drawn shows, bottom first.
  get images() {
    return this.layers.map((layer) => layer.x / 10);
  }
}

// Random numbers that come round in order; a branch of 100 percent is always taken.
export function counter(values = [0]) {
  let next = 0;
  return () => values[next++ % values.length];
}

export function makeActor(overrides = {}, random = counter()) {
  const recorder = new Recorder();
  const actor = new CharacterActor(new Character(description(overrides)), { ...recorder.views(), random });
  return { actor, recorder };
}
