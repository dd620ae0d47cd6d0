// The three browser engines that students carry: Chromium, Firefox (Gecko)
// and WebKitGTK (WebKit, the engine of Safari), each with what sets it
// apart, and pages opened in them.
import puppeteer from 'puppeteer-core';
import {DESKTOP, fail, keepLastLines, step} from './harness.mjs';
import {launchWebKit} from './webkit_driver.mjs';

// As root Chromium starts only without its sandbox; the rest keeps it off a
// network that this machine does not have.
const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                       '--disable-background-networking', '--disable-component-update',
                       '--disable-sync', '--remote-debugging-port=0'];

// puppeteer's browser, with what its process writes kept in log.
async function launchPuppeteer(options, log) {
  const browser = await puppeteer.launch(options);
  keepLastLines(browser.process()?.stdout, log);
  keepLastLines(browser.process()?.stderr, log);
  browser.alive = async () => browser.connected;
  return browser;
}

// Chromium's puppeteer types a character that its US layout lacks without a
// key event, where a German keyboard sends one: such a character goes as a
// key event of its own.
function chromiumKeys(page) {
  const type = page.keyboard.type.bind(page.keyboard);
  page.keyboard.type = async text => {
    for (const part of text.match(/[\0-\x7f]+|[^\0-\x7f]/gu) ?? []) {
      if (part < '\x80') {
        await type(part);
        continue;
      }
      const cdp = page.cdp ??= await page.createCDPSession();
      await cdp.send('Input.dispatchKeyEvent', {type: 'keyDown', key: part, text: part});
      await cdp.send('Input.dispatchKeyEvent', {type: 'keyUp', key: part});
    }
  };
}

// Each engine: how it starts, its narrowest window (MiniBrowser's is never
// narrower than 447 px), whether its driver reports console errors and
// requests, and whether it is Chromium, which alone has puppeteer's full
// protocol (metrics, installability, Lighthouse) and takes the screenshots.
export const ENGINES = {
  chromium: {
    launch: log => launchPuppeteer({executablePath: '/usr/bin/chromium', headless: true,
                                    args: CHROMIUM_ARGS}, log),
    narrowest: 320, reportsErrors: true, adapt: chromiumKeys, chromium: true,
  },
  firefox: {
    launch: log => launchPuppeteer({browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                                    headless: true}, log),
    narrowest: 320, reportsErrors: true,
  },
  webkit: {launch: launchWebKit, narrowest: 450, reportsErrors: false},
};

// The engines that PALIMO_ENGINES picks (chromium,firefox,webkit by default),
// each ready to start.
export function pickedEngines() {
  return (process.env.PALIMO_ENGINES ?? Object.keys(ENGINES).join(',')).split(',').map(name => {
    const engine = {name, ...ENGINES[name]};
    engine.restart = async () => {
      engine.log = [];
      engine.browser = await engine.launch(engine.log);
    };
    return engine;
  });
}

export async function newPage(engine) {
  const page = await engine.browser.newPage();
  engine.adapt?.(page);
  return page;
}

// A new page of the viewport, at url; before(page) runs before it goes
// there, and gives what openPage gives beside the page.
export async function openPage(engine, url, viewport = DESKTOP, before = () => ({})) {
  const page = await newPage(engine);
  await page.setViewport(viewport);
  const seen = before(page);
  await page.goto(url);
  return Object.assign(seen, {page});
}

// Runs the steps that steps(engine) gives, [name, check] each, in each
// picked engine, a new browser for each engine, closed whatever happens.
export async function inEachEngine(steps) {
  for (const engine of pickedEngines()) {
    try {
      await engine.restart();
      for (const [name, check] of steps(engine)) await step(engine, name, check);
    } catch (error) {
      fail(`${engine.name}: the browser did not start: ${error?.stack ?? error}\n    ${engine.log?.join('\n    ')}`);
    } finally {
      await engine.browser?.close().catch(() => {});
    }
  }
}

// Starts and closes each picked browser once, paying for a first start on
// a new machine before anything is timed.
export async function warmUp() {
  for (const engine of pickedEngines()) {
    await engine.restart();
    await engine.browser.close();
    console.log(`${engine.name}: started once`);
  }
}
