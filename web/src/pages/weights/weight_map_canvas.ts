// The weights as a heat map on a canvas, input units down and output units across: the part in
// view is reduced by the core to at most a cell a pixel (each the weight of largest magnitude
// it covers) with the core's colours, then drawn at the zoom's size, with the current weight
// outlined and, where cells are wide enough, each weight written in its cell.
import type { WeightMapView } from '../../../../src/web/corvel_core';
import type { EngineBridge } from '../../bridge/engine_bridge';

const TEXT_FROM_CELL = 34;  // pixels: from this cell size on, weights are written in their cells

export interface MapRegion { firstInput: number; inputs: number; firstOutput: number; outputs: number }

export class WeightMapCanvas {
  readonly canvas = document.createElement('canvas');
  zoom = 1;
  current = { input: 1, output: 1 };
  region: MapRegion = { firstInput: 1, inputs: 0, firstOutput: 1, outputs: 0 };
  drawn: WeightMapView | null = null;
  private drawnCell = 1;

  constructor(private readonly engine: EngineBridge) {}

  // Pixels a unit: the whole memory fits at zoom 1.
  cellPixels(inputs: number, outputs: number): number {
    const fit = Math.min(this.canvas.width / Math.max(outputs, 1), this.canvas.height / Math.max(inputs, 1));
    return fit * this.zoom;
  }

  async draw(width: number, height: number, inputs: number, outputs: number): Promise<WeightMapView | null> {
    this.canvas.width = width;
    this.canvas.height = height;
    const cell = this.cellPixels(inputs, outputs);
    const rows = Math.min(inputs, Math.max(1, Math.floor(height / cell)));
    const columns = Math.min(outputs, Math.max(1, Math.floor(width / cell)));
    // The part in view keeps the current weight inside it.
    const first = (current: number, shown: number, all: number) =>
      Math.min(Math.max(1, current - Math.floor(shown / 2)), all - shown + 1);
    this.region = { firstInput: first(this.current.input, rows, inputs), inputs: rows,
      firstOutput: first(this.current.output, columns, outputs), outputs: columns };
    const r = this.region;
    const view = await this.engine.call('weightMap', r.firstInput, r.inputs, r.firstOutput, r.outputs,
      Math.min(rows, height), Math.min(columns, width));
    this.drawn = view;
    const context = this.canvas.getContext('2d');
    if (!view || !context) return view;
    const image = new ImageData(new Uint8ClampedArray(view.rgba), view.columns, view.rows);
    const cells = document.createElement('canvas');
    cells.width = view.columns;
    cells.height = view.rows;
    cells.getContext('2d')?.putImageData(image, 0, 0);
    context.fillStyle = '#808080';
    context.fillRect(0, 0, width, height);
    context.imageSmoothingEnabled = false;
    context.drawImage(cells, 0, 0, columns * cell, rows * cell);
    this.drawnCell = cell;
    if (cell >= TEXT_FROM_CELL) await this.writeWeights(context, cell);
    return view;
  }

  // The current weight's outline, drawn over the map (never in its pictures).
  outline(): void {
    const context = this.canvas.getContext('2d');
    if (!context || !this.drawn) return;
    const size = Math.max(this.drawnCell, 4);
    context.strokeStyle = '#000';
    context.lineWidth = 2;
    context.setLineDash([4, 2]);
    context.strokeRect((this.current.output - this.region.firstOutput) * this.drawnCell,
      (this.current.input - this.region.firstInput) * this.drawnCell, size, size);
    context.setLineDash([]);
  }

  private async writeWeights(context: CanvasRenderingContext2D, cell: number): Promise<void> {
    context.font = '11px Arial, sans-serif';
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    context.fillStyle = '#000';
    const r = this.region;
    for (let i = 0; i < r.inputs; ++i)
      for (let j = 0; j < r.outputs; ++j) {
        const text = await this.engine.call('weightText', r.firstInput + i, r.firstOutput + j);
        context.fillText(text, (j + 0.5) * cell, (i + 0.5) * cell);
      }
  }
}
