// Opens the web page from disk in the system's Chromium and plays each stored
// terminal session to it, as a person would: at a menu or pause one key,
// elsewhere one line, each when the program waits for it; the session
// "touch" through the touch buttons and the input line. The text of #screen
// must equal the stored screen byte for byte. Reports the page's size and the
// time from navigation to the first menu.
//
// Usage: node browser_test.mjs PAGE [SCREENSHOT.png]
import {readdirSync, readFileSync, statSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const sessions = join(here, '..', 'sessions', 'terminal');
const [page_, screenshot] = process.argv.slice(2);
const pagePath = resolve(page_);
const MAX_BYTES = 300 * 1024;

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  // As root Chromium starts only without its sandbox; the rest keeps it off a
  // network that this machine does not have.
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

let failures = 0;
const fail = message => { console.error(`web page: ${message}`); failures++; };

// Counts the times the program starts to wait for a key or a line;
// palimoWaited(n) resolves once it has started n times.
function countWaits() {
  window.palimoWaits = document.body.dataset.wait ? 1 : 0;
  const waiters = [];
  window.palimoWaited = n => new Promise(resolve => waiters.push({n, resolve}));
  new MutationObserver(records => {
    for (const record of records) if (!record.oldValue) window.palimoWaits++;
    for (const w of waiters.splice(0)) {
      if (window.palimoWaits >= w.n) w.resolve(); else waiters.push(w);
    }
  }).observe(document.body, {attributes: true, attributeFilter: ['data-wait'], attributeOldValue: true});
}

async function typeUnit(page, unit, touch) {
  if (!touch) return page.keyboard.type(unit);
  if (!unit.endsWith('\n')) return page.tap(`button[data-key="${unit}"]`);
  await page.type('#line', unit.slice(0, -1));
  await page.tap('#entry button');
}

async function play(name, input) {
  const touch = name === 'touch';
  const page = await browser.newPage();
  await page.setViewport(touch ? {width: 390, height: 844, isMobile: true, hasTouch: true}
                               : {width: 900, height: 760});
  const fetched = [];
  page.on('request', request => {
    if (!/^(file|data):/.test(request.url())) fetched.push(request.url());
  });
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  await page.goto(pathToFileURL(pagePath).href);
  await page.evaluate(countWaits);
  for (let at = 0, waits = 1; at < input.length; waits++) {
    await page.waitForFunction(n => window.palimoWaits >= n, {timeout: 10000}, waits)
        .catch(() => fail(`${name}: the program did not wait for input at byte ${at}`));
    const key = await page.evaluate(() => document.body.dataset.wait === 'key');
    const unit = key ? input[at] : input.slice(at, input.indexOf('\n', at) + 1 || undefined);
    await typeUnit(page, unit, touch);
    at += unit.length;
    if (screenshot && name === 'defaults' && at === 2) {  // after 'g' and a key: both screens
      await page.waitForFunction(n => window.palimoWaits > n, {}, waits);
      await page.screenshot({path: screenshot});
    }
  }
  await page.waitForFunction(() => document.body.dataset.wait === 'ended', {timeout: 10000})
      .catch(() => fail(`${name}: the program did not end`));
  const screen = await page.$eval('#screen', element => element.textContent);
  const stored = readFileSync(join(sessions, `${name}.out`), 'latin1');
  if (screen === stored) {
    console.log(`web page: ${name}: ${screen.split('\n').length} lines, the stored screen`);
  } else {
    let at = 0;
    while (at < stored.length && screen[at] === stored[at]) at++;
    fail(`${name}: the screen differs from the stored one at byte ${at}:\n` +
         `page:   ${JSON.stringify(screen.slice(at - 40, at + 40))}\n` +
         `stored: ${JSON.stringify(stored.slice(at - 40, at + 40))}`);
  }
  if (fetched.length) fail(`${name}: fetched ${fetched.join(' ')}`);
  if (errors.length) fail(`${name}: script errors: ${errors.join('; ')}`);
  const firstMenu = await page.evaluate(
      () => performance.getEntriesByName('palimo-first-menu')[0]?.startTime);
  // Enter on the focused "Neu starten" starts the program again.
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.body.dataset.wait === 'key', {timeout: 10000})
      .catch(() => fail(`${name}: Enter on "Neu starten" did not start the program again`));
  await page.close();
  return firstMenu;
}

// In a long session the page stays quick: a 100,000-character line pasted at
// a prompt is taken within a second, and the 1000th calculation costs at most
// 1.5 times the 10th (the median of ten runs around each, layout included).
async function stress() {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(pagePath).href);
  await page.evaluate(countWaits);
  const late = new Promise(resolve => setTimeout(resolve, 60000, null));
  const measured = await Promise.race([late, page.evaluate(async () => {
    const type = async text => {
      const next = window.palimoWaited(window.palimoWaits + 1);
      Module.palimoTerminal.typeText(text);
      await next;
    };
    if (!window.palimoWaits) await window.palimoWaited(1);
    const pasteStart = performance.now();
    await type('a');
    await type('9'.repeat(100000) + '\n');
    await type('2000\n');
    await type('w');
    const paste = performance.now() - pasteStart;
    const shown = document.getElementById('screen').textContent.includes('Kraft   = inf N');
    await type(' ');
    await type(' ');
    const runs = [];
    for (let run = 1; run <= 1005; run++) {
      const start = performance.now();
      for (const key of 'g  ') await type(key);
      document.getElementById('screen').scrollHeight;  // lays the screen out
      runs.push(performance.now() - start);
    }
    const median = list => list.sort((a, b) => a - b)[list.length >> 1];
    return {paste, shown, early: median(runs.slice(5, 15)), late: median(runs.slice(995, 1005))};
  })]);
  await page.close();
  if (!measured) return fail('the long session did not end within a minute');
  console.log(`web page: a 100,000-character line taken in ${measured.paste.toFixed(0)} ms; ` +
              `run 10: ${measured.early.toFixed(1)} ms, run 1000: ${measured.late.toFixed(1)} ms`);
  if (!measured.shown) fail('the pasted line did not give Kraft = inf N');
  if (!(measured.paste < 1000)) fail('the pasted line took more than a second');
  if (!(measured.late <= 1.5 * measured.early)) fail('the 1000th run costs more than 1.5 times the 10th');
}

const firstMenus = [];
for (const file of readdirSync(sessions).filter(file => file.endsWith('.in')).sort()) {
  const input = readFileSync(join(sessions, file), 'latin1');
  // Control keys such as Ctrl-D or an escape sequence are a terminal's.
  if (/[\0-\x09\x0b-\x1f]/.test(input)) continue;
  firstMenus.push(await play(file.slice(0, -3), input));
}
await stress();
await browser.close();

const bytes = statSync(pagePath).size;
const best = Math.min(...firstMenus);
console.log(`web page: ${bytes} bytes; first menu ${firstMenus.map(t => t.toFixed(0)).join(', ')} ms after navigation`);
if (bytes > MAX_BYTES) fail(`${bytes} bytes, more than ${MAX_BYTES}`);
if (!(best < 3000)) fail(`the first menu took ${best} ms`);
console.log(failures ? `web page: ${failures} failed` : 'web page: all sessions passed');
process.exit(failures ? 1 : 0);
