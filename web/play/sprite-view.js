// The character's picture on the stage: a canvas of its frame size, drawn from its
// sprite sheets one frame at a time and shown at the stage's scale.
export const SHOWN_MARK = 'parlacard:character-on-screen';

export class SpriteView {
  // `sheets` gives each sheet's picture, or null for one that has not come; `layout`
  // gives the stage's scale (see StageLayout).
  constructor(stage, character, sheets, layout) {
    this.sheets = sheets;
    this.layout = layout;
    this.canvas = document.createElement('canvas');
    this.canvas.className = 'character';
    this.canvas.width = character.width;
    this.canvas.height = character.height;
    this.canvas.hidden = true;
    this.canvas.dataset.character = character.name;
    // The script and the captions say what the character does.
    this.canvas.setAttribute('aria-hidden', 'true');
    this.context = this.canvas.getContext('2d');
    stage.append(this.canvas);
  }

  // Each layer is a part of a sheet ({sheet, x, y, width, height}) drawn at (left, top).
  draw(layers) {
    this.context.clearRect(0, 0, this.canvas.width, this.canvas.height);
    for (const { sheet, x, y, width, height, left, top } of layers) {
      const picture = this.sheets.picture(sheet);
      if (picture) this.context.drawImage(picture, x, y, width, height, left, top, width, height);
    }
  }

  setVisible(visible) {
    if (visible && this.canvas.hidden && performance.getEntriesByName(SHOWN_MARK).length === 0) {
      // The frame of the page's first character reaches the screen with the next paint.
      requestAnimationFrame(() => performance.mark(SHOWN_MARK));
    }
    this.canvas.hidden = !visible;
  }

  // (x, y) in character pixels; the stage's scale may have changed since the last move.
  moveTo(x, y) {
    const { scale, shift } = this.layout;
    const style = this.canvas.style;
    style.width = `${this.canvas.width * scale}px`;
    style.height = `${this.canvas.height * scale}px`;
    style.transform = `translate(${x * scale + shift.x}px, ${y * scale + shift.y}px)`;
  }

  remove() {
    this.canvas.remove();
  }
}
