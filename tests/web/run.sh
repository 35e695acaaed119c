#!/usr/bin/env bash
# The browser tests: the model's tests built with emcc and run under node, then the page
# built by scripts/web.sh, served on 127.0.0.1 and driven in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/web.sh
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
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory out/web >/dev/null 2>&1 &
server=$!
trap 'kill $server' EXIT
until (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do sleep 0.1; done
FOUCAULT_WEB_URL="http://127.0.0.1:$port/" node --test tests/web/page_test.mjs
