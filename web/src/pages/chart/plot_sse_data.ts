// The SSE chart page: the history as a bar chart (built when the page is created, so it shows
// the history of that moment until the page is closed and opened again), a table of the same
// numbers for screen readers, the picture and the numbers as files, the logarithmic scale,
// and printing. With the chart focused, Up, Down, Page Up, Page Down (ten rows), Home and End
// walk the bars, and the line under the chart reads the current one.
import type { SSEChartView } from '../../../../src/web/corvel_core';
import { showMessage } from '../../ui/dialogs';
import { button, el } from '../../ui/dom';
import { download } from '../../ui/downloads';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';
import { pngBlob, svgText } from './chart_files';
import { TITLE, X_TITLE, Y_TITLE, drawChart, maxTicks, type ChartLayout } from './sse_chart_svg';

const PAGE_ROWS = 10;

export class PlotSSEdata extends Page {
  private readonly figure = el('div', { class: 'chart', tabindex: 0, role: 'group', 'aria-label': TITLE,
    'aria-describedby': 'chart-current' });
  private readonly current = el('p', { id: 'chart-current', class: 'chart-current', 'aria-live': 'polite' });
  private readonly table = el('table');
  private readonly logarithmic = el('input', { type: 'checkbox' });
  private readonly printout = el('div', { class: 'printout' });
  private view: SSEChartView | null = null;
  private svg: SVGSVGElement | null = null;
  private layout: ChartLayout | null = null;
  private outline: SVGRectElement | null = null;
  private row = 0;
  private drawnWidth = 0;

  constructor(registry: PageRegistry) {
    super(registry, PageId.PlotSSEdata, 'Graph of SSE as a function of sweeps of training');
    this.logarithmic.addEventListener('change', () => {
      this.registry.remembered.logarithmicSSEScale = this.logarithmic.checked;
      void this.build();
    });
    this.figure.addEventListener('keydown', (event) => this.walk(event));
    this.figure.addEventListener('focus', () => this.showCurrent());
    this.figure.addEventListener('blur', () => this.outline?.remove());
    new ResizeObserver(() => {
      if (!this.root.hidden && Math.abs(this.width() - this.drawnWidth) > 8) void this.build();
    }).observe(this.figure);
    this.root.append(
      el('p', {}, 'To work with this graph electronically, return to the previous page and create an Excel spreadsheet.  The data used to create this graph is saved on one of the worksheets in the spreadsheet that is created, and can be used to create a chart that could be imported into other software packages, such as a word processor.'),
      this.figure, this.current, el('div', { class: 'sr-only' }, this.table),
      el('div', { class: 'chart-tools' },
        button('Copy Picture', () => this.copyPicture()),
        button('Save Picture As PNG', () => this.savePng()),
        button('Save Picture As SVG', () => this.svg && download('sse-chart.svg', svgText(this.svg), 'image/svg+xml')),
        button('Save Data As CSV', () => this.saveCsv()),
        el('label', { class: 'option' }, this.logarithmic, ' Logarithmic SSE Scale')),
      el('p', { class: 'notice' }, 'The buttons under the chart copy or save the picture, save the numbers, or switch to a logarithmic SSE scale.'),
      el('div', { class: 'buttons' },
        button('Print The Graph', () => this.print()),
        button('Exit This Page', () => this.registry.close(PageId.PlotSSEdata))),
      this.printout);
  }

  async formLoad(): Promise<void> {
    this.logarithmic.checked = this.registry.remembered.logarithmicSSEScale;
    await this.build();
  }

  async formActivate(): Promise<void> {
    if (Math.abs(this.width() - this.drawnWidth) > 8) await this.build();
  }

  private width(): number {
    return Math.max(280, Math.min(1400, this.figure.clientWidth || this.root.clientWidth || 676));
  }

  // The history read when the page was created, on the current scale at the current size.
  private async build(): Promise<void> {
    const width = this.width();
    const height = Math.round(Math.min(560, Math.max(300, width * 0.67)));
    if (!this.view) {
      this.view = await this.engine.call('chart', this.logarithmic.checked, maxTicks(height));
      this.fillTable(this.view);
    } else {
      const axis = await this.engine.call('chartAxis', this.view.sses, this.logarithmic.checked, maxTicks(height));
      this.view = { ...this.view, ...axis };
    }
    const { svg, layout } = drawChart(this.view, width, height);
    svg.setAttribute('aria-hidden', 'true');
    this.svg = svg;
    this.layout = layout;
    this.drawnWidth = width;
    this.figure.replaceChildren(svg);
    if (document.activeElement === this.figure) this.showCurrent();
  }

  private fillTable(view: SSEChartView): void {
    this.table.replaceChildren(el('caption', {}, TITLE),
      el('thead', {}, el('tr', {}, el('th', { scope: 'col' }, X_TITLE), el('th', { scope: 'col' }, Y_TITLE))),
      el('tbody', {}, ...view.sweepTexts.map((sweep, i) => el('tr', {}, el('td', {}, sweep), el('td', {}, view.sseTexts[i])))));
  }

  private walk(event: KeyboardEvent): void {
    const last = (this.view?.sweepTexts.length ?? 1) - 1;
    const moves: Record<string, number> = { ArrowUp: this.row - 1, ArrowDown: this.row + 1,
      PageUp: this.row - PAGE_ROWS, PageDown: this.row + PAGE_ROWS, Home: 0, End: last };
    if (!(event.key in moves)) return;
    event.preventDefault();
    this.row = Math.min(Math.max(moves[event.key], 0), Math.max(last, 0));
    this.showCurrent();
  }

  // Outlines the current bar (never in the pictures) and reads its row.
  private showCurrent(): void {
    if (!this.view || !this.svg || !this.layout || this.view.sweepTexts.length === 0) return;
    const r = this.layout.bar(this.row);
    this.outline?.remove();
    this.outline = document.createElementNS('http://www.w3.org/2000/svg', 'rect');
    for (const [name, value] of Object.entries({ x: r.x - 3, y: r.y - 3, width: r.width + 6, height: r.height + 6 }))
      this.outline.setAttribute(name, String(value));
    this.outline.setAttribute('class', 'current-bar');
    this.svg.append(this.outline);
    this.current.textContent = `Row ${this.row + 1} of ${this.view.sweepTexts.length}: ${X_TITLE} ${this.view.sweepTexts[this.row]}, ${Y_TITLE} ${this.view.sseTexts[this.row]}`;
  }

  private bareSvg(): SVGSVGElement | null {
    const copy = this.svg?.cloneNode(true) as SVGSVGElement | undefined;
    copy?.querySelector('.current-bar')?.remove();
    copy?.removeAttribute('aria-hidden');
    return copy ?? null;
  }

  private async savePng(): Promise<void> {
    const svg = this.bareSvg();
    if (svg) download('sse-chart.png', await pngBlob(svg), 'image/png');
  }

  private async saveCsv(): Promise<void> {
    if (this.view) download('sse-data.csv', await this.engine.call('sseCsv', this.view.sweeps, this.view.sses), 'text/csv');
  }

  private async copyPicture(): Promise<void> {
    const svg = this.bareSvg();
    if (!svg) return;
    try {
      await navigator.clipboard.write([new ClipboardItem({ 'image/png': pngBlob(svg) })]);
    } catch (error) {
      await showMessage(`The picture could not be copied: ${(error as Error).message}`, 'Copy Picture', 'warning');
    }
  }

  private print(): void {
    const svg = this.bareSvg();
    if (svg) this.printout.replaceChildren(svg);
    window.print();
  }
}
