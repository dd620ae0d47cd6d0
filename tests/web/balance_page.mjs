// The balance page against palimo-balance's stored sessions, its bad
// parameters, its form at the narrowest window, and a study on a phone.
import {readdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {openPage} from './engines.mjs';
import {DESKTOP, difference, fail, layoutFaults, PHONE, sessions, watch} from './harness.mjs';

// palimo-balance's stored sessions that a link can hold: the address of
// their options, or null.
function asLink(balanceUrl, args) {
  const params = new URLSearchParams();
  const words = args.trim().split(/\s+/);
  for (let i = 0; i < words.length; i++) {
    const [option, glued] = words[i].slice(2).split('=');
    if (option === 'direct') params.set('direct', '1');
    else if (/^(csv|cases|version|help)$/.test(option)) return null;
    else params.set(option, glued ?? words[++i]);
  }
  return `${balanceUrl}?${params}`;
}

export const shownMark = page =>
  page.waitForFunction(() => performance.getEntriesByName('palimo-balance-shown').length, {timeout: 10000});

// What the balance page shows for a link once it has calculated.
export async function openBalance(engine, url, viewport = DESKTOP) {
  const {page, ...seen} = await openPage(engine, url, viewport, watch);
  await shownMark(page);
  const shown = await page.evaluate(() => ({
    result: document.getElementById('result').textContent,
    notice: document.getElementById('notice').textContent,
    study: !document.getElementById('study').hidden,
    lines: document.querySelectorAll('#chart path').length,
    failed: document.getElementById('failed').textContent,
    csv: decodeURIComponent(document.getElementById('csv').href.split(',').slice(1).join(',')),
    invalid: [...document.querySelectorAll('[aria-invalid="true"]')].map(field =>
        `${field.name}: ${document.getElementById(field.id + '-why')?.textContent}`),
  }));
  return {page, shown, seen};
}

// Each stored palimo-balance session that a link can hold shows on the page
// what the console program printed: its screen, its study's CSV (and a
// chart for one range), or its message.
export async function balanceSessions(engine, paths) {
  const dir = join(sessions, 'balance');
  for (const file of readdirSync(dir).filter(name => name.endsWith('.args')).sort()) {
    const name = file.slice(0, -5);
    const url = asLink(paths.balanceUrl, readFileSync(join(dir, file), 'utf8'));
    const [status, ...message] = readFileSync(join(dir, `${name}.err`), 'utf8').split('\n');
    if (!url || status === 'status 2') continue;
    const out = readFileSync(join(dir, `${name}.out`), 'utf8');
    const {page, shown, seen} = await openBalance(engine, url);
    const what = `${engine.name}: balance page: ${name}`;
    const ranges = (url.match(/%3A/g) ?? []).length / 2;
    if (status !== 'status 0') {
      if (shown.notice.trim() !== message.join('\n').trim()) fail(`${what}: the message ${difference(shown.notice, message.join('\n'))}`);
    } else if (ranges) {
      if (shown.csv !== out) fail(`${what}: the CSV ${difference(shown.csv, out)}`);
      const without = out.split('\n').filter(line => line && !line.endsWith(',balanced')).length - 1;
      if (ranges === 1 && (shown.lines < 2 || !without !== !shown.failed)) {
        fail(`${what}: the chart has ${shown.lines} lines; named without a balance: "${shown.failed}"`);
      }
    } else if (shown.result !== out) {
      fail(`${what}: the screen ${difference(shown.result, out)}`);
    }
    if (seen.fetched.length || seen.errors.length) fail(`${what}: fetched ${seen.fetched}; errors ${seen.errors}`);
    await page.close();
  }
}

// A bad or unknown parameter is named, and nothing is calculated; the form
// fits the narrowest window; a change goes into the address. In Chromium,
// with a folder for them, a screenshot of a study on a phone.
export async function balanceForm(engine, paths) {
  const {page, shown} = await openBalance(engine, `${paths.balanceUrl}?speeed=3&speed=x&supply-case=7`,
                                          {width: engine.narrowest, height: 700});
  const named = shown.notice.includes('speeed') && shown.notice.includes('supply-case=7') &&
                shown.invalid.join() === "speed: --speed: 'x' is no number and no range FROM:TO:COUNT";
  if (!named || shown.result) fail(`${engine.name}: balance page: bad parameters: ${JSON.stringify(shown)}`);
  const faults = await layoutFaults(page);
  if (faults) fail(`${engine.name}: the balance page ${faults}`);
  await page.evaluate(() => {
    const field = document.getElementById('f-speed');
    field.value = '3000';
    field.dispatchEvent(new Event('input', {bubbles: true}));
  });
  const address = await page.evaluate(() => location.search);
  if (address !== '?speed=3000') {
    fail(`${engine.name}: balance page: the address after a change is ${address}`);
  }
  await page.close();
  if (paths.screenshots && engine.chromium) {
    const {page: phone} = await openPage(engine, `${paths.balanceUrl}?clearance=0.01:0.3:30&temp-limit=90&inlet=40`, PHONE);
    await shownMark(phone);
    await phone.screenshot({path: join(paths.screenshots, 'balance-phone.png')});
    await phone.close();
  }
}
