// Mouth shapes of a character's mouth overlays, as character files number them.
export const MOUTH = Object.freeze({
  NONE: -1, // the frame as drawn
  CLOSED: 0,
  WIDE1: 1,
  WIDE2: 2,
  WIDE3: 3,
  WIDE4: 4,
  MEDIUM: 5,
  NARROW: 6,
});
