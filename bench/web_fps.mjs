// The page's frames per second with its canvas at 1024 x 768: in headless Chromium (WebGL
// drawn by SwiftShader), or in Firefox or WebKit's MiniBrowser on the X display (Mesa's
// llvmpipe). The page's own frame count, window.foucaultFrames, over ten seconds after two
// of warm-up.
// Usage: node bench/web_fps.mjs URL [PNG [ENGINE]]   URL: the page, file:// or http://;
// PNG: the window as it stands after the count ("" for none); ENGINE: chromium (the
// default), firefox or webkit (FOUCAULT_MINIBROWSER names its browser).
import {writeFileSync} from 'node:fs';

import {engines, fit, sleep} from '../scripts/browsers.mjs';

const [url, png, engine = 'chromium'] = process.argv.slice(2);
const e = await engines[engine]();
await e.open(url);
await fit(e, 1024, 768);
await sleep(2000);
const [frames, start] = [await e.eval('foucaultFrames'), performance.now()];
await sleep(10000);
const fps = ((await e.eval('foucaultFrames')) - frames) * 1000 / (performance.now() - start);
console.log(`RESULT web_fps_${engine} ${fps.toFixed(1)}`);
if (png) writeFileSync(png, await e.shot(true));
await e.close();
