// The characters the site has, fetched once each: their description and first sprite
// sheet, then the rest of their sheets and their sounds while the greeting plays.
import { Character, imagesOutside } from './character.js';
import { CharacterSheets, loadImage } from './character-sheets.js';
import { CharacterSounds } from './character-sounds.js';
import { FetchQueue } from './fetch-queue.js';

const BASE = '/play/';

async function fetchJson(address) {
  const response = await fetch(address).catch(() => {
    throw new Error('the site could not be reached');
  });
  if (!response.ok) throw new Error(`the site answered ${response.status}`);
  try {
    return await response.json();
  } catch {
    throw new Error('the site sent something that is not JSON');
  }
}

export class CharacterLoader {
  // The characters' sounds play through `output` (an AudioOutput).
  constructor(output) {
    this.output = output;
    this.loads = new Map();
    this.nameList = null;
    this.queue = new FetchQueue();
  }

  // The names of the characters the site has.
  names() {
    this.nameList ??= fetchJson(`${BASE}characters.json`).then((names) => {
      if (!Array.isArray(names) || !names.every((name) => typeof name === 'string'))
        throw new Error('the site sent no list of characters');
      return names;
    });
    return this.nameList;
  }

  // A promise of { character, sheets, sounds } for a name of the site's list.
  load(name) {
    if (!this.loads.has(name)) this.loads.set(name, this.fetchCharacter(name));
    return this.loads.get(name);
  }

  // The characters one after another in the order given, so that the first comes
  // soonest on a slow line, then the rest of their sheets.
  async loadInTurn(names) {
    for (const name of names) await this.load(name).catch(() => {});
    this.queue.begin();
  }

  async fetchCharacter(name) {
    const file = `${BASE}characters/${encodeURIComponent(name)}`;
    const first = loadImage(`${file}.png`, 'high').catch(() => {
      throw new Error('its sprite sheet could not be read');
    });
    const [description, sheet] = await Promise.all([fetchJson(`${file}.json`), first]);
    const character = new Character(description);
    const outside = imagesOutside(character, 0, sheet);
    if (outside >= 0) throw new Error(`its image ${outside} lies outside its sprite sheet`);
    // The later files by the names the description gives them.
    const address = (suffix) => `${BASE}characters/${encodeURIComponent(character.fileName(`${name}.${suffix}`))}`;
    const sheets = new CharacterSheets(address, character, sheet, this.queue);
    return { character, sheets, sounds: new CharacterSounds(address, character, this.output, this.queue) };
  }
}
