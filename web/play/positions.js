// The nine named positions, row by row, and where each puts a character's top left
// corner on a stage of the given size. The middle positions put the corner on the middle
// line, not the character's middle, as the player does; any other name is "Center".
// On a page the stage may be small beside a character: placeInside keeps it on it.
export const POSITION_NAMES = Object.freeze([
  'Top Left', 'Top Center', 'Top Right',
  'Middle Left', 'Center', 'Middle Right',
  'Bottom Left', 'Bottom Center', 'Bottom Right',
]);

export function positionPoint(name, stageWidth, stageHeight, width, height) {
  const middleX = Math.trunc(stageWidth / 2);
  const middleY = Math.trunc(stageHeight / 2);
  const right = stageWidth - width;
  const bottom = stageHeight - height;
  switch (name) {
    case 'Top Left': return { x: 0, y: 0 };
    case 'Top Center': return { x: middleX, y: 0 };
    case 'Top Right': return { x: right, y: 0 };
    case 'Middle Left': return { x: 0, y: middleY };
    case 'Middle Right': return { x: right, y: middleY };
    case 'Bottom Left': return { x: 0, y: bottom };
    case 'Bottom Center': return { x: middleX, y: bottom };
    case 'Bottom Right': return { x: right, y: bottom };
    default: return { x: middleX, y: middleY };
  }
}

// The position's point, pulled in from the stage's edges just far enough for the whole
// character to show; one larger than the stage keeps its top left corner on it.
export function placeInside(name, stageWidth, stageHeight, width, height) {
  const { x, y } = positionPoint(name, stageWidth, stageHeight, width, height);
  return {
    x: Math.max(0, Math.min(x, stageWidth - width)),
    y: Math.max(0, Math.min(y, stageHeight - height)),
  };
}
