// A character's sounds: fetched through the page's fetch queue after its sheets,
// decoded once the page may sound, and started at their frames. A sound that has not
// come or does not decode stays silent.
async function fetchBytes(address) {
  const response = await fetch(address);
  if (!response.ok) throw new Error(`the site answered ${response.status}`);
  return response.arrayBuffer();
}

export class CharacterSounds {
  // `address("<n>.wav")` is the address of sound n.
  constructor(address, character, output, queue) {
    this.output = output;
    this.buffers = new Map();
    for (const index of character.soundsUsed) {
      queue.add(() => fetchBytes(address(`${index}.wav`)).then((bytes) => {
        output.whenUnlocked(() => output.decode(bytes).then((buffer) => this.buffers.set(index, buffer), () => {}));
      }, () => {}));
    }
  }

  // Starts the sound of that index; gives what stops it, or null when it stays silent.
  play(index) {
    const buffer = this.buffers.get(index);
    return buffer && this.output.unlocked ? this.output.start(buffer) : null;
  }
}
