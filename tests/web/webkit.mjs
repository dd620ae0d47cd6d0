// WebKit, the engine of Safari, as Debian has it: WebKitGTK's MiniBrowser
// driven by WebKitWebDriver, through a small WebDriver client (plain HTTP and
// JSON) that offers the few calls of puppeteer's pages that the browser test
// makes. MiniBrowser needs a display: run the test under xvfb-run.
import {spawn} from 'node:child_process';
import {createServer} from 'node:net';

const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';  // WebDriver's key of an element
const KEYS = {'\n': '\uE007', Enter: '\uE007', Backspace: '\uE003'};
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

function freePort() {
  return new Promise(resolve => {
    const server = createServer().listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

export async function launchWebKit() {
  const port = await freePort();
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore'});
  const base = `http://127.0.0.1:${port}`;
  const send = async (method, path, body) => {
    const response = await fetch(base + path, {method, headers: {'Content-Type': 'application/json'},
                                               body: method === 'POST' ? JSON.stringify(body ?? {}) : undefined});
    const {value} = await response.json();
    if (value?.error) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  let session;
  for (let tries = 0; !session; tries++) {  // the driver listens within a moment
    session = await send('POST', '/session', {capabilities: {alwaysMatch: {
      'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']}}}})
        .catch(error => { if (tries > 100) throw error; return sleep(50); });
  }
  return new WebKitBrowser(send, `/session/${session.sessionId}`, driver);
}

class WebKitBrowser {
  constructor(send, path, driver) {
    this.send = send;
    this.path = path;
    this.driver = driver;
    this.current = null;  // the window that the driver talks to
    this.open = 0;        // pages open
    this.spare = null;    // a window kept blank: closing the last one ends the session
  }
  async newPage() {
    let handle = this.spare;
    this.spare = null;
    if (!handle && this.open === 0) handle = await this.send('GET', `${this.path}/window`);
    if (!handle) ({handle} = await this.send('POST', `${this.path}/window/new`, {type: 'tab'}));
    this.open++;
    return new WebKitPage(this, handle);
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
  async close() {
    if (--this.browser.open === 0) {
      await this.goto('about:blank');
      this.browser.spare = this.handle;
      return;
    }
    await this.call('DELETE', '/window');
    this.browser.current = null;
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
  async waitForFunction(fn, {timeout = 30000} = {}, ...args) {
    const deadline = Date.now() + timeout;
    for (;;) {
      if (await this.evaluate(fn, ...args).catch(() => false)) return;
      if (Date.now() > deadline) throw new Error(`waiting failed: ${timeout} ms exceeded`);
      await sleep(20);
    }
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
