// A character's description as the page takes it: what it refuses, how it finds
// animations and states, and which sheet images make a frame.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { Character, frameLayers } from '../play/character.js';
import { MOUTH } from '../play/mouths.js';
import { counter, description } from './support/characters.js';

test('refuses broken descriptions with the reason', () => {
  const broken = {
    'the frame width': { width: 0 },
    'the balloon is missing': { balloon: null },
    'the balloon colour': { balloon: { ...description().balloon, background: 'red;x' } },
    'image 1': { images: [[0, 0, 1, 1], [0, 0, 0, 5]] },
    'the image list': { images: 'many' },
    'shows an image': { animations: [{ name: 'A', frames: [{ duration: 1, images: [[10, 0, 0]] }] }] },
    'exit frame': { animations: [{ name: 'A', frames: [{ duration: 1, exit: 1 }] }] },
    "'s branch": { animations: [{ name: 'A', frames: [{ duration: 1, branches: [[-1, 50]] }] }] },
    'mouth shape': { animations: [{ name: 'A', frames: [{ duration: 1, mouths: [[7, 0, 0, 0, 0]] }] }] },
    "'s duration": { animations: [{ name: 'A', frames: [{ duration: 1.5 }] }] },
    "animation 0's name": { animations: [{ frames: [] }] },
    'broken: ': { animations: [null] },
    "image 0's sheet": { images: [[0, 0, 1, 1, 1]] },
    'the sheet count': { sheets: 0 },
    "'s sound": { animations: [{ name: 'A', frames: [{ duration: 1, sound: -1 }] }] },
    'the file names are not a map': { files: ['Merlin.1.png'] },
    'the file name of Merlin.1.png is not': { files: { 'Merlin.1.png': 'Merlin.1.png' } },
    'the file name of Merlin.2.png is not': { files: { 'Merlin.2.png': 'Merlin.2.0123456789ABCDEF.png' } },
    'the file name of Merlin.0.wav is not': { files: { 'Merlin.0.wav': '../Merlin.0.0123456789abcdef.wav' } },
    'the file name of Merlin.3.png is not': { files: { 'Merlin.3.png': 'Merlin.0123456789abcdef.3.png' } },
    'the file name of png is not': { files: { png: '0123456789abcdef.png' } },
    'the file name of Merlin.1.png is not a text': { files: { 'Merlin.1.png': 7 } },
  };
  for (const [reason, change] of Object.entries(broken)) {
    assert.throws(() => new Character(description(change)), (error) =>
      error.message.startsWith('its description is broken: ') && error.message.includes(reason), reason);
  }
  assert.throws(() => new Character(null), /broken/);
});

test('a voice block that does not fit is left out, and the character plays in the default voice', () => {
  const voice = { rate: 1.25, pitch: 0.9, language: 'en-GB', gender: 'female' };
  assert.deepEqual(new Character(description({ voice })).voice, voice);
  assert.deepEqual(new Character(description({ voice: { pitch: 2 } })).voice, { rate: null, pitch: 2, language: null, gender: null });
  assert.equal(new Character(description()).voice, null, 'none given');
  const unfit = {
    'an older tool\'s words a minute and Hz': { speed: 150, pitch: 120, language: 'en-US' },
    'words a minute alone': { speed: 150 },
    'an old pitch in Hz': { pitch: 120 },
    'no rate': { rate: 0 },
    'a rate in words': { rate: '1.2' },
    'a pitch in words': { pitch: '1.2' },
    'no language tag': { language: 'en GB' },
    'a language that is no text': { language: 7 },
    'no gender': { gender: 'robot' },
    'a list': [1, 2],
    'a number': 150,
    'nothing': null,
  };
  for (const [what, block] of Object.entries(unfit))
    assert.equal(new Character(description({ voice: block })).voice, null, what);
  // Only the voice is forgiven.
  assert.throws(() => new Character(description({ voice: { pitch: 120 }, width: 0 })), /the frame width/);
});

test('fills in what a frame leaves out', () => {
  const character = new Character(description({ animations: [{ name: 'Bare', frames: [{ duration: 20 }] }] }));
  assert.deepEqual(character.animations[0], {
    name: 'Bare', returnName: null, frames: [{ duration: 20, images: [], exit: -1, sound: -1, branches: [], mouths: [] }],
  });
});

test('finds animations without regard to case, and states however they are spaced', () => {
  const character = new Character(description());
  assert.equal(character.findAnimation('wAVE').name, 'Wave');
  assert.equal(character.findAnimation('Wav'), null);
  assert.equal(character.findState('Moving Right').name, 'MovingRight');
  assert.equal(character.findState('movingleft').name, 'Moving Left');
  assert.equal(character.findState('Idling', true).name, 'IdlingLevel1');
  assert.equal(character.findState('Idling'), null);
  assert.equal(character.stateAnimation('showing', counter()).name, 'Show');
  assert.equal(character.stateAnimation('Hearing', counter()), null);
});

test('picks a state\'s animations among those with frames', () => {
  const character = new Character(description({
    states: [{ name: 'Idling', animations: ['Missing', 'Empty', 'Wave', 'Idle'] }],
    animations: [...description().animations, { name: 'Empty', frames: [] }],
  }));
  const state = character.findState('Idling');
  assert.equal(character.pickAnimation(state, counter([0])).name, 'Wave');
  assert.equal(character.pickAnimation(state, counter([3])).name, 'Idle');
});

test('stands in its rest pose, else where showing ends, else in any first frame', () => {
  const full = new Character(description());
  assert.equal(full.restFrame(counter()), full.findAnimation('RestPose').frames[0]);
  const noRest = description();
  noRest.animations = noRest.animations.filter((animation) => animation.name !== 'RestPose');
  const showing = new Character(noRest);
  assert.equal(showing.restFrame(counter()), showing.findAnimation('Show').frames[1]);
  const plain = new Character(description({ states: [], animations: [{ name: 'Only', frames: [{ duration: 1 }] }] }));
  assert.equal(plain.restFrame(counter()), plain.animations[0].frames[0]);
});

test('a frame draws its images bottom first, a mouth over them or in place of the top one', () => {
  const character = new Character(description({
    images: [[0, 0, 5, 5], [5, 0, 5, 5], null, [10, 0, 3, 3]],
    animations: [{
      name: 'A',
      frames: [{ duration: 1, images: [[0, 1, 2], [1, 3, 4], [2, 0, 0]], mouths: [[1, 3, 7, 8, 0], [2, 3, 9, 9, 1]] }],
    }],
  }));
  const frame = character.animations[0].frames[0];
  const where = (mouth) => frameLayers(character, frame, mouth).map(({ x, left, top }) => [x, left, top]);
  // The empty slot draws nothing.
  assert.deepEqual(where(MOUTH.NONE), [[5, 3, 4], [0, 1, 2]]);
  assert.deepEqual(where(MOUTH.WIDE1), [[5, 3, 4], [0, 1, 2], [10, 7, 8]]);
  assert.deepEqual(where(MOUTH.WIDE2), [[5, 3, 4], [10, 9, 9]]);
  assert.deepEqual(where(MOUTH.WIDE4), where(MOUTH.NONE));
  assert.deepEqual(frameLayers(character, null, MOUTH.NONE), []);
});

test('names its later files as the site does: by their hashes where the description gives them', () => {
  const character = new Character(description({ files: { 'Zo\u00eb.1.png': 'Zo\u00eb.1.0123456789abcdef.png', 'Zo\u00eb.0.wav': 'Zo\u00eb.0.fedcba9876543210.wav' } }));
  assert.equal(character.fileName('Zo\u00eb.1.png'), 'Zo\u00eb.1.0123456789abcdef.png');
  assert.equal(character.fileName('Zo\u00eb.0.wav'), 'Zo\u00eb.0.fedcba9876543210.wav');
  assert.equal(character.fileName('Zo\u00eb.2.png'), 'Zo\u00eb.2.png', 'a file it does not name goes under its plain name');
  assert.equal(new Character(description()).fileName('Merlin.1.png'), 'Merlin.1.png');
});

test('an animation needs the sheets its frames and mouths cut from, and those of the one it returns by', () => {
  const images = Array.from({ length: 10 }, (_, index) => [index * 10, 0, 10, 10, Math.floor(index / 3)]);
  images[6] = null;
  const character = new Character(description({ sheets: 4, images }));
  const needed = (name) => [...character.sheetsNeeded.get(character.findAnimation(name))].sort();
  assert.deepEqual(needed('RestPose'), [0, 3], 'its mouth lies on the last sheet');
  assert.deepEqual(needed('Show'), [0, 3], 'it returns by the rest pose');
  assert.deepEqual(needed('Idle'), [2, 3]);
  assert.deepEqual(needed('MoveLeft'), [2]);
  assert.deepEqual(character.images[9], { x: 90, y: 0, width: 10, height: 10, sheet: 3 });
  assert.equal(new Character(description()).sheetCount, 1, 'one sheet when the description names none');
});
