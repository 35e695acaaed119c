#!/usr/bin/env bash
# Builds the pendulum for a web browser into one file, out/web/foucault.html (the program's
# JavaScript and WebAssembly and the help page inside it), from the program's own libraries,
# with Emscripten and the web layer in web/ (its CMakeLists.txt), into build-web/.
# Usage: scripts/web.sh [--serve | --shot]
#   --serve  then serves it on 127.0.0.1, port $PORT or 8080 (0: any free port), and prints
#            the page's address as the first line on stdout once the server listens
#   --shot   then saves the page in headless Chromium, twelve seconds in, to docs/images/web.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build web >&2
# Debian's emcc runs its helpers under node, which does not look in Debian's module folder.
export NODE_PATH=/usr/share/nodejs
out=out/web gen=out/web-gen
rm -rf "$out"
mkdir -p "$out" "$gen"

# The desktop's Helvetica 12, read back from the installed freeglut (on a private X server
# when there is no display), becomes the page's glyph table.
g++ -std=c++17 -O2 -Wall -Wextra -Werror scripts/glyph_table.cpp -o "$gen/glyph_table" -lglut -lGL
run=() && [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a)
"${run[@]}" "$gen/glyph_table" >"$gen/glyphs.new"
cmp -s "$gen/glyphs.new" "$gen/glyphs.inc" || mv "$gen/glyphs.new" "$gen/glyphs.inc"  # unchanged: no rebuild
# The page is a target of the project's CMake under Emscripten's toolchain, built from the
# same libraries with the same flags as the desktop; build-web also holds the model's tests,
# which scripts/model-builds.sh runs under node (whose own name the toolchain would
# otherwise give an option that this node refuses).
emcmake cmake -S . -B build-web -DFOUCAULT_GLYPHS="$PWD/$gen" -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  -Dgtest_disable_pthreads=ON >/dev/null
cmake --build build-web -j "$(nproc)" --target page >&2
cp build-web/web/foucault.html "$out/"
echo "web.sh: built $out/foucault.html" >&2

# Serves out/web and prints the page's address; the requests are logged on stderr.
serve() {
  exec python3 -u -c 'import functools, http.server as h, sys
s = h.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])),
                          functools.partial(h.SimpleHTTPRequestHandler, directory=sys.argv[2]))
print("http://127.0.0.1:%d/foucault.html" % s.server_address[1])
s.serve_forever()' "$1" "$out"
}

case "${1:-}" in
  --serve) serve "${PORT:-8080}" ;;
  --shot)
    [ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund >&2
    coproc server { serve 0 2>/dev/null; }
    trap 'kill $server_PID' EXIT
    node bench/web_fps.mjs "$(head -n 1 <&"${server[0]}")" docs/images/web.png ;;
esac
