// A character as the page plays it, made from the JSON description the site serves
// beside its sprite sheet. The description is checked whole before anything uses it, so
// that a broken one is refused with a reason instead of failing half-way through a
// greeting.

const MOST_FRAME_SIDE = 4096;
const MOST_SHEETS = 1000;
const MOST_SOUNDS = 10000;
const MOST_VOICE_RATIO = 100;

class BrokenCharacter extends Error {}

function fail(what) {
  throw new BrokenCharacter(what);
}

function whole(value, low, high, what) {
  if (!Number.isInteger(value) || value < low || value > high) fail(`${what} is not a number from ${low} to ${high}`);
  return value;
}

// How many times a normal voice's speed or pitch.
function isRatio(value) {
  return typeof value === 'number' && value > 0 && value <= MOST_VOICE_RATIO;
}

function list(value, what) {
  if (value === undefined) return [];
  if (!Array.isArray(value)) fail(`${what} is not a list`);
  return value;
}

function text(value, what) {
  if (typeof value !== 'string') fail(`${what} is not a text`);
  return value;
}

function color(value, what) {
  if (!/^#[0-9a-f]{6}$/i.test(text(value, what))) fail(`${what} is not a colour`);
  return value;
}

// The voice settings of the character file, where it has them; null otherwise. Its rate
// and pitch are next to a normal voice's (1), as the browser's speech takes them. A block
// that does not fit, such as an older tool's words a minute and Hz, is left out: the
// character then speaks in the default voice instead of not playing at all.
function checkVoice(voice) {
  if (typeof voice !== 'object' || voice === null || Array.isArray(voice) || Object.hasOwn(voice, 'speed')) return null;
  const { rate = null, pitch = null, language = null, gender = null } = voice;
  const fits = (rate === null || isRatio(rate)) && (pitch === null || isRatio(pitch)) &&
    (language === null || (typeof language === 'string' && /^[a-z]{2,3}(-[A-Z]{2})?$/.test(language))) &&
    (gender === null || gender === 'female' || gender === 'male');
  return fits ? { rate, pitch, language, gender } : null;
}

// Whether `hashed` is the file name `plain` with a content hash before its extension.
function isHashedName(plain, hashed) {
  const dot = plain.lastIndexOf('.');
  const hash = hashed.slice(dot + 1, dot + 17);
  return dot > 0 && /^[0-9a-f]{16}$/.test(hash) && hashed === `${plain.slice(0, dot)}.${hash}${plain.slice(dot)}`;
}

// The site names the files fetched after the description by their content: "files" maps a
// plain name ("Merlin.1.png") to its hashed name, which caches keep for good.
function checkFiles(files) {
  if (files === undefined) return new Map();
  if (typeof files !== 'object' || files === null || Array.isArray(files)) fail('the file names are not a map');
  for (const [plain, hashed] of Object.entries(files))
    if (!isHashedName(plain, text(hashed, `the file name of ${plain}`))) fail(`the file name of ${plain} is not that name with its hash`);
  return new Map(Object.entries(files));
}

// An image's place is [x, y, width, height] on the first sheet, or with a fifth number
// naming another.
function checkImages(images, sheetCount) {
  return list(images, 'the image list').map((place, index) => {
    if (place === null) return null;
    const [x, y, width, height, sheet = 0] = list(place, `image ${index}`);
    return {
      x: whole(x, 0, 1 << 20, `image ${index}`),
      y: whole(y, 0, 1 << 20, `image ${index}`),
      width: whole(width, 1, MOST_FRAME_SIDE, `image ${index}`),
      height: whole(height, 1, MOST_FRAME_SIDE, `image ${index}`),
      sheet: whole(sheet, 0, sheetCount - 1, `image ${index}'s sheet`),
    };
  });
}

function checkBalloon(balloon) {
  if (typeof balloon !== 'object' || balloon === null) fail('the balloon is missing');
  return {
    lines: whole(balloon.lines, 0, 255, 'the balloon lines'),
    charsPerLine: whole(balloon.charsPerLine, 0, 255, 'the balloon width'),
    foreground: color(balloon.foreground, 'the balloon text colour'),
    background: color(balloon.background, 'the balloon colour'),
    border: color(balloon.border, 'the balloon border colour'),
    font: text(balloon.font, 'the balloon font'),
    fontSize: whole(balloon.fontSize, 1, 200, 'the balloon font size'),
    fontWeight: whole(balloon.fontWeight, 0, 1000, 'the balloon font weight'),
    italic: balloon.italic === true,
  };
}

function checkFrame(frame, frameCount, imageCount, what) {
  const image = (value) => whole(value, 0, imageCount - 1, `${what} shows an image that`);
  const at = (value) => whole(value, -0x8000, 0x7fff, `${what} places an image at a point that`);
  return {
    duration: whole(frame.duration, 0, 655350, `${what}'s duration`),
    images: list(frame.images, `${what}'s images`).map(([index, x, y]) => ({ image: image(index), x: at(x), y: at(y) })),
    exit: frame.exit === undefined ? -1 : whole(frame.exit, 0, frameCount - 1, `${what}'s exit frame`),
    sound: frame.sound === undefined ? -1 : whole(frame.sound, 0, MOST_SOUNDS - 1, `${what}'s sound`),
    branches: list(frame.branches, `${what}'s branches`).map(([target, percent]) =>
      [whole(target, 0, frameCount - 1, `${what}'s branch`), whole(percent, 0, 65535, `${what}'s branch chance`)]),
    mouths: list(frame.mouths, `${what}'s mouths`).map(([mouth, index, x, y, replacesTop]) => ({
      mouth: whole(mouth, 0, 6, `${what}'s mouth shape`),
      image: image(index),
      x: at(x),
      y: at(y),
      replacesTop: replacesTop === 1,
    })),
  };
}

function checkAnimation(animation, index, imageCount) {
  const name = text(animation.name, `animation ${index}'s name`);
  const frames = list(animation.frames, `${name}'s frames`);
  return {
    name,
    returnName: animation.return === undefined ? null : text(animation.return, `${name}'s return animation`),
    frames: frames.map((frame, f) => checkFrame(frame, frames.length, imageCount, `${name}, frame ${f}`)),
  };
}

// Names compare without regard to ASCII case, as the player compares them.
function asciiLower(name) {
  return name.replace(/[A-Z]/g, (letter) => letter.toLowerCase());
}

// State names are written "Moving Left" in some files and "MOVINGLEFT" in others.
function stateKey(name) {
  return asciiLower(name.replaceAll(' ', ''));
}

function sameName(a, b) {
  return asciiLower(a) === asciiLower(b);
}

export class Character {
  // Throws an Error saying what is wrong when the description is broken.
  constructor(description) {
    try {
      this.name = text(description.name, 'the name');
      this.width = whole(description.width, 1, MOST_FRAME_SIDE, 'the frame width');
      this.height = whole(description.height, 1, MOST_FRAME_SIDE, 'the frame height');
      this.balloon = checkBalloon(description.balloon);
      this.voice = checkVoice(description.voice);
      this.files = checkFiles(description.files);
      this.sheetCount = description.sheets === undefined ? 1 : whole(description.sheets, 1, MOST_SHEETS, 'the sheet count');
      this.images = checkImages(description.images, this.sheetCount);
      this.states = list(description.states, 'the state list').map((state, index) => ({
        name: text(state.name, `state ${index}'s name`),
        animations: list(state.animations, `state ${index}'s animations`).map((name) => text(name, 'a state animation')),
      }));
      this.animations = list(description.animations, 'the animation list')
        .map((animation, index) => checkAnimation(animation, index, this.images.length));
      this.sheetsNeeded = new Map(this.animations.map((animation) => [animation, this.sheetsShowing(animation)]));
      this.soundsUsed = new Set(this.animations.flatMap(({ frames }) => frames.map((frame) => frame.sound)).filter((sound) => sound >= 0));
    } catch (error) {
      if (error instanceof BrokenCharacter || error instanceof TypeError)
        throw new Error(`its description is broken: ${error.message}`);
      throw error;
    }
  }

  // The sheets that the animation's frames, and those of the one it returns by, cut from.
  sheetsShowing(animation) {
    const sheets = new Set();
    const returning = animation.returnName === null ? null : this.findAnimation(animation.returnName);
    for (const { frames } of returning ? [animation, returning] : [animation]) {
      for (const frame of frames) {
        for (const { image } of [...frame.images, ...frame.mouths])
          if (this.images[image]) sheets.add(this.images[image].sheet);
      }
    }
    return [...sheets];
  }

  // The name under which the site serves one of the character's files ("Merlin.1.png").
  fileName(plain) {
    return this.files.get(plain) ?? plain;
  }

  // Without regard to ASCII case, as the player finds animations; null when none.
  findAnimation(name) {
    return this.animations.find((animation) => sameName(animation.name, name)) ?? null;
  }

  // A state ("Showing", "Moving Left"...) by its name, or the first whose name begins so.
  findState(name, prefix = false) {
    const wanted = stateKey(name);
    return this.states.find((state) => (prefix ? stateKey(state.name).startsWith(wanted) : stateKey(state.name) === wanted)) ?? null;
  }

  // One of the state's animations that has frames, picked at random; null when none.
  pickAnimation(state, random) {
    const playable = state.animations.map((name) => this.findAnimation(name)).filter((animation) => animation?.frames.length);
    return playable.length ? playable[random() % playable.length] : null;
  }

  stateAnimation(name, random) {
    const state = this.findState(name);
    return state ? this.pickAnimation(state, random) : null;
  }

  // The frame the character stands in when it does nothing.
  restFrame(random) {
    const rest = this.findAnimation('RestPose');
    if (rest?.frames.length) return rest.frames[0];
    // Where the character has just appeared is how it stands.
    const showing = this.findState('Showing');
    const shown = showing && this.pickAnimation(showing, random);
    if (shown) return shown.frames.at(-1);
    return this.animations.find((animation) => animation.frames.length)?.frames[0] ?? null;
  }
}

// The first of the character's images said to lie on that sheet that does not fit the
// sheet's picture, or -1 when all do.
export function imagesOutside(character, sheet, picture) {
  return character.images.findIndex((place) => place?.sheet === sheet &&
    (place.x + place.width > picture.naturalWidth || place.y + place.height > picture.naturalHeight));
}

// The images of a frame in the order they are drawn, bottom first, with the mouth
// overlay of that shape on top where the frame has one; an overlay may take the place
// of the frame's top image. Empty image slots draw nothing.
export function frameLayers(character, frame, mouth) {
  if (!frame) return [];
  const overlay = frame.mouths.find((candidate) => candidate.mouth === mouth);
  const top = overlay?.replacesTop ? 1 : 0;
  const layers = [];
  for (let i = frame.images.length - 1; i >= top; i -= 1) layers.push(frame.images[i]);
  if (overlay) layers.push(overlay);
  return layers
    .filter((layer) => character.images[layer.image])
    .map((layer) => ({ ...character.images[layer.image], left: layer.x, top: layer.y }));
}
