// axe-core finds no accessibility violation on any page, in the light and the dark colour
// scheme, in chromium.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';
import { launch, serve } from './browser.mjs';
import { loadAndTrain } from './exercise.mjs';

const axePath = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
let server;
before(async () => { server = await serve(); });
after(() => server?.stop());

// The violations on the page in front, as "rule: where" lines.
async function violations(tab) {
  await tab.page.addScriptTag({ path: axePath });
  const found = await tab.eval(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
  const caption = await tab.eval(() => document.title);
  return found.map((line) => `${caption}: ${line}`);
}

for (const colorScheme of ['light', 'dark']) {
  test(`every page passes axe-core in the ${colorScheme} scheme`, async () => {
    const browser = await launch('chromium', { colorScheme });
    const { tab } = browser;
    const found = [];
    const check = async (heading) => {
      await tab.find('h1', heading);
      found.push(...(await violations(tab)));
    };
    try {
      await tab.goto(server.url);
      await check('Talvik Neural Net Code -- Introductory Form');
      await loadAndTrain(tab, 'correlated.net', 'Delta');
      await check('Distributed Memory Setup Page -- Talvik Neural Network Code');
      await tab.click('Test Recall');
      await check('Testing The Distributed Associative Memory -- Talvik Neural Network Code');
      await tab.dblclick('Probe Network Responses To Selected Patterns');
      await tab.click('Ok');
      await tab.waitFor(() => document.querySelector('textarea.results').value !== '');
      await check('Distributed Memory Program -- Probe Network Responses To Selected Patterns');
      await tab.click('Close Form');
      await tab.dblclick('Save Summary As A Text File');
      await check('Save Results To A Text File -- Talvik Neural Network Code');
      await tab.click('Close');
      await tab.dblclick('Plot SSE By Sweeps');
      await tab.find('.chart svg');
      await check('Graph of SSE as a function of sweeps of training');
      await tab.click('Exit This Page');
      await tab.click('View Weights And Responses');
      await tab.find('table.responses th');
      await check('Distributed Memory Program -- Weights And Responses');
    } finally {
      await browser.close();
    }
    assert.deepEqual(found, []);
  });
}
