// The probe page: present a pattern and read its block (input, response, desired output,
// error), newest on top; clear the window or print it. The block is spoken row by row while
// the focus stays in the number box.
import { announce } from '../../ui/announcer';
import { showMessage } from '../../ui/dialogs';
import { button, el, labelled } from '../../ui/dom';
import { spinBox } from '../../ui/spin_box';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';

function allowedPatterns(numPatterns: number): string {
  if (numPatterns < 1) return 'The training set has no patterns to present.';
  if (numPatterns === 1) return 'The training set has one pattern: type 1.';
  return `Type the number of a pattern, a whole number from 1 to ${numPatterns}.`;
}

// A block's rows without the rules of dashes and equals signs that only mark it out on screen.
const spokenRows = (block: string) =>
  block.split('\r\n').filter((line) => line && !/^[-=]+$/.test(line)).join('\n');

export class ProbeNetwork extends Page {
  private readonly Pattern = spinBox('1', 1, 1);
  private readonly ResultsText = el('textarea', { readonly: true, wrap: 'off', rows: 16, class: 'results', spellcheck: 'false' });
  private readonly printout = el('pre', { class: 'printout' });
  private results = '';  // lines end CR LF, as the desktop's window holds them

  constructor(registry: PageRegistry) {
    super(registry, PageId.ProbeNetwork, 'Distributed Memory Program -- Probe Network Responses To Selected Patterns');
    const box = this.Pattern.input;
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') void this.PatternOK_Click();
    });
    this.root.append(
      el('h2', { class: 'title' }, "Examine The Network's Responses To Individual Patterns"),
      el('div', { class: 'pattern-row' },
        labelled('Pattern Number', box, { class: 'sr-only' }), box, this.Pattern.arrows,
        el('p', {}, 'Use the control to the left to choose a pattern to present to the network.  The results will be added to the text in the textbox below.'),
        button('Ok', () => this.PatternOK_Click())),
      labelled('Results', this.ResultsText, { class: 'sr-only' }), this.ResultsText,
      el('div', { class: 'buttons' },
        button('Print The Text In The Window', () => this.PrintResults_Click()),
        button('Clear The Text In The Window', () => this.setResults('')),
        button('Close Form', () => this.registry.close(PageId.ProbeNetwork))),
      this.printout);
  }

  async formLoad(): Promise<void> {
    // The arrows reach the patterns of the set loaded now; "Ok" checks against the current one.
    const info = await this.engine.call('info');
    this.Pattern.setRange(1, Math.max(info.numPatterns, 1));
    this.Pattern.input.select();
  }

  private async PatternOK_Click(): Promise<void> {
    const typed = this.Pattern.input.value;
    const probe = await this.engine.call('probe', typed);
    if (probe.pattern === 0) {
      await showMessage(`"${typed}" is not a pattern of this training set. ${allowedPatterns(probe.numPatterns)}`,
        'Pattern Number', 'warning');
      return;
    }
    if (!probe.networkReadable) {
      await showMessage(`The memory has not been set up for the training file ${probe.trainingFileName} yet. ` +
        'Go on to the set-up page and train it, then present the pattern again.', 'Memory Not Set Up', 'warning');
      return;
    }
    this.setResults(probe.block + this.results);
    announce(spokenRows(probe.block));
  }

  private async PrintResults_Click(): Promise<void> {
    // Laid out as the desktop's printout: a blank line, the heading in bold, a blank line, the text.
    const info = await this.engine.call('info');
    const heading = el('b', {}, `Results Of Testing Distributed Memory On ${info.trainingFileName}`);
    this.printout.replaceChildren('\n', heading, '\n\n', this.results.replace(/\r\n/g, '\n'));
    window.print();
  }

  private setResults(text: string): void {
    this.results = text;
    this.ResultsText.value = text.replace(/\r\n/g, '\n');
    this.ResultsText.scrollTop = 0;
  }
}
