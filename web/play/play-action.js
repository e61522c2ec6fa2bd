// Plays one of the character's animations, then the animation it returns by when it
// names one. Idling gives way at once to any request that comes.
import { AnimationRunner } from './animation-runner.js';
import { ACTION_STATE } from './stage-action.js';

export class PlayAction {
  constructor(animation, idling = false) {
    this.animation = animation;
    this.idling = idling;
    this.returning = false;
    this.runner = null;
  }

  prepare() {
    return this.animation;
  }

  start(actor, now) {
    return this.begin(actor, this.animation, now);
  }

  begin(actor, animation, now) {
    this.runner = new AnimationRunner(animation, actor.random);
    this.runner.start(now);
    if (this.runner.finished) return ACTION_STATE.COMPLETE;
    actor.showFrame(this.runner.frame);
    return ACTION_STATE.RUNNING;
  }

  tick(actor, now) {
    if (this.idling && actor.requestsWaiting) this.runner.exitNow();
    if (!actor.playStep(this.runner, now)) return ACTION_STATE.RUNNING;
    if (this.returning || !this.animation.returnName) return ACTION_STATE.COMPLETE;
    this.returning = true;
    const back = actor.character.findAnimation(this.animation.returnName);
    if (!back || back === this.animation) return ACTION_STATE.COMPLETE;
    return this.begin(actor, back, now);
  }

  stop() {}
}
