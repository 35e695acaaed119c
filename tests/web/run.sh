#!/usr/bin/env bash
# The browser tests: the model's tests built with emcc and run under node, then the page
# built and served on 127.0.0.1 by scripts/web.sh and driven in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh web
export NODE_PATH=/usr/share/nodejs

# The transcript is embedded at its own path: gtest's capture of stdout needs Emscripten's
# in-memory files. Synchronous compilation: node's fetch cannot read the .wasm from a path.
sim=$PWD/tests/data/sim
emcmake cmake -S . -B build-web -DFOUCAULT_MODEL_ONLY=ON -DCMAKE_CROSSCOMPILING_EMULATOR=node \
  -Dgtest_disable_pthreads=ON \
  "-DCMAKE_EXE_LINKER_FLAGS=-sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0 --embed-file $sim@$sim" >/dev/null
cmake --build build-web -j2 >/dev/null
ctest --test-dir build-web --output-on-failure

[ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund
# Built and served by scripts/web.sh on a free port; its first line gives the address.
coproc server { PORT=0 exec scripts/web.sh --serve 2>/dev/null; }
trap 'kill $server_PID' EXIT
url=$(grep -m1 -o 'http://[0-9.:]*/' <&"${server[0]}") || { echo "run.sh: scripts/web.sh --serve failed" >&2; exit 1; }
FOUCAULT_WEB_URL=$url node --test tests/web/page_test.mjs
