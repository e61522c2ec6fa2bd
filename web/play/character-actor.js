// One character on the page, performing its requests one after another as the player's
// stage does, on the ticks the page gives it: it owns what is seen and heard of the
// character (its picture, its balloon, its voice, its sounds). When it has nothing to do
// and is visible, it idles now and then with its idling animations. An action that plays
// an animation whose sheets have not come yet waits for them before it starts. A frame's
// sound starts as the frame comes and stops when its action ends (hiding included).
import { frameLayers } from './character.js';
import { MOUTH } from './mouths.js';
import { PlayAction } from './play-action.js';
import { ACTION_STATE } from './stage-action.js';

// Sheets for characters whose images are all at hand, and sounds for those without.
const ALL_AT_HAND = { ready: () => true };
const SILENCE = { play: () => null };

const SHORTEST_IDLE_WAIT = 10000; // ms after the last thing done
const LONGEST_IDLE_WAIT = 20000;

export const REQUEST_STATUS = Object.freeze({
  PENDING: 'pending',
  RUNNING: 'running',
  COMPLETE: 'complete',
  FAILED: 'failed',
  INTERRUPTED: 'interrupted',
});

export function isUnderWay(request) {
  return request.status === REQUEST_STATUS.PENDING || request.status === REQUEST_STATUS.RUNNING;
}

export class CharacterActor {
  // The view draws the character's frames and places it, the balloon shows its words
  // and the speech says them (both may come later: learnToSpeak); `random` gives whole
  // numbers of at least 0; `sheets` tell whether sheets have come (see CharacterSheets);
  // `sounds` play the frames' sounds.
  constructor(character, { view, balloon = null, speech = null, random, sheets = ALL_AT_HAND, sounds = SILENCE }) {
    this.character = character;
    this.sheets = sheets;
    this.sounds = sounds;
    this.sounding = []; // what stops the sounds started
    this.view = view;
    this.balloon = balloon;
    this.speech = speech;
    this.random = random;
    this.queued = []; // requests waiting their turn
    this.current = null; // { request, action, waiting }; request is null while idling
    this.visible = false;
    this.position = { x: 0, y: 0 };
    this.frame = null;
    this.mouth = MOUTH.NONE;
    this.drawn = false;
    this.idling = character.findState('Idling', true);
    this.idleAt = 0;
    this.rest = character.restFrame(random);
    this.showRestFrame();
  }

  get requestsWaiting() {
    return this.queued.length > 0;
  }

  get currentFrame() {
    return this.frame;
  }

  // Where the character's frame lies on the stage.
  get bounds() {
    const { x, y } = this.position;
    return { left: x, top: y, right: x + this.character.width, bottom: y + this.character.height };
  }

  // The request waits its turn as pending; performing begins at the next tick, or at
  // startWaiting.
  queue(action) {
    const request = { status: REQUEST_STATUS.PENDING };
    this.queued.push({ request, action });
    return request;
  }

  // Ends every request, waiting or running, as interrupted; what runs stops at once.
  stop() {
    for (const { request } of this.queued) request.status = REQUEST_STATUS.INTERRUPTED;
    this.queued = [];
    if (this.current) {
      this.current.action.stop(this);
      if (this.current.request) this.current.request.status = REQUEST_STATUS.INTERRUPTED;
      this.current = null;
      this.showRestFrame();
    }
    this.stopSounds();
  }

  stopSounds() {
    for (const sound of this.sounding.splice(0)) sound.stop();
  }

  // Whether requests are performed or waiting; idling is none.
  get busy() {
    return Boolean(this.current?.request) || this.requestsWaiting;
  }

  stateAnimation(name) {
    return this.character.stateAnimation(name, this.random);
  }

  setVisible(visible) {
    this.visible = visible;
    this.view.setVisible(visible);
  }

  moveTo(point) {
    this.position = { x: point.x, y: point.y };
    this.view.moveTo(point.x, point.y);
  }

  // Puts the frame on the stage with the mouth overlay of that shape (or MOUTH.NONE).
  showFrame(frame, mouth = MOUTH.NONE) {
    if (this.drawn && frame === this.frame && mouth === this.mouth) return;
    const arriving = frame !== this.frame;
    this.frame = frame;
    this.mouth = mouth;
    this.view.draw(frameLayers(this.character, frame, mouth));
    this.drawn = true;
    if (arriving && frame?.sound >= 0) {
      const sound = this.sounds.play(frame.sound);
      if (sound) this.sounding.push(sound);
    }
  }

  showRestFrame() {
    this.showFrame(this.rest);
  }

  // Moves the animation on and shows its frame; true when it has finished. Requests
  // waiting behind it end its loops.
  playStep(runner, now, mouth = MOUTH.NONE) {
    if (this.requestsWaiting) runner.endAtLoop();
    runner.advance(now);
    this.showFrame(runner.frame, mouth);
    return runner.finished;
  }

  tick(now) {
    if (this.current?.waiting) this.startWhenReady(now);
    else if (this.current) {
      const state = this.current.action.tick(this, now);
      if (state !== ACTION_STATE.RUNNING) this.finish(state, now);
    }
    this.startWaiting(now);
    if (!this.current && this.idling && this.visible && now >= this.idleAt) this.beginIdling(now);
  }

  // Starts the requests waiting, one after another while they are over at once.
  startWaiting(now) {
    while (!this.current && this.queued.length) {
      this.current = this.queued.shift();
      this.current.request.status = REQUEST_STATUS.RUNNING;
      this.current.waiting = this.current.action.prepare?.(this) ?? null;
      this.startWhenReady(now);
    }
  }

  // Starts the current action once the sheets of the animation it plays have come.
  startWhenReady(now) {
    const { waiting, request } = this.current;
    if (waiting && !this.sheets.ready(this.character.sheetsNeeded.get(waiting))) {
      // Idling waits for nobody.
      if (!request && this.requestsWaiting) this.current = null;
      return;
    }
    this.current.waiting = null;
    const state = this.current.action.start(this, now);
    if (state !== ACTION_STATE.RUNNING) this.finish(state, now);
  }

  finish(state, now) {
    this.stopSounds();
    if (this.current.request)
      this.current.request.status = state === ACTION_STATE.COMPLETE ? REQUEST_STATUS.COMPLETE : REQUEST_STATUS.FAILED;
    this.current = null;
    // Idling waits a while after the last thing done.
    this.idleAt = now + SHORTEST_IDLE_WAIT + (this.random() % (LONGEST_IDLE_WAIT - SHORTEST_IDLE_WAIT));
  }

  beginIdling(now) {
    const animation = this.character.pickAnimation(this.idling, this.random);
    if (!animation) return;
    this.current = { request: null, action: new PlayAction(animation, true), waiting: animation };
    this.startWhenReady(now);
  }

  learnToSpeak(balloon, speech) {
    this.balloon = balloon;
    this.speech = speech;
  }

  remove() {
    this.stop();
    this.speech?.stop();
    this.balloon?.remove();
    this.view.remove();
  }
}
