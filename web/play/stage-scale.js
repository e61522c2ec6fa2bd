// How large the characters are drawn: the stage is a screen of its own, at least
// LEAST_STAGE character pixels in size, on which each character pixel takes a whole
// number of the device's pixels where the stage is large enough, so that the pixel art
// stays crisp. A stage smaller than that is scaled down to show it all.
export const LEAST_STAGE = Object.freeze({ width: 320, height: 256 });

// CSS pixels per character pixel for a stage of that CSS size.
export function stageScale(width, height, pixelRatio = 1) {
  const fit = Math.min(width / LEAST_STAGE.width, height / LEAST_STAGE.height);
  if (!(fit > 0)) return 1;
  if (fit < 1) return fit;
  return Math.max(1, Math.floor(fit * pixelRatio) / pixelRatio);
}

// The stage element measured: its scale, its size in character pixels, and the shift that
// puts its origin on a device pixel (a stage below text may start part-way into one,
// which would blur every character pixel).
export class StageLayout {
  constructor(stage, view = globalThis) {
    this.stage = stage;
    this.view = view;
    this.scale = 1;
    this.size = { width: 0, height: 0 };
    this.shift = { x: 0, y: 0 };
    this.measure();
  }

  measure() {
    const { clientWidth, clientHeight } = this.stage;
    const ratio = this.view.devicePixelRatio || 1;
    this.scale = stageScale(clientWidth, clientHeight, ratio);
    const { left, top } = this.stage.getBoundingClientRect();
    const snap = (at) => (Math.round(at * ratio) - at * ratio) / ratio;
    this.shift = { x: snap(left + this.stage.clientLeft), y: snap(top + this.stage.clientTop) };
    // A hair over the floor: a stage scaled down to fit is LEAST_STAGE, not a pixel less.
    this.size = { width: Math.floor(clientWidth / this.scale + 1e-6), height: Math.floor(clientHeight / this.scale + 1e-6) };
    this.stage.dataset.scale = String(this.scale);
  }
}
