// The one-file page as people open it, as a file (or over HTTP, or in a learning platform's
// frame), in Chromium, Firefox and WebKit as they ship, popup blockers on, each driven by its
// launcher behind one small interface (scripts/browsers.mjs). The scenarios are data
// (tests/data/web/scenarios.txt): one step a line, a verb below and its arguments. run.sh
// passes the page alone in a folder (FOUCAULT_PAGE), the folder of the desktop program's
// screenshots in each language (FOUCAULT_DESKTOP) and WebKit's browser (FOUCAULT_MINIBROWSER).
import assert from 'node:assert/strict';
import {readFileSync, writeFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {describe, test} from 'node:test';
import {pathToFileURL} from 'node:url';
import {PNG} from 'pngjs';

import {engines, fit, sleep, until} from '../../scripts/browsers.mjs';

const data = (name) => readFileSync(new URL(`../data/${name}`, import.meta.url), 'utf8');
const lines = (text) => text.split('\n').filter((line) => /^[^#\s]/.test(line));
const page = process.env.FOUCAULT_PAGE;
// The page over HTTP too, for the scenarios flagged http: it is all there is to serve.
const server = createServer((request, response) => response.writeHead(200, {'content-type': 'text/html; charset=utf-8'}).end(readFileSync(page)));
const served = new Promise((done) => server.unref().listen(0, '127.0.0.1', () => done(`http://127.0.0.1:${server.address().port}/foucault.html`)));
const axe = readFileSync(new URL(import.meta.resolve('axe-core/axe.min.js')), 'utf8');

const query = (selector) => `document.querySelector(${JSON.stringify(selector)})`;
// A point inside the element an expression finds (its middle, or 20 px in from its left) and the
// window's size.
const point = (e, element, middle = true) => e.eval(`(() => { const r = (${element})?.getBoundingClientRect();
  return r && [r.x + (${middle} ? r.width / 2 : Math.min(20, r.width / 2)), r.y + r.height / 2, innerWidth, innerHeight]; })()`);
// The menu entries and buttons of an accessibility tree, each as its role and name.
const named = (node) => [...(['menuitem', 'button'].includes(node.role) ? [`${node.role} ${node.name}`] : []),
  ...(node.children ?? []).flatMap(named)];
// WCAG's contrast ratio of two colours.
const luminance = (p) => [...p].map((v) => (v /= 255) <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
const contrast = (p, q) => (Math.max(luminance(p), luminance(q)) + 0.05) / (Math.min(luminance(p), luminance(q)) + 0.05);

// Colour classes of the probes (tests/data/colours.txt, the desktop's probes read it too), and
// regions: numbers in canvas pixels, or with w or h a fraction of the canvas's width or height.
const classes = Object.fromEntries(lines(data('colours.txt'))
    .map((line) => [line.split(' ', 1)[0], new Function('r', 'g', 'b', `return ${line.replace(/^\w+/, '')}`)]));
const inside = {ring: (x, y, [cx, cy, r0, r1]) => Math.hypot(x - cx, y - cy) >= r0 && Math.hypot(x - cx, y - cy) < r1,
  rect: (x, y, [x0, y0, w, h]) => x >= x0 && x < x0 + w && y >= y0 && y < y0 + h};
const each = (w, h, f) => { for (let y = 0; y < h; y++) for (let x = 0; x < w; x++) f(x, y); };
const pixel = (png, x, y) => png.data.subarray(4 * (y * png.width + x), 4 * (y * png.width + x) + 3);

const verbs = {
  open: (e, prelude) => e.open(e.url, prelude),
  // The page opened at an address with a query (?lang=de), which stays its address.
  visit: (e, query) => e.open(e.url = e.base + query),
  // The desktop's table of start-up options (tests/data/app/options.txt), each row's as an
  // address: what the page prints, then + and P, is what the desktop printed (options.out).
  options: async (e) => {
    const said = data('app/options.out').split(/^> .*\n/m).slice(1);
    for (const [i, row] of lines(data('app/options.txt')).entries()) {
      const words = row.replace(/^options | ?[|;].*$/g, '').split(' ');
      const query = new URLSearchParams(words.flatMap((w, k) => (w.startsWith('--') ? [w.includes('=') ? w.slice(2).split('=')
        : [w.slice(2), words[k + 1]?.startsWith('--') === false ? words[k + 1] : '']] : [])));
      await verbs.visit(e, `?${query}`);
      await until(e, "document.documentElement.dataset.state === 'running'");
      await verbs.key(e, '+', 'P');
      await until(e, `document.querySelector('#console').textContent.endsWith(${JSON.stringify(said[i])})`).catch(() => assert.fail(`${row}: ${query}`));
    }
  },
  // The page in a learning platform's frame (tests/data/web/frame.html, beside the page).
  frame: async (e) => (await e.open(new URL('frame.html', e.url).href), e.frame()),
  // The page is still there as it was opened; a failure names each invariant broken.
  here: async (e) => (assert.deepEqual(await e.eval(`Object.entries({'address unchanged': location.href === ${JSON.stringify(e.url)}, 'no scroll': scrollX === 0
      && scrollY === 0 && document.scrollingElement.scrollTop === 0, 'no zoom': (window.visualViewport?.scale ?? 1) === 1}).filter(([, kept]) => !kept).map(([name]) => name)`), []),
    await verbs.frames(e, 1).catch((error) => assert.fail(`frames still coming: ${error.message}`))),
  // A finger across the page from inside an element (if it is there), then the page checked.
  swipe: async (e, selector, dx, dy) => {
    const [x, y, w, h] = (await point(e, query(selector), false)) ?? [];
    const clamp = (v, most) => Math.max(0, Math.min(most - 1, v));
    if (x !== undefined) {
      await e.touch('Start', [[x, y]]);
      for (let i = 1; i <= 8; i++) await e.touch('Move', [[clamp(x + dx * i / 8, w), clamp(y + dy * i / 8, h)]]);
      await e.touch('End', []);
    }
    await verbs.here(e);
  },
  // The menu opened by a long press at (x, y), then each submenu in turn: every menu shown
  // lies inside the window; where a submenu takes its parent's place, its way back returns.
  menus: async (e, x, y) => {
    for (const step of [`touch Start ${x},${y}`, 'wait 700', 'touch End', "until document.querySelector('#menu')"]) await play(e, step);
    for (const label of await e.eval("[...document.querySelectorAll('#menu > [aria-haspopup] > span')].map((s) => s.textContent)")) {
      await verbs.tap(e, label);
      assert.ok(await e.eval(`[...document.querySelectorAll('#menu, #menu [aria-expanded=true] > ul')].every((m) => {
        const r = m.getBoundingClientRect(); return r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight; })
        && document.querySelector('#menu [aria-expanded=true] > ul')`), `[${label}] at ${x},${y}: a menu outside the window`);
      await verbs.tap(e, await e.eval("document.querySelector('#menu .back') ? '\u25c2 Retour' : document.activeElement.firstChild.textContent"));
      assert.ok(await e.eval("!document.querySelector('#menu [aria-expanded=true]') && getComputedStyle(menu).visibility === 'visible'"));
    }
    await e.key('Escape');
  },
  focus: (e) => e.focus?.(),
  // A click in the middle of an element, or the mouse only moved there.
  press: async (e, selector) => e.click(...(await point(e, query(selector))).slice(0, 2)),
  hover: async (e, selector) => e.hover(...(await point(e, query(selector))).slice(0, 2)),
  fit: (e, w, h) => fit(e, +w, +h),
  // The window resized: the canvas fills it above the panel, the page does not scroll.
  size: async (e, w, h, ratio = 1) => {
    await e.size(+w, +h, +ratio);
    await until(e, `canvas.width === Math.round(canvas.getBoundingClientRect().width * ${ratio})`);
    assert.ok(await e.eval(`document.scrollingElement.scrollHeight <= innerHeight && canvas.getBoundingClientRect().width === innerWidth
      && Math.abs(canvas.getBoundingClientRect().bottom + ['#keys', '#panel'].reduce((sum, id) => sum + document.querySelector(id).offsetHeight, 0) - innerHeight) < 2`), `fits ${w}x${h}`);
  },
  wait: (e, ms) => sleep(+ms),
  until: (e, expression) => until(e, expression),
  expect: async (e, expression) => assert.ok(await e.eval(expression), expression),
  key: async (e, ...keys) => { for (const key of keys) await e.key(...key.split(/\+(?=.)/)); },
  type: (e, file) => verbs.key(e, ...lines(data(file))),
  click: (e, x, y, button) => e.click(+x, +y, button),
  drag: (e, ...points) => e.drag(...points.map(Number)),
  touch: (e, type, ...points) => e.touch(type, points.map((point) => point.split(',').map(Number))),
  // A tap on the menu entry or key button with this label.
  tap: async (e, label) => {
    const at = await point(e, `[...document.querySelectorAll('#menu span, #keys button')]
      .find((el) => el.textContent === ${JSON.stringify(label)} || el.dataset.key === ${JSON.stringify(label)})`);
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
  // The canvas's picture (WebKit's shows the whole window, the canvas at its top left).
  shot: async (e) => {
    const [png, [w, h]] = [PNG.sync.read(await e.shot()), await e.eval('[canvas.width, canvas.height]')];
    e.png = new PNG({width: Math.min(w, png.width), height: Math.min(h, png.height)});
    PNG.bitblt(png, e.png, 0, 0, e.png.width, e.png.height, 0, 0);
  },
  probe: (e, cls, shape, ...rest) => {
    const bound = rest.pop();
    const [w, h] = [e.png.width, e.png.height];
    const args = rest.map((a) => parseFloat(a) * (a.endsWith('w') ? w : a.endsWith('h') ? h : 1));
    let [count, area] = [0, 0];
    each(w, h, (x, y) => inside[shape](x, y, args) && (area++, count += classes[cls](...pixel(e.png, x, y))));
    const limit = parseFloat(bound.slice(2)) * (bound.endsWith('%') ? area / 100 : 1);
    // FOUCAULT_WEB_SHOTS=DIR keeps every probed picture there.
    if (process.env.FOUCAULT_WEB_SHOTS) writeFileSync(`${process.env.FOUCAULT_WEB_SHOTS}/${e.name}-${++e.shots}.png`, PNG.sync.write(e.png));
    assert.ok(bound.startsWith('>=') ? count >= limit : count <= limit, `${cls} ${shape} ${rest}: ${count} of ${area} pixels, want ${bound}`);
  },
  // The overlay's text against the desktop program's picture NAME (tests/data/web/desktop.txt),
  // over W x H pixels from the top left (the instruction line unless given): the same text
  // pixels, the same colour (red unless a class is given). A sky line crossing it may be drawn
  // a pixel apart, so pixels blue in either are left out.
  text: (e, name = 'default', w = 320, h = 24, colour = 'red') => {
    const desktop = PNG.sync.read(readFileSync(`${process.env.FOUCAULT_DESKTOP}/desktop.${name}.png`));
    const [red, blue] = [(p) => classes[colour](...p), (p) => p[2] > 100 && p[0] < 60];
    let [wrong, count] = [[], 0];
    each(+w, +h, (x, y) => {
      const [d, p] = [pixel(desktop, x, y), pixel(e.png, x, y)];
      if (blue(d) || blue(p)) return;
      count += red(d);
      if (red(d) !== red(p) || (red(d) && d.some((v, i) => Math.abs(v - p[i]) > 1))) wrong.push(`${x},${y}: ${[...d]} ${[...p]}`);
    });
    assert.ok(count > 300 && wrong.length === 0, `${count} text pixels on the desktop; ${wrong.length} differ: ${wrong.slice(0, 8)}`);
  },
  transcript: async (e, file) => assert.equal((await e.eval("document.querySelector('#console').textContent")).replace(/^t=[0-9.]+$/m, 't=<time>'), data(file)),
  // The console panel's text matches, two frames on (or once the program has ended).
  console: async (e, pattern) => (await until(e, `document.documentElement.dataset.state === 'stopped' || foucaultFrames >= ${(await e.eval('foucaultFrames')) + 2}`),
    assert.match(await e.eval("document.querySelector('#console').textContent"), new RegExp(pattern))),
  // N frames more drawn: the picture shows what came before.
  frames: async (e, n) => until(e, `foucaultFrames >= ${(await e.eval('foucaultFrames')) + Number(n)}`),
  // A keyboard focus ring round the element: all the way round (90 % of its edge), 2 px or
  // more across it whose colour changes by a contrast of 3:1 or more when it takes the focus.
  ring: async (e, selector) => {
    const [x0, y0, w, h] = await e.eval(`(() => { document.activeElement?.blur(); const r = ${query(selector)}.getBoundingClientRect();
      return [r.x, r.y, r.width, r.height].map(Math.round); })()`);
    const before = PNG.sync.read(await e.shot(true));
    await e.key('Shift');  // a key first, so that focus() shows the keyboard's ring
    await e.eval(`${query(selector)}.focus()`);
    const after = PNG.sync.read(await e.shot(true));
    const changed = ([x, y]) => x >= 0 && y >= 0 && x < after.width && y < after.height && contrast(pixel(before, x, y), pixel(after, x, y)) >= 3;
    const sides = [];
    for (let x = x0 + 6; x < x0 + w - 6; x++) sides.push([x, y0, 0, -1], [x, y0 + h - 1, 0, 1]);
    for (let y = y0 + 6; y < y0 + h - 6; y++) sides.push([x0, y, -1, 0], [x0 + w - 1, y, 1, 0]);
    // From 5 px inside the edge to 5 px outside, two changed pixels side by side.
    const ringed = sides.filter(([x, y, dx, dy]) => [...Array(10).keys()].some((i) => i > 0
      && changed([x + dx * (i - 5), y + dy * (i - 5)]) && changed([x + dx * (i - 6), y + dy * (i - 6)]))).length;
    assert.ok(ringed >= 0.9 * sides.length, `${selector}: a ring on ${ringed} of ${sides.length} points of its edge`);
  },
  // The accessible names of the menu entries and buttons, as a screen reader gets them.
  names: async (e, file) => assert.deepEqual(named(await e.a11y()), lines(data(file))),
  axe: async (e) => (await e.eval(axe), assert.deepEqual(await e.eval("axe.run({runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa']})"
    + '.then((r) => r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target)}`))'), [])),
  // Random moves of tests/data/web/storm.txt from a fresh page, for each seed of
  // tests/data/web/storm_seeds.txt (FOUCAULT_STORM_SEED replays one): X and Y become canvas
  // pixels, D a distance, K a key of the program's, P one point for the whole move. After
  // each move the page is still there.
  storm: async (e, count) => {
    const [keyLine, ...moves] = lines(data('web/storm.txt'));
    for (const seedText of process.env.FOUCAULT_STORM_SEED?.split(' ') ?? lines(data('web/storm_seeds.txt'))) {
      let seed = Number(seedText);
      const random = (n) => Math.floor(((seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0) / 2 ** 32) * n);
      const pick = (list) => list[random(list.length)];
      await e.open(e.url);
      await until(e, "document.documentElement.dataset.state === 'running'");
      const [w, h] = await e.eval('[canvas.clientWidth, canvas.clientHeight]');
      const value = {X: () => random(w), Y: () => random(h), D: () => random(601) - 300, K: () => pick(keyLine.split(' ').slice(1))};
      for (let i = 0; i < count; i++) {
        const at = `${value.X()},${value.Y()}`;
        const move = pick(moves).replace(/\b[XYDKP]\b/g, (c) => (c === 'P' ? at : value[c]()));
        for (const step of [...move.split(' ; '), 'here']) await play(e, step, `FOUCAULT_STORM_SEED=${seedText}, move ${i}: `);
      }
    }
  },
};

// One step; a failure names it, after where it was played.
async function play(e, step, where = '') {
  const [, verb, rest] = step.match(/^(\S+) ?(.*)$/);
  const args = ['open', 'until', 'expect', 'console'].includes(verb) ? [rest] : rest.match(/"[^"]*"|\S+/g)?.map((a) => a.replace(/^"(.*)"$/, '$1')) ?? [];
  await (async () => verbs[verb](e, ...args))().catch((error) => { throw Object.assign(error, {message: `${where}${step}\n${error.message}`}); });
}

// Scenarios: "== NAME: ENGINES and FLAGS" (touch: touch emulation; nojs: JavaScript off; http:
// the page served over HTTP; --x: Chromium switches).
const scenarios = data('web/scenarios.txt').split(/^== /m).slice(1).map((text) => text.match(/^(.*?): (.*)\n([^]*)$/))
  .map(([, name, flags, steps]) => ({name, flags: flags.split(' '), steps: lines(steps)}));

// Two scenarios at a time: a browser drawing in software wants a core of its own.
const only = new RegExp(process.env.FOUCAULT_WEB_ONLY ?? '');  // e.g. 'chromium: touch'
describe('the page opened as a file', {concurrency: 2}, () => {
  for (const {name, flags, steps} of scenarios) {
    for (const engine of flags.filter((flag) => engines[flag] && only.test(`${flag}: ${name}`))) {
      test(`${engine}: ${name}`, async (t) => {
        const url = flags.includes('http') ? await served : pathToFileURL(page).href;
        const e = Object.assign(await engines[engine](flags), {url, base: url,
          name: `${engine}-${name.replace(/\W+/g, '-')}`, shots: 0});
        t.after(() => e.close());
        for (const step of steps) await play(e, step);
        assert.deepEqual(await e.errors(), []);
      });
    }
  }
});
