// Says a text: the words appear in the balloon one by one at a talking pace while the
// voice (where there is one) says them and the mouth moves, then the balloon goes away a
// little after the last word. The mouth moves on the frame the character stands in when
// that has mouth overlays, else on its Speaking animation. A text without words is done
// at once, without a balloon.
import { AnimationRunner } from './animation-runner.js';
import { MOUTH } from './mouths.js';
import { SpeechPacing, speechWords } from './speech-pacing.js';
import { ACTION_STATE } from './stage-action.js';

export class SpeakAction {
  constructor(text) {
    this.text = text;
    this.pacing = null;
    this.began = 0;
    this.shown = 0;
    this.frame = null;
    this.speaking = null;
    this.runner = null;
  }

  // Picks the speaking animation where the frame has no mouth; the actor waits for it.
  prepare(actor) {
    this.frame = actor.currentFrame;
    this.speaking = this.frame?.mouths.length ? null : actor.stateAnimation('Speaking');
    return this.speaking;
  }

  start(actor, now) {
    const words = speechWords(this.text);
    if (words.length === 0) return ACTION_STATE.COMPLETE;
    this.pacing = new SpeechPacing(words);
    this.began = now;
    actor.balloon.open(words, actor.bounds);
    actor.speech.speak(this.text, actor.character.voice);
    if (this.speaking) {
      this.runner = new AnimationRunner(this.speaking, actor.random);
      this.runner.start(now);
    }
    return this.tick(actor, now);
  }

  tick(actor, now) {
    const elapsed = now - this.began;
    const shown = this.pacing.shownAt(elapsed);
    if (shown !== this.shown) {
      this.shown = shown;
      actor.balloon.showWords(shown);
    }
    const mouth = this.pacing.mouthAt(elapsed);
    if (this.runner) actor.playStep(this.runner, now, mouth);
    else actor.showFrame(this.frame, mouth);
    if (!this.pacing.doneAt(elapsed)) return ACTION_STATE.RUNNING;
    // The voice may still be talking; it finishes on its own.
    this.closeBalloon(actor);
    return ACTION_STATE.COMPLETE;
  }

  stop(actor) {
    actor.speech.stop();
    this.closeBalloon(actor);
  }

  closeBalloon(actor) {
    actor.balloon.close();
    actor.showFrame(actor.currentFrame, MOUTH.NONE);
  }
}
