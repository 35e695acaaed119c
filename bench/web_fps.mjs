// The page's frames per second with its canvas at 1024 x 768: in headless Chromium (WebGL
// drawn by SwiftShader), or in Firefox or WebKit's MiniBrowser on the X display (Mesa's
// llvmpipe). The page's own frame count, window.foucaultFrames, over ten seconds after two
// of warm-up.
// Usage: node bench/web_fps.mjs URL [PNG [ENGINE]]   URL: the page, file:// or http://;
// PNG: the window as it stands after the count ("" for none); ENGINE: chromium (the
// default), firefox or webkit (FOUCAULT_MINIBROWSER names its browser).
import {spawn} from 'node:child_process';
import {writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';

const puppeteer = createRequire(new URL('../tests/web/package.json', import.meta.url))('puppeteer-core');
const [url, png, engine = 'chromium'] = process.argv.slice(2);
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function viaPuppeteer(options) {
  const browser = await puppeteer.launch({defaultViewport: null, ...options});
  const page = (await browser.pages())[0];
  return {
    open: () => page.goto(url),
    eval: (expression) => page.evaluate(expression),
    size: (width, height) => page.setViewport({width, height}),
    shot: () => page.screenshot(),
    close: () => browser.close(),
  };
}

// W3C WebDriver over HTTP, with WebKitWebDriver.
async function viaWebDriver() {
  const port = 20000 + Math.floor(Math.random() * 20000);
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore'});
  const base = `http://127.0.0.1:${port}/session`;
  let session = '';
  const call = async (method, path, body) =>
    (await (await fetch(`${base}${session}${path}`, {method, body: body && JSON.stringify(body)})).json()).value;
  for (let i = 0; i < 100 && !(await fetch(`${base}/../status`).catch(() => null)); i++) await sleep(100);
  session = `/${(await call('POST', '', {capabilities: {alwaysMatch: {browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: process.env.FOUCAULT_MINIBROWSER, args: ['--automation']}}}})).sessionId}`;
  return {
    open: () => call('POST', '/url', {url}),
    eval: (expression) => call('POST', '/execute/sync', {script: `return (${expression})`, args: []}),
    // The window is the page and the browser's bar above it.
    size: async (width, height) => {
      const [dw, dh] = await call('POST', '/execute/sync', {script: 'return [outerWidth - innerWidth, outerHeight - innerHeight]', args: []});
      await call('POST', '/window/rect', {width: width + dw, height: height + dh});
    },
    shot: async () => Buffer.from(await call('GET', '/screenshot'), 'base64'),
    close: async () => (await call('DELETE', ''), driver.kill()),
  };
}

const engines = {
  chromium: () => viaPuppeteer({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--use-gl=swiftshader',
    '--enable-unsafe-swiftshader', '--disable-background-networking', '--disable-component-update', '--no-first-run']}),
  firefox: () => viaPuppeteer({browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false}),
  webkit: viaWebDriver,
};
const until = async (e, expression) => {
  for (let i = 0; !(await e.eval(expression)); i++) {
    if (i === 300) throw new Error(`web_fps.mjs: still not true after 30 s: ${expression}`);
    await sleep(100);
  }
};

const e = await engines[engine]();
await e.open();
// The window made as large as the canvas needs to be 1024 x 768 above the console panel.
await e.size(1024, 768);
await until(e, "document.documentElement.dataset.state === 'running'");
const [dw, dh] = await e.eval("[innerWidth - canvas.clientWidth, innerHeight - canvas.clientHeight]");
await e.size(1024 + dw, 768 + dh);
await until(e, 'canvas.width === 1024 && canvas.height === 768');
await sleep(2000);
const [frames, start] = [await e.eval('foucaultFrames'), performance.now()];
await sleep(10000);
const fps = ((await e.eval('foucaultFrames')) - frames) * 1000 / (performance.now() - start);
console.log(`RESULT web_fps_${engine} ${fps.toFixed(1)}`);
if (png) writeFileSync(png, await e.shot());
await e.close();
