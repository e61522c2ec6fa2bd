// The word balloon beside a speaking character, in the colours, font and number of lines
// its character gives. It is sized to the whole text when it opens, so that words
// appearing one by one never jump from one line to another, then shows the words as they
// are said, scrolling when they need more lines than it has. Words go in as text only.
const TAIL_HEIGHT = 14;
const TAIL_MARGIN = 21; // from the balloon's sides to the tail's middle, past the round corners
const DEFAULT_LINES = 2;
const DEFAULT_CHARS_PER_LINE = 32;
// Words grow with a character drawn large, but less than it does.
const MOST_TEXT_SCALE = 1.5;

export class BalloonView {
  // `layout` gives the stage's scale (see StageLayout); the words grow less than it.
  constructor(stage, look, layout) {
    this.stage = stage;
    this.layout = layout;
    this.lines = look.lines || DEFAULT_LINES;
    this.element = document.createElement('div');
    this.element.className = 'balloon';
    this.element.hidden = true;
    this.element.setAttribute('aria-hidden', 'true');
    const style = this.element.style;
    style.color = look.foreground;
    style.setProperty('--balloon-background', look.background);
    style.setProperty('--balloon-border', look.border);
    style.fontFamily = `"${look.font.replace(/["\\]/g, '')}", Tahoma, Verdana, sans-serif`;
    this.fontSize = look.fontSize;
    style.fontWeight = String(look.fontWeight);
    style.fontStyle = look.italic ? 'italic' : 'normal';
    style.maxWidth = `${look.charsPerLine || DEFAULT_CHARS_PER_LINE}ch`;
    this.text = document.createElement('div');
    this.text.className = 'balloon-text';
    this.text.style.maxHeight = `calc(${this.lines} * var(--balloon-line))`;
    this.element.append(this.text);
    this.words = [];
    stage.append(this.element);
  }

  // Lays all the words out, none of them said yet, next to the character's bounds.
  open(words, character) {
    this.element.style.fontSize = `${this.fontSize * Math.min(MOST_TEXT_SCALE, Math.max(1, this.layout.scale))}px`;
    this.words = words.map((word) => {
      const span = document.createElement('span');
      span.className = 'unsaid';
      span.textContent = word;
      return span;
    });
    this.text.replaceChildren();
    this.words.forEach((span, index) => {
      if (index > 0) this.text.append(' ');
      this.text.append(span);
    });
    this.text.scrollTop = 0;
    this.element.hidden = false;
    this.place(character);
  }

  // Shows the first `count` words, and the last lines up to the last of them.
  showWords(count) {
    this.words.forEach((span, index) => span.classList.toggle('unsaid', index >= count));
    const last = this.words[count - 1];
    if (!last) return;
    const lineHeight = last.offsetHeight;
    this.text.scrollTop = Math.max(0, last.offsetTop - (this.lines - 1) * lineHeight);
  }

  close() {
    this.element.hidden = true;
  }

  remove() {
    this.element.remove();
  }

  // Above the character with the tail pointing down at it, or below it when the stage
  // has no room above; shifted sideways to stay on the stage. The bounds are in
  // character pixels.
  place(bounds) {
    const { scale } = this.layout;
    const [left, top, right, bottom] = [bounds.left, bounds.top, bounds.right, bounds.bottom].map((side) => Math.round(side * scale));
    const stageWidth = this.stage.clientWidth;
    const stageHeight = this.stage.clientHeight;
    const width = this.element.offsetWidth;
    const height = this.element.offsetHeight + TAIL_HEIGHT;
    const roomAbove = top;
    const roomBelow = stageHeight - bottom;
    const below = roomAbove < height && roomBelow > roomAbove;
    const y = Math.max(0, Math.min(below ? bottom + TAIL_HEIGHT : top - height, stageHeight - height));
    const middle = Math.trunc((left + right) / 2);
    const x = Math.max(0, Math.min(middle - Math.trunc(width / 2), stageWidth - width));
    this.element.classList.toggle('below', below);
    this.element.style.transform = `translate(${x}px, ${y}px)`;
    this.element.style.setProperty('--tail-x', `${Math.max(TAIL_MARGIN, Math.min(middle - x, width - TAIL_MARGIN))}px`);
  }
}
