// The page in Chromium, Firefox or WebKit behind one small interface, shared by the page's
// tests (tests/web/page_test.mjs), its bench (bench/web_fps.mjs) and web.sh --shot. Firefox
// and WebKit draw with WebGL only on an X display; FOUCAULT_MINIBROWSER names WebKit's browser.
import assert from 'node:assert/strict';
import {execFileSync, spawn} from 'node:child_process';
import {createRequire} from 'node:module';
import {createServer} from 'node:net';

const puppeteer = createRequire(new URL('../tests/web/package.json', import.meta.url))('puppeteer-core');
export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
// W3C WebDriver's codes of the keys that are not characters.
const keyCodes = {Tab: '\ue004', Enter: '\ue007', Shift: '\ue008', Escape: '\ue00c', PageUp: '\ue00e', PageDown: '\ue00f', End: '\ue010',
  Home: '\ue011', ArrowLeft: '\ue012', ArrowUp: '\ue013', ArrowRight: '\ue014', ArrowDown: '\ue015', F10: '\ue03a'};

// Chromium and Firefox through puppeteer-core (CDP and WebDriver BiDi). Flags: touch (a
// touch screen), nojs (JavaScript off). The page's errors include what the browser itself
// reports as errors on the console (a permissions policy's violation, say).
async function viaPuppeteer(options, flags = []) {
  const browser = await puppeteer.launch({defaultViewport: null, ...options});
  const page = (await browser.pages())[0];
  const cdp = options.browser ? null : await page.createCDPSession();
  const errors = [];
  let target = page;
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  if (flags.includes('nojs')) await page.setJavaScriptEnabled(false);
  return {
    errors: async () => errors,
    open: async (url, prelude) => (prelude && (await page.evaluateOnNewDocument(prelude)), page.goto(url)),
    eval: (expression) => target.evaluate(expression),
    // The X focus for the browser's window, which Firefox wants before it goes full screen; with
    // no window manager on the X display, only a click gives it.
    focus: () => {
      if (!options.browser) return;
      const [window] = execFileSync('xdotool', ['search', '--onlyvisible', '--pid', `${browser.process().pid}`], {encoding: 'utf8'}).split('\n');
      execFileSync('xdotool', ['windowraise', window, 'mousemove', '--window', window, '200', '300', 'click', '1', 'mousemove', '1279', '1023']);
    },
    // The accessibility tree, as a screen reader gets it (Chromium).
    a11y: () => page.accessibility.snapshot(),
    // From now on, eval reads the page in the frame the open page holds.
    frame: () => (target = page.frames().find((frame) => frame !== page.mainFrame())),
    key: async (...keys) => {
      for (const key of keys) await page.keyboard.down(key);
      for (const key of keys.reverse()) await page.keyboard.up(key);
    },
    click: (x, y, button) => page.mouse.click(x, y, {button}),
    hover: (x, y) => page.mouse.move(x, y, {steps: 4}),
    drag: async (x0, y0, x1, y1) =>
      (await page.mouse.move(x0, y0), await page.mouse.down(), await page.mouse.move(x1, y1, {steps: 4}), page.mouse.up()),
    touch: (type, points) => cdp.send('Input.dispatchTouchEvent',
        {type: `touch${type}`, touchPoints: points.map(([x, y], id) => ({x, y, id}))}),
    // The canvas alone, or with whole the page as the window shows it.
    shot: async (whole) => (whole ? page : await page.$('#canvas')).screenshot(),
    // A Chrome DevTools Protocol command to the page (Chromium only), e.g. the CPU's throttling.
    cdp: (method, params) => cdp.send(method, params),
    size: (width, height, deviceScaleFactor = 1) =>
      page.setViewport({width, height, deviceScaleFactor, hasTouch: flags.includes('touch')}),
    close: () => browser.close(),
  };
}

// A port the system has just found free, for a driver to listen on.
const freePort = () => new Promise((done) => {
  const probe = createServer().listen(0, '127.0.0.1', () => {
    const {port} = probe.address();
    probe.close(() => done(port));
  });
});

// WebKit's MiniBrowser through WebKitWebDriver: W3C WebDriver over HTTP.
async function viaWebDriver() {
  const port = await freePort();
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore'});
  let base = `http://127.0.0.1:${port}`;
  const call = async (method, path, body) => {
    const {value} = await (await fetch(base + path, {method, body: body && JSON.stringify(body)})).json();
    if (value?.error) throw new Error(`WebDriver ${path}: ${value.error} ${value.message}`);
    return value;
  };
  for (let i = 0; i < 100 && !(await fetch(`${base}/status`).catch(() => null)); i++) await sleep(100);
  base += `/session/${(await call('POST', '/session', {capabilities: {alwaysMatch: {browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: process.env.FOUCAULT_MINIBROWSER, args: ['--automation']}}}})).sessionId}`;
  const run = (script) => call('POST', '/execute/sync', {script, args: []});
  const act = (...actions) => call('POST', '/actions', {actions});
  return {
    // Errors and preludes only once the page has loaded: the state tells of earlier errors.
    errors: () => run('return window.pageErrors'),
    open: async (url, prelude = '') => {
      await call('POST', '/url', {url});
      await run(`window.pageErrors = []; addEventListener('error', (e) => pageErrors.push(e.message)); ${prelude}`);
    },
    eval: (expression) => run(`return (${expression})`),
    key: (...keys) => act({type: 'key', id: 'keys', actions: [...keys.map((key) => ({type: 'keyDown', value: keyCodes[key] ?? key})),
      ...keys.reverse().map((key) => ({type: 'keyUp', value: keyCodes[key] ?? key}))]}),
    click: (x, y, button = 'left') => act({type: 'pointer', id: 'mouse', actions: [{type: 'pointerMove', x, y},
      ...['pointerDown', 'pointerUp'].map((type) => ({type, button: ['left', 'middle', 'right'].indexOf(button)}))]}),
    // The window's picture: the canvas is its top left corner.
    shot: async () => Buffer.from(await call('GET', '/screenshot'), 'base64'),
    size: async (width, height) => {
      const [dw, dh] = await run('return [outerWidth - innerWidth, outerHeight - innerHeight]');
      await call('POST', '/window/rect', {width: width + dw, height: height + dh});
    },
    close: async () => (await call('DELETE', ''), driver.kill()),
  };
}

const chromium = ['--no-sandbox', '--use-gl=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--no-first-run'];
// Browsers as pupils have them: puppeteer turns the popup blocker off unless told not to.
export const engines = {
  chromium: (flags = []) => viaPuppeteer({executablePath: '/usr/bin/chromium', ignoreDefaultArgs: ['--disable-popup-blocking'],
    args: [...chromium, ...flags.filter((flag) => flag.startsWith('--'))]}, flags),
  firefox: (flags = []) => viaPuppeteer({browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    extraPrefsFirefox: {'dom.disable_open_during_load': true}}, flags),
  webkit: viaWebDriver,
};

export async function until(e, expression, ms = 30000) {
  // A navigation under way (a reload) fails the reading: it is read again.
  for (const end = Date.now() + ms; !(await e.eval(expression).catch(() => false));) {
    assert.ok(Date.now() < end, `still not true after ${ms / 1000} s: ${expression}`);
    await sleep(100);
  }
}

// The window sized so that the canvas is W x H, the program running.
export async function fit(e, w, h) {
  await e.size(w, h);
  await until(e, "document.documentElement.dataset.state === 'running'");
  const [dw, dh] = await e.eval("[innerWidth, innerHeight].map((n, i) => n - canvas.getBoundingClientRect()[['width', 'height'][i]])");
  await e.size(w + dw, h + dh);
  await until(e, `canvas.width === ${w} && canvas.height === ${h}`);
}
