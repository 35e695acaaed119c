// The page's figures in a browser, its canvas at 1024 x 768, as RESULT lines for
// scripts/bench.sh. Headless Chromium draws WebGL with SwiftShader; Firefox and WebKit's
// MiniBrowser draw it with Mesa's llvmpipe on the X display. Every measure starts a fresh
// browser and waits two seconds after the canvas has its size.
// Usage: node bench/web_fps.mjs URL [PNG [ENGINE [BARE]]]
//   URL: the page, file:// or http://; PNG: the window after the frame count ("" for none);
//   ENGINE: chromium (the default), firefox or webkit (FOUCAULT_MINIBROWSER names its browser).
//   Without BARE: the page's frames per second alone. With BARE, the URL of bench/bare.html:
//   the page's rate against that bare WebGL page's; in Chromium also with the CPU throttled
//   six times, the WebGL and draw calls a frame with the help lines off and on, and the median
//   time inside a frame's requestAnimationFrame callback.
import assert from 'node:assert/strict';
import {writeFileSync} from 'node:fs';

import {engines, fit, sleep, until} from '../scripts/browsers.mjs';

const [url, png, engine = 'chromium', bare] = process.argv.slice(2);
const result = (name, value, digits = 1) => console.log(`RESULT ${name} ${value.toFixed(digits)}`);

// f(e) on the page at `page`, in a browser of its own; the prelude runs before the page's scripts.
async function session(page, f, prelude) {
  const e = await engines[engine]();
  try {
    await e.open(page, prelude);
    await fit(e, 1024, 768);
    await sleep(2000);
    return await f(e);
  } finally {
    await e.close();
  }
}

// Frames a second, by the page's own counter, over ten seconds.
async function rate(e) {
  const [frames, start] = [await e.eval('foucaultFrames'), performance.now()];
  await sleep(10000);
  return ((await e.eval('foucaultFrames')) - frames) * 1000 / (performance.now() - start);
}

// The rate as it is, then with the page's CPU six times slower (the GPU process, where
// SwiftShader draws, keeps its speed, as a slow machine's graphics card would).
async function rates(e) {
  const free = await rate(e);
  await e.cdp('Emulation.setCPUThrottlingRate', {rate: 6});
  await sleep(2000);
  return [free, await rate(e)];
}

// Prelude: each WebGL context the page gets, and each extension it asks the context for,
// counts the calls of each of its methods in window.foucaultCalls, by name. The objects stay
// what they are (a Proxy would fail instanceof): their own properties shadow their
// prototypes' methods.
function countCalls() {
  const calls = window.foucaultCalls = {}, counted = new WeakSet();
  const count = (object) => {
    if (!object || counted.has(object)) return object;
    counted.add(object);
    for (const [name, {value}] of Object.entries(Object.getOwnPropertyDescriptors(Object.getPrototypeOf(object)))) {
      if (typeof value !== 'function' || name === 'constructor') continue;
      const extension = name === 'getExtension';
      calls[name] ??= 0;
      object[name] = function() {
        calls[name]++;
        const r = value.apply(this, arguments);
        return extension ? count(r) : r;
      };
    }
    return object;
  };
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function(...args) {
    const gl = getContext.apply(this, args);
    return gl instanceof WebGLRenderingContext || gl instanceof WebGL2RenderingContext ? count(gl) : gl;
  };
  // The keys below are gestures: the page would take them to go full screen (the canvas
  // would change size) and to open the help page in a tab.
  delete Element.prototype.requestFullscreen;
  delete Element.prototype.webkitRequestFullscreen;
  window.open = () => null;
}

// WebGL calls and draw calls a frame, over three seconds; each method's share on stderr.
// Draw calls are drawArrays and drawElements, and their instanced and multi-draw forms.
async function perFrame(e, lines) {
  const read = () => e.eval('[foucaultFrames, foucaultCalls]');
  const [f0, c0] = await read();
  await sleep(3000);
  const [f1, c1] = await read();
  const each = Object.entries(c1).map(([name, n]) => [name, (n - (c0[name] ?? 0)) / (f1 - f0)])
    .filter(([, n]) => n > 0).sort((a, b) => b[1] - a[1]);
  assert.ok(each.length && f1 > f0, 'no WebGL call counted');
  console.error(`web_fps.mjs: calls a frame, help lines ${lines}: ${each.map(([name, n]) => `${name} ${+n.toFixed(2)}`).join(', ')}`);
  const sum = (list) => list.reduce((total, [, n]) => total + n, 0);
  return [sum(each), sum(each.filter(([name]) => /^(multiD|d)raw(Arrays|Elements|RangeElements)/.test(name)))];
}

// The help lines on, by the keyboard alone: the menu, its last entry ("Aide"), then Escape,
// which closes the help page where it opens in the page, and does nothing where it does not.
async function helpLines(e) {
  for (const keys of [['Shift', 'F10'], ['End'], ['Enter'], ['Escape']]) await e.key(...keys);
  await until(e, "document.getElementById('console').textContent.includes('help.sh')", 5000);
  assert.ok(await e.eval("!document.querySelector('#menu, dialog[open]') && canvas.width === 1024 && canvas.height === 768"),
    'the menu or the help is still open, or the canvas has changed size');
  await sleep(1000);
}

// Prelude: the time spent inside each requestAnimationFrame callback (JavaScript, WebAssembly
// and the GL calls' submission), in milliseconds, in window.foucaultCallbackMs.
function timeCallbacks() {
  const raf = window.requestAnimationFrame, ms = window.foucaultCallbackMs = [];
  window.requestAnimationFrame = (callback) => raf.call(window, (t) => {
    const start = performance.now();
    try {
      return callback(t);
    } finally {
      ms.push(performance.now() - start);
    }
  });
}

// The median of the next 400 callbacks. performance.now() ticks in steps of 0.1 ms in a page
// that is not cross-origin isolated (a file is not), so the median is interpolated within its
// step, as for grouped data: the values in that step taken as spread evenly over it.
async function callbackMedian(e) {
  await e.eval('foucaultCallbackMs.length = 0');
  await until(e, 'foucaultCallbackMs.length >= 400', 120000);
  const ms = (await e.eval('foucaultCallbackMs')).sort((a, b) => a - b);
  const gaps = ms.slice(1).map((m, i) => m - ms[i]).filter((d) => d > 1e-6);
  const mid = ms[ms.length >> 1], step = Math.min(...gaps), low = mid - step / 2;
  if (!gaps.length) return mid;
  const below = ms.filter((m) => m < low).length, within = ms.filter((m) => m >= low && m < low + step).length;
  return low + (ms.length / 2 - below) / within * step;
}

// The page's rate and the bare page's, and the one over the other.
function compare(name, page, base) {
  result(`web_fps_${name}`, page);
  result(`web_bare_fps_${name}`, base);
  result(`web_ratio_${name}`, page / base, 2);
}

// f, then the window's picture if one is asked for.
const shot = (f) => async (e) => {
  const figures = await f(e);
  if (png) writeFileSync(png, await e.shot(true));
  return figures;
};

if (!bare) {
  result(`web_fps_${engine}`, await session(url, shot(rate)));
} else if (engine !== 'chromium') {
  compare(engine, await session(url, shot(rate)), await session(bare, rate));
} else {
  const [[glOff, drawOff], [glOn, drawOn]] = await session(url, async (e) => {
    const off = await perFrame(e, 'off');
    await helpLines(e);
    return [off, await perFrame(e, 'on')];
  }, `(${countCalls})()`);
  result('web_gl_calls_off', glOff);
  result('web_draw_calls_off', drawOff);
  result('web_gl_calls_on', glOn);
  result('web_draw_calls_on', drawOn);
  result('web_callback_ms', await session(url, callbackMedian, `(${timeCallbacks})()`), 2);
  // The same with the "Mesures" panel open, whose plot is drawn in the frame that measures.
  const measuring = async (e) => (await e.eval("document.getElementById('measure').click()"), callbackMedian(e));
  result('web_callback_measures_ms', await session(url, measuring, `(${timeCallbacks})()`), 2);
  const [page, page6] = await session(url, shot(rates));
  const [base, base6] = await session(bare, rates);
  compare('chromium', page, base);
  compare('chromium_x6', page6, base6);
}
