// The balance page against palimo-balance's stored sessions, its bad
// parameters, its form at the narrowest window, and a study on a phone.
import {existsSync, readdirSync, readFileSync} from 'node:fs';
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
    if (/^(direct|coefficients|threshold-speed)$/.test(option)) params.set(option, '1');  // the table's flags
    else if (/^(csv|cases|version|help|units|rotor-file|rotor-node|rotor-tag|jobs|part)$/.test(option)) return null;
    else params.set(option, glued ?? words[++i]);
  }
  return `${balanceUrl}?${params}`;
}

export const shownMark = (page, timeout = 10000) =>
  page.waitForFunction(() => performance.getEntriesByName('palimo-balance-shown').length, {timeout});

// What the balance page shows for a link once it has calculated; a search
// of the threshold speed takes some 40 points with the coefficients, up to
// 6 s in WebKit, and a bore's film some seconds a point.
export async function openBalance(engine, url, viewport = DESKTOP) {
  const {page, ...seen} = await openPage(engine, url, viewport, watch);
  // A wait that runs out says how far the page came: loaded, its program
  // started, in view; a browser that stalls shows there.
  await shownMark(page, /threshold-speed|bore=|lobe|preload|offset/.test(url) ? 60000 : 10000).catch(async error => {
    if (error?.name !== 'TimeoutError') throw error;
    const state = await page.evaluate(() => `the page ${document.readyState}, ` +
        `its program ${FIELDS.length ? 'started' : 'not started'}, ${document.visibilityState}, ` +
        `notice "${document.getElementById('notice').textContent}"`).catch(e => `no answer: ${e.message}`);
    throw Object.assign(new Error(`${error.message}: ${url}: ${state}`), {name: 'TimeoutError'});
  });
  const shown = await page.evaluate(() => ({
    result: document.getElementById('result').textContent,
    notice: document.getElementById('notice').textContent,
    study: !document.getElementById('study').hidden,
    lines: document.querySelectorAll('#chart path').length,
    rotorLines: document.querySelectorAll('#stiffness:not([hidden]) path, #damping:not([hidden]) path').length,
    ross: rossFile,
    failed: document.getElementById('failed').textContent,
    csv: studyCsv,
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
    const args = readFileSync(join(dir, file), 'utf8');
    // The page seeks the threshold speed of one design, not of a band or a study.
    const url = /threshold-speed/.test(args) && /--fit|:/.test(args) ? null : asLink(paths.balanceUrl, args);
    const [status] = readFileSync(join(dir, `${name}.err`), 'utf8').split('\n');
    if (!url || status === 'status 2') continue;
    const out = readFileSync(join(dir, `${name}.out`), 'utf8');
    const {page, shown, seen} = await openBalance(engine, url);
    const what = `${engine.name}: balance page: ${name}`;
    const ranges = (url.match(/%3A/g) ?? []).length / 2;
    if (status !== 'status 0') {  // in German, as a German locale gives it
      const german = readFileSync(join(dir, `${name}.de`), 'utf8');
      const words = 'Keine Bilanz: ' + german.replace(/^palimo-balance: /gm, '').trim();
      if (shown.notice !== words) fail(`${what}: the message ${difference(shown.notice, words)}`);
    } else if (ranges) {
      if (shown.csv !== out) fail(`${what}: the CSV ${difference(shown.csv, out)}`);
      const without = out.split('\n').filter(line => line && !line.endsWith(',balanced')).length - 1;
      if (ranges === 1 && (shown.lines < 2 || !without !== !shown.failed)) {
        fail(`${what}: the chart has ${shown.lines} lines; named without a balance: "${shown.failed}"`);
      }
      // A study over the speed with the coefficients: their two charts, and
      // the ROSS file that the console program writes (the page's own tag).
      const rotorFile = join(dir, `${name}.json`);
      if (existsSync(rotorFile)) {
        const ross = readFileSync(rotorFile, 'utf8').replaceAll(name, 'palimo-balance');
        if (shown.ross !== ross) fail(`${what}: the ROSS file ${difference(shown.ross ?? '', ross)}`);
        if (shown.rotorLines !== 8) fail(`${what}: the coefficients' charts have ${shown.rotorLines} lines, not 8`);
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
                shown.invalid.join() === 'speed: "x" ist keine Zahl und kein Bereich VON:BIS:ANZAHL';
  // A value that only the whole design refuses is named in German at its field.
  const {page: design, shown: refused} = await openBalance(engine, `${paths.balanceUrl}?nu40=5&nu100=6.8`);
  await design.close();
  if (refused.invalid.join() !== 'nu40: "5" muss ueber --nu100 liegen' ||
      !refused.notice.startsWith('Nicht gerechnet: Viskositaet nu40 bei 40 C [mm2/s] "5"')) {
    fail(`${engine.name}: balance page: a refused design: ${JSON.stringify(refused)}`);
  }
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

// The page's limits, whatever a link holds: the largest study it takes shows
// its chart and CSV; one beyond is refused in words, and so is a count
// beyond the integers, whose field then checks a keystroke as quickly as
// any; a refused run leaves the tab calculating as before; a value is
// named as typed, 60°C too.
export async function balanceLimits(engine, paths) {
  const what = `${engine.name}: balance page`;
  // The largest study, and one row more refused in words; with the rotor's
  // coefficients a row costs some sixteen films, and the limit is lower;
  // with a bore's film lower still.
  for (const [study, most, which] of [['', 20000, ''], ['coefficients=1&', 45, 'with the coefficients '],
                                      ['bore=partial&', 4, 'with a bore ']]) {
    const started = Date.now();
    const rows = await page(engine, paths, `${study}speed=100:3000:${most}`,
                            shown => shown.lines > 1 && shown.csv.split('\n').length - 2);
    console.log(`${what}: the largest study ${which}in ${Date.now() - started} ms, chart, CSV and the page's load`);
    if (rows !== most) fail(`${what}: the largest study ${which}gave ${rows} rows`);
    const refused = await page(engine, paths, `${study}speed=100:3000:${most + 1}`,
                               shown => !shown.result && !shown.study && shown.notice);
    if (!refused || !refused.includes(`hoechstens ${most}`)) fail(`${what}: a study ${which}beyond the limit: ${refused}`);
  }
  const {page: tab} = await openBalance(engine, paths.balanceUrl);
  const typed = await tab.evaluate(() => {
    const field = document.getElementById('f-speed');
    const keystroke = value => {
      field.value = value;
      const start = performance.now();
      field.dispatchEvent(new Event('input', {bubbles: true}));
      return performance.now() - start;
    };
    const median = list => list.sort((a, b) => a - b)[2];
    const normal = median([1, 2, 3, 4, 5].map(() => keystroke('3000')));
    const huge = median([1, 2, 3, 4, 5].map(() => keystroke('1:2:2147483647')));
    const before = (keystroke('3000'), calculate(), document.getElementById('result').textContent);
    keystroke('1:2:2147483647');
    calculate();
    const refused = document.getElementById('notice').textContent;
    keystroke('3000');
    calculate();
    return {normal, huge, refused, same: document.getElementById('result').textContent === before && before !== ''};
  });
  console.log(`${what}: a keystroke ${typed.normal.toFixed(1)} ms, after a huge count ${typed.huge.toFixed(1)} ms`);
  if (!(typed.huge <= 20 * typed.normal + 1)) fail(`${what}: a keystroke after a huge count takes ${typed.huge} ms`);
  if (!typed.refused.includes('"1:2:2147483647" hat keine ANZAHL')) fail(`${what}: a huge count: ${typed.refused}`);
  if (!typed.same) fail(`${what}: after a refused run, Rechnen gave another result`);
  await tab.close();
  const celsius = await page(engine, paths, 'inlet=60°C', shown => shown.notice);
  if (!celsius.includes('Zulauftemperatur T_en [C] "60°C"')) fail(`${what}: 60°C was named as ${celsius}`);
}

// What a link's page shows, read by read(shown); the page closed.
async function page(engine, paths, query, read) {
  const {page: tab, shown} = await openBalance(engine, `${paths.balanceUrl}?${query}`);
  await tab.close();
  return read(shown);
}
