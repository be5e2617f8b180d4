// Takes the pictures of the web edition's pages in docs/ (web-<page>-<width>.png), in Debian's
// headless chromium at 1280 and at 390 CSS pixels wide, over the built site served on
// localhost; a training file comes from the site's own samples, so no folder of the machine
// shows. Run by scripts/screenshots.sh.
//   node web-screenshots.mjs DOCS_DIR [light|dark]
import path from 'node:path';
import { launch, serve } from '../web/tests/browser.mjs';
import { loadAndTrain } from '../web/tests/exercise.mjs';

const [docs, colorScheme = 'light'] = process.argv.slice(2);
const server = await serve();
const suffix = colorScheme === 'dark' ? '-dark' : '';

for (const width of [1280, 390]) {
  const browser = await launch('chromium', { colorScheme, width, height: width > 400 ? 860 : 844 });
  const { tab } = browser;
  const shot = async (name, heading) => {
    await tab.find('h1', heading);
    await tab.eval(() => document.activeElement?.blur());
    await tab.page.screenshot({ path: path.join(docs, `web-${name}-${width}${suffix}.png`), fullPage: true });
  };
  await tab.goto(server.url);
  await shot('training-file-page', 'Talvik Neural Net Code -- Introductory Form');
  await loadAndTrain(tab, 'correlated.net', 'Delta');
  await shot('setup-page', 'Distributed Memory Setup Page -- Talvik Neural Network Code');
  await tab.click('Test Recall');
  await shot('hub-page', 'Testing The Distributed Associative Memory -- Talvik Neural Network Code');
  await tab.dblclick('Probe Network Responses To Selected Patterns');
  for (const pattern of ['1', '2']) {
    await tab.type('Pattern Number', pattern);
    await tab.press('Enter');
  }
  await tab.waitFor(() => document.querySelector('textarea.results').value.split('Pattern:').length === 3);
  await shot('probe-page', 'Distributed Memory Program -- Probe Network Responses To Selected Patterns');
  await tab.click('Close Form');
  await tab.dblclick('Save Summary As A Text File');
  await tab.click('Create A New Filename');
  await tab.answer('correlated-delta');
  await shot('save-page', 'Save Results To A Text File -- Talvik Neural Network Code');
  await tab.click('Close');
  await tab.dblclick('Plot SSE By Sweeps');
  await tab.find('.chart svg');
  await shot('chart-page', 'Graph of SSE as a function of sweeps of training');
  await tab.click('Logarithmic SSE Scale', 'label');
  await tab.waitFor(() => document.querySelector('.chart svg text')?.textContent && [...document.querySelectorAll('.chart svg text')].some((t) => t.textContent.includes('E-')));
  await shot('chart-page-log', 'Graph of SSE as a function of sweeps of training');
  await tab.click('Exit This Page');
  await tab.click('View Weights And Responses');
  await tab.find('table.responses th');
  await shot('weights-page', 'Distributed Memory Program -- Weights And Responses');
  await browser.close();
}
server.stop();
