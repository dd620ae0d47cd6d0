// palimo's page: the stored terminal sessions played as a person types
// them, and German typing at the narrowest window.
import {readdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {openPage} from './engines.mjs';
import {DESKTOP, difference, fail, layoutFaults, onTimeout, PHONE, sessions, watch} from './harness.mjs';

// Waits until the program waits for a 'key' or a 'line', or has 'ended'.
export const waitFor = (page, state, timeout = 10000) =>
  page.waitForFunction(s => document.body.dataset.wait === s, {timeout}, state);

// Counts the times the program starts to wait for a key or a line;
// palimoWaited(n) resolves once it has started n times.
export function countWaits() {
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

const waitsReach = (page, n) =>
  page.waitForFunction(n => window.palimoWaits >= n, {timeout: 10000}, n);

// Plays 'g' and both pauses at a page that shows the menu; true if the run's
// last line came.
export async function calculates(page) {
  await waitFor(page, 'key');
  for (const key of 'g  ') {
    await page.keyboard.type(key);
    await waitFor(page, 'key');
  }
  return page.$eval('#screen', element => element.textContent.includes('So ue  = 13.0805 \n'));
}

// The stored terminal sessions that a page can type: control keys such as
// Ctrl-D or an escape sequence are a terminal's.
export const storedSessions = () => readdirSync(join(sessions, 'terminal')).sort()
    .filter(file => file.endsWith('.in'))
    .map(file => [file.slice(0, -3), readFileSync(join(sessions, 'terminal', file), 'utf8')])
    .filter(([, input]) => !/[\0-\x09\x0b-\x1f]/.test(input));

async function typeUnit(page, unit, touch) {
  if (!touch) return page.keyboard.type(unit);
  if (!unit.endsWith('\n')) return page.tap(`button[data-key="${unit}"]`);
  await page.type('#line', unit.slice(0, -1));
  await page.tap('#entry button');
}

// Plays a stored session at a menu or pause one key, elsewhere one line,
// each when the program waits for it; the session "touch" through the
// touch buttons and the input line. The screen must equal the stored one.
export async function play(engine, paths, name, input) {
  const touch = name === 'touch';
  const {page, fetched, errors} = await openPage(engine, paths.pageUrl,
                                                 touch ? {...PHONE, deviceScaleFactor: 1} : DESKTOP, watch);
  await page.evaluate(countWaits);
  for (let at = 0, waits = 1; at < input.length; waits++) {
    await waitsReach(page, waits)
        .catch(onTimeout(() => fail(`${engine.name}: ${name}: the program did not wait for input at ${at}`)));
    const key = await page.evaluate(() => document.body.dataset.wait === 'key');
    const unit = key ? [...input.slice(at)][0] : input.slice(at, input.indexOf('\n', at) + 1 || undefined);
    await typeUnit(page, unit, touch);
    at += unit.length;
    if (paths.screenshots && engine.chromium && name === 'defaults' && at === 2) {
      await waitsReach(page, waits + 1);  // after 'g' and a key: both screens
      await page.screenshot({path: join(paths.screenshots, 'web.png')});
    }
  }
  await waitFor(page, 'ended').catch(onTimeout(() => fail(`${engine.name}: ${name}: the program did not end`)));
  const screen = await page.$eval('#screen', element => element.textContent);
  const stored = readFileSync(join(sessions, 'terminal', `${name}.out`), 'utf8');
  if (screen !== stored) fail(`${engine.name}: ${name}: the screen ${difference(screen, stored)}`);
  // The end of the session is on screen, above the notice.
  const shown = await page.$eval('#screen', e => e.scrollTop + e.clientHeight >= e.scrollHeight - 1);
  if (!shown) fail(`${engine.name}: ${name}: the end of the session is scrolled out of sight`);
  if (fetched.length) fail(`${engine.name}: ${name}: fetched ${fetched.join(' ')}`);
  if (errors.length) fail(`${engine.name}: ${name}: errors: ${errors.join('; ')}`);
  // Enter on the focused "Neu starten" starts the program again.
  await page.keyboard.press('Enter');
  await waitFor(page, 'key').catch(onTimeout(
      () => fail(`${engine.name}: ${name}: Enter on "Neu starten" did not start the program again`)));
  await page.close();
}

// How German users type: at the narrowest window nothing scrolls sideways
// and every control is whole; ü at the menu is one key; 60°C is echoed as
// typed, and two Backspaces leave 60.
export async function typing(engine, paths) {
  const {page} = await openPage(engine, paths.pageUrl, {width: engine.narrowest, height: 640});
  await page.evaluate(countWaits);
  await waitsReach(page, 1);
  const faults = await layoutFaults(page);
  if (faults) fail(`${engine.name}: the page ${faults}`);
  await page.keyboard.type('ü');
  await waitsReach(page, 2);
  await page.keyboard.type('a');
  await waitsReach(page, 3);
  const menus = await page.$eval('#screen', e => e.textContent.split('F8 q Exit').length - 1);
  if (menus !== 2) fail(`${engine.name}: ü at the menu drew ${menus - 1} menus, not one`);
  // The typed line is drawn once per frame.
  const typed = () => page.evaluate(() => new Promise(shown => requestAnimationFrame(
      () => requestAnimationFrame(() => shown(document.getElementById('typed').textContent)))));
  await page.keyboard.type('60°C');
  const echoed = await typed();
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  const erased = await typed();
  if (echoed !== '60°C' || erased !== '60') {
    fail(`${engine.name}: 60°C was echoed as ${JSON.stringify(echoed)}, two Backspaces left ${JSON.stringify(erased)}`);
  }
  await page.close();
}
