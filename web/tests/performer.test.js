// The greeting performed as the player performs it, on a clock the test turns: the five
// commands, characters joining, pacing, moves, idling, stopping, and what is skipped.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { Character } from '../play/character.js';
import { CharacterActor } from '../play/character-actor.js';
import { checkActions } from '../play/greeting-check.js';
import { decodeLine } from '../play/greeting-line.js';
import { MOVE_TIME, Performer, fetchLaterAction } from '../play/performer.js';
import { PlayAction } from '../play/play-action.js';
import { SpeakAction } from '../play/speak-action.js';
import { VisibilityAction } from '../play/visibility-action.js';
import { Recorder, counter, description, frame, makeActor } from './support/characters.js';

const TICK = 10; // ms between the clock's ticks
const DEADLINE = 120000; // ms of the greeting's own time a test waits at most

// A greeting on a 1024 x 768 stage, with characters made from the test description.
class Show {
  constructor(lines, { names = ['Merlin', 'Peedy'], refuse = {}, overrides = {}, prepareToSpeak, fetchAction } = {}) {
    const actions = lines.map((line, index) => ({ number: index + 1, ...decodeLine(line) }));
    const { playable, skipped } = checkActions(actions, names);
    this.skippedAtCheck = skipped;
    this.recorders = new Map();
    this.events = [];
    this.joined = []; // [name, how many actions had begun]
    this.readies = 0; // joins the page heard had settled
    this.stage = { width: 1024, height: 768 };
    this.now = 1000;
    this.performer = new Performer(playable, {
      join: (name) => this.join(name, refuse[name], overrides[name]),
      stageSize: () => this.stage,
      onAction: (index) => this.events.push(['action', playable[index].number]),
      onSkip: (index, reason) => this.events.push(['skip', playable[index].number, reason]),
      onNotice: (text) => this.events.push(['notice', text]),
      onFinished: (stopped) => this.events.push(['finished', stopped]),
      onReady: () => { this.readies += 1; },
      prepareToSpeak,
      fetchAction,
    });
    this.performer.start();
  }

  async join(name, refusal, overrides = {}) {
    if (refusal) throw new Error(refusal);
    const recorder = new Recorder();
    this.recorders.set(name, recorder);
    this.joined.push([name, this.events.filter(([kind]) => kind === 'action').length]);
    return new CharacterActor(new Character(description({ name, ...overrides })), { ...recorder.views(), random: counter() });
  }

  character(name) {
    return this.recorders.get(name);
  }

  // Turns the clock until the condition holds, letting joins settle between ticks.
  async until(condition, what) {
    const deadline = this.now + DEADLINE;
    while (!condition()) {
      assert.ok(this.now < deadline, `the greeting's clock ran ${DEADLINE} ms without ${what}`);
      await new Promise(setImmediate);
      this.performer.tick(this.now);
      this.now += TICK;
    }
  }

  async untilAction(number) {
    await this.until(() => this.events.some(([kind, n]) => kind === 'action' && n === number), `action ${number}`);
  }

  async toEnd() {
    await this.until(() => this.performer.finished, 'the end');
  }

  // Turns the clock on by a while, whatever happens.
  async wait(ms) {
    const end = this.now + ms;
    await this.until(() => this.now >= end, `${ms} ms`);
  }
}

test('a character joins hidden in the middle, shows with its animation and leaves at the end', async () => {
  const show = new Show(['Merlin,Show,Animate']);
  await show.untilAction(1);
  const merlin = show.character('Merlin');
  assert.equal(show.readies, 1, 'the page hears when the character has come');
  // Hidden until its Show, which begins in the tick the action does.
  assert.deepEqual(merlin.visibility, [[true, [1]]], 'the first frame of Show');
  assert.deepEqual(merlin.position, { x: 512, y: 384 });
  await show.until(() => merlin.images[0] === 2, 'the second frame of Show');
  // At the end the character hides with its animation.
  await show.until(() => merlin.images[0] === 3, 'Hide');
  assert.ok(merlin.visible, 'hides only once its animation is over');
  await show.toEnd();
  assert.ok(!merlin.visible);
  assert.deepEqual(show.events.at(-1), ['finished', false]);
});

test('fast Show and Hide appear and go at once, in the rest pose', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Hide,Don\'t Animate', 'Merlin,Show,anything']);
  await show.untilAction(3);
  // Requests over at once take no tick: all three begin in one.
  assert.deepEqual(show.character('Merlin').visibility, [[true, [0]], [false, [0]], [true, [0]]]);
});

test('Say opens the balloon and shows the words at the talking pace while the mouth moves', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Say,  say   ahh  ']);
  await show.untilAction(2);
  const merlin = show.character('Merlin');
  await show.until(() => merlin.balloon.open, 'the balloon');
  const opened = show.now - TICK;
  assert.deepEqual(merlin.balloon.words, ['say', 'ahh']);
  assert.deepEqual(merlin.balloon.bounds, { left: 512, top: 384, right: 612, bottom: 464 });
  assert.deepEqual(merlin.spoken, ['  say   ahh  ']);
  assert.equal(merlin.balloon.shown, 1);
  // "say" takes 3 letters and a gap: "ahh" appears 300 ms on, its "a" with the wide mouth.
  await show.until(() => merlin.balloon.shown === 2, 'the second word');
  assert.equal(show.now - TICK - opened, 300);
  assert.deepEqual(merlin.images, [0, 9], 'the rest pose with the mouth for "a"');
  await show.until(() => !merlin.balloon.open, 'the balloon closing');
  // 3 + 3 letters, two gaps, then the balloon lingers.
  assert.equal(show.now - TICK - opened, 6 * 60 + 2 * 120 + 1200);
  // The mouth closes, then the greeting is over and Merlin leaves.
  assert.deepEqual(merlin.frames.slice(-2), [[0], [3]]);
});

test('a Say waits for what speaking needs, and is skipped with a notice where it cannot be fetched', async () => {
  const asked = [];
  let give = null;
  const prepareToSpeak = (actor) => {
    asked.push(actor.character.name);
    if (asked.length === 1) return new Promise((resolve) => { give = resolve; });
    if (asked.length === 2) return Promise.reject(new Error('the site could not be reached'));
    return null;
  };
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Say,Hi', 'Merlin,Say,Lost', 'Merlin,Say,Again'], { prepareToSpeak });
  await show.untilAction(1);
  await show.wait(2000);
  const begun = () => show.events.filter(([kind]) => kind === 'action').map(([, number]) => number);
  assert.deepEqual(begun(), [1], 'the first Say waits');
  give();
  await show.untilAction(2);
  await show.untilAction(4);
  await show.toEnd();
  assert.deepEqual(begun(), [1, 2, 4]);
  assert.deepEqual(show.character('Merlin').spoken, ['Hi', 'Again']);
  assert.deepEqual(show.events.filter(([kind]) => kind === 'skip'),
    [['skip', 3, 'Action 3: this page could not fetch what speaking needs (the site could not be reached).']]);
  assert.deepEqual(asked, ['Merlin', 'Merlin', 'Merlin']);
});

test('a character whose standing frame has no mouths talks with its Speaking animation', async () => {
  const plain = description().animations.map((animation) =>
    (animation.name === 'RestPose' ? { name: 'RestPose', frames: [{ duration: 100, images: [[0, 0, 0]] }] } : animation));
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Say,Hi'], { overrides: { Merlin: { animations: plain } } });
  await show.untilAction(2);
  const merlin = show.character('Merlin');
  // "H": the Speaking frame with its mouth in place of its top image.
  await show.until(() => merlin.balloon.open, 'the balloon');
  assert.deepEqual(merlin.images, [8]);
});

test('Say with nothing to say shows no balloon', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Say,', 'Merlin,Say, \t ', 'Merlin,Hide,Don\'t Animate']);
  await show.untilAction(4);
  assert.equal(show.character('Merlin').balloon.words.length, 0);
  assert.deepEqual(show.character('Merlin').spoken, []);
});

test('Move glides to the named position with the moving animation; a hidden character jumps', async () => {
  const show = new Show(['Peedy,Move,Bottom Right', 'Merlin,Show,Don\'t Animate', 'Merlin,Move,Top Left', 'Merlin,Hide,Animate']);
  await show.untilAction(2);
  assert.deepEqual(show.character('Peedy').position, { x: 924, y: 688 }, 'hidden, Peedy is there at once');
  await show.untilAction(3);
  const merlin = show.character('Merlin');
  const began = show.now;
  await show.until(() => merlin.position.x < 512, 'Merlin moving');
  assert.deepEqual(merlin.images, [7], 'the animation for moving left');
  await show.until(() => show.now - began >= MOVE_TIME / 2 + TICK, 'half the move');
  assert.ok(Math.abs(merlin.position.x - 256) <= 6 && Math.abs(merlin.position.y - 192) <= 5,
    `half-way at ${JSON.stringify(merlin.position)}`);
  await show.untilAction(4);
  assert.deepEqual(merlin.position, { x: 0, y: 0 });
  assert.ok(show.now - began >= MOVE_TIME, 'the move took its time');
});

test('a Move in sight waits for its action to be fetched, and is skipped with a notice where it cannot be; out of sight it waits for nothing', async () => {
  const asked = [];
  let give = null;
  const held = new Promise((resolve) => { give = resolve; });
  const fetchAction = (command) => {
    asked.push(command);
    if (asked.length === 1) return Promise.reject(new Error('the site could not be reached'));
    if (asked.length === 2) return held.then(() => fetchLaterAction(command));
    return fetchLaterAction(command);
  };
  const show = new Show(['Merlin,Move,Bottom Right', 'Merlin,Show,Animate', 'Merlin,Move,Center',
    'Merlin,Move,Top Left', 'Merlin,Move,Top Right'], { fetchAction });
  await show.untilAction(2);
  const merlin = show.character('Merlin');
  assert.deepEqual(merlin.position, { x: 924, y: 688 }, 'hidden, Merlin is there at once');
  assert.deepEqual(asked, [], 'nothing fetched for it, while Merlin is still showing');
  await show.until(() => show.events.some(([kind]) => kind === 'skip'), 'the first Move in sight passed over');
  assert.deepEqual(show.events.find(([kind]) => kind === 'skip'),
    ['skip', 3, 'Action 3: this page could not fetch what moving needs (the site could not be reached).']);
  await show.wait(2000);
  const begun = () => show.events.filter(([kind]) => kind === 'action').map(([, number]) => number);
  assert.deepEqual(begun(), [1, 2], 'the next Move waits for its action');
  assert.deepEqual(merlin.position, { x: 924, y: 688 });
  give();
  await show.until(() => merlin.position.x < 924, 'Merlin moving');
  assert.deepEqual(merlin.images, [7], 'the animation for moving left');
  await show.untilAction(5);
  assert.deepEqual(merlin.position, { x: 0, y: 0 });
  await show.toEnd();
  assert.deepEqual(merlin.position, { x: 924, y: 0 });
  assert.deepEqual(asked, ['Move', 'Move'], 'fetched until it came, then no more');
});

test('Animate plays the animation and the one it returns by; an unknown one is named and passed over', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Animate,show', 'Merlin,Animate,Dance', 'Merlin,Hide,Don\'t Animate']);
  await show.untilAction(2);
  const merlin = show.character('Merlin');
  const seen = [];
  await show.until(() => {
    if (seen.at(-1) !== merlin.images[0]) seen.push(merlin.images[0]);
    return show.events.some(([kind]) => kind === 'skip');
  }, 'the unknown animation');
  // The fast Show and the animation begin in one tick.
  assert.deepEqual(seen, [1, 2, 0]);
  assert.deepEqual(show.events.find(([kind]) => kind === 'skip'), ['skip', 3, 'Action 3: Merlin has no animation "Dance".']);
  await show.toEnd();
});

test('a character that cannot join is named once, its actions pass, the others play', async () => {
  const show = new Show(['Peedy,Show,Animate', 'Merlin,Show,Don\'t Animate', 'Peedy,Say,Hello', 'Merlin,Say,Hi'],
    { refuse: { Peedy: 'the site answered 404' } });
  await show.toEnd();
  assert.deepEqual(show.events.filter(([kind]) => kind !== 'finished'), [
    ['notice', 'The character "Peedy" could not be loaded (the site answered 404); its actions are skipped.'],
    ['skip', 1, null],
    ['action', 2],
    ['skip', 3, null],
    ['action', 4],
  ]);
  assert.deepEqual(show.character('Merlin').spoken, ['Hi']);
});

test('characters join when first named and leave together at the end', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Peedy,Show,Don\'t Animate', 'Merlin,Say,Hi']);
  await show.untilAction(3);
  assert.deepEqual(show.joined, [['Merlin', 0], ['Peedy', 1]], 'Peedy joins when the greeting names him');
  assert.ok(show.character('Merlin').visible && show.character('Peedy').visible);
  await show.until(() => show.character('Merlin').images[0] === 3 || !show.character('Merlin').visible, 'leaving');
  assert.ok(show.character('Peedy').images[0] === 3, 'both leave at once');
  await show.toEnd();
});

test('Stop ends what plays: the voice and balloon stop and everyone leaves at once', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Say,A long thing to say', 'Merlin,Move,Top Left']);
  await show.untilAction(2);
  const merlin = show.character('Merlin');
  await show.until(() => merlin.balloon.shown === 2, 'talking');
  show.performer.stop();
  assert.ok(!merlin.balloon.open);
  assert.deepEqual(merlin.spoken, ['A long thing to say', null]);
  await show.toEnd();
  assert.ok(!merlin.visible);
  assert.deepEqual(show.events.at(-1), ['finished', true]);
  assert.ok(!show.events.some(([kind, number]) => kind === 'action' && number === 3));
});

test('a stage that changes size takes the characters standing at named places along', async () => {
  const show = new Show(['Merlin,Show,Don\'t Animate', 'Merlin,Move,Bottom Right', 'Peedy,Show,Don\'t Animate',
    'Peedy,Say,Hello there you']);
  await show.untilAction(4);
  await show.until(() => show.character('Peedy').balloon.open, 'Peedy talking');
  show.stage = { width: 400, height: 300 };
  show.performer.relayout();
  assert.deepEqual(show.character('Merlin').position, { x: 300, y: 220 });
  assert.deepEqual(show.character('Peedy').position, { x: 512, y: 384 }, 'not while it talks');
});

test('a visible character idles 10 to 20 s after its last request, and gives way to the next', async () => {
  const random = counter([5000]);
  const recorder = new Recorder();
  const actor = new CharacterActor(new Character(description()), { ...recorder.views(), random });
  actor.queue(new VisibilityAction(true, true));
  actor.tick(0);
  assert.ok(recorder.visible);
  actor.tick(14999);
  assert.deepEqual(recorder.images, [0], 'still resting');
  actor.tick(15000);
  assert.deepEqual(recorder.images, [8], 'idling, 10 s + 5000 ms on');
  const request = actor.queue(new SpeakAction('Hi'));
  actor.tick(15200);
  assert.deepEqual(recorder.images, [9], 'the idle animation runs out');
  assert.equal(request.status, 'pending');
  actor.tick(15400);
  assert.equal(request.status, 'running');
  assert.ok(recorder.balloon.open);
});

test('a hidden character does not idle, and Stop interrupts every request', async () => {
  const { actor, recorder } = makeActor();
  actor.tick(0);
  actor.tick(60000);
  assert.equal(recorder.draws, 1, 'only its rest pose, drawn once');
  const first = actor.queue(new VisibilityAction(true, false));
  const second = actor.queue(new SpeakAction('Hi'));
  actor.tick(60010);
  assert.equal(first.status, 'running');
  actor.stop();
  assert.deepEqual([first.status, second.status], ['interrupted', 'interrupted']);
  assert.deepEqual(recorder.images, [0]);
});

test('a character larger than a quarter of the stage stays wholly on it wherever the greeting sends it', async () => {
  const edges = ['Center', 'Bottom Right', 'Middle Right', 'Bottom Center', 'Top Center'];
  const show = new Show(['Merlin,Show,Don\'t Animate', ...edges.map((name) => `Merlin,Move,${name}`), 'Merlin,Say,Done'],
    { overrides: { Merlin: { width: 300, height: 200 } } });
  show.stage = { width: 400, height: 300 };
  const seen = [];
  for (let number = 2; number <= edges.length + 2; number += 1) {
    await show.untilAction(number);
    seen.push(show.character('Merlin').position);
  }
  // Where it first stands, then after each move: pulled in from the right and the bottom.
  assert.deepEqual(seen, [{ x: 100, y: 100 }, { x: 100, y: 100 }, { x: 100, y: 100 }, { x: 100, y: 100 },
    { x: 100, y: 100 }, { x: 100, y: 0 }]);
  show.stage = { width: 1024, height: 768 };
  show.performer.relayout();
  await show.until(() => !show.performer.actors.get('Merlin').busy, 'Merlin done');
  show.performer.relayout();
  assert.deepEqual(show.character('Merlin').position, { x: 512, y: 0 }, 'at Top Center of the larger stage');
});

// Sheets that come when the test says; the actor asks for those it waits for.
class Sheets {
  constructor() {
    this.come = new Set([0]);
    this.asked = new Set();
  }

  ready(sheets) {
    const missing = sheets.filter((sheet) => !this.come.has(sheet));
    for (const sheet of missing) this.asked.add(sheet);
    return missing.length === 0;
  }
}

test('an action waits for the sheets its animation cuts from; idling waits for nobody', async () => {
  // Hiding on sheet 1, Show's on 2, idling's first on 3.
  const sheetOf = [0, 2, 2, 1, 1, 0, 0, 0, 3, 0];
  const images = sheetOf.map((sheet, index) => [index * 10, 0, 10, 10, sheet]);
  // Speaking without a mouth, whose image lies on the first sheet.
  const states = description().states.map((state) => (state.name === 'Speaking' ? { ...state, animations: ['MoveLeft'] } : state));
  const character = new Character(description({ sheets: 4, images, states }));
  const recorder = new Recorder();
  const sheets = new Sheets();
  const actor = new CharacterActor(character, { ...recorder.views(), random: counter([5000]), sheets });

  const show = actor.queue(new VisibilityAction(true, false));
  actor.tick(0);
  assert.equal(show.status, 'running');
  assert.equal(recorder.visible, false, 'not shown without the images of its showing');
  assert.deepEqual([...sheets.asked], [2]);
  sheets.come.add(2);
  actor.tick(100);
  assert.deepEqual([recorder.visible, recorder.images], [true, [1]], 'shows from its first frame');

  actor.tick(1000);
  assert.equal(show.status, 'complete');
  const hide = actor.queue(new PlayAction(character.findAnimation('Hide')));
  actor.tick(1010);
  actor.tick(5000);
  assert.deepEqual([hide.status, recorder.images], ['running', [2]], 'stands as it was while the sheet comes');
  sheets.come.add(1);
  actor.tick(5010);
  assert.deepEqual(recorder.images, [3], 'from its first frame once its sheet came');
  actor.tick(5110);
  assert.deepEqual(recorder.images, [4]);
  actor.tick(5210);
  assert.equal(hide.status, 'complete');

  // Idle 15 s after the last request; its sheet has not come.
  actor.tick(20210);
  assert.deepEqual([...sheets.asked].sort(), [1, 2, 3]);
  assert.deepEqual(recorder.images, [4]);
  const speak = actor.queue(new SpeakAction('Hi there'));
  actor.tick(20220);
  assert.deepEqual([speak.status, recorder.balloon.open, recorder.images], ['running', true, [7]], 'the request goes first');
});

// Sounds that record when they start and stop, by the image the frame shows.
class Speakers {
  constructor(recorder) {
    this.recorder = recorder;
    this.log = [];
  }

  play(index) {
    const entry = { index, image: this.recorder.images.at(-1), stopped: false };
    this.log.push(entry);
    return { stop: () => { entry.stopped = true; } };
  }
}

test('a frame\'s sound starts as the frame comes and stops with the action or as the character hides', async () => {
  const animations = description().animations.map((animation) => (animation.name === 'Hide'
    ? { ...animation, frames: [frame(3, 100, { sound: 1 }), frame(4)] }
    : animation));
  animations.push({ name: 'Chime', frames: [frame(5), frame(6, 100, { sound: 0 }), frame(7)] });
  const character = new Character(description({ animations }));
  const recorder = new Recorder();
  const sounds = new Speakers(recorder);
  const actor = new CharacterActor(character, { ...recorder.views(), random: counter(), sounds });
  actor.queue(new VisibilityAction(true, true));
  const chime = actor.queue(new PlayAction(character.findAnimation('Chime')));
  actor.tick(0);
  actor.tick(10);
  assert.deepEqual(sounds.log, [], 'not before its frame');
  actor.tick(110);
  assert.deepEqual(sounds.log, [{ index: 0, image: 6, stopped: false }]);
  actor.tick(150);
  assert.equal(sounds.log.length, 1, 'once as the frame comes, not at every tick');
  actor.tick(210);
  assert.equal(sounds.log[0].stopped, false, 'goes on while the animation does');
  actor.tick(310);
  assert.deepEqual([chime.status, sounds.log[0].stopped], ['complete', true]);

  // Hiding: its sound stops as the character goes.
  actor.queue(new VisibilityAction(false, false));
  actor.tick(320);
  assert.deepEqual(sounds.log[1], { index: 1, image: 3, stopped: false });
  actor.tick(420);
  assert.equal(recorder.visible, true);
  actor.tick(520);
  assert.deepEqual([recorder.visible, sounds.log[1].stopped], [false, true]);

  // Stop cuts what sounds.
  actor.queue(new VisibilityAction(true, true));
  actor.queue(new PlayAction(character.findAnimation('Chime')));
  actor.tick(600);
  actor.tick(610);
  actor.tick(710);
  assert.equal(sounds.log[2].stopped, false);
  actor.stop();
  assert.equal(sounds.log[2].stopped, true);
});
