// The characters' voice: the browser's speech synthesis where it has one, silence
// otherwise. Browsers speak only once the user has pressed something on the page. A
// character whose file sets its voice speaks at its rate and pitch (next to a normal
// voice, worked out where the web form is made), in its language with a voice of that
// language (and gender, where a voice's name says it) where the browser has one; the
// others in the maker's US English at the browser's own pace.

function within(value, low, high) {
  return Math.min(high, Math.max(low, value));
}

export class Speech {
  constructor(synthesis = globalThis.speechSynthesis) {
    this.synthesis = synthesis && typeof globalThis.SpeechSynthesisUtterance === 'function' ? synthesis : null;
  }

  // `voice` is the character's voice settings (see Character), or null.
  speak(text, voice = null) {
    if (!this.synthesis) return;
    const utterance = new SpeechSynthesisUtterance(text);
    // Greetings are written in the maker's language, which sets its characters to US English.
    utterance.lang = voice?.language ?? 'en-US';
    if (voice?.rate) utterance.rate = within(voice.rate, 0.1, 10);
    if (voice?.pitch) utterance.pitch = within(voice.pitch, 0, 2);
    const chosen = voice?.language ? this.voiceFor(voice.language, voice.gender) : null;
    if (chosen) utterance.voice = chosen;
    this.synthesis.speak(utterance);
  }

  // A voice of the language ("en-GB"), else of its kind ("en"), of the gender where one
  // says so in its name; null when the browser has none.
  voiceFor(language, gender) {
    const voices = this.synthesis.getVoices?.() ?? [];
    const kind = language.slice(0, 2).toLowerCase();
    const speaking = voices.filter((voice) => voice.lang?.replace('_', '-') === language);
    const candidates = speaking.length ? speaking : voices.filter((voice) => voice.lang?.toLowerCase().startsWith(kind));
    const named = gender && candidates.find((voice) => new RegExp(`\\b${gender}\\b`, 'i').test(voice.name));
    return named || candidates[0] || null;
  }

  stop() {
    this.synthesis?.cancel();
  }
}
