// The characters the site has, fetched once each: their description and sprite sheet.
import { Character } from './character.js';

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

async function loadImage(address) {
  const image = new Image();
  image.src = address;
  try {
    await image.decode();
  } catch {
    throw new Error('its sprite sheet could not be read');
  }
  return image;
}

export class CharacterLoader {
  constructor() {
    this.loads = new Map();
    this.nameList = null;
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

  // A promise of { character, sheet } for a name of the site's list.
  load(name) {
    if (!this.loads.has(name)) this.loads.set(name, this.fetchCharacter(name));
    return this.loads.get(name);
  }

  async fetchCharacter(name) {
    const file = `${BASE}characters/${encodeURIComponent(name)}`;
    const [description, sheet] = await Promise.all([fetchJson(`${file}.json`), loadImage(`${file}.png`)]);
    const character = new Character(description);
    const outside = character.images.findIndex((place) => place &&
      (place.x + place.width > sheet.naturalWidth || place.y + place.height > sheet.naturalHeight));
    if (outside >= 0) throw new Error(`its image ${outside} lies outside its sprite sheet`);
    return { character, sheet };
  }
}
