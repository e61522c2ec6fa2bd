// The nine characters in the web form the build made: each description is whole, has
// what the page plays on its own on its first sprite sheet, and fits its sheets.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { Character } from '../play/character.js';

const NAMES = ['Tolvan', 'Mirelle', 'Grumbold', 'Merlin', 'Peedy', 'Genie', 'Robby', 'Yulebard', 'Crookbeak'];
const STATES = ['Showing', 'Hiding', 'Speaking', 'Moving Left', 'Moving Right', 'Moving Up', 'Moving Down'];

function folder() {
  const path = process.env.PARLA_WEB_CHARACTERS;
  assert.ok(path, 'PARLA_WEB_CHARACTERS names no folder: the host build writes the characters there');
  return path;
}

// Width and height from a PNG file's header.
function sheetSize(bytes) {
  assert.equal(bytes.toString('latin1', 12, 16), 'IHDR');
  return { width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20) };
}

for (const name of NAMES) {
  test(`${name} is whole, plays on its own from its first sheet and fits its sheets`, () => {
    const character = new Character(JSON.parse(readFileSync(`${folder()}/${name}.json`, 'utf8')));
    assert.equal(character.name, name);
    // Appearing takes the first sheet only, the rest of what the page plays on its own
    // the first two.
    for (const state of STATES) {
      const animation = character.stateAnimation(state, () => 0);
      assert.ok(animation, `${name} cannot play ${state}`);
      const most = state === 'Showing' ? 0 : 1;
      assert.ok(character.sheetsNeeded.get(animation).every((sheet) => sheet <= most),
        `${name}'s ${state} needs sheets ${character.sheetsNeeded.get(animation)}`);
    }
    assert.deepEqual(character.sheetsNeeded.get(character.findAnimation('RestPose')), [0]);
    // What the page does not need at once comes later, in several parts.
    assert.ok(character.sheetCount > 2, `${name} has ${character.sheetCount} sheets`);
    assert.ok(character.findState('Idling', true), `${name} does not idle`);
    assert.ok(character.restFrame(() => 0), `${name} has no rest frame`);
    const talking = character.animations.some((animation) => animation.frames.some((frame) => frame.mouths.length));
    assert.ok(talking, `${name} has no mouth to talk with`);

    const sheets = Array.from({ length: character.sheetCount },
      (_, index) => sheetSize(readFileSync(`${folder()}/${name}${index ? `.${index}` : ''}.png`)));
    for (const [index, place] of character.images.entries()) {
      if (place) {
        const sheet = sheets[place.sheet];
        assert.ok(place.x + place.width <= sheet.width && place.y + place.height <= sheet.height,
          `${name}'s image ${index} lies outside its ${sheet.width} x ${sheet.height} sheet ${place.sheet}`);
      }
    }
  });
}
