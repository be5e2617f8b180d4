// The weights as a heat map on a canvas, input units down and output units across: the part in
// view is reduced by the core to at most a cell a pixel (each the weight of largest magnitude
// it covers) with the core's colours, then drawn at the zoom's size, with the current weight
// outlined and, where cells are wide enough, each weight written in its cell.
import type { WeightMapView } from '../../../../src/web/corvel_core';
import type { EngineBridge } from '../../bridge/engine_bridge';

const TEXT_FROM_CELL = 34;  // pixels: from this cell size on, weights are written in their cells
const MOST_SVG_CELLS = 40000;  // past this, the SVG file holds the picture rather than its cells

export interface MapRegion { firstInput: number; inputs: number; firstOutput: number; outputs: number }

export class WeightMapCanvas {
  readonly canvas = document.createElement('canvas');
  zoom = 1;
  current = { input: 1, output: 1 };
  region: MapRegion = { firstInput: 1, inputs: 0, firstOutput: 1, outputs: 0 };
  drawn: WeightMapView | null = null;
  private drawnCell = 1;

  constructor(private readonly engine: EngineBridge) {}

  private room = { width: 1, height: 1 };

  // Pixels a unit: the whole memory fits the room at zoom 1.
  cellPixels(inputs: number, outputs: number): number {
    return Math.min(this.room.width / Math.max(outputs, 1), this.room.height / Math.max(inputs, 1)) * this.zoom;
  }

  // Draws in at most `width` x `height` pixels; the canvas takes the map's own size.
  async draw(width: number, height: number, inputs: number, outputs: number): Promise<WeightMapView | null> {
    this.room = { width, height };
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
    this.canvas.width = Math.max(1, Math.round(columns * cell));
    this.canvas.height = Math.max(1, Math.round(rows * cell));
    const context = this.canvas.getContext('2d');
    if (!view || !context) return view;
    const image = new ImageData(new Uint8ClampedArray(view.rgba), view.columns, view.rows);
    const cells = document.createElement('canvas');
    cells.width = view.columns;
    cells.height = view.rows;
    cells.getContext('2d')?.putImageData(image, 0, 0);
    context.imageSmoothingEnabled = false;
    context.drawImage(cells, 0, 0, this.canvas.width, this.canvas.height);
    this.drawnCell = cell;
    if (cell >= TEXT_FROM_CELL) await this.writeWeights(context, cell, view);
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

  // The map as drawn, as SVG: a rectangle a cell, or for a map of very many cells the
  // picture itself inside the SVG.
  svgText(): string {
    const view = this.drawn;
    const width = this.canvas.width;
    const height = this.canvas.height;
    let body = '';
    if (view && view.rows * view.columns <= MOST_SVG_CELLS) {
      const w = width / view.columns;
      const h = height / view.rows;
      for (let r = 0; r < view.rows; ++r)
        for (let c = 0; c < view.columns; ++c) {
          const k = 4 * (r * view.columns + c);
          body += `<rect x="${(c * w).toFixed(2)}" y="${(r * h).toFixed(2)}" width="${w.toFixed(2)}" height="${h.toFixed(2)}" fill="rgb(${view.rgba[k]},${view.rgba[k + 1]},${view.rgba[k + 2]})"/>`;
        }
    } else {
      body = `<image width="${width}" height="${height}" href="${this.canvas.toDataURL('image/png')}"/>`;
    }
    return `<?xml version="1.0" encoding="UTF-8"?>\n<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}" shape-rendering="crispEdges">${body}</svg>\n`;
  }

  // Each weight in its cell (a cell a unit at this size), white on the deep colours.
  private async writeWeights(context: CanvasRenderingContext2D, cell: number, view: WeightMapView): Promise<void> {
    context.font = '12px Arial, sans-serif';
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    const r = this.region;
    for (let i = 0; i < r.inputs; ++i)
      for (let j = 0; j < r.outputs; ++j) {
        const k = 4 * (i * view.columns + j);
        const lightness = 0.299 * view.rgba[k] + 0.587 * view.rgba[k + 1] + 0.114 * view.rgba[k + 2];
        context.fillStyle = lightness < 128 ? '#fff' : '#000';
        const text = await this.engine.call('weightText', r.firstInput + i, r.firstOutput + j);
        context.fillText(text, (j + 0.5) * cell, (i + 0.5) * cell);
      }
  }
}
