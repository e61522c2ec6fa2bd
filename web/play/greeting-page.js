// The greeting page: reads the stored greeting, shows who it is for and from and what
// happens in it, performs it on the stage with Play, Stop and Replay, captions what is
// said and ends on a card. Everything the greeting holds reaches the page as text only.
// The send page plays the greeting with the same page for its sender. What the first
// frame does not need (speaking, moving, the list of what happens, the end card) is
// fetched once the first character is on the screen, or when it is first wanted.
import { AudioOutput } from './audio-output.js';
import { CharacterActor } from './character-actor.js';
import { CharacterLoader } from './character-loader.js';
import { checkActions } from './greeting-check.js';
import { readGreeting } from './greeting-text.js';
import { describeAction } from './greeting-line.js';
import { Performer, fetchLaterActions } from './performer.js';
import { SpriteView } from './sprite-view.js';
import { StageLayout } from './stage-scale.js';

// What the page is doing, on the body for styles and tests.
export const PAGE_STATE = Object.freeze({
  LOADING: 'loading',
  PLAYING: 'playing',
  STOPPED: 'stopped',
  FINISHED: 'finished',
  UNPLAYABLE: 'unplayable',
});

const KEYS = { p: 'play', s: 'stop', r: 'replay' };
// Notices listed one by one; the rest are counted on one more line.
export const MOST_NOTICES = 200;

function randomWhole() {
  return Math.floor(Math.random() * 0x100000000);
}

// The balloon and the voice, fetched once (tried again after a failure).
let speaking = null;
function fetchSpeaking() {
  speaking ??= Promise.all([import('./balloon-view.js'), import('./speech.js')]).then(
    ([{ BalloonView }, { Speech }]) => ({ BalloonView, Speech }),
    (error) => {
      speaking = null;
      throw error;
    });
  return speaking;
}

async function fetchGreeting(id) {
  const response = await fetch(`/play/greeting.asp?GID=${id}`).catch(() => {
    throw new Error('The site could not be reached.');
  });
  if (!response.ok) throw new Error(response.status === 404 ? 'There is no such greeting on this site.' : `The site answered ${response.status}.`);
  // Greetings are 8-bit text in the Windows code page of their sender.
  return new TextDecoder('windows-1252').decode(await response.arrayBuffer());
}

export class GreetingPage {
  // `speech` stands in for the browser's speech synthesis (see Speech) where given.
  constructor(document, { audio = new AudioOutput(), loader = new CharacterLoader(audio), speech = null } = {}) {
    const find = (id) => document.getElementById(id);
    this.document = document;
    this.body = document.body;
    this.stage = find('stage');
    this.layout = new StageLayout(this.stage);
    this.caption = find('status');
    this.title = find('title');
    this.from = find('from');
    this.notices = find('notices');
    this.buttons = { play: find('play'), stop: find('stop'), replay: find('replay') };
    this.scriptList = find('script');
    this.script = null; // the ScriptList, once its module has come (see fetchScript)
    this.scriptComing = null;
    this.untold = []; // [method, values] for the script list before it came
    // Closed until opened: where the list could not be fetched, opening it tries again.
    this.scriptList.closest('details')?.addEventListener('toggle', () => this.fetchScript());
    this.sending = this.body.classList.contains('sending');
    this.endCard = null; // made when the greeting first ends
    this.laterFetched = false;
    this.senderName = '';
    this.audio = audio;
    this.loader = loader;
    this.speech = speech;
    this.actions = [];
    this.noticed = new Set();
    this.moreNotices = null; // the line that counts the notices not listed
    this.performer = null;
    this.clock = 0; // the time of the last tick, which later ticks never go back from
    // Pages may sound only once the user has pressed something.
    for (const [name, button] of Object.entries(this.buttons)) {
      button.addEventListener('click', () => {
        this.audio.unlock();
        this[name]();
      });
    }
    document.addEventListener('keydown', (event) => this.onKey(event));
    // The window, a long title or the captions may change the stage's size.
    new ResizeObserver(() => {
      this.layout.measure();
      this.performer?.relayout();
    }).observe(this.stage);
    this.setState(PAGE_STATE.LOADING);
  }

  // Reads the greeting of that id and starts performing it.
  async open(id) {
    let greeting;
    let names;
    try {
      if (!/^\d{1,18}$/.test(id ?? '')) throw new Error('The address names no greeting.');
      [greeting, names] = await Promise.all([
        fetchGreeting(id).then(readGreeting),
        this.loader.names().catch((error) => {
          throw new Error(`The site's characters could not be found (${error.message}).`);
        }),
      ]);
    } catch (error) {
      this.unplayable(error.message);
      return;
    }
    if (greeting.problem) {
      this.unplayable(greeting.problem);
      return;
    }
    this.showSender(greeting);
    const { playable, skipped } = checkActions(greeting.actions, names);
    this.tellScript('show', greeting.actions);
    for (const { action, reason } of skipped) this.skip(action.number, reason);
    this.actions = playable;
    if (playable.length === 0) {
      this.unplayable('The greeting has no actions this page can play.');
      return;
    }
    // Each character joins when the greeting first names it; they come in that order.
    this.loader.loadInTurn([...new Set(playable.map((action) => action.character))]);
    requestAnimationFrame((now) => this.frame(now));
    this.play();
  }

  play() {
    if (this.body.dataset.state === PAGE_STATE.PLAYING || this.actions.length === 0) return;
    this.performer?.remove();
    this.tellScript('reset');
    this.endCard?.hide();
    this.showCaption('', '');
    this.layout.measure();
    this.performer = new Performer(this.actions, {
      join: (name) => this.join(name),
      stageSize: () => this.layout.size,
      onAction: (index) => this.onAction(index),
      onSkip: (index, reason) => this.skip(this.actions[index].number, reason),
      onNotice: (text) => this.notice(text),
      onFinished: (stopped) => this.onFinished(stopped),
      // A character that came goes on at once: its first frame is drawn with the next paint.
      onReady: () => {
        this.tick(performance.now());
        this.afterFirstFrame();
      },
      prepareToSpeak: (actor) => this.prepareToSpeak(actor),
    });
    this.performer.start();
    this.setState(PAGE_STATE.PLAYING);
  }

  stop() {
    this.performer?.stop();
  }

  replay() {
    if (this.actions.length === 0) return;
    this.stop();
    this.setState(PAGE_STATE.STOPPED);
    this.play();
  }

  async join(name) {
    const { character, sheets, sounds } = await this.loader.load(name);
    return new CharacterActor(character, {
      view: new SpriteView(this.stage, character, sheets, this.layout),
      sheets,
      sounds,
      random: randomWhole,
    });
  }

  // Once the first character has been drawn (or could not be): the scenery around it, and
  // the parts that later actions and the end want.
  afterFirstFrame() {
    if (this.laterFetched) return;
    this.laterFetched = true;
    requestAnimationFrame(() => setTimeout(() => {
      this.showScenery();
      this.fetchScript();
      fetchLaterActions().catch(() => {});
      fetchSpeaking().catch(() => {});
      import('./end-card.js').catch(() => {});
    }));
  }

  // The list of what happens sits in a closed section, and its module comes after the
  // first frame: what happened meanwhile is told to it once it has come.
  fetchScript() {
    if (this.script) return;
    // The sender knows the lines from the maker's list; the recipient gets them told.
    this.scriptComing ??= Promise.all([import('./script-list.js'), this.sending ? null : import('./action-words.js')]).then(
      ([{ ScriptList }, words]) => {
        this.script = new ScriptList(this.scriptList, words ? words.tellAction : describeAction);
        for (const [method, values] of this.untold.splice(0)) this.script[method](...values);
      },
      () => {
        this.scriptComing = null;
      });
  }

  tellScript(method, ...values) {
    if (this.script) this.script[method](...values);
    else this.untold.push([method, values]);
  }

  // Null when the actor has its balloon and voice; else a promise settled once it has.
  prepareToSpeak(actor) {
    if (actor.balloon) return null;
    const performer = this.performer;
    return fetchSpeaking().then(({ BalloonView, Speech }) => {
      // Played again meanwhile: that actor has left the stage.
      if (this.performer !== performer) return;
      this.speech ??= new Speech();
      actor.learnToSpeak(new BalloonView(this.stage, actor.character.balloon, this.layout), this.speech);
    });
  }

  frame(now) {
    this.tick(now);
    requestAnimationFrame((next) => this.frame(next));
  }

  // A frame's time may lie before a tick made between frames.
  tick(now) {
    this.clock = Math.max(this.clock, now);
    this.performer?.tick(this.clock);
  }

  onAction(index) {
    const action = this.actions[index];
    this.tellScript('begin', action.number);
    // The captions are what is said; what is seen stays on the stage.
    if (action.command === 'Say' && action.argument.trim() !== '') this.showCaption(action.character, action.argument);
  }

  onFinished(stopped) {
    this.tellScript('finish');
    this.showCaption('', stopped ? 'The greeting was stopped.' : 'The greeting has ended.');
    this.setState(stopped ? PAGE_STATE.STOPPED : PAGE_STATE.FINISHED);
    if (!stopped) this.showEndCard();
  }

  // Where its part cannot be fetched, the caption alone says that the greeting has ended.
  async showEndCard() {
    const performer = this.performer;
    const { EndCard } = await import('./end-card.js').catch(() => ({}));
    // Played again meanwhile.
    if (!EndCard || this.performer !== performer) return;
    this.endCard ??= new EndCard(this.stage, { replay: () => this.replay(), invite: !this.sending });
    this.endCard.show(this.senderName);
  }

  // The live region: the speaker's name in its own span, then the words.
  showCaption(speaker, words) {
    const parts = [];
    if (speaker) {
      const name = this.document.createElement('span');
      name.className = 'speaker';
      name.textContent = `${speaker}: `;
      parts.push(name);
    }
    if (words) parts.push(words);
    this.caption.replaceChildren(...parts);
  }

  onKey(event) {
    if (event.altKey || event.ctrlKey || event.metaKey || event.repeat) return;
    const command = KEYS[event.key.toLowerCase()];
    if (!command || this.buttons[command].disabled) return;
    event.preventDefault();
    this.audio.unlock();
    this[command]();
  }

  showSender({ senderName, recipientName }) {
    this.senderName = senderName;
    const from = senderName ? `From ${senderName}` : '';
    if (this.title) {
      // The recipient's page: a title for them, the sender under it.
      this.title.textContent = recipientName ? `A greeting for ${recipientName}` : 'A greeting for you';
      this.from.textContent = from;
      this.document.title = senderName ? `${this.title.textContent} from ${senderName}` : this.title.textContent;
      return;
    }
    const to = recipientName ? `for ${recipientName}` : '';
    this.from.textContent = [from, to].filter(Boolean).join(', ');
  }

  skip(number, reason) {
    this.tellScript('skip', number);
    if (reason) this.notice(reason);
  }

  notice(text) {
    if (this.noticed.has(text)) return;
    this.noticed.add(text);
    this.notices.hidden = false;
    const document = this.notices.ownerDocument;
    if (this.noticed.size <= MOST_NOTICES) {
      const item = document.createElement('li');
      item.textContent = text;
      this.notices.append(item);
      return;
    }
    if (!this.moreNotices) {
      this.moreNotices = document.createElement('li');
      this.moreNotices.className = 'more';
      this.notices.append(this.moreNotices);
    }
    const more = this.noticed.size - MOST_NOTICES;
    this.moreNotices.textContent = `... and ${more.toLocaleString('en-US')} more ${more === 1 ? 'part' : 'parts'} left out.`;
  }

  unplayable(reason) {
    this.showCaption('', reason);
    this.setState(PAGE_STATE.UNPLAYABLE);
    this.showScenery();
    this.fetchScript();
  }

  // The page comes without its scenery, which a browser without a graphics card takes
  // long to paint, so that the first character is drawn sooner (the styles hold it back
  // for a moment at most).
  showScenery() {
    delete this.body.dataset.scenery;
  }

  setState(state) {
    this.body.dataset.state = state;
    const ready = state !== PAGE_STATE.LOADING && state !== PAGE_STATE.UNPLAYABLE;
    this.buttons.play.disabled = !ready || state === PAGE_STATE.PLAYING;
    this.buttons.stop.disabled = state !== PAGE_STATE.PLAYING;
    this.buttons.replay.disabled = !ready;
  }
}
