// Drives one page of a browser for platform_web.py: Debian's Chromium through playwright-core
// (the DevTools protocol), Debian's Firefox ESR through puppeteer-core (WebDriver BiDi). Both
// send trusted input, as a person's mouse and keyboard.
//
//   node driver.mjs BROWSER WIDTH HEIGHT RATIO LANGUAGE
//
// reads one command a line as JSON ([name, ...arguments]) and answers each with a line of
// JSON, {"value": ...} or {"error": "..."}. Positions are in CSS pixels of the page.
// Firefox runs with a window on the X display that DISPLAY names, Chromium headless.
import { execFileSync } from 'node:child_process';
import { createInterface } from 'node:readline';

const [browserName, width, height, ratio, language] = process.argv.slice(2);
const viewport = { width: +width, height: +height };

async function openChromium() {
  const { chromium } = await import('playwright-core');
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    // As root the sandbox cannot start; nothing but the page is to reach the network.
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  const context = await browser.newContext({ viewport, deviceScaleFactor: +ratio, locale: language });
  return { browser, page: await context.newPage() };
}

async function openFirefox() {
  const puppeteer = (await import('puppeteer-core')).default;
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: false,
    protocol: 'webDriverBiDi',
    // A fresh profile of puppeteer's own, removed when the browser closes.
    extraPrefsFirefox: { 'intl.accept_languages': language, 'intl.locale.requested': language },
  });
  const page = (await browser.pages())[0] || await browser.newPage();
  // Without a window manager, only a click of the X server's gives the window the focus:
  // into the empty page, in screen pixels, before the viewport is emulated; again until
  // the page has it, as a window just shown may not take it yet.
  const [x, y] = await page.evaluate(() => [mozInnerScreenX + 10, mozInnerScreenY + 10]);
  for (let tries = 0; !await page.evaluate(() => document.hasFocus()); ++tries) {
    if (tries === 50) throw new Error('Firefox did not take the focus');
    execFileSync('xdotool', ['mousemove', String(Math.round(x)), String(Math.round(y)), 'click', '1']);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  await page.setViewport({ ...viewport, deviceScaleFactor: +ratio });
  return { browser, page };
}

const { browser, page } = await (browserName === 'firefox' ? openFirefox() : openChromium());
const messages = [];
page.on('console', (message) => messages.push(message.text()));
page.on('pageerror', (error) => messages.push('page error: ' + error.message));

// Keys as X names them ("Return", "ctrl+a") to the names both drivers take.
const keyNames = { Return: 'Enter', space: 'Space', BackSpace: 'Backspace', ctrl: 'Control', shift: 'Shift', alt: 'Alt' };
async function chord(keys) {
  const parts = keys.split('+').map((part) => keyNames[part] || part);
  const key = parts.pop();
  for (const modifier of parts) await page.keyboard.down(modifier);
  await page.keyboard.press(key);
  for (const modifier of parts.reverse()) await page.keyboard.up(modifier);
}

let cdp = null; // the page's DevTools session, for its accessibility tree
const commands = {
  goto: (url) => page.goto(url).then(() => null),
  reload: () => page.reload().then(() => null),
  evaluate: (expression) => page.evaluate(expression),
  move: (x, y) => page.mouse.move(x, y),
  down: () => page.mouse.down(),
  up: () => page.mouse.up(),
  click: (x, y) => page.mouse.click(x, y),
  // The button released and a click elsewhere, sent together without waiting for the
  // release to be dispatched: as close together as they go, in the order they were sent.
  up_and_click: (x, y) => Promise.all([page.mouse.up(), page.mouse.click(x, y)]),
  type: (text) => page.keyboard.type(text, { delay: 10 }),
  keys: async (...keys) => { for (const keys_ of keys) await chord(keys_); },
  screenshot: async () => Buffer.from(await page.screenshot({ type: 'png' })).toString('base64'),
  messages: () => messages.splice(0),
  // Chromium only: its accessibility tree, what a screen reader reads of the page, and a
  // control by its role and name, as a screen reader finds it, given a text or pressed by
  // its action, a click without a mouse. The click comes in a task of its own: the answer to
  // a script that starts a run itself waits until the run ends.
  accessibility: async () => {
    cdp ??= await page.context().newCDPSession(page);
    return (await cdp.send('Accessibility.getFullAXTree')).nodes;
  },
  // One node of the tree, by its DOM node's id there: quicker to read during a run.
  accessible: async (backendNodeId) => {
    cdp ??= await page.context().newCDPSession(page);
    return (await cdp.send('Accessibility.getPartialAXTree', { backendNodeId, fetchRelatives: false })).nodes[0];
  },
  // The page's processor slowed down by a factor, so that a run lasts long enough to be read.
  slow_down: async (rate) => {
    cdp ??= await page.context().newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  },
  press: (role, name) => page.getByRole(role, { name, exact: true }).evaluate((control) => { setTimeout(() => control.click()); }),
  fill: (role, name, text) => page.getByRole(role, { name, exact: true }).fill(text),
};

const lines = createInterface({ input: process.stdin });
for await (const line of lines) {
  const [name, ...args] = JSON.parse(line);
  let answer;
  try {
    answer = { value: (await commands[name](...args)) ?? null };
  } catch (error) {
    answer = { error: String(error && error.message || error) };
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
}
await browser.close();
