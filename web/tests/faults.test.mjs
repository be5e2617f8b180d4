// What the pages do with bad input and with a run that must be stopped, in chromium: a
// malformed training file gets the loader's positioned message and the previous set stays;
// a file too large for the module's 4 GB is refused at load; letters in a number box get the
// desktop's failure report or message; Stop Training and Esc end a run that would never end.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { launch, serve } from './browser.mjs';
import { examples, haveBatch, waitForRunEnd } from './exercise.mjs';

const batch = process.env.CORVEL_BATCH;
const data = path.join(examples, '..', 'tests', 'batch', 'data');
const batchSays = (args) => spawnSync(batch, args, { cwd: data, encoding: 'latin1' }).stderr.trim();
let server;
let browser;
before(async () => {
  server = await serve();
  browser = await launch('chromium');
  await browser.tab.goto(server.url);
});
after(async () => {
  await browser?.close();
  server?.stop();
});

const pick = (file) => browser.tab.page.setInputFiles('input[type=file]', file);
const shownSet = () => browser.tab.eval(() => [...document.querySelectorAll('.file-info input')].map((box) => box.value));

test('a bad training file is refused with its place, and the loaded set stays', { skip: !haveBatch() && 'no corvel-duvu-batch' }, async () => {
  const { tab } = browser;
  await tab.dblclick('correlated.net');
  await tab.find('button', 'Go To Next Page To Set Training Parameters');
  await pick(path.join(data, 'malformed.net'));
  assert.deepEqual(await tab.messageBox(), { title: 'Training File Not Loaded',
    text: `The training file malformed.net could not be loaded.\n${batchSays(['malformed.net'])}` });
  await tab.press('Enter');
  assert.deepEqual(await shownSet(), ['correlated.net', '3', '4', '3']);

  // 20000 inputs and outputs need 6 GB, more than a WebAssembly instance can have.
  await pick({ name: 'huge.net', mimeType: 'text/plain', buffer: Buffer.from(`20000 0 20000 1\n${','.repeat(40000)}`) });
  const refused = await tab.messageBox();
  assert.match(refused.text, /^The training file huge.net could not be loaded.\nhuge.net, line 1: .* need \d+ MB of memory, more than is available$/);
  await tab.press('Enter');
  assert.deepEqual(await shownSet(), ['correlated.net', '3', '4', '3']);
});

test('letters in a number box get the desktop\'s report, and no run starts', { skip: !haveBatch() && 'no corvel-duvu-batch' }, async () => {
  const { tab } = browser;
  await tab.click('Go To Next Page To Set Training Parameters');
  await tab.type('Choose The Number Of Epochs Between Printouts Of Training Information', 'ten');
  await tab.click('Start Training');
  const report = await tab.messageBox();
  assert.equal(report.title, 'Corvel Duvu');
  assert.ok(report.text.startsWith('This version of the code has encountered an error.'), report.text);
  assert.ok(report.text.includes(batchSays(['--print-sweeps', 'ten', path.join(examples, 'correlated.net')])), report.text);
  await tab.press('Enter');
  assert.deepEqual(await tab.text('button:not(.arrow)'), ['Start Training', 'Exit'], 'no run started');
  await tab.type('Choose The Number Of Epochs Between Printouts Of Training Information', '10');
});

test('Stop Training and Esc end a run that never reaches its error', async () => {
  const { tab } = browser;
  await tab.click('End After A Maximum Number Of Training Epochs', 'label');
  await tab.click('End When A Minimum Level Of Error Has Been Reached', 'label');
  await tab.type('Set The Minimum Level Of Error (SSE)  To Stop Training', '-1');
  await tab.click('Start Training');
  await tab.find('button', 'Stop Training');
  await tab.waitFor(() => /^Epochs: \d{3,}$/.test(document.querySelectorAll('output.progress-box')[1].textContent));
  await tab.click('Stop Training');
  await tab.find('button', 'Test Recall');
  const sweeps = (await tab.text('output.progress-box'))[1];
  assert.match(sweeps, /^Epochs: \d+$/);

  await tab.click('Continue Training');
  await tab.find('button', 'Stop Training');
  await tab.press('Escape');
  await tab.find('button', 'Test Recall');
  assert.notEqual((await tab.text('output.progress-box'))[1], sweeps, 'the continued run trained on');

  await tab.click('Test Recall');
  await tab.dblclick('Probe Network Responses To Selected Patterns');
  await tab.type('Pattern Number', 'two');
  await tab.press('Enter');
  assert.deepEqual(await tab.messageBox(), { title: 'Pattern Number',
    text: '"two" is not a pattern of this training set. Type the number of a pattern, a whole number from 1 to 3.' });
  await tab.press('Enter');
});
