// An action told in the recipient's words: what they see and hear, not the maker's
// names for commands and animations.
import { isCommand } from './greeting-line.js';
import { POSITION_NAMES } from './positions.js';

// "DoMagic1", "GETATTENTION", "Wave_Left" as words: "do magic 1", "getattention", "wave left".
function animationWords(name) {
  return name.replace(/([a-z])([A-Z0-9])/g, '$1 $2').replace(/[_-]+/g, ' ').trim().toLowerCase();
}

const TELLINGS = {
  Show: (character) => `${character} appears`,
  Hide: (character) => `${character} leaves`,
  Say: (character, argument) => `${character} says: "${argument}"`,
  Animate: (character, argument) => `${character} acts: ${animationWords(argument) || 'a gesture'}`,
  Move: (character, argument) => {
    const place = POSITION_NAMES.includes(argument) ? argument : 'Center';
    return `${character} moves to the ${place === 'Center' ? 'middle' : place.toLowerCase()}`;
  },
};

export function tellAction({ character, command, argument }) {
  return isCommand(command) ? TELLINGS[command](character, argument) : 'A part this page cannot play';
}
