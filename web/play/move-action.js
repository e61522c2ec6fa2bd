// Glides the character to a point (its top left corner) in the given time, playing its
// moving animation for the direction on the way; a time of 0, or a character that is
// hidden, jumps there.
import { AnimationRunner } from './animation-runner.js';
import { ACTION_STATE } from './stage-action.js';

// The state whose animation shows the character moving that way.
function movingState(from, to) {
  const dx = to.x - from.x;
  const dy = to.y - from.y;
  if (Math.abs(dx) >= Math.abs(dy)) return dx < 0 ? 'Moving Left' : 'Moving Right';
  return dy < 0 ? 'Moving Up' : 'Moving Down';
}

export class MoveAction {
  constructor(target, duration) {
    this.target = target;
    this.duration = duration;
    this.from = null;
    this.jump = true;
    this.animation = null;
    this.began = 0;
    this.runner = null;
  }

  // Picks the moving animation, which the actor waits for.
  prepare(actor) {
    this.from = actor.position;
    // A glide nobody can see would only hold up what comes next.
    this.jump = this.duration === 0 || !actor.visible || (this.from.x === this.target.x && this.from.y === this.target.y);
    this.animation = this.jump ? null : actor.stateAnimation(movingState(this.from, this.target));
    return this.animation;
  }

  start(actor, now) {
    this.began = now;
    if (this.jump) {
      actor.moveTo(this.target);
      return ACTION_STATE.COMPLETE;
    }
    const { animation } = this;
    if (animation) {
      this.runner = new AnimationRunner(animation, actor.random);
      this.runner.start(now);
      actor.showFrame(this.runner.frame);
    }
    return ACTION_STATE.RUNNING;
  }

  tick(actor, now) {
    const elapsed = now - this.began;
    if (elapsed >= this.duration) {
      actor.moveTo(this.target);
      this.stop(actor);
      return ACTION_STATE.COMPLETE;
    }
    const share = elapsed / this.duration;
    actor.moveTo({
      x: this.from.x + Math.round((this.target.x - this.from.x) * share),
      y: this.from.y + Math.round((this.target.y - this.from.y) * share),
    });
    // The moving animation goes on for the whole way.
    if (this.runner && actor.playStep(this.runner, now)) this.runner.start(now);
    return ACTION_STATE.RUNNING;
  }

  stop(actor) {
    if (this.runner) actor.showRestFrame();
  }
}
