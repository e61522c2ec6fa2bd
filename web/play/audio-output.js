// The page's sound: one Web Audio context, made at the first press of a button on the
// page (browsers let pages sound only after one). Without Web Audio or an audio device
// the page stays silent and nothing else changes.
export class AudioOutput {
  constructor(AudioContextClass = globalThis.AudioContext) {
    this.AudioContextClass = AudioContextClass;
    this.context = null;
    this.listeners = [];
  }

  get unlocked() {
    return this.context !== null;
  }

  // Called on every press; only the first makes the context.
  unlock() {
    if (this.context || typeof this.AudioContextClass !== 'function') return;
    try {
      this.context = new this.AudioContextClass();
    } catch {
      this.AudioContextClass = null;
      return;
    }
    this.context.resume?.().catch(() => {});
    for (const listener of this.listeners.splice(0)) listener();
  }

  whenUnlocked(listener) {
    if (this.context) listener();
    else this.listeners.push(listener);
  }

  // A promise of the decoded sound; rejects for data that does not decode.
  decode(bytes) {
    return this.context.decodeAudioData(bytes);
  }

  // Starts the sound now; gives what stops it.
  start(buffer) {
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.connect(this.context.destination);
    source.start();
    return {
      stop() {
        try {
          source.stop();
        } catch {
          // Already over.
        }
      },
    };
  }
}
