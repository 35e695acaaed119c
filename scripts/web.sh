#!/usr/bin/env bash
# Builds the pendulum for a web browser into out/web (index.html, foucault.js, foucault.wasm,
# help.html) from the program's own sources, with Emscripten and the web layer in web/.
# Usage: scripts/web.sh [--serve | --shot]
#   --serve  then serves out/web on 127.0.0.1, port $PORT or 8080 (0: any free port), and
#            prints the address once the server listens
#   --shot   then saves the page in headless Chromium, twelve seconds in, to docs/images/web.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh web
# Debian's emcc runs its helpers under node, which does not look in Debian's module folder.
export NODE_PATH=/usr/share/nodejs
out=out/web
mkdir -p "$out"

# web/ comes first on the include path (its GL/freeglut.h); these GL calls go through the
# web layer's per-vertex lighting (web/fixed_function.cpp) before the emulation sees them.
wrapped=(glBegin glEnable glDisable glLightfv glMaterialfv glNormal3f glVertex3f glShadeModel)
em++ -std=c++17 -O2 -Wall -Wextra -Werror -Iweb -I. \
  sim/*.cpp render/*.cpp app/*.cpp web/*.cpp \
  -sLEGACY_GL_EMULATION=1 --js-library web/glut_web.js "${wrapped[@]/#/-Wl,--wrap=}" \
  -o "$out/foucault.js"
cp web/index.html help.html "$out/"
echo "web.sh: built $out"

case "${1:-}" in
  --serve) exec python3 -u -m http.server "${PORT:-8080}" --bind 127.0.0.1 --directory "$out" ;;
  --shot)
    [ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund >&2
    coproc server { exec python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$out" 2>/dev/null; }
    trap 'kill $server_PID' EXIT
    node bench/web_fps.mjs "$(grep -m1 -o 'http://[0-9.:]*/' <&"${server[0]}")" docs/images/web.png ;;
esac
