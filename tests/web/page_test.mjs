// The one-file page as people open it, as a file, in Chromium, Firefox and WebKit, each
// driven by its launcher behind one small interface (scripts/browsers.mjs). The scenarios are data
// (tests/data/web/scenarios.txt): one step a line, a verb below and its arguments. run.sh
// passes the page alone in a folder (FOUCAULT_PAGE), the desktop program's screenshot
// (FOUCAULT_DESKTOP_PNG) and WebKit's browser (FOUCAULT_MINIBROWSER).
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {describe, test} from 'node:test';
import {pathToFileURL} from 'node:url';
import {PNG} from 'pngjs';

import {engines, fit, sleep, until} from '../../scripts/browsers.mjs';

const data = (name) => readFileSync(new URL(`../data/${name}`, import.meta.url), 'utf8');
const lines = (text) => text.split('\n').filter((line) => /^[^#\s]/.test(line));
const url = pathToFileURL(process.env.FOUCAULT_PAGE).href;
const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const read = (e, selector) => e.eval(`document.querySelector('${selector}').textContent`);

// Colour classes of the probes (tests/data/web/colours.txt), and regions: numbers in canvas
// pixels, or with w or h a fraction of the canvas's width or height.
const classes = Object.fromEntries(lines(data('web/colours.txt'))
    .map((line) => [line.split(' ', 1)[0], new Function('r', 'g', 'b', `return ${line.replace(/^\w+/, '')}`)]));
const inside = {
  ring: (x, y, [cx, cy, r0, r1]) => Math.hypot(x - cx, y - cy) >= r0 && Math.hypot(x - cx, y - cy) < r1,
  rect: (x, y, [x0, y0, w, h]) => x >= x0 && x < x0 + w && y >= y0 && y < y0 + h,
};
const pixel = (png, x, y) => png.data.subarray(4 * (y * png.width + x), 4 * (y * png.width + x) + 3);

const verbs = {
  open: (e, prelude) => e.open(url, prelude),
  fit: (e, w, h) => fit(e, +w, +h),
  // The window resized: the canvas fills it above the panel, the page does not scroll.
  size: async (e, w, h, ratio = 1) => {
    await e.size(+w, +h, +ratio);
    await until(e, `canvas.width === Math.round(canvas.getBoundingClientRect().width * ${ratio})`);
    assert.ok(await e.eval(`document.scrollingElement.scrollHeight <= innerHeight && canvas.getBoundingClientRect().width === innerWidth
      && Math.abs(canvas.getBoundingClientRect().bottom + ['#keys', '#console'].reduce((sum, id) => sum + document.querySelector(id).offsetHeight, 0) - innerHeight) < 2`), `fits ${w}x${h}`);
  },
  wait: (e, ms) => sleep(+ms),
  until: (e, expression) => until(e, expression),
  expect: async (e, expression) => assert.ok(await e.eval(expression), expression),
  key: async (e, ...keys) => {
    for (const key of keys) await e.key(...key.split(/\+(?=.)/));
  },
  type: (e, file) => verbs.key(e, ...lines(data(file))),
  click: (e, x, y, button) => e.click(+x, +y, button),
  drag: (e, ...points) => e.drag(...points.map(Number)),
  touch: (e, type, ...points) => e.touch(type, points.map((point) => point.split(',').map(Number))),
  // A tap on the menu entry or key button with this label.
  tap: async (e, label) => {
    const at = await e.eval(`(() => { const r = [...document.querySelectorAll('#menu span, #keys button')]
      .find((el) => el.textContent === ${JSON.stringify(label)} || el.dataset.key === ${JSON.stringify(label)})?.getBoundingClientRect();
      return r && [r.x + r.width / 2, r.y + r.height / 2]; })()`);
    assert.ok(at, `nothing to tap labelled [${label}]`);
    await e.touch('Start', [at]);
    await e.touch('End', []);
  },
  // Through the menu by the keyboard alone: Shift+F10, down to each label, into its submenu.
  // One entry at a time from the focused one: under Xvfb a pointer where the menu opens may
  // take the focus.
  choose: async (e, ...labels) => {
    await e.key('Shift', 'F10');
    for (const [i, label] of labels.entries()) {
      for (let n = 0; (await e.eval('document.activeElement.firstChild?.textContent')) !== label; n++) {
        assert.ok(n < 8, `no entry [${label}] in the menu`);
        await e.key('ArrowDown');
      }
      await e.key(i < labels.length - 1 ? 'ArrowRight' : 'Enter');
    }
  },
  front: (e) => e.front?.(),  // WebKit opens the help page in a window of its own
  shot: async (e) => (e.png = PNG.sync.read(await e.shot())),
  probe: (e, cls, shape, ...rest) => {
    const bound = rest.pop();
    const [w, h] = [e.png.width, e.png.height];
    const args = rest.map((a) => parseFloat(a) * (a.endsWith('w') ? w : a.endsWith('h') ? h : 1));
    let [count, area] = [0, 0];
    for (let y = 0; y < h; y++) {
      for (let x = 0; x < w; x++) {
        if (!inside[shape](x, y, args)) continue;
        area++;
        count += classes[cls](...pixel(e.png, x, y));
      }
    }
    const limit = parseFloat(bound.slice(2)) * (bound.endsWith('%') ? area / 100 : 1);
    assert.ok(bound.startsWith('>=') ? count >= limit : count <= limit, `${cls} ${shape} ${rest}: ${count} of ${area} pixels, want ${bound}`);
  },
  // The instruction line against the desktop program's: the same text pixels, the same red.
  // A sky line crossing it may be drawn a pixel apart, so pixels blue in either are left out.
  text: (e) => {
    const desktop = PNG.sync.read(readFileSync(process.env.FOUCAULT_DESKTOP_PNG));
    const [red, blue] = [(p) => classes.red(...p), (p) => p[2] > 100 && p[0] < 60];
    const wrong = [];
    let count = 0;
    for (let y = 0; y < 24; y++) {
      for (let x = 0; x < 320; x++) {
        const [d, p] = [pixel(desktop, x, y), pixel(e.png, x, y)];
        if (blue(d) || blue(p)) continue;
        count += red(d);
        if (red(d) !== red(p) || (red(d) && d.some((v, i) => Math.abs(v - p[i]) > 1))) wrong.push(`${x},${y}: ${[...d]} ${[...p]}`);
      }
    }
    assert.ok(count > 300 && wrong.length === 0, `${count} text pixels on the desktop; ${wrong.length} differ: ${wrong.slice(0, 8)}`);
  },
  transcript: async (e, file) => assert.equal((await read(e, '#console')).replace(/^t=[0-9.]+$/m, 't=<time>'), data(file)),
  // The console panel's text matches, once the program has handled the events (next frame).
  console: async (e, pattern) => {
    await until(e, `new RegExp(${JSON.stringify(pattern)}).test(document.querySelector('#console').textContent)`, 3000).catch(() => {});
    assert.match(await read(e, '#console'), new RegExp(pattern));
  },
  // N frames more drawn: the picture shows what came before.
  frames: async (e, n) => until(e, `foucaultFrames >= ${(await e.eval('foucaultFrames')) + Number(n)}`),
  axe: async (e) => {
    await e.eval(axe);
    const found = await e.eval("axe.run({runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}).then((r) => r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target)}`))");
    assert.deepEqual(found, []);
  },
  // Random moves of tests/data/web/storm.txt: X and Y become canvas pixels, K a key of the
  // program's. FOUCAULT_STORM_SEED replays a storm.
  storm: async (e, count) => {
    let seed = Number(process.env.FOUCAULT_STORM_SEED ?? Math.floor(Math.random() * 2 ** 31));
    console.log(`storm: FOUCAULT_STORM_SEED=${seed}`);
    const random = (n) => ((seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0) / 2 ** 32) * n;
    const [keyLine, ...moves] = lines(data('web/storm.txt'));
    const [w, h] = await e.eval('[canvas.clientWidth, canvas.clientHeight]');
    const pick = (list) => list[Math.floor(random(list.length))];
    const value = {X: () => Math.floor(random(w)), Y: () => Math.floor(random(h)), K: () => pick(keyLine.split(' ').slice(1))};
    for (let i = 0; i < count; i++) {
      const move = pick(moves).replace(/\b[XYK]\b/g, (c) => value[c]());
      for (const step of move.split(' ; ')) await play(e, step);
    }
  },
};

async function play(e, step) {
  const verb = step.split(' ', 1)[0];
  const rest = step.slice(verb.length + 1);
  const args = ['open', 'until', 'expect', 'console'].includes(verb) ? [rest] : rest.match(/"[^"]*"|\S+/g)?.map((a) => a.replace(/^"(.*)"$/, '$1')) ?? [];
  await (async () => verbs[verb](e, ...args))().catch((error) => {
    throw Object.assign(error, {message: `${step}\n${error.message}`});
  });
}

// Scenarios: "== NAME: ENGINES and FLAGS" (touch: touch emulation; --x: Chromium switches).
const scenarios = data('web/scenarios.txt').split(/^== /m).slice(1).map((text) => {
  const [head, ...steps] = text.split('\n');
  const [name, flags] = head.split(': ');
  return {name, flags: flags.split(' '), steps: lines(steps.join('\n'))};
});

// Two scenarios at a time: a browser drawing in software wants a core of its own.
const only = new RegExp(process.env.FOUCAULT_WEB_ONLY ?? '');  // e.g. 'chromium: touch'
describe('the page opened as a file', {concurrency: 2}, () => {
  for (const {name, flags, steps} of scenarios) {
    for (const engine of flags.filter((flag) => engines[flag] && only.test(`${flag}: ${name}`))) {
      test(`${engine}: ${name}`, async () => {
        const e = await engines[engine](flags);
        try {
          for (const step of steps) await play(e, step);
          assert.deepEqual(await e.errors(), []);
        } finally {
          await e.close();
        }
      });
    }
  }
});
