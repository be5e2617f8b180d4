// The modal message box and input box of the pages, as native <dialog> elements: a title, a
// text, an icon for warnings, OK (and Cancel for a question of a name). The focus comes back
// to where it was when the box closes.
import { button, el, lines } from './dom';

export type MessageIcon = 'none' | 'warning';

// The focus goes back at once when a button closes the box (the close event comes later, when
// keys typed next may already be on their way to the page), and on Esc with the close event.
function finish(dialog: HTMLDialogElement, value: string): void {
  dialog.close(value);
  restoreFocus.get(dialog)?.focus();
}
const restoreFocus = new WeakMap<HTMLDialogElement, HTMLElement | null>();

function open(title: string, body: HTMLElement[], buttons: HTMLButtonElement[],
  icon: MessageIcon): { dialog: HTMLDialogElement; closed: Promise<string> } {
  const titleId = `dialog-title-${Date.now()}`;
  const dialog = el('dialog', { 'aria-labelledby': titleId, class: `message ${icon}` },
    el('h2', { id: titleId }, title), ...body, el('div', { class: 'buttons' }, ...buttons));
  const before = document.activeElement as HTMLElement | null;
  restoreFocus.set(dialog, before);
  document.body.append(dialog);
  const closed = new Promise<string>((resolve) => dialog.addEventListener('close', () => {
    dialog.remove();
    // Only when the focus was left nowhere: it may have gone on since.
    if (document.activeElement === document.body || document.activeElement === null) before?.focus();
    resolve(dialog.returnValue);
  }));
  dialog.showModal();
  return { dialog, closed };
}

// Shows `text` until OK is pressed (or Esc).
export async function showMessage(text: string, title: string, icon: MessageIcon): Promise<void> {
  const paragraphs = lines(text).map((line) => el('p', {}, line));
  const prefix = icon === 'warning' ? [el('p', { class: 'icon', role: 'img', 'aria-label': 'Warning' }, '⚠')] : [];
  const ok = button('OK', () => finish(dialog, 'ok'));
  const { dialog, closed } = open(title, [...prefix, el('div', { class: 'text' }, ...paragraphs)], [ok], icon);
  ok.focus();
  await closed;
}

// Asks for a text; empty when cancelled.
export async function ask(prompt: string, title: string): Promise<string> {
  const input = el('input', { type: 'text', autocomplete: 'off' });
  const label = el('label', {}, prompt, input);
  const form = el('form', { method: 'dialog' }, label);
  const ok = button('OK', () => finish(dialog, 'ok'));
  const cancel = button('Cancel', () => finish(dialog, 'cancel'));
  const { dialog, closed } = open(title, [form], [ok, cancel], 'none');
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    finish(dialog, 'ok');
  });
  input.focus();
  return (await closed) === 'ok' ? input.value : '';
}

export function dialogOpen(): boolean {
  return document.querySelector('dialog[open]') !== null;
}
