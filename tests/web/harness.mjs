// The browser test's harness, shared by its jobs: the paths of a run, the
// failures it counts, a step that tells a lost browser from a failed check,
// the poll and waits, and the watchers of a page.
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

export const sessions = join(dirname(fileURLToPath(import.meta.url)), '..', 'sessions');
export const sleep = ms => new Promise(done => setTimeout(done, ms));
export const median = list => [...list].sort((a, b) => a - b)[list.length >> 1];

// The viewports of the test: a desktop window and a phone.
export const DESKTOP = {width: 900, height: 760};
export const PHONE = {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2};

// What a run is given: PAGE (palimo's page, the balance page beside it),
// SITE, and a folder for SCREENSHOTS.
export function runPaths([page, site, screenshots]) {
  const pagePath = resolve(page);
  return {pagePath, site, screenshots, pageUrl: pathToFileURL(pagePath).href,
          balanceUrl: pathToFileURL(join(dirname(pagePath), 'balance.html')).href};
}

let failures = 0;
export const fail = message => { console.error(`web page: ${message}`); failures++; };
// The closing line, and the exit status.
export function finish(what) {
  console.log(failures ? `${what}: ${failures} failed` : `${what}: all checks passed`);
  process.exit(failures ? 1 : 0);
}

// A wait that ran out is the page's failure; anything else, such as a lost
// browser, goes on up.
export const onTimeout = report => error => {
  if (error?.name !== 'TimeoutError') throw error;
  return report();
};

// What a driver answers once its browser is gone: WebKitWebDriver's
// "invalid session id", puppeteer's closed connection or target, a driver
// that no longer listens.
export const LOST = /invalid session id|Connection closed|Target closed|Session closed|disconnected|ECONNREFUSED|ECONNRESET|socket hang up|fetch failed/i;

// Calls check until it gives a true value, and gives that. A failure of the
// page (a reload under way) counts as false; a lost browser goes on up.
// After timeout ms it throws a TimeoutError, as puppeteer's waits do.
export async function poll(check, timeout = 10000) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const value = await check().catch(error => {
      if (LOST.test(String(error?.message))) throw error;
      return false;
    });
    if (value) return value;
    if (Date.now() > deadline) {
      throw Object.assign(new Error(`waiting failed: ${timeout} ms exceeded`), {name: 'TimeoutError'});
    }
    await sleep(20);
  }
}

// Keeps the last lines that a process wrote to stream in lines.
export function keepLastLines(stream, lines) {
  stream?.setEncoding('utf8');
  stream?.on('data', text => {
    lines.push(...text.split('\n').filter(line => line.trim()));
    lines.splice(0, lines.length - 20);
  });
}

// Runs one step of the test. A lost browser is named with its evidence and
// the step runs once more in a new one (engine.restart); any other error
// fails the step.
export async function step(engine, name, check) {
  for (let attempt = 1; attempt <= 2; attempt++) {
    try {
      return await check();
    } catch (error) {
      const lost = LOST.test(String(error?.message)) ||
                   !(await engine.browser.alive().catch(() => false));
      if (!lost) return fail(`${engine.name}: ${name}: ${error?.stack ?? error}`);
      const evidence = `${error?.message}\n  the last lines of driver and browser:\n    ` +
                       (engine.log.join('\n    ') || '(none)');
      if (attempt === 2) return fail(`${engine.name}: ${name}: the browser was lost a second time: ${evidence}`);
      console.log(`${engine.name}: ${name}: the browser was lost: ${evidence}\n` +
                  `${engine.name}: ${name}: once more in a new browser`);
      await engine.browser.close().catch(() => {});
      await engine.restart();
    }
  }
}

// Measures up to three times, until a result keeps its bound, and gives the
// last: on a shared 2-core machine other work only ever adds time, so the
// best of three is the page's own. Each miss is logged with its value.
export async function measured(what, measure, holds, show) {
  for (let attempt = 1; ; attempt++) {
    const result = await measure();
    if (holds(result) || attempt === 3) return result;
    console.log(`${what}: ${show(result)}, measured once more`);
  }
}

// Collects what a page fetches and the errors it logs or throws, where the
// engine's driver tells them.
export function watch(page, {fetched = [], errors = []} = {}) {
  page.on('request', request => {
    if (!/^(file|data|blob):/.test(request.url())) fetched.push(request.url());
  });
  page.on('pageerror', error => errors.push(error.message));
  page.on('console', message => message.type() === 'error' && errors.push(message.text()));
  return {fetched, errors};
}

// The first difference of two texts, for a failure's message.
export function difference(shown, stored) {
  let at = 0;
  while (at < stored.length && shown[at] === stored[at]) at++;
  return `differs from the stored one at ${at}:\n` +
         `page:   ${JSON.stringify(shown.slice(at - 40, at + 40))}\n` +
         `stored: ${JSON.stringify(stored.slice(at - 40, at + 40))}`;
}

// Nothing scrolls sideways and every control is whole; gives what is not.
export const layoutFaults = page => page.evaluate(() => {
  const width = document.documentElement.clientWidth;
  const cut = [...document.querySelectorAll('button, input, select, a')].filter(control => {
    const box = control.getBoundingClientRect();
    return box.left < 0 || box.right > width;
  });
  const sideways = document.documentElement.scrollWidth - width;
  return sideways > 0 || cut.length ?
    `scrolls ${sideways} px sideways; cut off: ${cut.map(c => c.textContent || c.id)}` : '';
});
