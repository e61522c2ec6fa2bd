// One action of a greeting as its line holds it: character, command and argument,
// comma separated, decoded exactly as the maker and the player decode them.

// Decodes the field that starts at `start`; returns it with the position after its comma.
// A field that starts with a quote is quoted: commas are data until a closing quote has
// been seen. Everywhere a doubled quote stands for one quote and a single one is dropped;
// text between a closing quote and the next comma is kept.
function readField(line, start) {
  let at = start;
  if (at >= line.length) return { field: '', next: at };
  const quoted = line[at] === '"';
  if (quoted) at += 1;
  let field = '';
  let pendingQuote = false;
  while (at < line.length) {
    const c = line[at++];
    if (c === ',') {
      if (!quoted || pendingQuote) break;
      field += ',';
    } else if (c === '"') {
      if (pendingQuote) field += '"';
      pendingQuote = !pendingQuote;
    } else {
      field += c;
    }
  }
  return { field, next: at };
}

// A line with fewer than three fields leaves the others empty; more are ignored.
export function decodeLine(line) {
  const character = readField(line, 0);
  const command = readField(line, character.next);
  const argument = readField(line, command.next);
  return { character: character.field, command: command.field, argument: argument.field };
}

// The characters Windows code page 1252 holds between 0x80 and 0x9F.
const CP1252_HIGH = '\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D' +
  '\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178';

function inCodePage(c) {
  const code = c.charCodeAt(0);
  return code < 0x80 || (code >= 0xA0 && code <= 0xFF) || CP1252_HIGH.includes(c);
}

// Upper case as the sender's code page has it: a letter whose capital it lacks, or
// whose capital is two letters, stays as it is.
function upperInCodePage(text) {
  let upper = '';
  for (const c of text) {
    const capital = c.toUpperCase();
    upper += capital.length === 1 && inCodePage(capital) ? capital : c;
  }
  return upper;
}

const DESCRIPTIONS = {
  // The doubled blanks of Show and Hide are what users have always seen in the list.
  Show: (character, argument) => `${character} shows up  (${argument})`,
  Hide: (character, argument) => `${character} hides  (${argument})`,
  Say: (character, argument) => `${character} says: "${argument}"`,
  Animate: (character, argument) => `${character} performs the ${upperInCodePage(argument)} animation`,
  Move: (character, argument) => `${character} moves to ${upperInCodePage(argument)}`,
};

export const COMMANDS = Object.freeze(Object.keys(DESCRIPTIONS));

export function isCommand(name) {
  return Object.hasOwn(DESCRIPTIONS, name);
}

// The text the maker's action list shows for the action.
export function describeAction({ character, command, argument }) {
  return isCommand(command) ? DESCRIPTIONS[command](character, argument) : 'Undefined Action.';
}
