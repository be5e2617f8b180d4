// The modal message box and input box of the pages, as native <dialog> elements: a title, a
// text, an icon for warnings, OK (and Cancel for a question of a name). The focus comes back
// to where it was when the box closes.
import { button, el, lines } from './dom';

export type MessageIcon = 'none' | 'warning';

function open(title: string, body: HTMLElement[], buttons: HTMLButtonElement[],
  icon: MessageIcon): { dialog: HTMLDialogElement; closed: Promise<string> } {
  const titleId = `dialog-title-${Date.now()}`;
  const dialog = el('dialog', { 'aria-labelledby': titleId, class: `message ${icon}` },
    el('h2', { id: titleId }, title), ...body, el('div', { class: 'buttons' }, ...buttons));
  const before = document.activeElement as HTMLElement | null;
  document.body.append(dialog);
  const closed = new Promise<string>((resolve) => dialog.addEventListener('close', () => {
    dialog.remove();
    before?.focus();
    resolve(dialog.returnValue);
  }));
  dialog.showModal();
  return { dialog, closed };
}

// Shows `text` until OK is pressed (or Esc).
export async function showMessage(text: string, title: string, icon: MessageIcon): Promise<void> {
  const paragraphs = lines(text).map((line) => el('p', {}, line));
  const prefix = icon === 'warning' ? [el('p', { class: 'icon', role: 'img', 'aria-label': 'Warning' }, '⚠')] : [];
  const ok = button('OK', () => dialog.close('ok'));
  const { dialog, closed } = open(title, [...prefix, el('div', { class: 'text' }, ...paragraphs)], [ok], icon);
  ok.focus();
  await closed;
}

// Asks for a text; empty when cancelled.
export async function ask(prompt: string, title: string): Promise<string> {
  const input = el('input', { type: 'text', autocomplete: 'off' });
  const label = el('label', {}, prompt, input);
  const form = el('form', { method: 'dialog' }, label);
  const ok = button('OK', () => dialog.close('ok'));
  const cancel = button('Cancel', () => dialog.close('cancel'));
  const { dialog, closed } = open(title, [form], [ok, cancel], 'none');
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    dialog.close('ok');
  });
  input.focus();
  return (await closed) === 'ok' ? input.value : '';
}

export function dialogOpen(): boolean {
  return document.querySelector('dialog[open]') !== null;
}
