// The save page: name the report's file, tick its sections and download it. The name is
// asked for as on the desktop (".txt" added unless the name ends in exactly that); the
// browser puts the file in its downloads. The report is dated at this page's clock.
import type { ReportSections } from '../../../../src/web/corvel_core';
import { announce } from '../../ui/announcer';
import { ask, showMessage } from '../../ui/dialogs';
import { button, el } from '../../ui/dom';
import { download } from '../../ui/downloads';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';

const READY = 'Name a file, tick the sections you want, then press Save The File.';
const SECTIONS = ['Input Patterns', 'General Information (Training info etc.)', 'Network Responses',
  'Network Errors', 'Connection Weights', 'Output Patterns', 'Network SSE As A Function Of Sweeps'];
const CHECKED_AT_START = [false, true, true, true, true, false, false];

// run1 and run1.txt both give run1.txt; run1.TXT gives run1.TXT.txt.
const withTxtExtension = (name: string) => (name.endsWith('.txt') ? name : `${name}.txt`);

export class SaveResults extends Page {
  private readonly FileNameLabel = el('output', { class: 'display', 'aria-labelledby': 'save-file-label' });
  private readonly Check1 = CHECKED_AT_START.map((checked) => el('input', { type: 'checkbox', checked }));
  private readonly Label3 = el('p', { class: 'notice', role: 'status' }, READY);

  constructor(registry: PageRegistry) {
    super(registry, PageId.SaveResults, 'Save Results To A Text File -- Talvik Neural Network Code');
    this.root.append(
      el('h2', { class: 'title' }, 'Talvik Distributed Associative Memory Program 2003 Edition'),
      el('div', { class: 'columns' },
        el('div', {},
          el('h3', {}, 'Choose The Name Of The File To Be Saved'),
          button('Create A New Filename', () => this.FileButton_Click()),
          el('p', { id: 'save-file-label', class: 'field-caption' }, 'Name Of File To Be Saved:'),
          this.FileNameLabel),
        el('fieldset', {}, el('legend', {}, 'Choose The Properties To Save In The File'),
          ...this.Check1.map((box, i) => el('label', { class: 'option' }, box, ` ${SECTIONS[i]}`)))),
      el('div', { class: 'buttons' },
        button('Save The File', () => this.SaveFile_Click()),
        button('Close', () => this.registry.close(PageId.SaveResults), { class: 'exit' })),
      this.Label3);
  }

  formLoad(): void {
    this.showTarget();  // a name chosen on an earlier visit is still the one "Save The File" uses
  }

  private async FileButton_Click(): Promise<void> {
    const answer = await ask('Enter name of file to save:', 'Name File');
    // Cancelled, empty or only blanks: no file is chosen, and the label keeps what it showed.
    if (!answer.trim()) {
      this.registry.remembered.resultsFileName = '';
      this.showTarget();
      return;
    }
    const name = withTxtExtension(answer);
    this.FileNameLabel.textContent = name;
    this.registry.remembered.resultsFileName = name;
    this.showTarget();
    announce(`Name Of File To Be Saved: ${name}`);
  }

  private async SaveFile_Click(): Promise<void> {
    const name = this.registry.remembered.resultsFileName;
    if (!name) return;  // no file named yet: nothing to do
    this.Label3.textContent = `The report could not be saved as ${name}.`;
    const sections = this.Check1.map((box) => box.checked) as ReportSections;
    const instant = Math.floor(Date.now() / 1000);
    const bytes = await this.engine.call('report', instant, sections);
    const info = await this.engine.call('info');
    if (!info.networkReadable) {
      await showMessage(`The memory has not been set up for the training file ${info.trainingFileName} yet. ` +
        'Go on to the set-up page and train it, then save the report.', 'Report Not Saved', 'warning');
      return;
    }
    download(name, bytes as Uint8Array<ArrayBuffer>, 'text/plain');
    this.Label3.textContent = `The report was saved as ${name} in the browser's downloads.`;
  }

  private showTarget(): void {
    const name = this.registry.remembered.resultsFileName;
    this.Label3.textContent = name ? `The report will be saved as ${name}.` : READY;
  }
}
