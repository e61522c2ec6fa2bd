// Performs a greeting's actions one after another, as the player does: each request is
// watched on the page's ticks until it is over before the next one is made. Every
// character joins the first time an action names it, standing hidden in the middle, and
// stays on the stage, so that several can appear together; at the end they all leave.
// Where the player would refuse the greeting, the page goes on and names what it skips.
// Saying and gliding need parts that the greeting's first frame goes without (the
// speaking and moving actions, the balloon, the voice): they are fetched after it, and an
// action that comes before its parts waits for them as an action waits for its character
// to join; where they cannot be fetched, it is skipped with a notice.
import { isUnderWay } from './character-actor.js';
import { PlayAction } from './play-action.js';
import { placeInside } from './positions.js';
import { shown } from './greeting-check.js';
import { VisibilityAction } from './visibility-action.js';

export const MOVE_TIME = 1000; // ms a move takes, the player's default speed

// The actions whose modules come after the first frame, by their command, with what a
// notice calls what they do.
const LATER_ACTIONS = {
  Say: { doing: 'speaking', fetch: async () => (await import('./speak-action.js')).SpeakAction },
  Move: { doing: 'moving', fetch: async () => (await import('./move-action.js')).MoveAction },
};

// A promise of the class of action that performs the command.
export function fetchLaterAction(command) {
  return LATER_ACTIONS[command].fetch();
}

// All of them, for the page to fetch once its first frame is on the screen.
export function fetchLaterActions() {
  return Promise.all(Object.keys(LATER_ACTIONS).map(fetchLaterAction));
}

const PHASE = { IDLE: 'idle', LOADING: 'loading', PERFORMING: 'performing', LEAVING: 'leaving', FINISHED: 'finished' };

export class Performer {
  // `actions` are the checked actions (see checkActions). `join(name)` gives a promise of
  // the character's actor; `stageSize()` the stage's width and height. The listeners:
  // onAction(index) as each action begins, onSkip(index, reason) for an action passed
  // over, onNotice(text) for a character that could not join, onFinished(stopped), and
  // onReady() once a join settled, so that the clock may tick then rather than at its
  // next frame. `prepareToSpeak(actor)` gives null when the actor can speak, else a
  // promise settled once it can; `fetchAction(command)` a promise of the class of action
  // for a command whose module comes later (see fetchLaterAction).
  constructor(actions, { join, stageSize, onAction = () => {}, onSkip = () => {}, onNotice = () => {}, onFinished = () => {},
    onReady = () => {}, prepareToSpeak = () => null, fetchAction = fetchLaterAction }) {
    this.actions = actions;
    this.join = join;
    this.stageSize = stageSize;
    this.listeners = { onAction, onSkip, onNotice, onFinished, onReady };
    this.prepareToSpeak = prepareToSpeak;
    this.fetchAction = fetchAction;
    this.laterActions = new Map(); // command -> its class of action, once fetched
    this.phase = PHASE.IDLE;
    this.next = 0;
    this.actors = new Map(); // by the site's character name
    this.missing = new Set(); // characters that could not join
    this.places = new Map(); // actor -> the named position it was last sent to
    this.joining = null; // { name, actor, error, settled }
    this.preparing = null; // { error, settled } while an action waits for its parts
    this.underWay = [];
    this.stopped = false;
  }

  get finished() {
    return this.phase === PHASE.FINISHED;
  }

  start() {
    this.phase = PHASE.PERFORMING;
  }

  // Ends the performance early: what the characters do stops and they leave at once.
  stop() {
    if (this.phase !== PHASE.LOADING && this.phase !== PHASE.PERFORMING) return;
    this.stopped = true;
    for (const actor of this.actors.values()) actor.stop();
    this.leave(true);
  }

  // One step of the page's clock: the characters act, then the greeting goes on for as
  // long as nothing is under way, so that requests that are over at once cost no tick.
  // Requests start in the tick they are made: a character appears in the tick its
  // sheet came, not a frame or two later.
  tick(now) {
    for (const actor of this.actors.values()) actor.tick(now);
    while (!this.waiting()) {
      if (this.phase === PHASE.LOADING) this.finishJoining();
      else if (this.phase === PHASE.PERFORMING) this.performNext();
      else if (this.phase === PHASE.LEAVING) this.finish();
      else break;
      for (const actor of this.actors.values()) actor.startWaiting(now);
    }
  }

  // The stage changed size or scale: characters standing at a named position go to its
  // new place; busy ones stay where they are, drawn at the new scale.
  relayout() {
    for (const [actor, name] of this.places) actor.moveTo(actor.busy ? actor.position : this.point(actor, name));
  }

  // Where the named position puts the actor on the stage as it is now.
  point(actor, name) {
    const { width, height } = this.stageSize();
    return placeInside(name, width, height, actor.character.width, actor.character.height);
  }

  remove() {
    for (const actor of this.actors.values()) actor.remove();
    this.actors.clear();
  }

  waiting() {
    if (this.phase === PHASE.LOADING) return !this.joining.settled;
    if (this.phase === PHASE.PERFORMING && this.preparing && !this.preparing.settled) return true;
    return this.underWay.some(isUnderWay);
  }

  performNext() {
    this.underWay = [];
    if (this.next === this.actions.length) {
      this.leave(false);
      return;
    }
    const action = this.actions[this.next];
    if (this.missing.has(action.character)) {
      this.listeners.onSkip(this.next, null);
      this.next += 1;
      return;
    }
    const actor = this.actors.get(action.character);
    if (!actor) {
      this.beginJoining(action.character);
      return;
    }
    if (!this.readyFor(actor, action)) return;
    this.listeners.onAction(this.next);
    const request = this.perform(actor, action);
    if (request) this.underWay.push(request);
    this.next += 1;
  }

  beginJoining(name) {
    const joining = { name, actor: null, error: null, settled: false };
    this.joining = joining;
    this.phase = PHASE.LOADING;
    this.join(name).then(
      (actor) => {
        // A performance stopped meanwhile no longer wants it.
        if (this.stopped) actor.remove();
        else this.settle(joining, { actor });
      },
      (error) => this.settle(joining, { error }));
  }

  // True when the parts the action needs are at hand; else the performer waits for them,
  // or skips the action where they could not be fetched.
  readyFor(actor, action) {
    const prepared = this.preparing;
    if (prepared) {
      this.preparing = null;
      if (!prepared.error) return true;
      const { doing } = LATER_ACTIONS[action.command];
      this.listeners.onSkip(this.next, `Action ${action.number}: this page could not fetch what ${doing} needs (${prepared.error.message}).`);
      this.next += 1;
      return false;
    }
    const needed = this.partsMissing(actor, action);
    if (needed.length === 0) return true;
    const preparing = { error: null, settled: false };
    this.preparing = preparing;
    Promise.all(needed).then(() => this.settle(preparing, {}), (error) => this.settle(preparing, { error }));
    return false;
  }

  // Promises of the parts the action needs that are not at hand: a Say with words needs
  // its action and the actor's balloon and voice, a glide in sight its action. Out of
  // sight a character moves at once, with nothing fetched.
  partsMissing(actor, { command, argument }) {
    const later = command === 'Say' ? argument !== '' : command === 'Move' && actor.visible;
    if (!later) return [];
    const needed = command === 'Say' ? [this.prepareToSpeak(actor)] : [];
    if (!this.laterActions.has(command))
      needed.push(this.fetchAction(command).then((kind) => this.laterActions.set(command, kind)));
    return needed.filter(Boolean);
  }

  settle(joining, outcome) {
    Object.assign(joining, outcome, { settled: true });
    this.listeners.onReady();
  }

  finishJoining() {
    const { name, actor, error } = this.joining;
    this.joining = null;
    this.phase = PHASE.PERFORMING;
    if (error) {
      this.missing.add(name);
      this.listeners.onNotice(`The character "${name}" could not be loaded (${error.message}); its actions are skipped.`);
      return;
    }
    // Until the greeting moves it, a character stands where the maker first shows it.
    this.actors.set(name, actor);
    this.jump(actor, 'Center');
  }

  jump(actor, name) {
    this.places.set(actor, name);
    actor.moveTo(this.point(actor, name));
  }

  glide(actor, name) {
    this.places.set(actor, name);
    const MoveAction = this.laterActions.get('Move');
    return actor.queue(new MoveAction(this.point(actor, name), MOVE_TIME));
  }

  perform(actor, action) {
    const { command, argument } = action;
    switch (command) {
      case 'Show':
      case 'Hide':
        return actor.queue(new VisibilityAction(command === 'Show', argument !== 'Animate'));
      case 'Say': {
        // Nothing to say shows no balloon, as in the maker.
        if (argument === '') return null;
        const SpeakAction = this.laterActions.get('Say');
        return actor.queue(new SpeakAction(argument));
      }
      case 'Animate': {
        const animation = actor.character.findAnimation(argument);
        if (!animation) {
          this.listeners.onSkip(this.next, `Action ${action.number}: ${action.character} has no animation "${shown(argument)}".`);
          return null;
        }
        return actor.queue(new PlayAction(animation));
      }
      case 'Move':
        if (actor.visible) return this.glide(actor, argument);
        this.jump(actor, argument);
        return null;
      default:
        // The check lets no other command through.
        return null;
    }
  }

  leave(fast) {
    this.underWay = [...this.actors.values()].map((actor) => actor.queue(new VisibilityAction(false, fast)));
    this.phase = PHASE.LEAVING;
  }

  finish() {
    this.underWay = [];
    this.phase = PHASE.FINISHED;
    this.listeners.onFinished(this.stopped);
  }
}
