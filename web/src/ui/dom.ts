// Builds elements in one expression: el('button', { type: 'button' }, 'Exit').
type Props = Record<string, string | number | boolean | undefined>;

export function el<K extends keyof HTMLElementTagNameMap>(
  tag: K, props: Props = {}, ...children: (Node | string)[]): HTMLElementTagNameMap[K] {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(props)) {
    if (value === undefined || value === false) continue;
    element.setAttribute(name, value === true ? '' : String(value));
  }
  element.append(...children);
  return element;
}

// A button that runs `onClick` when pressed (mouse, Enter or Space).
export function button(text: string, onClick: () => void, props: Props = {}): HTMLButtonElement {
  const b = el('button', { type: 'button', ...props }, text);
  b.addEventListener('click', onClick);
  return b;
}

// A one-line text box with its caption, tied together for screen readers.
let nextId = 0;
export function labelled(caption: string, input: HTMLElement, props: Props = {}): HTMLLabelElement {
  if (!input.id) input.id = `control-${++nextId}`;
  return el('label', { for: input.id, ...props }, caption);
}

export function show(element: HTMLElement, shown: boolean): void {
  element.hidden = !shown;
}

// Text whose lines break at CR LF, LF or a lone CR, as the core writes them.
export function lines(text: string): string[] {
  return text.split(/\r\n|\r|\n/);
}
