// A character's sprite sheets: the first comes with the character, the others through
// the page's fetch queue while the greeting plays, the second (what the page plays on
// its own: speaking, moving, hiding) before the others' later ones. A sheet that cannot be read, or that
// is too small for the images said to lie on it, counts as come and draws nothing.
import { imagesOutside } from './character.js';

// The first sheet is urgent: the character shows from it.
export async function loadImage(address, priority = 'auto') {
  const image = new Image();
  image.fetchPriority = priority;
  image.src = address;
  await image.decode();
  return image;
}

export class CharacterSheets {
  // `address("<n>.png")` is the address of sheet n > 0.
  constructor(address, character, first, queue) {
    this.queue = queue;
    this.pictures = [first];
    this.over = new Set([0]); // sheets that came or failed
    this.entries = [];
    for (let sheet = 1; sheet < character.sheetCount; sheet += 1) {
      this.entries[sheet] = queue.add(() => loadImage(address(`${sheet}.png`))
        .then((picture) => {
          if (imagesOutside(character, sheet, picture) < 0) this.pictures[sheet] = picture;
        }, () => {})
        .finally(() => this.over.add(sheet)), sheet === 1);
    }
  }

  // The picture of the sheet, or null while it has not come (or could not be read).
  picture(sheet) {
    return this.pictures[sheet] ?? null;
  }

  // Whether all these sheets are over; those that are not are fetched at once.
  ready(sheets) {
    let ready = true;
    for (const sheet of sheets) {
      if (this.over.has(sheet)) continue;
      this.queue.hurry(this.entries[sheet]);
      ready = false;
    }
    return ready;
  }
}
