// What the pages ask of the core, as the worker answers it: one Session for the whole
// program, called only here. A run goes a slice at a time, with the worker's queue read
// between slices, so that "Stop Training" (or any question) is heard within a slice; each
// slice's status is posted to the page as it comes.
import type {
  CorvelCore, ParameterBoxes, ReportSections, RunStatus, StartOutcome,
} from '../../../src/web/corvel_core';

// A slice of a run: short enough that Stop ends a run at once and progress shows at screen
// rate, long enough that posting statuses costs little of the run.
const SLICE_MS = 12;

export type Rule = 'Hebb' | 'Delta';

export function engineOps(core: CorvelCore, post: (status: RunStatus) => void) {
  const session = new core.Session();
  let run = 0;  // the run the slices belong to, so that a stopped run's last slice is dropped

  const nextSlice = (of: number) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => {
      if (of !== run || !session.training()) return;
      const status = session.advance(SLICE_MS);
      post(status);
      if (status.running) nextSlice(of);
    };
    channel.port2.postMessage(0);
  };
  const started = (outcome: StartOutcome) => {
    if (outcome.started) nextSlice(++run);
    return outcome;
  };
  const info = () => ({
    trainingFileName: session.trainingFileName(),
    numInputUnits: session.numInputUnits(),
    numOutputUnits: session.numOutputUnits(),
    numPatterns: session.numPatterns(),
    networkReadable: session.networkReadable(),
  });

  return {
    info,
    load(bytes: Uint8Array, fileName: string) {
      return { ...session.loadTrainingFile(bytes, fileName), ...info() };
    },
    makeNetwork: () => session.makeNetwork(),
    start: (rule: Rule, boxes: ParameterBoxes) => started(session.startTraining(rule, boxes)),
    continue: (rule: Rule, boxes: ParameterBoxes) => started(session.continueTraining(rule, boxes)),
    stop() {
      if (!session.training()) return;
      ++run;
      post(session.stop());
    },
    probe: (text: string) => ({
      block: session.probeBlock(text),
      pattern: core.patternNumber(text, session.numPatterns()),
      ...info(),
    }),
    report: (instant: number, sections: ReportSections) => session.report(instant, sections),
    sliderValueForBox: (text: string, current: number, minimum: number, maximum: number) =>
      core.sliderValueForBox(text, current, minimum, maximum),
    boxTextForSlider: (value: number) => core.boxTextForSlider(value),
    chart: (logarithmic: boolean, maxTicks: number) => core.sseChartView(session, logarithmic, maxTicks),
    chartAxis: (sses: Float64Array, logarithmic: boolean, maxTicks: number) =>
      core.sseAxisView(session, sses, logarithmic, maxTicks),
    sseCsv: (sweeps: Float64Array, sses: Float64Array) => core.sseHistoryCsv(sweeps, sses),
    weightMap: (firstInput: number, inputs: number, firstOutput: number, outputs: number,
      rows: number, columns: number) =>
      core.weightMap(session, firstInput, inputs, firstOutput, outputs, rows, columns),
    responseRows: (first: number, count: number) => core.responseRows(session, first, count),
    patternSSEs: () => core.patternSSEs(session),
    weightsCsv: () => core.weightsCsv(session),
    responsesCsv: () => core.responsesCsv(session),
    weightColours: (weights: Float64Array, scale: number) => core.weightColours(weights, scale),
    weightText: (input: number, output: number) => core.weightText(session, input, output),
    generalNumberText: (value: number) => core.generalNumberText(session, value),
    weightScaleText: (scale: number) => core.weightScaleText(session, scale),
  };
}

export type EngineOps = ReturnType<typeof engineOps>;
