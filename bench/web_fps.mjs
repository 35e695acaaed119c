// The page's frames per second in headless Chromium, drawn in software (SwiftShader) at the
// canvas's 1024 x 768: frames counted over ten seconds after two of warm-up.
// Usage: node bench/web_fps.mjs URL   (bench/web.sh serves the page and passes its address)
import {createRequire} from 'node:module';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--use-gl=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: {width: 1100, height: 1000},
});
const page = await browser.newPage();
await page.goto(process.argv[2]);
await page.waitForFunction(() => Module.calledRun);
const fps = await page.evaluate(async () => {
  const wait = (ms) => new Promise((done) => setTimeout(done, ms));
  await wait(2000);
  // The page calls postMainLoop after each frame (the idle handler): count them there.
  const idle = Module.postMainLoop;
  let frames = 0;
  Module.postMainLoop = () => (frames++, idle());
  const start = performance.now();
  await wait(10000);
  return (frames * 1000) / (performance.now() - start);
});
console.log(`RESULT web_fps ${fps.toFixed(1)}`);
await browser.close();
