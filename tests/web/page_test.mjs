// The pendulum's page in headless Chromium: the console panel against the desktop program's
// transcript, the menu's labels, and colour probes of the picture after keys and menu entries.
// run.sh serves out/web and passes its address in FOUCAULT_WEB_URL.
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {after, before, test} from 'node:test';
import {PNG} from 'pngjs';
import puppeteer from 'puppeteer-core';

const data = (name) => readFileSync(new URL(`../data/${name}`, import.meta.url), 'utf8');
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
let browser;

before(async () => {
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--use-gl=swiftshader', '--enable-unsafe-swiftshader'],
    defaultViewport: null,
  });
});
after(() => browser.close());

// A fresh page whose program has reached its main loop. puppeteer's calls count as a user's
// gesture, so the page goes full screen at once: a screen of the canvas's size keeps the
// picture at 1024 x 768.
async function open() {
  const page = await browser.newPage();
  await (await page.createCDPSession()).send('Emulation.setDeviceMetricsOverride',
      {width: 1100, height: 1000, screenWidth: 1024, screenHeight: 768, deviceScaleFactor: 1, mobile: false});
  const logs = [];
  page.on('console', (message) => message.type() === 'log' && logs.push(message.text()));
  await page.goto(process.env.FOUCAULT_WEB_URL);
  await page.waitForFunction(() => Module.calledRun);
  return {page, logs};
}

// Right click on the picture, then through the entries with these labels.
async function choose(page, ...labels) {
  await page.mouse.click(700, 600, {button: 'right'});
  for (const [i, label] of labels.entries()) {
    const entries = await page.$$('#menu span');
    const texts = await Promise.all(entries.map((entry) => entry.evaluate((e) => e.textContent)));
    const entry = entries[texts.indexOf(label)];
    await (i < labels.length - 1 ? entry.hover() : entry.click());
  }
}

test('the console panel and the browser console show the desktop transcript for the same keys', async () => {
  const {page, logs} = await open();
  for (const key of data('console_keys.in').split('\n').filter(Boolean)) await page.keyboard.type(key);
  await page.keyboard.type('+');  // after Q the page stands still: nothing more is printed
  await sleep(300);
  const panel = await page.$eval('#console', (e) => e.textContent);
  assert.equal(panel.replace(/^t=[0-9.]+$/m, 't=<time>'), data('console_keys.out'));
  assert.equal(logs.join('\n') + '\n', panel);
});

test('the menu shows every label as the program adds them, submenus first', async () => {
  const {page} = await open();
  await page.mouse.click(700, 600, {button: 'right'});
  const shown = await page.$eval('#menu', function labels(list) {
    const items = [...list.children];
    return items.flatMap((li) => (li.querySelector('ul') ? labels(li.querySelector('ul')) : []))
        .concat(items.map((li) => `${li.querySelector('ul') ? 'submenu' : 'entry'} [${li.firstChild.textContent}]`));
  });
  // The labels as the desktop program adds them, from its handler transcript.
  const added = [...data('app/events.out').matchAll(/^glutAdd(MenuEntry|SubMenu) "(.*)" \d+$/gm)]
      .map(([, kind, label]) => `${kind === 'SubMenu' ? 'submenu' : 'entry'} [${label}]`);
  assert.deepEqual(shown, added);
});

const classes = {
  earth: (r, g, b) => r < 40 && b > 200,
  cyan: (r, g, b) => r < 40 && g > 180 && b > 200,
  blue: (r, g, b) => r < 40 && g < 80 && b > 200,
  sky: (r, g, b) => r < 40 && g < 160 && b > 150,
  red: (r, g, b) => r > 120 && g < 50 && b < 50,
  slate: (r, g, b) => r > 20 && g > 10 && b > r && b - r < 60 && Math.abs(r - g) < 40,
  white: (r, g, b) => r > 230 && g > 230 && b > 230,
};
const inside = {
  ring: (x, y, [cx, cy, r0, r1]) => Math.hypot(x - cx, y - cy) >= r0 && Math.hypot(x - cx, y - cy) < r1,
  rect: (x, y, [x0, y0, w, h]) => x >= x0 && x < x0 + w && y >= y0 && y < y0 + h,
};
const scenarios = {
  default: async () => {},
  unlit: (page) => page.keyboard.type('l'),
  pole: (page) => choose(page, 'Position du pendule', 'pendule au po^le nord'),
  // The help entry also prints its path line and opens help.html in a new tab.
  help: async (page) => {
    const opened = browser.waitForTarget((target) => target.url().endsWith('/help.html'));
    await choose(page, 'Aide               ');
    await opened;
    assert.match(await page.$eval('#console', (e) => e.textContent), /\nhelp\.sh\n$/);
    await page.bringToFront();
  },
};
const probes = data('web/picture.txt').split('\n').filter((line) => /^\w/.test(line)).map((line) => line.split(/\s+/));

for (const [name, act] of Object.entries(scenarios)) {
  test(`picture probes: ${name}`, async () => {
    const {page} = await open();
    await act(page);
    await sleep(1000);
    const shot = PNG.sync.read(await (await page.$('#canvas')).screenshot());
    for (const [, cls, shape, ...rest] of probes.filter((probe) => probe[0] === name)) {
      const [bound, args] = [rest.pop(), rest.map(Number)];
      let count = 0;
      for (let i = 0; i < shot.data.length; i += 4) {
        const [x, y] = [(i / 4) % shot.width, Math.floor(i / 4 / shot.width)];
        count += inside[shape](x, y, args) && classes[cls](...shot.data.subarray(i, i + 3));
      }
      const limit = Number(bound.slice(2));
      assert.ok(bound.startsWith('>=') ? count >= limit : count <= limit, `${cls} ${shape} ${args}: ${count} pixels, want ${bound}`);
    }
  });
}
