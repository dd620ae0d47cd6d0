// The site, served from 127.0.0.1: whole offline after the first visit, and
// a new build that reaches an installed site under three caching policies
// of a host.
import {join, resolve} from 'node:path';
import {newPage, openPage} from './engines.mjs';
import {fail, onTimeout, PHONE, poll, sleep, watch} from './harness.mjs';
import {calculates} from './palimo_page.mjs';
import {address, serve, stop} from './server.mjs';

// Waits until a service worker controls the page.
export const controlled = (page, report) =>
  page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 10000})
      .catch(onTimeout(report));

// The site whole after the first visit with the server gone: a reload and a
// new tab calculate, the balance page calculates, and nothing logs an error.
export async function offline(engine, paths) {
  const server = await serve(resolve(paths.site));
  const url = address(server);
  const {page, ...seen} = await openPage(engine, url, undefined, watch);
  await controlled(page, () => fail(`${engine.name}: site: no service worker took the page`));
  await stop(server);
  await page.reload();
  if (!(await calculates(page))) fail(`${engine.name}: site: offline, the reloaded page did not calculate`);
  // A new tab, phone-sized: an installed app shows the page alone.
  const {page: tab} = await openPage(engine, url, PHONE, tab => watch(tab, seen));
  if (!(await calculates(tab))) fail(`${engine.name}: site: offline, a new tab did not calculate`);
  if (paths.screenshots && engine.chromium) await tab.screenshot({path: join(paths.screenshots, 'phone.png')});
  await tab.goto(`${url}balance.html?speed=3000`);
  const balanced = await tab.waitForFunction(
      () => document.getElementById('result').textContent.includes('Pruefung am Bilanzpunkt'), {timeout: 10000})
      .then(() => true, onTimeout(() => false));
  if (!balanced) fail(`${engine.name}: site: offline, the balance page did not calculate`);
  await sleep(500);  // a late error, such as a failed request of the browser's own
  if (seen.errors.length) fail(`${engine.name}: site: errors: ${seen.errors.join('; ')}`);
  await tab.close();
  await page.close();
}

// Visits url in a new tab and, once the first menu waits for a key, acts on
// the page. Gives the tab and the time after which build B showed its menu,
// or null if it did not within ms. It polls, as a wait inside the page can
// miss its reload.
async function visit(engine, url, ms, act = () => {}) {
  const page = await newPage(engine);
  const start = Date.now();
  await page.goto(url);
  await poll(() => page.evaluate(() => document.body.dataset.wait === 'key'));
  await act(page);
  const b = await poll(() => page.evaluate(() => document.title.startsWith('B ') && !!document.body.dataset.wait), ms)
      .then(() => Date.now() - start, onTimeout(() => null));
  return {page, b};
}

// The visits after a new build, each with its words in a failure, what it
// does once the menu is up, and the seconds within which build B must show.
// In each the host answers the new worker only once the visit has acted.
export const VISITORS = {
  '': {words: '', within: 8},
  // A key typed: that session is not reloaded, the visit after it shows B.
  begun: {
    words: ', a session begun', within: 4,
    act: async page => {
      await page.evaluate(() => window.palimoTyped = true);
      await page.keyboard.type('w');
    },
  },
  // The page loads the site's icon over and over for 0.6 s, as it asks for
  // its icon and manifest while the old worker is being stopped; the loads
  // slow the new worker's start down by up to 3 s.
  icon: {
    words: ', the icon loading', within: 15,
    act: page => page.evaluate(() => {
      (async () => {  // goes on after evaluate has returned, until B reloads the page
        for (let end = performance.now() + 600, n = 0; performance.now() < end; n++) {
          await new Promise(done => Object.assign(new Image(), {onload: done, onerror: done, src: `icon.svg?${n}`}));
        }
      })();
    }),
  },
};

// A new build on the host reaches an installed site on the next visit,
// within a few seconds, whatever caching headers the host sends.
export async function update(engine, {a, b}, policy, visitor = '') {
  const server = await serve(a, policy);
  const url = address(server);
  const {words, within, act} = VISITORS[visitor];
  const what = `${engine.name}: ${policy}${words}`;
  try {
    const {page: first} = await openPage(engine, url);
    await controlled(first, () => fail(`${what}: no service worker after the first visit`));
    await first.close();
    server.root = b;
    let release = () => {};
    if (act) server.held = new Promise(done => release = done);
    const second = await visit(engine, url, within * 1000, async page => { await act?.(page); release(); });
    if (visitor === 'begun') {
      // The page typed in is still there (a browser may have served B at once).
      const kept = await second.page.evaluate(() => window.palimoTyped === true &&
          document.getElementById('screen').textContent.includes('momentan def. Werte 1:'));
      if (!kept) fail(`${what}: the session begun was reloaded`);
      const third = await visit(engine, url, 8000);
      if (third.b === null) fail(`${what}: the visit after it does not show build B`);
      else console.log(`${what}: kept; the visit after it showed build B after ${third.b} ms`);
      await third.page.close();
    } else {
      if (second.b === null) fail(`${what}: the next visit did not show build B within ${within} s`);
      else console.log(`${what}: the next visit showed build B after ${second.b} ms`);
    }
    await second.page.close();
  } finally {
    await stop(server);
  }
}
