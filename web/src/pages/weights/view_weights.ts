// The weights page: the memory's weights as a heat map with a colour key, the current weight
// named under it (the arrow keys walk the weights; +, - and the wheel zoom, 0 shows all), and
// every pattern's response, desired output, error and SSE with the worst pattern marked. The
// map is a grid named "Weights" for screen readers, its current cell read as the arrows move;
// the responses are a table named "Responses". The page is drawn afresh each time it comes to
// the front, so it shows the weights a run has left.
import { showMessage } from '../../ui/dialogs';
import { button, el, show } from '../../ui/dom';
import { download } from '../../ui/downloads';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';
import { WeightMapCanvas } from './weight_map_canvas';

const MOST_TABLE_CELLS = 20000;  // more responses are in the CSV file only
const MOST_ZOOM = 64;

export class ViewWeights extends Page {
  private readonly map = new WeightMapCanvas(this.registry.engine);
  private readonly grid = el('div', { class: 'weight-map', tabindex: 0, role: 'grid', 'aria-label': 'Weights',
    'aria-activedescendant': 'weights-current' });
  private readonly gridCell = el('div', { role: 'gridcell', id: 'weights-current' });
  private readonly gridRow = el('div', { role: 'row', class: 'sr-only' }, this.gridCell);
  private readonly key = el('div', { class: 'colour-key', role: 'img' });
  private readonly CellLabel = el('p', { 'aria-live': 'polite' });
  private readonly ZoomLabel = el('p');
  private readonly table = el('table', { 'aria-label': 'Responses', class: 'responses' });
  private readonly shownRows = el('p');
  private readonly WorstLabel = el('p', { class: 'worst' });
  private units = { inputs: 0, outputs: 0 };

  constructor(registry: PageRegistry) {
    super(registry, PageId.ViewWeights, 'Distributed Memory Program -- Weights And Responses');
    this.map.canvas.setAttribute('aria-hidden', 'true');
    this.grid.append(this.map.canvas, this.gridRow);
    this.grid.addEventListener('keydown', (event) => this.keyPressed(event));
    for (const change of ['focus', 'blur']) this.grid.addEventListener(change, () => this.drawMap());
    this.grid.addEventListener('wheel', (event) => {
      event.preventDefault();
      void this.zoomBy(event.deltaY < 0 ? 2 : 0.5);
    }, { passive: false });
    this.root.append(
      el('h2', { class: 'title' }, "The Memory's Weights And Its Responses To Every Pattern"),
      el('div', { class: 'weights-top' },
        el('div', {}, el('p', { class: 'field-caption' }, 'Connection weights from input units (rows) to output units (columns):'), this.grid),
        el('div', { class: 'weights-side' }, this.key, this.CellLabel, this.ZoomLabel,
          el('p', { class: 'notice' }, 'The buttons below save the weights or the responses as CSV or the map as a picture. The wheel, + and - zoom the map; 0 shows all of it.'))),
      el('div', { class: 'chart-tools' },
        button('Save Weights As CSV', () => this.saveCsv('weightsCsv', 'weights.csv')),
        button('Save Responses As CSV', () => this.saveCsv('responsesCsv', 'responses.csv')),
        button('Save Picture As PNG', () => this.savePng()),
        button('Save Picture As SVG', () => this.saveSvg())),
      el('p', { class: 'field-caption' }, 'Network Responses To Each Input Pattern:'),
      el('div', { class: 'table-scroll', tabindex: 0, role: 'region', 'aria-label': 'Responses table' }, this.table),
      this.shownRows, this.WorstLabel,
      el('div', { class: 'buttons' }, button('Close Form', () => this.registry.close(PageId.ViewWeights))),
      el('p', { class: 'notice' }, 'Arrow keys walk the weights; Tab goes on to the responses.'));
  }

  async formActivate(): Promise<void> {
    const info = await this.engine.call('info');
    this.units = { inputs: info.numInputUnits, outputs: info.numOutputUnits };
    show(this.grid, info.networkReadable);
    if (!info.networkReadable) {
      this.CellLabel.textContent = `The memory has not been set up for the training file ${info.trainingFileName} yet. Train it on the set-up page, and the weights show here.`;
      this.table.replaceChildren();
      this.WorstLabel.textContent = '';
      return;
    }
    await this.drawMap();
    await this.fillResponses(info.numPatterns, info.numOutputUnits);
  }

  private async drawMap(): Promise<void> {
    const width = Math.max(200, Math.min(900, this.root.clientWidth - 40 || 600));
    const height = Math.round(Math.min(480, width * 0.64));
    this.map.current.input = Math.min(this.map.current.input, this.units.inputs);
    this.map.current.output = Math.min(this.map.current.output, this.units.outputs);
    const view = await this.map.draw(width, height, this.units.inputs, this.units.outputs);
    if (!view) return;
    if (document.activeElement === this.grid) this.map.outline();
    await this.showKey(view.largest);
    const cell = this.map.cellPixels(this.units.inputs, this.units.outputs);
    this.ZoomLabel.textContent = this.map.zoom > 1 ? `Zoomed in: ${cell.toFixed(1)} pixels a unit.`
      : cell < 1 ? 'The whole memory, each point the largest weight of the units it covers.' : 'The whole memory.';
    await this.showCurrentCell();
  }

  private async showKey(scale: number): Promise<void> {
    const stops = Float64Array.from({ length: 21 }, (_, k) => (k - 10) / 10 * scale);
    const rgba = await this.engine.call('weightColours', stops, scale);
    const colours = Array.from({ length: 21 }, (_, k) => `rgb(${rgba[4 * k]},${rgba[4 * k + 1]},${rgba[4 * k + 2]})`);
    const text = await this.engine.call('weightScaleText', scale);
    this.key.setAttribute('aria-label', scale > 0 ? `Colour key: deepest blue -${text}, white 0, deepest red +${text}` : 'Colour key');
    this.key.replaceChildren(el('div', { class: 'gradient', style: `background: linear-gradient(to right, ${colours.join(', ')})` }),
      el('div', { class: 'key-labels' }, el('span', {}, `-${text}`), el('span', {}, '0'), el('span', {}, `+${text}`)));
  }

  private async showCurrentCell(): Promise<void> {
    const { input, output } = this.map.current;
    const weight = await this.engine.call('weightText', input, output);
    this.CellLabel.textContent = `Input unit ${input} to output unit ${output}: weight ${weight}`;
    this.gridRow.setAttribute('aria-rowindex', String(input));
    this.gridCell.setAttribute('aria-colindex', String(output));
    this.grid.setAttribute('aria-rowcount', String(this.units.inputs));
    this.grid.setAttribute('aria-colcount', String(this.units.outputs));
    this.gridCell.textContent = `INP ${input}, Out ${output}: ${weight}`;
  }

  private async keyPressed(event: KeyboardEvent): Promise<void> {
    const moves: Record<string, [number, number]> = { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] };
    if (event.key in moves) {
      event.preventDefault();
      const [down, across] = moves[event.key];
      const c = this.map.current;
      c.input = Math.min(Math.max(1, c.input + down), this.units.inputs);
      c.output = Math.min(Math.max(1, c.output + across), this.units.outputs);
      await this.drawMap();
    } else if (event.key === '+' || event.key === '=') await this.zoomBy(2);
    else if (event.key === '-') await this.zoomBy(0.5);
    else if (event.key === '0') await this.zoomBy(0);
  }

  private async zoomBy(factor: number): Promise<void> {
    this.map.zoom = factor === 0 ? 1 : Math.min(MOST_ZOOM, Math.max(1, this.map.zoom * factor));
    await this.drawMap();
  }

  private async fillResponses(patterns: number, outputs: number): Promise<void> {
    const columns = 3 * outputs + 2;
    const count = Math.min(patterns, Math.max(1, Math.floor(MOST_TABLE_CELLS / columns)));
    const [rows, sses] = await Promise.all([this.engine.call('responseRows', 1, count), this.engine.call('patternSSEs')]);
    if (!rows || !sses) return;
    let worst = 0;
    sses.forEach((sse, p) => { if (sse > sses[worst]) worst = p; });
    const headers = ['Pattern', ...['Response', 'Desired', 'Error'].flatMap((what) =>
      Array.from({ length: outputs }, (_, j) => `${what} ${j + 1}`)), 'SSE'];
    this.table.replaceChildren(el('thead', {}, el('tr', {}, ...headers.map((h) => el('th', { scope: 'col' }, h)))),
      el('tbody', {}, ...rows.map((cells, p) => el('tr', { class: p === worst ? 'worst' : undefined },
        el('th', { scope: 'row' }, p === worst ? `${cells[0]} (worst)` : cells[0]),
        ...cells.slice(1).map((cell) => el('td', {}, cell))))));
    this.shownRows.textContent = count < patterns
      ? `The table shows patterns 1 to ${count} of ${patterns}; Save Responses As CSV saves them all.` : '';
    const sse = await this.engine.call('generalNumberText', sses[worst]);
    this.WorstLabel.textContent = `Worst pattern: ${worst + 1}, with an SSE of ${sse} (marked in the table)`;
    this.table.setAttribute('aria-description', this.WorstLabel.textContent);
  }

  // A memory not set up for the loaded set has nothing to save, and says so.
  private async networkReady(): Promise<boolean> {
    if ((await this.engine.call('info')).networkReadable) return true;
    await showMessage(this.CellLabel.textContent ?? '', 'Nothing To Save', 'warning');
    return false;
  }

  private async saveCsv(op: 'weightsCsv' | 'responsesCsv', name: string): Promise<void> {
    if (await this.networkReady()) download(name, await this.engine.call(op), 'text/csv');
  }

  private async saveSvg(): Promise<void> {
    if (!(await this.networkReady())) return;
    await this.drawMap();  // without the outline
    download('weights.svg', this.map.svgText(), 'image/svg+xml');
  }

  private async savePng(): Promise<void> {
    if (!(await this.networkReady())) return;
    await this.drawMap();  // without the outline
    const blob = await new Promise<Blob | null>((resolve) => this.map.canvas.toBlob(resolve, 'image/png'));
    if (blob) download('weights.png', blob, 'image/png');
  }
}
