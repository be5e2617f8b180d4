// Tells screen readers what changed away from the focus (a file loaded, a run ended) through
// a polite live region, without moving the focus.
const region = (): HTMLElement => document.getElementById('announcer') as HTMLElement;

export function announce(text: string): void {
  const live = region();
  live.textContent = '';
  // A new node after a pause, so that the same text twice is read twice.
  setTimeout(() => { live.textContent = text; }, 50);
}
