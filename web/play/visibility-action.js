// Shows or hides the character, with its Showing or Hiding animation unless asked to be
// fast; done at once when the character already is as asked.
import { AnimationRunner } from './animation-runner.js';
import { ACTION_STATE } from './stage-action.js';

export class VisibilityAction {
  constructor(show, fast) {
    this.show = show;
    this.fast = fast;
    this.animation = null;
    this.runner = null;
  }

  // Picks the animation, which the actor waits for.
  prepare(actor) {
    const needed = !this.fast && actor.visible !== this.show;
    this.animation = needed ? actor.stateAnimation(this.show ? 'Showing' : 'Hiding') : null;
    return this.animation;
  }

  start(actor, now) {
    if (actor.visible === this.show) return ACTION_STATE.COMPLETE;
    const { animation } = this;
    if (!animation) {
      if (this.show) actor.showRestFrame();
      return this.complete(actor);
    }
    this.runner = new AnimationRunner(animation, actor.random);
    this.runner.start(now);
    actor.showFrame(this.runner.frame);
    if (this.show) actor.setVisible(true);
    return ACTION_STATE.RUNNING;
  }

  tick(actor, now) {
    return actor.playStep(this.runner, now) ? this.complete(actor) : ACTION_STATE.RUNNING;
  }

  stop() {}

  complete(actor) {
    actor.setVisible(this.show);
    return ACTION_STATE.COMPLETE;
  }
}
