// The training-file page: a training file is chosen from the bundled samples (double-click or
// Enter, as on the desktop's file list), with the browser's file picker, or dropped on the
// page. A load shows the file's name and sizes and opens the way on; a file that cannot be
// loaded gets the loader's message and leaves the set that was loaded before.
import { announce } from '../../ui/announcer';
import { showMessage } from '../../ui/dialogs';
import { button, el, labelled, show } from '../../ui/dom';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';

// The sample training files by name, built into the page's script (build.mjs).
declare const SAMPLES: Record<string, string>;

const plural = (n: number, what: string) => `${n} ${what}${n === 1 ? '' : 's'}`;

export class Network1 extends Page {
  private readonly File1 = el('select', { size: 5, class: 'file-list' });
  private readonly picker = el('input', { type: 'file', accept: '.net' });
  private readonly info = el('div', { class: 'file-info', hidden: true });
  private readonly OutputText = [0, 1, 2, 3].map(() => el('input', { type: 'text', readonly: true }));
  private readonly NextPage = button('Go To Next Page To Set Training Parameters', () => this.NextPage_Click(),
    { class: 'next', hidden: true });
  private setLoaded = false;

  constructor(registry: PageRegistry) {
    super(registry, PageId.Network1, 'Talvik Neural Net Code -- Introductory Form');
    const captions = ['File Name:', '# of Output Units:', '# of Input Units:', '# of Patterns:'];
    this.info.append(el('h3', {}, 'Training File Information'),
      ...captions.map((caption, i) => el('div', { class: 'row' }, labelled(caption, this.OutputText[i]), this.OutputText[i])));
    const fileLabel = 'Use "Double Clicks" To Choose The File To Train The Network';
    const listLabel = el('h3', { id: 'samples-label' }, fileLabel);
    this.File1.setAttribute('aria-labelledby', 'samples-label');
    this.File1.addEventListener('dblclick', () => this.File1_DblClick());
    this.File1.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') this.File1_DblClick();
    });
    this.picker.addEventListener('change', () => {
      const file = this.picker.files?.[0];
      if (file) void this.loadFile(file);
      this.picker.value = '';
    });
    this.root.addEventListener('dragover', (event) => event.preventDefault());
    this.root.addEventListener('drop', (event) => {
      event.preventDefault();
      const file = event.dataTransfer?.files[0];
      if (file) void this.loadFile(file);
    });
    this.root.append(
      el('h2', { class: 'title' }, 'Talvik Distributed Associative Memory Program 2003 Edition'),
      el('div', { class: 'columns' },
        el('div', { class: 'choose' }, listLabel, this.File1,
          el('p', { class: 'or' }, labelled('Or open a training file from this computer:', this.picker), this.picker),
          el('p', { class: 'drop' }, 'Or drop a training file (*.net) anywhere on this page.')),
        this.info),
      el('div', { class: 'buttons' }, this.NextPage, button('Exit', () => this.registry.exitProgram(), { class: 'exit' })),
      el('p', { class: 'notice' }, 'Double-click a training file to see its sizes, then go on to the next page to set training parameters.'));
  }

  async formLoad(): Promise<void> {
    this.File1.replaceChildren(...Object.keys(SAMPLES).map((name) => el('option', { value: name }, name)));
  }

  private async File1_DblClick(): Promise<void> {
    const name = this.File1.value;
    if (!name) return;  // nothing selected: nothing to load
    await this.load(new TextEncoder().encode(SAMPLES[name]), name);
  }

  private async loadFile(file: File): Promise<void> {
    await this.load(new Uint8Array(await file.arrayBuffer()), file.name);
  }

  private async load(bytes: Uint8Array, name: string): Promise<void> {
    const outcome = await this.engine.call('load', bytes, name);
    if (!outcome.loaded) {
      // The loader left the previous training set in place; so does the page.
      await showMessage(`The training file ${name} could not be loaded.\n${outcome.message}`,
        'Training File Not Loaded', 'warning');
      return;
    }
    this.setLoaded = true;
    const values = [name, outcome.numOutputUnits, outcome.numInputUnits, outcome.numPatterns];
    values.forEach((value, i) => { this.OutputText[i].value = String(value); });
    show(this.info, true);
    show(this.NextPage, true);
    announce(`Training file ${name} loaded: ${plural(outcome.numOutputUnits, 'output unit')}, ` +
      `${plural(outcome.numInputUnits, 'input unit')}, ${plural(outcome.numPatterns, 'pattern')}. ` +
      `${this.NextPage.textContent} is now available.`);
  }

  private async NextPage_Click(): Promise<void> {
    if (!this.setLoaded) return;
    this.registry.freshNetworkRequested = true;
    await this.registry.open(PageId.DistMem);
    this.registry.close(PageId.Network1);
  }
}
