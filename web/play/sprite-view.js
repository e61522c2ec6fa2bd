// The character's picture on the stage: a canvas of its frame size, drawn from its
// sprite sheets one frame at a time.
export const SHOWN_MARK = 'parlacard:character-on-screen';

export class SpriteView {
  // `sheets` gives each sheet's picture, or null for one that has not come.
  constructor(stage, character, sheets) {
    this.sheets = sheets;
    this.canvas = document.createElement('canvas');
    this.canvas.className = 'character';
    this.canvas.width = character.width;
    this.canvas.height = character.height;
    this.canvas.hidden = true;
    this.canvas.dataset.character = character.name;
    // The script and the status line say what the character does.
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

  moveTo(x, y) {
    this.canvas.style.transform = `translate(${x}px, ${y}px)`;
  }

  remove() {
    this.canvas.remove();
  }
}
