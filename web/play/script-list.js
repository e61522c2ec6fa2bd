// The greeting's actions one per row, with where the performance is: the page's
// transcript for anyone who cannot see or hear the characters.

const ROW_STATE = Object.freeze({ WAITING: 'waiting', CURRENT: 'current', DONE: 'done', SKIPPED: 'skipped' });

export class ScriptList {
  // `describe(action)` gives a row's text.
  constructor(list, describe) {
    this.list = list;
    this.describe = describe;
    this.rows = new Map(); // by action number
    this.current = null; // the one row in the CURRENT state
  }

  // Row by row into a fragment: a greeting may have more rows than a call takes arguments.
  show(actions) {
    this.rows.clear();
    this.current = null;
    const document = this.list.ownerDocument;
    const rows = document.createDocumentFragment();
    for (const action of actions) {
      const row = document.createElement('li');
      row.textContent = this.describe(action);
      row.dataset.state = ROW_STATE.WAITING;
      this.rows.set(action.number, row);
      rows.append(row);
    }
    this.list.replaceChildren(rows);
  }

  // The action of that number is being performed; the one before it is done.
  begin(number) {
    this.mark(number, ROW_STATE.CURRENT);
  }

  skip(number) {
    this.mark(number, ROW_STATE.SKIPPED);
  }

  mark(number, state) {
    const row = this.rows.get(number);
    if (!row || row.dataset.state === ROW_STATE.SKIPPED) return;
    if (state === ROW_STATE.CURRENT && this.current && this.current !== row) this.setState(this.current, ROW_STATE.DONE);
    this.setState(row, state);
  }

  // Back to the start for another performance; skipped actions stay skipped.
  reset() {
    for (const row of this.rows.values()) {
      if (row.dataset.state !== ROW_STATE.SKIPPED) this.setState(row, ROW_STATE.WAITING);
    }
  }

  // Whatever is still current is done.
  finish() {
    if (this.current) this.setState(this.current, ROW_STATE.DONE);
  }

  setState(row, state) {
    row.dataset.state = state;
    if (state === ROW_STATE.CURRENT) this.current = row;
    else if (row === this.current) this.current = null;
    if (state === ROW_STATE.CURRENT) row.setAttribute('aria-current', 'step');
    else row.removeAttribute('aria-current');
  }
}
