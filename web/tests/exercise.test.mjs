// The whole exercise in Debian's chromium, and the report downloaded from the page against
// corvel-duvu-batch's for the four samples under both rules with a continuation.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { launch, serve, site } from './browser.mjs';
import { batchReport, continueTraining, exercise, haveBatch, loadAndTrain, saveReport } from './exercise.mjs';

let server;
let browser;
before(async () => {
  server = await serve();
  browser = await launch('chromium');
});
after(async () => {
  await browser?.close();
  server?.stop();
});

test('the exercise completes in chromium', { skip: !haveBatch() && 'no corvel-duvu-batch' }, async () => {
  await exercise(browser.tab, server.url);
});

test('reports match the batch program for every sample and rule, with a continuation', { skip: !haveBatch() && 'no corvel-duvu-batch' }, async () => {
  const { tab } = browser;
  await tab.goto(server.url);
  for (const sample of ['orthonormal.net', 'correlated.net', 'impossible.net', 'autoassociator8.net']) {
    for (const rule of ['Hebb', 'Delta']) {
      await loadAndTrain(tab, sample, rule);
      await continueTraining(tab, 50);
      await tab.click('Test Recall');
      const saved = await saveReport(tab, 'report');
      assert.ok(saved.bytes.equals(batchReport(sample, rule, '--continue', '50')), `${sample} ${rule}`);
      await tab.dblclick('Train A New Network On A New Problem');
    }
  }
});

test('after the first visit the site works with no server', async () => {
  const own = await serve();
  const offline = await launch('chromium');
  try {
    const { tab } = offline;
    await tab.goto(own.url);
    await tab.waitFor(async () => (await navigator.serviceWorker.ready).active?.state === 'activated');
    own.stop();
    await tab.page.reload();
    await loadAndTrain(tab, 'impossible.net', 'Delta');
  } finally {
    await offline.close();
    own.stop();
  }
});

test('opened from a file, as from a USB stick, the site trains', async () => {
  const local = await launch('chromium');
  try {
    await local.tab.goto(pathToFileURL(`${site}/index.html`).href);
    await loadAndTrain(local.tab, 'correlated.net', 'Delta');
  } finally {
    await local.close();
  }
});
