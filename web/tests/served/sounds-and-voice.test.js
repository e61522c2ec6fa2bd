// The characters' own sounds and voice on the greeting page, with the browser's Web
// Audio and speech synthesis watched: sounds start at their frames only once a button
// was pressed and stop with their action; speech takes the character's speed and pitch
// next to a normal voice's, and its language. The characters are the sample character, made here with sounds and a voice.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { Character, frameLayers } from '../../play/character.js';
import { MOUTH } from '../../play/mouths.js';
import { launchBrowser, siteAddress, uploadGreeting } from './support/browser.js';
import { addSampleCharacter } from './support/sample-character.js';

const DEADLINE = 20000; // ms a state may take to come
const LOUD = 'Sound Tester';
const VOICED = 'Voice Tester';
const NORMAL = 'Normal Voice Tester';

let site;
let browser;
const removals = [];

before(async () => {
  site = siteAddress();
  removals.push(addSampleCharacter(LOUD, [
    ['tone', 'Showing', '2', '300', '440'], ['broken', 'Wave', '0'], ['tone', 'Wave', '1', '200', '660'],
    ['tone', 'Wave', '4', '3000', '550'], ['tone', 'Hiding', '3', '3000', '330'],
  ]));
  // The voices of the stage's speech tests (StageSpeechTest), so that both sides are held
  // to one normal voice: twice its speed, a woman's voice a little high, in British
  // English; and a man's voice at the normal speed and pitch, in US English.
  removals.push(addSampleCharacter(VOICED, [['voice', '300', '240', '0x0809', '1']]));
  removals.push(addSampleCharacter(NORMAL, [['voice', '150', '120', '0x0409', '2']]));
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  for (const remove of removals) remove();
});

// Records each sound the page starts, what the character's canvas showed then, and
// whether it was stopped (and the character hidden by then).
function watchSounds() {
  window.soundLog = [];
  window.contextsMade = 0;
  const Context = window.AudioContext;
  window.AudioContext = class extends Context {
    constructor(...options) {
      super(...options);
      window.contextsMade += 1;
    }
  };
  const clear = CanvasRenderingContext2D.prototype.clearRect;
  CanvasRenderingContext2D.prototype.clearRect = function (...area) {
    this.drawn = [];
    window.lastFrame = this.drawn;
    return clear.apply(this, area);
  };
  const draw = CanvasRenderingContext2D.prototype.drawImage;
  CanvasRenderingContext2D.prototype.drawImage = function (picture, ...parts) {
    this.drawn?.push(parts.slice(0, 6));
    return draw.call(this, picture, ...parts);
  };
  const create = Context.prototype.createBufferSource;
  Context.prototype.createBufferSource = function () {
    const source = create.call(this);
    const start = source.start.bind(source);
    const stop = source.stop.bind(source);
    const entry = { seconds: 0, frame: null, stopped: false, hiddenAtStop: null };
    source.start = (...when) => {
      Object.assign(entry, { seconds: Math.round(source.buffer.duration * 10) / 10, frame: [...window.lastFrame] });
      window.soundLog.push(entry);
      return start(...when);
    };
    source.stop = (...when) => {
      Object.assign(entry, { stopped: true, hiddenAtStop: document.querySelector('canvas.character').hidden });
      return stop(...when);
    };
    return source;
  };
}

async function untilPageState(page, state) {
  await page.waitForFunction((s) => document.body.dataset.state === s, { timeout: DEADLINE }, state);
}

// What the frame draws, as the page's canvas is asked to draw it.
function drawing(character, animation, index) {
  return frameLayers(character, character.findAnimation(animation).frames[index], MOUTH.NONE)
    .map(({ x, y, width, height, left, top }) => [x, y, width, height, left, top]);
}

// Opens the greeting's page with the watcher set up before its scripts run, and waits
// until the greeting has played.
async function playWatched(id, watcher) {
  const page = await browser.browser.newPage();
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(error.message));
  await page.evaluateOnNewDocument(watcher);
  await page.goto(`${site}/play.asp?GID=${id}`);
  await untilPageState(page, 'finished');
  return { page, trouble };
}

test('sounds start at their frames once a button was pressed, and stop with their action', async () => {
  const description = await (await fetch(`${site}/play/characters/${encodeURIComponent(LOUD)}.json`)).json();
  const character = new Character(description);
  // The sound that is not wave data is left out of the web form.
  assert.equal((await fetch(`${site}/play/characters/${encodeURIComponent(LOUD)}.1.wav`)).status, 404);
  assert.equal(character.findAnimation('Wave').frames[0].sound, -1);
  const sound = await fetch(`${site}/play/characters/${encodeURIComponent(LOUD)}.0.wav`);
  assert.equal(sound.headers.get('content-type'), 'audio/wav');

  const id = await uploadGreeting(site, { actions: [`${LOUD},Show,Animate`, `${LOUD},Animate,Wave`, `${LOUD},Hide,Animate`] });
  const { page, trouble } = await playWatched(id, watchSounds);
  // Played by itself on opening: silent, without so much as an audio context.
  assert.deepEqual(await page.evaluate(() => [window.contextsMade, window.soundLog.length]), [0, 0]);

  await page.click('#replay');
  await untilPageState(page, 'finished');
  const log = await page.evaluate(() => window.soundLog);
  assert.deepEqual(log, [
    { seconds: 0.3, frame: drawing(character, 'Showing', 2), stopped: true, hiddenAtStop: false },
    { seconds: 0.2, frame: drawing(character, 'Wave', 1), stopped: true, hiddenAtStop: false },
    { seconds: 3, frame: drawing(character, 'Wave', 4), stopped: true, hiddenAtStop: false },
    { seconds: 3, frame: drawing(character, 'Hiding', 3), stopped: true, hiddenAtStop: true },
  ]);
  assert.equal(await page.evaluate(() => window.contextsMade), 1);
  assert.deepEqual(trouble, []);
  await page.close();
});

// Records what the page asks the browser's speech synthesis to say, and how.
function watchSpeech() {
  window.utterances = [];
  const voices = [{ name: 'Plain US', lang: 'en-US' }, { name: 'British Male', lang: 'en-GB' }, { name: 'British Female', lang: 'en-GB' }];
  window.SpeechSynthesisUtterance = class {
    constructor(text) {
      Object.assign(this, { text, lang: '', rate: 1, pitch: 1, voice: null });
    }
  };
  Object.defineProperty(window, 'speechSynthesis', {
    value: {
      speak: ({ text, lang, rate, pitch, voice }) => window.utterances.push({ text, lang, rate, pitch, voice: voice?.name ?? null }),
      cancel() {},
      getVoices: () => voices,
    },
  });
}

test('a character speaks with the speed, pitch and language of its file; one without settings as before', async () => {
  const id = await uploadGreeting(site, { actions: [`${VOICED},Show,Don't Animate`, `${VOICED},Say,Good day to you`,
    `${NORMAL},Show,Don't Animate`, `${NORMAL},Say,Howdy`, 'Merlin,Show,Don\'t Animate', 'Merlin,Say,Hello there'] });
  const { page, trouble } = await playWatched(id, watchSpeech);
  assert.deepEqual(await page.evaluate(() => window.utterances), [
    { text: 'Good day to you', lang: 'en-GB', rate: 2, pitch: 1.2, voice: 'British Female' },
    { text: 'Howdy', lang: 'en-US', rate: 1, pitch: 1, voice: 'Plain US' },
    { text: 'Hello there', lang: 'en-US', rate: 1, pitch: 1, voice: null },
  ]);
  assert.deepEqual(trouble, []);
  await page.close();
});
