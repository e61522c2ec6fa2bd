// The nine named positions on a stage, as the player places characters on the screen.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { POSITION_NAMES, positionPoint } from '../play/positions.js';

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
