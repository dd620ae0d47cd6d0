// Opens the web page from disk in the system's Chromium, plays each session of
// sessions.json key by key (or through the touch buttons), waiting for every
// prompt, and compares the text of #screen byte for byte with the Linux
// program's screen for the same session at a terminal. Reports the page's
// size and the time from navigation to the first menu.
//
// Usage: node browser_test.mjs PAGE LINUX_PROGRAM [SCREENSHOT.png]
import {execFileSync} from 'node:child_process';
import {readFileSync, statSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const [page_, program, screenshot] = process.argv.slice(2);
const pagePath = resolve(page_);
const sessionsPath = join(here, 'sessions.json');
const sessions = JSON.parse(readFileSync(sessionsPath, 'utf8'));
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

async function play(name, steps) {
  const touch = steps.some(([how]) => how !== 'keys');
  const page = await browser.newPage();
  await page.setViewport(touch ? {width: 390, height: 844, isMobile: true, hasTouch: true}
                               : {width: 900, height: 760});
  const fetched = [];
  page.on('request', request => {
    if (!request.url().startsWith('file:') && !request.url().startsWith('data:')) fetched.push(request.url());
  });
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  await page.goto(pathToFileURL(pagePath).href);
  for (const [how, what, wait, until] of steps) {
    const before = what === '' ? 0 : await page.$eval('#screen', element => element.textContent.length);
    if (how === 'keys') await page.keyboard.type(what);
    if (how === 'button') await page.tap(`button[data-key="${what === 'weiter' ? ' ' : what}"]`);
    if (how === 'line') {
      await page.type('#line', what);
      await page.tap('#entry button');
    }
    await page.waitForFunction(
        (wait, until, before) => document.body.dataset.wait === wait &&
            document.getElementById('screen').textContent.slice(before).endsWith(until),
        {timeout: 10000}, wait, until, before).catch(() => fail(`${name}: '${until}' did not come`));
    if (screenshot && name === 'defaults' && until.startsWith('So ue')) {
      await page.screenshot({path: screenshot});
    }
  }
  const screen = await page.$eval('#screen', element => element.textContent);
  const linux = execFileSync('python3', [join(here, 'linux_transcript.py'), program, sessionsPath, name],
                             {encoding: 'latin1'});
  if (screen === linux) {
    console.log(`web page: ${name}: ${screen.split('\n').length} lines, same screen as on Linux`);
  } else {
    const at = [...screen].findIndex((c, i) => c !== linux[i]);
    fail(`${name}: the screen differs from the Linux program's at byte ${at}:\n` +
         `page:  ${JSON.stringify(screen.slice(at - 40, at + 40))}\n` +
         `linux: ${JSON.stringify(linux.slice(at - 40, at + 40))}`);
  }
  if (fetched.length) fail(`${name}: fetched ${fetched.join(' ')}`);
  if (errors.length) fail(`${name}: script errors: ${errors.join('; ')}`);
  const firstMenu = await page.evaluate(
      () => performance.getEntriesByName('palimo-first-menu')[0]?.startTime);
  await page.close();
  return firstMenu;
}

const firstMenus = [];
for (const [name, steps] of Object.entries(sessions)) firstMenus.push(await play(name, steps));
await browser.close();

const bytes = statSync(pagePath).size;
const best = Math.min(...firstMenus);
console.log(`web page: ${bytes} bytes; first menu ${firstMenus.map(t => t.toFixed(0)).join(', ')} ms after navigation`);
if (bytes > MAX_BYTES) fail(`${bytes} bytes, more than ${MAX_BYTES}`);
if (!(best < 3000)) fail(`the first menu took ${best} ms`);
console.log(failures ? `web page: ${failures} failed` : 'web page: all sessions passed');
process.exit(failures ? 1 : 0);
