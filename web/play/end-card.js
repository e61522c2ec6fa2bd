// What the stage shows once the greeting has played to its end: who it came from, Replay,
// and on the recipient's page where to get the maker to answer with a greeting of their
// own. The sender's name goes in as text only.
export const MAKER_PAGE = '/';

export class EndCard {
  // `replay()` runs for its Replay button; `invite` adds the "Make your own" link.
  constructor(stage, { replay, invite }) {
    const document = stage.ownerDocument;
    const make = (tag, className, text) => {
      const element = document.createElement(tag);
      element.className = className;
      if (text) element.textContent = text;
      return element;
    };
    this.element = make('section', 'end-card');
    this.element.hidden = true;
    this.element.setAttribute('aria-label', 'The end of the greeting');
    this.heading = make('h2', 'end-title', 'The end');
    this.from = make('p', 'end-from');
    const actions = make('div', 'end-actions');
    const again = make('button', 'end-replay', 'Replay');
    again.type = 'button';
    again.addEventListener('click', () => replay());
    actions.append(again);
    if (invite) {
      const link = make('a', 'make-own', 'Make your own');
      link.href = MAKER_PAGE;
      actions.append(link);
    }
    this.element.append(this.heading, this.from, actions);
    stage.append(this.element);
  }

  show(senderName) {
    this.from.textContent = senderName ? `With best wishes from ${senderName}` : 'With best wishes';
    this.element.hidden = false;
  }

  hide() {
    this.element.hidden = true;
  }
}
