// The four progress boxes and the bar of the set-up page: the training file's line, the
// epochs, the total SSE and its change, coloured as the desktop colours them (the change red
// when the error rose and green otherwise; at the end the total SSE green when the target was
// met and red otherwise). A screen reader hears the counts every few seconds and at the end.
import type { ProgressTexts } from '../../../../src/web/corvel_core';
import { announce } from '../../ui/announcer';
import { el, show } from '../../ui/dom';

const ANNOUNCE_EVERY_MS = 5000;
const MEANINGS = ['Training File', 'Epochs', 'Total SSE', 'Change in SSE'];

export class ProgressBoxes {
  readonly boxes = MEANINGS.map((meaning) => el('output', { class: 'progress-box', 'aria-label': meaning, hidden: true }));
  readonly bar = el('progress', { 'aria-label': 'Epochs Done', hidden: true });
  private announcedAt = 0;

  clearCounts(): void {
    for (const box of this.boxes.slice(1)) box.textContent = '';
  }

  hideAll(): void {
    for (const box of this.boxes) show(box, false);
  }

  showRunStart(trainingLine: string, progressMaximum: number): void {
    for (const box of this.boxes) show(box, true);
    if (progressMaximum > 0) {
      this.bar.max = progressMaximum;
      this.bar.value = 0;
      show(this.bar, true);
    }
    if (trainingLine) this.boxes[0].textContent = trainingLine;
    this.announcedAt = performance.now();
  }

  showSweepsThisRun(sweeps: number): void {
    this.bar.value = sweeps;
  }

  showPrintout(p: ProgressTexts): void {
    this.clearCounts();
    this.boxes[1].textContent = p.epochs;
    this.boxes[2].textContent = p.totalSSE;
    if (p.change) {
      this.colour(3, p.errorRose ? 'red' : 'green');
      this.boxes[3].textContent = p.change;
    }
    if (performance.now() - this.announcedAt > ANNOUNCE_EVERY_MS) this.announceCounts('Training.');
  }

  showRunEnd(p: ProgressTexts): void {
    this.clearCounts();
    this.boxes[1].textContent = p.epochs;
    this.colour(2, p.targetMet ? 'green' : 'red');
    this.colour(3, 'face');
    this.boxes[2].textContent = p.totalSSE;
    if (p.change) this.boxes[3].textContent = p.change;
    show(this.bar, false);
    this.announceCounts('Training ended.');
  }

  private colour(box: number, colour: 'red' | 'green' | 'face'): void {
    this.boxes[box].dataset.colour = colour;
  }

  private announceCounts(headline: string): void {
    const parts = [headline, ...this.boxes.slice(1).map((box) => box.textContent).filter(Boolean).map((t) => `${t}.`)];
    announce(parts.join(' '));
    this.announcedAt = performance.now();
  }
}
