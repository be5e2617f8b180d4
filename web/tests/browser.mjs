// The browsers the tests drive, over the built site served on localhost: Debian's chromium
// through playwright-core and Debian's firefox-esr through puppeteer-core (WebDriver BiDi).
// Neither downloads a browser. A Tab offers what a user does (click, double-click, type, press
// keys, answer a message box, save a download) in the same words for both.
//   CORVEL_SITE: the built site; the page's clock stands still at INSTANT and the zone is UTC,
//   as SOURCE_DATE_EPOCH and TZ fix corvel-duvu-batch's.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const INSTANT = 1765000000;
const here = path.dirname(fileURLToPath(import.meta.url));
export const site = process.env.CORVEL_SITE ?? path.join(here, '..', '..', 'build-web', 'site');
process.env.TZ = 'UTC';

// Serves the site on a free port; stop() ends the server.
export async function serve() {
  const server = spawn(process.execPath, [path.join(here, '..', 'serve.mjs'), site, '0']);
  const url = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => {
      const found = /http:\/\/localhost:\d+\//.exec(String(data));
      if (found) resolve(found[0]);
    });
    server.on('exit', () => reject(new Error('the server ended')));
  });
  return { url, stop: () => server.kill() };
}

// The page's clock stands still; downloads are kept where a test can read them (Firefox).
function fixClock(instant) {
  const now = instant * 1000;
  Date.now = () => now;
  window.__saved = [];
  const click = HTMLAnchorElement.prototype.click;
  HTMLAnchorElement.prototype.click = function keep() {
    if (this.download) window.__saved.push({ name: this.download, href: this.href });
    return click.call(this);
  };
}

export async function launch(kind, { colorScheme = 'light', width = 1280, height = 900 } = {}) {
  if (kind === 'chromium') {
    const { chromium } = await import('playwright-core');
    const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
    const context = await browser.newContext({ acceptDownloads: true, colorScheme, viewport: { width, height } });
    await context.addInitScript(fixClock, INSTANT);
    return { tab: new Tab(await context.newPage(), 'chromium'), close: () => browser.close() };
  }
  const puppeteer = (await import('puppeteer-core')).default;
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    protocol: 'webDriverBiDi', headless: true, env: { ...process.env, TZ: 'UTC' } });
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  await page.evaluateOnNewDocument(fixClock, INSTANT);
  return { tab: new Tab(page, 'firefox'), close: () => browser.close() };
}

export const hasFirefox = () => fs.existsSync('/usr/bin/firefox-esr');

export class Tab {
  constructor(page, kind) {
    this.page = page;
    this.kind = kind;
  }

  goto(url) { return this.page.goto(url); }
  eval(fn, arg) { return this.page.evaluate(fn, arg); }

  waitFor(fn, arg, timeout = 30000) {
    return this.kind === 'chromium' ? this.page.waitForFunction(fn, arg, { timeout })
      : this.page.waitForFunction(fn, { timeout }, arg);
  }

  // The visible element matching `selector` whose text is `text` (any, when no text is given).
  async find(selector, text) {
    await this.waitFor(([s, t]) => [...document.querySelectorAll(s)].some((e) =>
      e.getClientRects().length && (t === undefined || e.textContent.trim() === t)), [selector, text]);
    return this.page.evaluateHandle(([s, t]) => [...document.querySelectorAll(s)].find((e) =>
      e.getClientRects().length && (t === undefined || e.textContent.trim() === t)), [selector, text]);
  }

  async click(text, selector = 'button') { await (await this.find(selector, text)).click(); }

  async dblclick(text, selector = 'option') {
    const item = await this.find(selector, text);
    if (this.kind === 'chromium') await item.dblclick();
    else await item.click({ count: 2 });
  }

  // Types into the box labelled `label`, replacing what it held.
  async type(label, text) {
    await this.waitFor((l) => {
      const box = [...document.querySelectorAll('label')].find((e) => e.textContent.trim() === l)?.control;
      if (!box?.getClientRects().length) return false;
      box.focus();
      box.select();
      return true;
    }, label);
    await this.page.keyboard.type(text);
  }

  press(key) { return this.page.keyboard.press(key); }

  text(selector) { return this.eval((s) => [...document.querySelectorAll(s)].filter((e) => e.getClientRects().length).map((e) => e.textContent.trim() || e.value || ''), selector); }

  // The open message box's title and text, once it shows; OK (Enter) closes it.
  async messageBox() {
    await this.find('dialog[open] h2');
    return this.eval(() => {
      const box = document.querySelector('dialog[open]');
      return { title: box.querySelector('h2').textContent, text: [...box.querySelectorAll('.text p')].map((p) => p.textContent).join('\n') };
    });
  }
  async answer(text) {
    await this.find('dialog[open] input');
    await this.page.keyboard.type(text);
    await this.press('Enter');
  }

  // The bytes of the file that `action` makes the page download, and its name.
  async download(action) {
    if (this.kind === 'chromium') {
      const [saved] = await Promise.all([this.page.waitForEvent('download'), action()]);
      return { name: saved.suggestedFilename(), bytes: fs.readFileSync(await saved.path()) };
    }
    const count = await this.eval(() => window.__saved.length);
    await action();
    await this.waitFor((n) => window.__saved.length > n, count);
    const { name, bytes } = await this.eval(async () => {
      const last = window.__saved[window.__saved.length - 1];
      return { name: last.name, bytes: [...new Uint8Array(await (await fetch(last.href)).arrayBuffer())] };
    });
    return { name, bytes: Buffer.from(bytes) };
  }
}
