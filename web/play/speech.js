// The characters' voice: the browser's speech synthesis where it has one, silence
// otherwise. Browsers speak only once the user has pressed something on the page.
export class Speech {
  constructor(synthesis = globalThis.speechSynthesis) {
    this.synthesis = synthesis && typeof globalThis.SpeechSynthesisUtterance === 'function' ? synthesis : null;
  }

  speak(text) {
    if (!this.synthesis) return;
    const utterance = new SpeechSynthesisUtterance(text);
    // Greetings are written in the maker's language, which sets its characters to US English.
    utterance.lang = 'en-US';
    this.synthesis.speak(utterance);
  }

  stop() {
    this.synthesis?.cancel();
  }
}
