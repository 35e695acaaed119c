// The page's frames per second in headless Chromium, drawn in software (SwiftShader) at the
// canvas's 1024 x 768: frames counted over ten seconds after two of warm-up.
// Usage: node bench/web_fps.mjs URL [PNG]   (bench/web.sh serves the page and passes its
// address; with PNG the page as it stands after the count is saved there, for the README)
import {createRequire} from 'node:module';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--use-gl=swiftshader', '--enable-unsafe-swiftshader'],
  defaultViewport: null,
});
const page = await browser.newPage();
// puppeteer's calls count as a user's gesture, so the page goes full screen at once: a
// screen of the canvas's size keeps the picture at 1024 x 768.
await (await page.createCDPSession()).send('Emulation.setDeviceMetricsOverride',
    {width: 1100, height: 1000, screenWidth: 1024, screenHeight: 768, deviceScaleFactor: 1, mobile: false});
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
if (process.argv[3]) await page.screenshot({path: process.argv[3], clip: {x: 0, y: 0, width: 1024, height: 906}});
await browser.close();
