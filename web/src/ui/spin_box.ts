// A text box that holds a whole number, stepped with Up and Down (and with two small arrow
// buttons for the mouse) between `minimum` and `maximum`, as the desktop's up-down control
// steps its box. Typing stays free: what is typed is read, and judged, by the page.
import { el } from './dom';

export interface SpinBox {
  input: HTMLInputElement;
  arrows: HTMLElement;
  setRange(minimum: number, maximum: number): void;
}

export function spinBox(text: string, minimum: number, maximum: number): SpinBox {
  const input = el('input', { type: 'text', value: text, role: 'spinbutton', inputmode: 'numeric',
    autocomplete: 'off', class: 'number' });
  const range = { minimum, maximum };
  const sync = () => {
    input.setAttribute('aria-valuemin', String(range.minimum));
    input.setAttribute('aria-valuemax', String(range.maximum));
    const value = Number(input.value);
    if (input.value.trim() !== '' && Number.isFinite(value)) input.setAttribute('aria-valuenow', String(value));
    else input.removeAttribute('aria-valuenow');
  };
  const step = (by: number) => {
    if (input.disabled) return;
    const now = Math.round(Number(input.value));
    const from = Number.isFinite(now) ? now : range.minimum;
    input.value = String(Math.min(range.maximum, Math.max(range.minimum, from + by)));
    sync();
    input.dispatchEvent(new Event('input'));
  };
  input.addEventListener('keydown', (event) => {
    if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
      event.preventDefault();
      step(event.key === 'ArrowUp' ? 1 : -1);
    }
  });
  input.addEventListener('input', sync);
  const arrow = (text: string, by: number) => {
    const b = el('button', { type: 'button', tabindex: -1, 'aria-hidden': 'true', class: 'arrow' }, text);
    b.addEventListener('click', () => step(by));
    return b;
  };
  const arrows = el('span', { class: 'arrows' }, arrow('▲', 1), arrow('▼', -1));
  sync();
  return {
    input, arrows,
    setRange(min: number, max: number) { range.minimum = min; range.maximum = max; sync(); },
  };
}
