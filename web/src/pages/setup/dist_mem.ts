// The set-up page: the rule, the rate, how training ends and the printouts, then "Start
// Training" (weights cleared) or "Continue Training" (from the current weights). The engine
// reads the boxes and trains in its worker; this page shows the refusals and failure reports
// the engine gives, follows the run at screen rate, and ends it on "Stop Training" or Esc.
import type { ParameterBoxes, RunStatus, StartOutcome } from '../../../../src/web/corvel_core';
import { dialogOpen, showMessage } from '../../ui/dialogs';
import { button, el, labelled, show } from '../../ui/dom';
import { spinBox } from '../../ui/spin_box';
import type { Rule } from '../../worker/engine_ops';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';
import { ProgressBoxes } from './progress_boxes';

const READY = 'Choose the rule, the rate and how training ends, then press Start Training (or Enter).';

// A text box with its slider, the slider holding the box's number times 100.
function scaledSlider(maximum: number, caption: string): HTMLInputElement {
  const slider = el('input', { type: 'range', min: 0, max: maximum, step: 1, 'aria-label': caption });
  const describe = () => slider.setAttribute('aria-valuetext', (Number(slider.value) / 100).toFixed(2));
  slider.addEventListener('input', describe);
  // Page Up and Page Down move five steps, as on the desktop.
  slider.addEventListener('keydown', (event) => {
    if (event.key !== 'PageUp' && event.key !== 'PageDown') return;
    event.preventDefault();
    slider.value = String(Number(slider.value) + (event.key === 'PageUp' ? 5 : -5));
    slider.dispatchEvent(new Event('input'));
  });
  describe();
  return slider;
}

function rowBox(text: string): HTMLInputElement {
  return el('input', { type: 'text', value: text, inputmode: 'decimal', autocomplete: 'off', class: 'number' });
}

export class DistMem extends Page {
  private readonly OptionHebb = el('input', { type: 'radio', name: 'rule', checked: true });
  private readonly OptionDelta = el('input', { type: 'radio', name: 'rule' });
  private readonly Check1 = [el('input', { type: 'checkbox', checked: true }), el('input', { type: 'checkbox' })];
  private readonly Sweeps = spinBox('100', 1, 50000);
  private readonly PrintSweeps = spinBox('10', 1, 10000);
  private readonly LRateBox = rowBox('0.10');
  private readonly LRateSlider = scaledSlider(200, 'Choose A Learning Rate');
  private readonly MinErrorBox = rowBox('0.05');
  private readonly MinErrorSlider = scaledSlider(100, 'Set The Minimum Level Of Error (SSE)  To Stop Training');
  private readonly StartTraining = button('Start Training', () => this.StartTraining_Click());
  private readonly StopTraining = button('Stop Training', () => this.StopTraining_Click(), { hidden: true });
  private readonly Continue = button('Continue Training', () => this.Continue_Click(), { hidden: true });
  private readonly TestRecall = button('Test Recall', () => this.TestRecall_Click(), { hidden: true });
  private readonly Command2 = button('Exit', () => this.Command2_Click(), { class: 'exit' });
  private readonly Label3 = el('p', { class: 'notice' }, READY);
  private readonly progress = new ProgressBoxes();
  private training = false;
  private starter: HTMLButtonElement = this.StartTraining;
  private latest: RunStatus | null = null;  // drawn at the next frame
  private afterRun: (() => void) | null = null;

  constructor(registry: PageRegistry) {
    super(registry, PageId.DistMem, 'Distributed Memory Setup Page -- Talvik Neural Network Code');
    const option = (input: HTMLInputElement, caption: string) => el('label', { class: 'option' }, input, ` ${caption}`);
    const row = (box: HTMLInputElement, control: HTMLElement, caption: string) =>
      el('div', { class: 'row' }, box, control, labelled(caption, box, { class: 'row-caption' }));
    this.root.append(
      el('h2', { class: 'title' }, 'Talvik Distributed Associative Memory Program 2003 Edition'),
      el('div', { class: 'frames' },
        el('fieldset', {}, el('legend', {}, 'Choose A Learning Rule'),
          option(this.OptionHebb, 'Hebb Rule'), option(this.OptionDelta, 'Delta Rule')),
        el('fieldset', {}, el('legend', {}, 'Choose Method(s) For Ending Training'),
          option(this.Check1[0], 'End After A Maximum Number Of Training Epochs'),
          option(this.Check1[1], 'End When A Minimum Level Of Error Has Been Reached'))),
      row(this.Sweeps.input, this.Sweeps.arrows, 'Choose The Maximum Number Of Epochs'),
      row(this.PrintSweeps.input, this.PrintSweeps.arrows, 'Choose The Number Of Epochs Between Printouts Of Training Information'),
      row(this.LRateBox, this.LRateSlider, 'Choose A Learning Rate'),
      row(this.MinErrorBox, this.MinErrorSlider, 'Set The Minimum Level Of Error (SSE)  To Stop Training'),
      el('div', { class: 'run' },
        el('div', { class: 'run-start' }, this.StartTraining, this.StopTraining),
        el('div', { class: 'progress' }, ...this.progress.boxes, this.progress.bar),
        el('div', { class: 'run-after' }, this.Continue, this.TestRecall, this.Command2)),
      this.Label3);
    for (const [slider, box] of [[this.LRateSlider, this.LRateBox], [this.MinErrorSlider, this.MinErrorBox]]) {
      slider.addEventListener('input', async () => {
        box.value = await this.engine.call('boxTextForSlider', Number(slider.value));
      });
    }
    // Enter starts a run, unless a button or list took the key for itself.
    this.root.addEventListener('keydown', (event) => {
      const target = event.target as HTMLElement;
      if (event.key === 'Enter' && target.tagName === 'INPUT' && !this.training) {
        event.preventDefault();
        this.StartTraining.click();
      }
    });
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && this.training && !dialogOpen()) this.StopTraining_Click();
    });
    this.engine.onStatus((status) => this.statusCame(status));
  }

  async formLoad(): Promise<void> {
    await this.makeFreshNetworkIfRequested();
    this.OptionHebb.checked = true;
    await this.setSlidersFromBoxes();
  }

  async formActivate(): Promise<void> {
    if (this.training) return;
    if (await this.makeFreshNetworkIfRequested()) {
      this.progress.hideAll();
      this.Label3.textContent = READY;
    }
    await this.setSlidersFromBoxes();
    this.setInputsEnabled(true);
  }

  canLeave(): boolean { return !this.training; }

  private rule(): Rule { return this.OptionDelta.checked ? 'Delta' : 'Hebb'; }

  private boxes(): ParameterBoxes {
    return {
      maxSweepsChecked: this.Check1[0].checked, minSSEChecked: this.Check1[1].checked,
      sweepsBox: this.Sweeps.input.value, lRateBox: this.LRateBox.value,
      printSweepsBox: this.PrintSweeps.input.value, minErrorBox: this.MinErrorBox.value,
    };
  }

  private async StartTraining_Click(): Promise<void> {
    if (this.training) return;  // a second press during a run is ignored
    this.progress.clearCounts();
    this.starter = this.StartTraining;
    await this.started(await this.engine.call('start', this.rule(), this.boxes()));
  }

  private async Continue_Click(): Promise<void> {
    if (this.training) return;
    this.starter = this.Continue;
    await this.started(await this.engine.call('continue', this.rule(), this.boxes()));
  }

  private StopTraining_Click(): void {
    if (this.training) void this.engine.call('stop');
  }

  private async TestRecall_Click(): Promise<void> {
    await this.registry.open(PageId.TestDAM);
  }

  private Command2_Click(): void {
    // A run ends first, then the program.
    if (this.training) {
      this.afterRun = () => this.registry.exitProgram();
      this.StopTraining_Click();
      return;
    }
    this.registry.exitProgram();
  }

  private async started(outcome: StartOutcome): Promise<void> {
    if (outcome.failureText) {
      await this.showFailure(outcome.failureText);
      return;
    }
    if (outcome.refusalText) {
      // The refusal reset one value; show it in its control.
      this.Check1[0].checked = outcome.boxes.maxSweepsChecked;
      this.Check1[1].checked = outcome.boxes.minSSEChecked;
      this.Sweeps.input.value = outcome.boxes.sweepsBox;
      this.LRateBox.value = outcome.boxes.lRateBox;
      await showMessage(outcome.refusalText, outcome.refusalTitle, 'warning');
      return;
    }
    if (!outcome.started) return;
    this.training = true;
    this.registry.memoryTrained = true;
    this.setInputsEnabled(false);
    for (const b of [this.TestRecall, this.Continue]) show(b, false);
    show(this.StopTraining, true);
    this.Label3.textContent = 'Training. Press Stop Training or Esc to end the run now.';
    this.progress.showRunStart(outcome.trainingLine, outcome.progressMaximum);
  }

  // Statuses come as fast as the worker's slices; the newest is drawn once a frame.
  private statusCame(status: RunStatus): void {
    const waiting = this.latest !== null;
    // A printout or the end is never dropped for a later status without one.
    if (this.latest?.hasPrintout && !status.hasPrintout) status = { ...status, hasPrintout: true, printout: this.latest.printout };
    this.latest = status;
    if (!waiting) requestAnimationFrame(() => this.drawStatus());
  }

  private drawStatus(): void {
    const status = this.latest;
    this.latest = null;
    if (!status) return;
    this.progress.showSweepsThisRun(status.sweepsThisRun);
    if (status.hasPrintout && !status.hasEnd) this.progress.showPrintout(status.printout);
    if (status.running) return;
    this.training = false;
    show(this.StopTraining, false);
    if (status.failureText) {
      // The inputs stay as the failure left them until the page comes back to the front.
      this.Label3.textContent = 'The run failed. Press Start Training to train again from cleared weights with the same settings, or Exit.';
      void this.showFailure(status.failureText);
      this.StartTraining.focus();
    } else {
      this.progress.showRunEnd(status.end);
      this.setInputsEnabled(true);
      for (const b of [this.TestRecall, this.Continue]) show(b, true);
      this.Label3.textContent = 'Press Test Recall to examine the memory, or Continue Training to train further.';
      this.starter.focus();
    }
    const after = this.afterRun;
    this.afterRun = null;
    after?.();
  }

  private async showFailure(text: string): Promise<void> {
    await showMessage(text, 'Corvel Duvu', 'none');
  }

  private async makeFreshNetworkIfRequested(): Promise<boolean> {
    if (!this.registry.freshNetworkRequested) return false;
    this.registry.freshNetworkRequested = false;
    this.registry.memoryTrained = false;
    const failure = await this.engine.call('makeNetwork');
    if (failure) await this.showFailure(failure);
    return true;
  }

  private async setSlidersFromBoxes(): Promise<void> {
    for (const [slider, box] of [[this.LRateSlider, this.LRateBox], [this.MinErrorSlider, this.MinErrorBox]]) {
      slider.value = String(await this.engine.call('sliderValueForBox', box.value, Number(slider.value),
        Number(slider.min), Number(slider.max)));
      slider.setAttribute('aria-valuetext', (Number(slider.value) / 100).toFixed(2));
    }
  }

  private setInputsEnabled(enabled: boolean): void {
    const inputs = [...this.Check1, this.OptionHebb, this.OptionDelta, this.PrintSweeps.input,
      this.Sweeps.input, this.LRateBox, this.LRateSlider, this.MinErrorBox, this.MinErrorSlider];
    for (const input of inputs) input.disabled = !enabled;
  }
}
