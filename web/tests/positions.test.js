// The nine named positions on a stage, as the player places characters on the screen,
// and as the page keeps them on its stage.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';
import { POSITION_NAMES, placeInside, positionPoint } from '../play/positions.js';
import { LEAST_STAGE } from '../play/stage-scale.js';

const BUNDLED = ['Tolvan', 'Mirelle', 'Grumbold', 'Merlin', 'Peedy', 'Genie', 'Robby', 'Yulebard', 'Crookbeak'];

test('places a character by its top left corner at each of the nine positions', () => {
  const expected = {
    'Top Left': [0, 0], 'Top Center': [512, 0], 'Top Right': [896, 0],
    'Middle Left': [0, 384], Center: [512, 384], 'Middle Right': [896, 384],
    'Bottom Left': [0, 640], 'Bottom Center': [512, 640], 'Bottom Right': [896, 640],
  };
  assert.deepEqual(POSITION_NAMES, Object.keys(expected));
  for (const name of POSITION_NAMES) {
    const { x, y } = positionPoint(name, 1024, 768, 128, 128);
    assert.deepEqual([x, y], expected[name], name);
  }
});

test('halves of odd sizes are cut, and any other name is the centre', () => {
  assert.deepEqual(positionPoint('Center', 1023, 767, 100, 80), { x: 511, y: 383 });
  assert.deepEqual(positionPoint('Bottom Right', 1023, 767, 100, 80), { x: 923, y: 687 });
  for (const other of ['center', 'TOP LEFT', '', 'Top  Left', 'Middle'])
    assert.deepEqual(positionPoint(other, 800, 600, 50, 50), { x: 400, y: 300 }, other);
});

// A character larger than a quarter of the stage, near each edge.
test('a character that would stand over an edge is pulled in just far enough to show whole', () => {
  const [width, height] = [300, 200]; // on a 400 x 300 stage
  const expected = {
    'Top Left': [0, 0], 'Top Center': [100, 0], 'Top Right': [100, 0],
    'Middle Left': [0, 100], Center: [100, 100], 'Middle Right': [100, 100],
    'Bottom Left': [0, 100], 'Bottom Center': [100, 100], 'Bottom Right': [100, 100],
  };
  for (const name of POSITION_NAMES) {
    const { x, y } = placeInside(name, 400, 300, width, height);
    assert.deepEqual([x, y], expected[name], name);
  }
  // Only the side that would stick out moves.
  assert.deepEqual(placeInside('Center', 400, 300, 150, 200), { x: 200, y: 100 });
  assert.deepEqual(placeInside('Top Center', 400, 300, 250, 100), { x: 150, y: 0 });
});

test('a character larger than the stage keeps its top left corner on it', () => {
  for (const name of POSITION_NAMES) assert.deepEqual(placeInside(name, 320, 256, 500, 400), { x: 0, y: 0 }, name);
  assert.deepEqual(placeInside('Bottom Right', 320, 256, 500, 100), { x: 0, y: 156 });
});

// The least stage the page lays out is large enough for every bundled character at every
// position, so that greetings made for them stand where they stood before.
test('the bundled characters stand at the player\'s points on every stage the page lays out', () => {
  const folder = process.env.PARLA_WEB_CHARACTERS;
  assert.ok(folder, 'PARLA_WEB_CHARACTERS names no folder: the host build writes the characters there');
  const sizes = readdirSync(folder).filter((file) => file.endsWith('.json'))
    .map((file) => JSON.parse(readFileSync(`${folder}/${file}`, 'utf8')))
    .filter((character) => BUNDLED.includes(character.name));
  assert.equal(sizes.length, BUNDLED.length);
  const stages = [[LEAST_STAGE.width, LEAST_STAGE.height], [321, 257], [534, 280], [1024, 768], [342, 380], [1919, 999]];
  for (const { name: character, width, height } of sizes) {
    for (const [stageWidth, stageHeight] of stages) {
      for (const name of POSITION_NAMES) {
        assert.deepEqual(placeInside(name, stageWidth, stageHeight, width, height),
          positionPoint(name, stageWidth, stageHeight, width, height), `${character} at ${name} on ${stageWidth} x ${stageHeight}`);
      }
    }
  }
});
