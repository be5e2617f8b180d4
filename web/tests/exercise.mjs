// A student's whole exercise, as the browser tests drive it in any browser: the steps, and
// what each one must show against corvel-duvu-batch's report for the same training at the
// same instant.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { INSTANT } from './browser.mjs';

const batch = process.env.CORVEL_BATCH;
export const haveBatch = () => Boolean(batch && fs.existsSync(batch));
export const examples = path.resolve(import.meta.dirname, '..', '..', 'examples');

// The batch program's report of a training with every section, dated at INSTANT.
export function batchReport(sample, rule, ...more) {
  return batchFiles(sample, rule, ...more).report;
}

// The report and the two CSV files of the weights page, as corvel-duvu-batch writes them.
function batchFiles(sample, rule, ...more) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'corvel-web-'));
  const files = { report: '--report', weights: '--weights-csv', responses: '--responses-csv' };
  execFileSync(batch, ['--quiet', '--sections', 'all', '--rule', rule.toLowerCase(),
    ...Object.entries(files).flatMap(([name, option]) => [option, path.join(work, name)]),
    ...more, path.join(examples, sample)], { env: { ...process.env, SOURCE_DATE_EPOCH: String(INSTANT), TZ: 'UTC', LC_ALL: 'C' } });
  return Object.fromEntries(Object.keys(files).map((name) => [name, fs.readFileSync(path.join(work, name))]));
}

// Until the run has ended at sweep `epochs`, with its counts shown and Test Recall back.
export async function waitForRunEnd(tab, epochs) {
  await tab.waitFor((e) => {
    const epochsBox = document.querySelectorAll('output.progress-box')[1];
    const testRecall = [...document.querySelectorAll('button')].find((b) => b.textContent === 'Test Recall');
    return epochsBox?.getClientRects().length && epochsBox.textContent === `Epochs: ${e}` && testRecall.getClientRects().length;
  }, epochs);
}

// From the training-file page: load `sample`, go on and train with `rule` from the defaults.
export async function loadAndTrain(tab, sample, rule) {
  await tab.dblclick(sample);
  await tab.click('Go To Next Page To Set Training Parameters');
  await tab.click(`${rule} Rule`, 'label');
  await tab.click('Start Training');
  await waitForRunEnd(tab, 100);
}

export async function continueTraining(tab, sweeps) {
  await tab.type('Choose The Maximum Number Of Epochs', String(sweeps));
  await tab.click('Continue Training');
  await waitForRunEnd(tab, 100 + sweeps);
}

// From the hub: the report with all seven sections, named `name` on the save page.
export async function saveReport(tab, name) {
  await tab.dblclick('Save Summary As A Text File');
  await tab.click('Create A New Filename');
  await tab.answer(name);
  for (const section of ['Input Patterns', 'Output Patterns', 'Network SSE As A Function Of Sweeps'])
    await tab.click(section, 'label');
  const saved = await tab.download(() => tab.click('Save The File'));
  await tab.click('Close');
  return saved;
}

const sections = (report) => report.toString('latin1').split('=============================================');
const rows = (section) => section.split(/\r\r\n|\r\n/).filter((line) => line.includes('\t'));

// The exercise: correlated.net under the Delta rule, read, probed, saved, charted, continued,
// reset, and a new network on a new problem.
export async function exercise(tab, url) {
  await tab.goto(url);
  await tab.dblclick('correlated.net');
  await tab.waitFor(() => document.getElementById('announcer').textContent.startsWith('Training file correlated.net loaded: 3 output units, 4 input units, 3 patterns.'));
  await tab.click('Go To Next Page To Set Training Parameters');
  await tab.click('Delta Rule', 'label');
  await tab.click('Start Training');
  await waitForRunEnd(tab, 100);
  const batchSaved = batchFiles('correlated.net', 'Delta');
  const expected = batchSaved.report;
  const batchOut = execFileSync(batch, ['--rule', 'delta', path.join(examples, 'correlated.net')], { env: { ...process.env, LC_ALL: 'C' } });
  assert.deepEqual((await tab.text('output.progress-box')).slice(1).join('\t'), String(batchOut).trim().split('\n').pop());

  await tab.click('Test Recall');
  await tab.dblclick('Probe Network Responses To Selected Patterns');
  await tab.type('Pattern Number', '2');
  await tab.press('Enter');
  await tab.waitFor(() => document.querySelector('textarea.results').value !== '');
  const block = await tab.eval(() => document.querySelector('textarea.results').value);
  const responses = rows(sections(expected).find((s) => s.includes('Network Responses')));
  assert.equal(block.split('\n')[2], `Response (A):\t${responses[1].split('\t').slice(1).join('\t')}`);
  await tab.click('Close Form');

  const saved = await saveReport(tab, 'exercise');
  assert.equal(saved.name, 'exercise.txt');
  assert.ok(saved.bytes.equals(expected), 'the downloaded report is the batch program\'s, byte for byte');

  await tab.dblclick('Plot SSE By Sweeps');
  await tab.waitFor(() => document.querySelectorAll('table tbody tr').length > 0);
  const table = await tab.eval(() => [...document.querySelectorAll('table tbody tr')].map((tr) => [...tr.cells].map((c) => c.textContent)));
  const history = rows(sections(expected).find((s) => s.includes('Network SSE as a function')));
  const scientific = (x) => Number(x).toExponential(2);
  assert.deepEqual(table.map(([sweep, sse]) => [Number(sweep), scientific(sse)]),
    history.slice(1).map((row) => row.split('\t')).map(([sweep, sse]) => [Number(sweep), scientific(sse)]));
  await tab.click('Exit This Page');

  await tab.click('View Weights And Responses');
  for (const [file, name] of [['weights', 'Save Weights As CSV'], ['responses', 'Save Responses As CSV']])
    assert.ok((await tab.download(() => tab.click(name))).bytes.equals(batchSaved[file]), `${file}.csv`);
  await tab.click('Close Form');

  await tab.dblclick('Keep Current Weights And Continue Training');
  await continueTraining(tab, 50);

  await tab.click('Test Recall');
  await tab.dblclick('Reset Weights And Train Again');
  // A fresh network: the progress boxes hide until the next run.
  await tab.waitFor(() => ![...document.querySelectorAll('output.progress-box')].some((e) => e.getClientRects().length));
  await tab.click('Start Training');
  await waitForRunEnd(tab, 50);  // the sweeps box keeps the 50 of the continuation

  await tab.click('Test Recall');
  await tab.dblclick('Train A New Network On A New Problem');
  await tab.find('h1', 'Talvik Neural Net Code -- Introductory Form');
  assert.deepEqual(await tab.text('button.next'), [], 'the way on is hidden until a file is loaded');
  await loadAndTrain(tab, 'orthonormal.net', 'Hebb');
  assert.equal((await tab.text('output.progress-box'))[0], 'Training: orthonormal.net');
}
