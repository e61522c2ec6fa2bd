// Stepping through an animation in time: durations, branches, loops and their ends.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { AnimationRunner } from '../play/animation-runner.js';
import { counter } from './support/characters.js';

function frames(...specs) {
  return { frames: specs.map(([duration, branches = [], exit = -1]) => ({ duration, images: [], exit, branches, mouths: [] })) };
}

function indexOf(runner, animation) {
  return animation.frames.indexOf(runner.frame);
}

test('shows each frame for its duration and keeps the last one when done', () => {
  const animation = frames([100], [50], [200]);
  const runner = new AnimationRunner(animation, counter());
  runner.start(1000);
  assert.equal(indexOf(runner, animation), 0);
  assert.equal(runner.advance(1099), false);
  assert.equal(runner.advance(1100), true);
  assert.equal(indexOf(runner, animation), 1);
  // A late tick catches up over frames it missed.
  runner.advance(1160);
  assert.equal(indexOf(runner, animation), 2);
  runner.advance(1349);
  assert.ok(!runner.finished);
  runner.advance(1350);
  assert.ok(runner.finished);
  assert.equal(indexOf(runner, animation), 2);
});

test('takes a branch by its chance out of a hundred', () => {
  // Frame 1 goes back to 0 with 30 percent, on to 3 with 50, else to 2.
  const animation = frames([10], [10, [[0, 30], [3, 50]]], [10], [10]);
  const next = (roll) => {
    const runner = new AnimationRunner(animation, counter([roll]));
    runner.start(0);
    runner.advance(10);
    runner.advance(20);
    return indexOf(runner, animation);
  };
  assert.equal(next(29), 0);
  assert.equal(next(30), 3);
  assert.equal(next(79), 3);
  assert.equal(next(80), 2);
  assert.equal(next(160), 3); // rolls count modulo 100
  assert.equal(next(180), 2);
});

test('asked to end at the loop, it leaves by the exit branch where it would go back', () => {
  const animation = frames([10], [10, [[0, 100]], 3], [10], [10]);
  const runner = new AnimationRunner(animation, counter());
  runner.start(0);
  runner.advance(10);
  runner.advance(20);
  assert.equal(indexOf(runner, animation), 0, 'loops while nobody asks it to end');
  runner.endAtLoop();
  runner.advance(30);
  runner.advance(40);
  assert.equal(indexOf(runner, animation), 3);
  runner.advance(50);
  assert.ok(runner.finished);
});

test('asked to exit now, it follows the exit branches at once', () => {
  const animation = frames([10, [], 4], [10], [10], [10], [10]);
  const runner = new AnimationRunner(animation, counter());
  runner.start(0);
  runner.exitNow();
  runner.advance(10);
  assert.equal(indexOf(runner, animation), 4);
});

test('a loop nobody ends ends by itself, and frames of no duration never hang a tick', () => {
  const looping = frames([100, [[0, 100]]]);
  const runner = new AnimationRunner(looping, counter());
  runner.start(0);
  for (let now = 0; now <= 10000; now += 100) runner.advance(now);
  assert.ok(!runner.finished);
  runner.advance(10100);
  runner.advance(10200);
  assert.ok(runner.finished);

  const spinning = frames([0, [[1, 100]]], [0, [[0, 100]]]);
  const spinner = new AnimationRunner(spinning, counter());
  spinner.start(0);
  spinner.advance(5);
  assert.ok(!spinner.finished);
  spinner.advance(10001);
  spinner.advance(10002);
  assert.ok(spinner.finished);
});

test('an animation without frames is finished at once', () => {
  const runner = new AnimationRunner({ frames: [] }, counter());
  runner.start(0);
  assert.ok(runner.finished);
  assert.equal(runner.frame, null);
});
