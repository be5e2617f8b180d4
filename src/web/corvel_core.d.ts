// Types of corvel_core.js for the page's TypeScript: `createCorvelCore()` gives the module,
// whose Session is the core as web_session.h describes it. Field names are those of
// bindings.cpp.

export interface ParameterBoxes {
  maxSweepsChecked: boolean; // Check1(0)
  minSSEChecked: boolean; // Check1(1)
  sweepsBox: string;
  lRateBox: string;
  printSweepsBox: string;
  minErrorBox: string;
}

export interface RegionalSettings {
  decimalSeparator: string;
  thousandsSeparator: string;
  shortDatePattern: string; // d, dd, M, MM, yy, yyyy
  longTimePattern: string; // h, hh, H, HH, m, mm, s, ss, AP
  amText: string;
  pmText: string;
}

// The save page's boxes Check1(0) to Check1(6).
export type ReportSections = [boolean, boolean, boolean, boolean, boolean, boolean, boolean];

export interface LoadOutcome {
  loaded: boolean;
  message: string; // the loader's message when it failed
}

export interface StartOutcome {
  started: boolean;
  refusalText: string; // a warning box with this text and title
  refusalTitle: string;
  failureText: string; // or the failure report, titled "Corvel Duvu"
  boxes: ParameterBoxes; // as the reading left them
  trainingLine: string; // "Training: name" for a new run
  progressMaximum: number; // 0: no progress bar
}

export interface ProgressTexts {
  sweepCount: number;
  epochs: string;
  totalSSE: string;
  change: string; // empty where no change is shown
  errorRose: boolean; // printout: the change on red, else green
  targetMet: boolean; // end: the total SSE on green, else red
}

export interface RunStatus {
  running: boolean;
  sweepsThisRun: number;
  hasPrintout: boolean;
  printout: ProgressTexts;
  hasEnd: boolean;
  end: ProgressTexts;
  failureText: string;
}

export interface Session {
  setRegionalSettings(settings: RegionalSettings): void;
  loadTrainingFile(bytes: Uint8Array | string, fileName: string): LoadOutcome;
  makeNetwork(): string; // empty, or the failure report
  startTraining(rule: 'Hebb' | 'Delta', boxes: ParameterBoxes): StartOutcome;
  continueTraining(rule: 'Hebb' | 'Delta', boxes: ParameterBoxes): StartOutcome;
  advance(milliseconds: number): RunStatus;
  stop(): RunStatus;
  training(): boolean;
  networkReadable(): boolean; // the weights and units may be read: no run holds them
  probeBlock(patternText: string): string; // empty: no such pattern
  report(instantSeconds: number, sections: ReportSections): Uint8Array;
  sseHistory(): Float64Array; // sweep, SSE, sweep, SSE, ...
  responses(): Float64Array; // output j to pattern p at (p - 1) * outputs + j - 1
  errors(): Float64Array; // the same layout
  weights(): Float64Array; // input i to output j at (i - 1) * outputs + j - 1
  trainingFileName(): string;
  numInputUnits(): number;
  numOutputUnits(): number;
  numPatterns(): number;
  sweepCount(): number;
  totalSSE(): number;
  delete(): void; // frees the session's memory
}

// The SSE axis for some SSE values: each bar's height in the axis's units (0 to top) and the
// axis's labelled ticks.
export interface SSEAxisView {
  heights: Float64Array;
  top: number;
  ticks: { position: number; label: string }[];
}

// The SSE history with its table's texts and its axis.
export interface SSEChartView extends SSEAxisView {
  sweeps: Float64Array;
  sses: Float64Array;
  sweepTexts: string[];
  sseTexts: string[];
}

// A region of the weights reduced to rows x columns cells (input units down, output units
// across), each the weight of largest magnitude in its block, with its colour as RGBA.
export interface WeightMapView {
  rows: number;
  columns: number;
  cells: Float64Array;
  rgba: Uint8Array;
  largest: number;
}

export interface CorvelCore {
  Session: new () => Session;
  patternNumber(text: string, numPatterns: number): number; // 0: no pattern of the set
  sliderValueForBox(boxText: string, current: number, minimum: number, maximum: number): number;
  boxTextForSlider(value: number): string;
  sseChartView(session: Session, logarithmic: boolean, maxTicks: number): SSEChartView;
  sseAxisView(session: Session, sses: Float64Array, logarithmic: boolean, maxTicks: number): SSEAxisView;
  sseHistoryCsv(sweeps: Float64Array, sses: Float64Array): string;
  // The weights page's views; null (or empty text) while a run holds the weights.
  weightMap(session: Session, firstInput: number, inputs: number, firstOutput: number,
    outputs: number, rows: number, columns: number): WeightMapView | null;
  responseRows(session: Session, first: number, count: number): string[][] | null;
  patternSSEs(session: Session): Float64Array | null;
  weightsCsv(session: Session): string;
  responsesCsv(session: Session): string;
  weightColours(weights: Float64Array, scale: number): Uint8Array; // RGBA
  weightText(session: Session, input: number, output: number): string;
  generalNumberText(session: Session, value: number): string;
  weightScaleText(session: Session, scale: number): string;
}

export default function createCorvelCore(): Promise<CorvelCore>;
