// Steps through one animation's frames in time, as the player does: each frame for its
// duration, then on along a branch picked by its probability, or to the next frame.
// Asked to finish, it leaves a loop where the loop would go back (endAtLoop) or takes the
// frames' exit branches at once (exitNow); either way it ends within one pass over the
// frames. A loop nobody ends ends by itself after a while, so that nothing waits forever.

// Frames of no duration follow one another at once; a loop of them must not hang a tick.
const MOST_STEPS_PER_ADVANCE = 64;
const LONGEST_LOOP = 10000; // ms

const ENDING = { NONE: 0, AT_LOOP: 1, NOW: 2 };

export class AnimationRunner {
  // `random` gives whole numbers of at least 0; branches are picked by its value mod 100.
  constructor(animation, random) {
    this.animation = animation;
    this.random = random;
    this.index = 0;
    this.started = 0;
    this.frameStart = 0;
    this.finished = false;
    this.ending = ENDING.NONE;
    this.stepsSinceEnding = 0;
  }

  // Begins (again) at the first frame; an animation without frames is finished at once.
  start(now) {
    this.index = 0;
    this.started = now;
    this.frameStart = now;
    this.finished = this.animation.frames.length === 0;
    this.ending = ENDING.NONE;
  }

  // The frame to show; null only for an animation without frames.
  get frame() {
    return this.animation.frames[this.index] ?? null;
  }

  endAtLoop() {
    if (this.ending === ENDING.NONE) {
      this.ending = ENDING.AT_LOOP;
      this.stepsSinceEnding = 0;
    }
  }

  exitNow() {
    if (this.ending !== ENDING.NOW) {
      this.ending = ENDING.NOW;
      this.stepsSinceEnding = 0;
    }
  }

  // Moves on to the frame due at `now`; true when the frame shown has changed.
  advance(now) {
    if (now - this.started > LONGEST_LOOP) this.endAtLoop();
    const frames = this.animation.frames;
    let changed = false;
    for (let step = 0; step < MOST_STEPS_PER_ADVANCE && !this.finished; step += 1) {
      const duration = frames[this.index].duration;
      if (now - this.frameStart < duration) return changed;
      const next = this.nextFrame();
      if (next >= frames.length) {
        // The last frame stays on the screen.
        this.finished = true;
        return changed;
      }
      this.frameStart += duration;
      changed = changed || next !== this.index;
      this.index = next;
    }
    // Caught in frames of no duration: carry on from here at the next tick.
    this.frameStart = now;
    return changed;
  }

  // The frame after the current one, or the frame count when the animation ends.
  nextFrame() {
    const frames = this.animation.frames;
    const frame = frames[this.index];
    if (this.ending !== ENDING.NONE && ++this.stepsSinceEnding > frames.length) return frames.length;
    if (this.ending === ENDING.NOW && frame.exit >= 0) return frame.exit;
    let next = this.index + 1;
    let roll = this.random() % 100;
    for (const [target, probability] of frame.branches) {
      if (roll < probability) {
        next = target;
        break;
      }
      roll -= probability;
    }
    // A way back would loop again: leave by the exit branch, or straight on.
    if (this.ending !== ENDING.NONE && next <= this.index) return frame.exit >= 0 ? frame.exit : this.index + 1;
    return next;
  }
}
