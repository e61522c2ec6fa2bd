// The sample character with sounds and a voice, made as a test asks (pqsample), turned
// into its web form (pqweb) and put beside the site's characters until the test is done.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

function tool(variable) {
  const path = process.env[variable];
  if (!path) throw new Error(`${variable} names no program: the host build makes it`);
  return path;
}

// `items` are pqsample's: ['tone', 'Wave', '1', '200', '660'], ['voice', ...]...
export function addSampleCharacter(name, items) {
  const characters = process.env.PARLA_WEB_CHARACTERS;
  if (!characters) throw new Error('PARLA_WEB_CHARACTERS names no folder: the host build writes the characters there');
  const work = mkdtempSync(join(tmpdir(), 'parlacard-sample-'));
  try {
    const file = join(work, `${name}.ACS`);
    execFileSync(tool('PARLA_PQSAMPLE'), [file, ...items.flat()]);
    execFileSync(tool('PARLA_PQWEB'), [characters, file], { stdio: 'ignore' });
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
  return () => {
    for (const file of readdirSync(characters).filter((entry) => entry.startsWith(`${name}.`)))
      rmSync(join(characters, file), { force: true });
  };
}
