// WebKit, the engine of Safari, as Debian has it: WebKitGTK's MiniBrowser
// driven by WebKitWebDriver, through a small WebDriver client (plain HTTP and
// JSON) that offers the few calls of puppeteer's pages that the browser test
// makes. MiniBrowser needs a display: run the test under xvfb-run.
import {spawn} from 'node:child_process';
import {createServer} from 'node:net';
import {keepLastLines, poll} from './harness.mjs';

const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';  // WebDriver's key of an element
const KEYS = {'\n': '\uE007', Enter: '\uE007', Backspace: '\uE003'};

function freePort() {
  return new Promise(resolve => {
    const server = createServer().listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

// Starts the driver, waits until its /status says it is ready, and makes
// one session. What driver and browser write goes to log.
export async function launchWebKit(log) {
  const port = await freePort();
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: ['ignore', 'pipe', 'pipe']});
  keepLastLines(driver.stdout, log);
  keepLastLines(driver.stderr, log);
  const base = `http://127.0.0.1:${port}`;
  const send = async (method, path, body) => {
    const response = await fetch(base + path, {method, headers: {'Content-Type': 'application/json'},
                                               body: method === 'POST' ? JSON.stringify(body ?? {}) : undefined});
    const {value} = await response.json();
    if (value?.error) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  await poll(() => send('GET', '/status').then(status => status.ready).catch(() => false));
  const {sessionId} = await send('POST', '/session', {capabilities: {alwaysMatch: {
    'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']}}}});
  const path = `/session/${sessionId}`;
  return new WebKitBrowser(send, path, driver, await send('GET', `${path}/window`));
}

class WebKitBrowser {
  // The session's first window is the keeper: it stays blank and open, as
  // closing the last window would end the session. Each page is a window of
  // its own, shown, as a hidden tab draws no frames.
  constructor(send, path, driver, keeper) {
    Object.assign(this, {send, path, driver, keeper, current: keeper});
  }
  async newPage() {
    const {handle} = await this.send('POST', `${this.path}/window/new`, {type: 'window'});
    return new WebKitPage(this, handle);
  }
  async alive() {
    return this.send('GET', `${this.path}/window/handles`).then(() => true, () => false);
  }
  async close() {
    await this.send('DELETE', this.path).catch(() => {});
    this.driver.kill();
  }
}

class WebKitPage {
  constructor(browser, handle) {
    this.browser = browser;
    this.handle = handle;
    this.keyboard = {
      type: text => this.keys([...text].map(key => KEYS[key] ?? key)),
      press: name => this.keys([KEYS[name]]),
    };
  }
  // Every call goes to this page's window.
  async call(method, path, body) {
    const browser = this.browser;
    if (browser.current !== this.handle) {
      await browser.send('POST', `${browser.path}/window`, {handle: this.handle});
      browser.current = this.handle;
    }
    return browser.send(method, browser.path + path, body);
  }
  on() {}  // WebDriver tells nothing of requests and console messages
  setViewport({width, height}) { return this.call('POST', '/window/rect', {width, height}); }
  goto(url) { return this.call('POST', '/url', {url}); }
  reload() { return this.call('POST', '/refresh'); }
  // Closes the window, and goes back to the keeper, as WebDriver opens a new
  // window only from one that is there.
  async close() {
    const browser = this.browser;
    await this.call('DELETE', '/window');
    await browser.send('POST', `${browser.path}/window`, {handle: browser.keeper});
    browser.current = browser.keeper;
  }
  // Runs fn(...args) in the page and gives its result, a promise's awaited.
  async evaluate(fn, ...args) {
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve((${fn}).apply(null, Array.prototype.slice.call(arguments, 0, -1)))
          .then(value => done({value}), error => done({error: String(error)}));`;
    const result = await this.call('POST', '/execute/async', {script, args});
    if (result.error) throw new Error(result.error);
    return result.value;
  }
  $eval(selector, fn) {
    return this.evaluate(`selector => (${fn})(document.querySelector(selector))`, selector);
  }
  // Polls fn until it gives a true value; across a reload too.
  waitForFunction(fn, {timeout = 30000} = {}, ...args) {
    return poll(() => this.evaluate(fn, ...args), timeout);
  }
  keys(values) {
    const actions = values.flatMap(value => [{type: 'keyDown', value}, {type: 'keyUp', value}]);
    return this.call('POST', '/actions', {actions: [{type: 'key', id: 'keyboard', actions}]});
  }
  async element(selector) {
    return (await this.call('POST', '/element', {using: 'css selector', value: selector}))[ELEMENT];
  }
  async tap(selector) { await this.call('POST', `/element/${await this.element(selector)}/click`, {}); }
  async type(selector, text) {
    await this.call('POST', `/element/${await this.element(selector)}/value`, {text});
  }
}
