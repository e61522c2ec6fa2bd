// Which actions of a greeting the page can perform. The player refuses a greeting with
// an action it cannot perform; the page performs the others and names the ones it skips.
import { isCommand } from './greeting-line.js';

const MOST_SHOWN = 64;

// A field as a message may quote it: a greeting comes from someone else, and a field can
// be megabytes long or hold control characters.
export function shown(field) {
  let cut = '';
  let count = 0;
  for (const c of field) {
    if (count === MOST_SHOWN) break;
    cut += c;
    count += 1;
  }
  const clean = cut.replace(/[\u0000-\u001f\u007f]/g, '?');
  return clean.length < field.length ? `${clean}...` : clean;
}

// Character names compare as file names do on the sender's system: without regard to case.
export function findName(names, wanted) {
  const key = wanted.toLowerCase();
  return names.find((name) => name.toLowerCase() === key);
}

// Splits the actions into those to perform, each with the site's name of its character,
// and those to skip, each with the reason.
export function checkActions(actions, characterNames) {
  const playable = [];
  const skipped = [];
  for (const action of actions) {
    const character = findName(characterNames, action.character);
    let reason = null;
    if (!isCommand(action.command))
      reason = `Action ${action.number} has an unknown command: "${shown(action.command)}".`;
    else if (action.character === '')
      reason = `Action ${action.number} names no character.`;
    else if (!character)
      reason = `Action ${action.number} needs the character "${shown(action.character)}", which this site does not have.`;
    if (reason) skipped.push({ action, reason });
    else playable.push({ ...action, character });
  }
  return { playable, skipped };
}
