// Drives the web pages in the three browser engines that students carry:
// Chromium, Firefox (Gecko) and WebKitGTK (WebKit, the engine of Safari). In
// each, the palimo page opened from disk plays every stored terminal session
// as a person would, and German typing at the narrowest window; the balance
// page shows every stored palimo-balance session that a link can hold and
// names bad parameters; and the site, served from 127.0.0.1, works offline
// without an error and takes a new build under three caching policies of a
// host. Their times and Lighthouse's scores are benchmark.mjs's.
//
// A browser that is lost (its session gone, its process dead) is named with
// the last lines that its driver and it wrote, and the step it was lost in
// runs once more in a new browser; a second loss fails. A failed check is
// never run again.
//
// Usage: xvfb-run -a node browser_test.mjs PAGE SITE [SCREENSHOTS]
//        xvfb-run -a node browser_test.mjs --warm-up
// SCREENSHOTS: a folder for web.png (the page), phone.png (the installed app
// on a phone) and balance-phone.png (a study on a phone). --warm-up starts
// and closes each browser once, paying for a first start on a new machine.
// PALIMO_ENGINES=chromium,firefox picks engines.
import {balanceForm, balanceLimits, balanceSessions} from './balance_page.mjs';
import {inEachEngine, warmUp} from './engines.mjs';
import {finish, runPaths} from './harness.mjs';
import {play, storedSessions, typing} from './palimo_page.mjs';
import {builds} from './server.mjs';
import {offline, update, VISITORS} from './site.mjs';

if (process.argv[2] === '--warm-up') {
  await warmUp();
  process.exit(0);
}

const paths = runPaths(process.argv.slice(2));
const sessions = storedSessions();
const twoBuilds = builds(paths.site);
await inEachEngine(engine => {
  const steps = sessions.map(([name, input]) => [name, () => play(engine, paths, name, input)]);
  steps.push(['typing', () => typing(engine, paths)],
             ['balance sessions', () => balanceSessions(engine, paths)],
             ['balance form', () => balanceForm(engine, paths)],
             ['balance limits', () => balanceLimits(engine, paths)],
             ['offline', () => offline(engine, paths)]);
  for (const policy of ['none', 'last-modified', 'max-age']) {
    for (const visitor of ['', 'begun']) {
      steps.push([`update ${policy} ${visitor}`, () => update(engine, twoBuilds, policy, visitor)]);
    }
  }
  steps.push(['update none icon', () => update(engine, twoBuilds, 'none', 'icon')],
             ['', () => console.log(`${engine.name}: ${sessions.length} sessions, typing, the balance page, ` +
                                    `offline and ${Object.keys(VISITORS).length} kinds of update visit checked` +
                                    (engine.reportsErrors ? '' : '; console errors and requests not checked: ' +
                                                                 'its driver does not report them'))]);
  return steps;
});
finish('web page');
