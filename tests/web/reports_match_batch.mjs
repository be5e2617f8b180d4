// The module a web page drives, under node, against corvel-duvu-batch: for the four samples
// and a 256 x 256 x 64 set, under both rules, a run and its continuation give the batch
// program's report byte for byte, with every section, dated at the same instant; the probe
// block, the weights, responses and errors agree with the report; loader messages and
// refusals are the batch program's; a stopped run equals a run of as many sweeps; a set
// too large for the module's 4 GB is refused at load.
//   node reports_match_batch.mjs MODULE.js BATCH_PROGRAM EXAMPLES_DIR   (status 77: skipped)
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';

const [modulePath, batch, examples] = process.argv.slice(2).map((arg) => arg && path.resolve(arg));
if (!batch || !fs.existsSync(batch)) {
  console.log('skipped: no corvel-duvu-batch to compare with (build-wasm configured without one)');
  process.exit(77);
}
process.env.TZ = 'UTC';  // the module's local time, as the batch program's below
const core = await createRequire(import.meta.url)(modulePath)();
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'corvel-web-'));
const instant = 1765000000;
const env = { ...process.env, SOURCE_DATE_EPOCH: String(instant), TZ: 'UTC', LC_ALL: 'C' };
let failures = 0;
const check = (ok, what) => {
  if (!ok) {
    failures++;
    console.log(`FAILED: ${what}`);
  }
};

// 256 outputs, 256 inputs, 64 patterns of values with up to three decimals.
const large = path.join(work, 'large256.net');
const values = Array.from({ length: 2 * 256 * 64 }, (_, k) => ((k * 7919) % 2001) / 1000 - 1);
fs.writeFileSync(large, `256 0 256 64\n${values.join(' ')}\n`);
const samples = ['orthonormal', 'correlated', 'impossible', 'autoassociator8'];
const sets = samples.map((name) => [path.join(examples, `${name}.net`), {}]);
sets.push([large, { lRateBox: '0.005', sweepsBox: '20', printSweepsBox: '5' }]);
const defaults = { maxSweepsChecked: true, minSSEChecked: false, sweepsBox: '100', lRateBox: '0.10',
  printSweepsBox: '10', minErrorBox: '0.05' };
const allSections = [true, true, true, true, true, true, true];

function newSession(file) {
  const session = new core.Session();
  const loaded = session.loadTrainingFile(fs.readFileSync(file), path.basename(file));
  check(loaded.loaded && session.makeNetwork() === '', `load ${file}: ${loaded.message}`);
  return session;
}
function train(session, start) {
  check(start.started, `run refused: ${start.refusalText}${start.failureText}`);
  let status;
  do status = session.advance(20); while (status.running);
  check(status.hasEnd && !status.failureText, `run failed: ${status.failureText}`);
}
function batchReport(args) {
  const report = path.join(work, 'batch.txt');
  execFileSync(batch, ['--quiet', '--sections', 'all', '--report', report, ...args], { env });
  return fs.readFileSync(report);
}
// The signed two-decimal format of the report's tables ("+.50", "-12.35").
const signed2 = (x) => (x < 0 ? '-' : '+') + Math.abs(x).toFixed(2).replace(/^0\./, '.');
// The cells of the report's table rows under `title`, row by row.
function tableRows(report, title) {
  const section = report.split(title)[1].split('===')[0];
  return section.split('\r\r\n').filter((row) => row.includes('\t')).map((row) => row.split('\t'));
}

for (const [file, boxes] of sets) {
  for (const rule of ['Hebb', 'Delta']) {
    const box = { ...defaults, ...boxes };
    const session = newSession(file);
    train(session, session.startTraining(rule, box));
    train(session, session.continueTraining(rule, { ...box, sweepsBox: '50' }));
    const bytes = session.report(instant, allSections);
    const expected = batchReport(['--rule', rule.toLowerCase(), '--rate', box.lRateBox,
      '--max-sweeps', box.sweepsBox, '--print-sweeps', box.printSweepsBox, '--continue', '50', file]);
    check(Buffer.compare(Buffer.from(bytes), expected) === 0, `${file} ${rule}: report bytes differ`);

    const report = Buffer.from(bytes).toString('latin1');
    const outputs = session.numOutputUnits();
    const rows = (array) => Array.from({ length: array.length / outputs },
      (_, r) => Array.from(array.subarray(r * outputs, (r + 1) * outputs), signed2).join('\t'));
    const cells = (title) => tableRows(report, title).map((row) => row.slice(1, -1).join('\t'));
    check(cells('Network Responses').join() === rows(session.responses()).join(), `${file} responses`);
    check(cells('Response Errors').join() === rows(session.errors()).join(), `${file} errors`);
    check(cells('Connection weights').slice(1).join() === rows(session.weights()).join(),
      `${file} weights`);
    const probe = session.probeBlock('2').split('\r\n')[2];
    check(probe === `Response (A):\t${cells('Network Responses')[1]}\t`, `${file} probe: ${probe}`);
    check(session.sseHistory().length === 2 * 16 || file === large, `${file} history rows`);
    session.delete();
  }
}

// Stopped after its first slice, a run that would never end equals a run of as many sweeps.
const stopped = newSession(large);
const endless = { ...defaults, lRateBox: '0.005', maxSweepsChecked: false, minSSEChecked: true,
  minErrorBox: '-1' };
check(stopped.startTraining('Delta', endless).started, 'endless run started');
const slice = stopped.advance(20);
const end = stopped.stop();
check(slice.running && end.hasEnd && !stopped.training(), 'stop ends the run');
const sweeps = String(stopped.sweepCount());
check(Buffer.compare(Buffer.from(stopped.report(instant, allSections)), batchReport(['--rule', 'delta',
  '--rate', '0.005', '--max-sweeps', sweeps, large])) === 0, `stopped after ${sweeps} sweeps`);

// The loader's message and a refusal as the batch program gives them; the set stays loaded.
const malformed = path.join(examples, '..', 'tests', 'batch', 'data', 'malformed.net');
const batchSays = (args) => spawnSync(batch, args, { env, encoding: 'latin1' }).stderr.trim();
const refused = stopped.loadTrainingFile(fs.readFileSync(malformed), malformed);
check(!refused.loaded && refused.message === batchSays([malformed]), `loader: ${refused.message}`);
const zero = stopped.startTraining('Hebb', { ...defaults, sweepsBox: '0' });
check(zero.refusalText === batchSays(['--max-sweeps', '0', large]) && zero.boxes.sweepsBox === '1',
  `refusal: ${zero.refusalText}`);
const letters = stopped.startTraining('Hebb', { ...defaults, printSweepsBox: 'ten' });
check(letters.failureText.includes(batchSays(['--print-sweeps', 'ten', large])), 'failure report');
check(stopped.numInputUnits() === 256, 'the set stays loaded');

// 20000 inputs and outputs need 6 GB: more than a WebAssembly instance can have.
const huge = `20000 0 20000 1\n${','.repeat(40000)}`;
const tooLarge = stopped.loadTrainingFile(huge, 'huge.net');
check(/^huge.net, line 1: .* need \d+ MB of memory, more than is available$/.test(tooLarge.message),
  `4 GB limit: ${tooLarge.message}`);
stopped.delete();

fs.rmSync(work, { recursive: true });
console.log(failures ? `${failures} failed` : `all ${sets.length * 2} reports match corvel-duvu-batch`);
process.exit(failures ? 1 : 0);
