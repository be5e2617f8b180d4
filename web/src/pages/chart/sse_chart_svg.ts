// Draws the SSE chart as SVG by the desktop chart's rules: one grey, black-edged bar per
// history row on a white backdrop without grid lines; bars too narrow for their edge are
// drawn without it and touch; the sweep labels are thinned to a step of 1, 2 or 5 times a
// power of ten that leaves room for each; the SSE axis's ticks and labels are the core's
// (linear or logarithmic); the SSE axis's title stands upright, one character under another.
import type { SSEChartView } from '../../../../src/web/corvel_core';

export const TITLE = 'Total Sum Of Squared Error As A Function Of Training Sweeps';
export const X_TITLE = 'Sweeps Of Training';
export const Y_TITLE = 'Network SSE';
const SVG = 'http://www.w3.org/2000/svg';
const NARROWEST_EDGED_BAR = 3;  // pixels
const LABEL_SPACING = 56;       // pixels between sweep labels
const TICK_SPACING = 40;        // pixels between SSE ticks

// How many SSE ticks fit a chart `height` pixels high.
export const maxTicks = (height: number) => Math.max(2, Math.floor((height - 120) / TICK_SPACING));

// The step between labelled bars: the smallest 1, 2 or 5 times a power of ten that fits.
export function labelStep(bars: number, width: number): number {
  const room = Math.max(1, Math.floor(width / LABEL_SPACING));
  for (let power = 1; ; power *= 10)
    for (const factor of [1, 2, 5]) if (bars <= room * factor * power) return factor * power;
}

function node(tag: string, attrs: Record<string, string | number>, text?: string): SVGElement {
  const element = document.createElementNS(SVG, tag);
  for (const [name, value] of Object.entries(attrs)) element.setAttribute(name, String(value));
  if (text !== undefined) element.textContent = text;
  return element;
}

// The title in as many lines as the width needs (at most two).
function titleLines(width: number, fontSize: number): string[] {
  if (TITLE.length * fontSize * 0.5 < width - 16) return [TITLE];
  const middle = TITLE.lastIndexOf(' ', TITLE.length / 2 + 4);
  return [TITLE.slice(0, middle), TITLE.slice(middle + 1)];
}

export interface ChartLayout { plot: { x: number; y: number; width: number; height: number }; bar: (row: number) => DOMRect }

export function drawChart(view: SSEChartView, width: number, height: number): { svg: SVGSVGElement; layout: ChartLayout } {
  const svg = node('svg', { xmlns: SVG, width, height, viewBox: `0 0 ${width} ${height}`,
    'font-family': 'Arial, Liberation Sans, sans-serif', 'font-size': 12 }) as SVGSVGElement;
  svg.append(node('rect', { x: 0, y: 0, width, height, fill: '#ffffff' }));
  const titleSize = 18.7;  // 14 points
  const title = titleLines(width, titleSize);
  title.forEach((line, i) => svg.append(node('text', { x: width / 2, y: 26 + i * 22, 'text-anchor': 'middle',
    'font-size': titleSize, fill: '#000' }, line)));

  const longestTick = Math.max(1, ...view.ticks.map((tick) => tick.label.length));
  const left = 26 + longestTick * 7 + 8;
  const top = 26 + title.length * 22;
  const plot = { x: left, y: top, width: Math.max(10, width - left - 16), height: Math.max(10, height - top - 52) };
  const base = plot.y + plot.height;
  const toY = (units: number) => base - (view.top > 0 ? units / view.top : 0) * plot.height;

  // The Y title, one upright character under another, beside the SSE labels.
  const stacked = node('text', { x: 12, 'text-anchor': 'middle', fill: '#000' });
  [...Y_TITLE].forEach((c, i) => stacked.append(node('tspan', { x: 12, y: plot.y + plot.height / 2 - 70 + i * 14 }, c)));
  svg.append(stacked);

  const rows = view.heights.length;
  const slot = plot.width / Math.max(rows, 1);
  const edged = slot * 0.5 >= NARROWEST_EDGED_BAR;
  const barWidth = edged ? slot * 0.5 : slot;
  const bar = (row: number) => {
    const y = toY(view.heights[row]);
    return new DOMRect(plot.x + slot * (row + 0.5) - barWidth / 2, y, barWidth, base - y);
  };
  const bars = node('g', { fill: 'rgb(200,200,200)', stroke: edged ? '#000' : 'none', 'stroke-width': 1,
    'shape-rendering': edged ? 'auto' : 'crispEdges' });
  for (let row = 0; row < rows; ++row) {
    const r = bar(row);
    bars.append(node('rect', { x: r.x.toFixed(2), y: r.y.toFixed(2), width: r.width.toFixed(2), height: r.height.toFixed(2) }));
  }
  svg.append(bars);

  const axes = node('g', { stroke: '#000', 'stroke-width': 1 });
  axes.append(node('line', { x1: plot.x, y1: base, x2: plot.x + plot.width, y2: base }),
    node('line', { x1: plot.x, y1: plot.y, x2: plot.x, y2: base }));
  svg.append(axes);
  for (const tick of view.ticks) {
    const y = toY(tick.position);
    svg.append(node('line', { x1: plot.x - 4, y1: y, x2: plot.x, y2: y, stroke: '#000' }),
      node('text', { x: plot.x - 6, y: y + 4, 'text-anchor': 'end', fill: '#000' }, tick.label));
  }
  const step = labelStep(rows, plot.width);
  for (let row = 0; row < rows; row += step) {
    const x = plot.x + slot * (row + 0.5);
    svg.append(node('line', { x1: x, y1: base, x2: x, y2: base + 4, stroke: '#000' }),
      node('text', { x, y: base + 18, 'text-anchor': 'middle', fill: '#000' }, view.sweepTexts[row]));
  }
  svg.append(node('text', { x: plot.x + plot.width / 2, y: height - 10, 'text-anchor': 'middle', fill: '#000' }, X_TITLE));
  return { svg, layout: { plot, bar } };
}
