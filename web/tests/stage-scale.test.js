// How large the page draws the characters: whole device pixels per character pixel where
// the stage allows, scaled down only where it must, never a stage too small for them.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { LEAST_STAGE, StageLayout, stageScale } from '../play/stage-scale.js';

function layout(clientWidth, clientHeight, devicePixelRatio, at = { left: 0, top: 0 }) {
  const stage = { clientWidth, clientHeight, clientLeft: 0, clientTop: 0, dataset: {}, getBoundingClientRect: () => at };
  return new StageLayout(stage, { devicePixelRatio });
}

test('a desktop stage draws each character pixel as a whole square of screen pixels', () => {
  assert.equal(stageScale(1068, 560, 1), 2);
  assert.equal(stageScale(1800, 1000, 1), 3);
  assert.equal(stageScale(640, 512, 1), 2);
  assert.equal(stageScale(639, 512, 1), 1, 'just short of twice the least stage');
  // On a 150 % screen two CSS pixels would be three device pixels: whole device pixels win.
  assert.equal(stageScale(1068, 560, 1.5), 2);
  assert.equal(stageScale(700, 420, 1.5), 4 / 3);
  // A phone with three device pixels to a CSS pixel draws three a character pixel.
  assert.equal(stageScale(342, 380, 3), 1);
});

test('a stage smaller than the least one is scaled down to show all of it', () => {
  assert.equal(stageScale(160, 256, 1), 0.5);
  assert.equal(stageScale(320, 128, 2), 0.5);
  assert.equal(stageScale(0, 0, 1), 1, 'a stage not laid out yet');
});

test('the stage measured is never smaller than the least stage in character pixels, and reports its scale', () => {
  for (const ratio of [1, 1.25, 1.5, 2, 2.625, 3]) {
    for (let width = 150; width <= 2000; width += 37) {
      for (let height = 120; height <= 1200; height += 41) {
        const measured = layout(width, height, ratio);
        const { size, scale } = measured;
        const where = `${width} x ${height} at ${ratio}`;
        assert.ok(size.width >= LEAST_STAGE.width && size.height >= LEAST_STAGE.height, `${where}: ${JSON.stringify(size)}`);
        assert.ok(size.width * scale <= width + 1e-6 && size.height * scale <= height + 1e-6, `${where}: overflows`);
        // Whole device pixels, but for the plain scale of 1 on a screen of a fractional ratio.
        if (scale > 1 || (scale === 1 && Number.isInteger(ratio))) assert.ok(Number.isInteger(Math.round(ratio * scale * 1e9) / 1e9), `${where}: ${scale}`);
        assert.equal(measured.stage.dataset.scale, String(scale));
      }
    }
  }
});

test('a stage that starts part-way into a device pixel has its characters shifted onto whole ones', () => {
  assert.deepEqual(layout(800, 600, 1, { left: 16, top: 238.5 }).shift, { x: 0, y: 0.5 });
  assert.deepEqual(layout(800, 600, 2, { left: 16.25, top: 100.5 }).shift, { x: 0.25, y: 0 });
  const { x } = layout(800, 600, 1.5, { left: 10.5, top: 0 }).shift;
  assert.ok(Math.abs(x - 1 / 6) < 1e-9, `shifted ${x}`);
});
