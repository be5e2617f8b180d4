// The whole exercise again in Debian's firefox-esr, driven over WebDriver BiDi by
// puppeteer-core (skipped where firefox-esr is not installed).
import { after, before, test } from 'node:test';
import { hasFirefox, launch, serve } from './browser.mjs';
import { exercise, haveBatch } from './exercise.mjs';

let server;
before(async () => { server = await serve(); });
after(() => server?.stop());

test('the exercise completes in firefox-esr', { skip: (!hasFirefox() && 'no firefox-esr') || (!haveBatch() && 'no corvel-duvu-batch') }, async () => {
  const browser = await launch('firefox');
  try {
    await exercise(browser.tab, server.url);
  } finally {
    await browser.close();
  }
});
