// Files the page will want but does not need yet, fetched a few at a time once it has
// what it needs first, so that they do not hold that up on a slow line; a file needed
// now goes at once, ahead of the queue. Urgent entries go before the others.
const AT_ONCE = 2;

export class FetchQueue {
  constructor() {
    this.waiting = [];
    this.running = 0;
    this.open = false;
  }

  // `fetch` gives a promise; it is called once, when the entry's turn comes or it is hurried.
  add(fetch, urgent = false) {
    const entry = { fetch, started: false, urgent };
    const after = urgent ? this.waiting.findIndex((other) => !other.urgent) : -1;
    this.waiting.splice(after < 0 ? this.waiting.length : after, 0, entry);
    this.pump();
    return entry;
  }

  hurry(entry) {
    if (!entry.started) this.run(entry);
  }

  // What the page needs first has come: the queue may go.
  begin() {
    this.open = true;
    this.pump();
  }

  pump() {
    while (this.open && this.running < AT_ONCE && this.waiting.length) this.run(this.waiting[0]);
  }

  run(entry) {
    entry.started = true;
    this.waiting.splice(this.waiting.indexOf(entry), 1);
    this.running += 1;
    entry.fetch().finally(() => {
      this.running -= 1;
      this.pump();
    });
  }
}
