#!/usr/bin/env bash
# Builds the pendulum for a web browser into one file, out/web/foucault.html (the program's
# JavaScript and WebAssembly and the help page inside it), from the program's own sources,
# with Emscripten and the web layer in web/.
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
g++ -std=c++17 -O2 -Wall -Wextra -Werror web/glyph_table.cpp -o "$gen/glyph_table" -lglut -lGL
run=() && [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a)
"${run[@]}" "$gen/glyph_table" >"$gen/glyphs.inc"
# The help page travels inside the page, in the shell's <template id="help-page">.
python3 -c 'import sys; s = open(sys.argv[1]).read(); sys.stdout.write(s.replace("{{{ HELP }}}", open(sys.argv[2]).read()))' \
  web/shell.html help.html >"$gen/shell.html"

# web/ comes first on the include path (its GL/freeglut.h). The GL calls that WebGL also
# has but the web layer keeps for itself go through it (--wrap), and so does exit, since a
# page cannot end.
wrapped=(glEnable glDisable glViewport glBindTexture exit)
# The page calls these with its events. (-sMINIFY_HTML=0: this emcc cannot call its HTML
# minifier, and the page gains little from it.)
exported=(main web_key web_special web_menu_choice)
exports=$(IFS=,; echo "${exported[*]/#/_}")
em++ -std=c++17 -O2 -Wall -Wextra -Werror -ffp-contract=off -Iweb -I. -I"$gen" \
  sim/*.cpp render/*.cpp app/*.cpp web/bitmap_text.cpp web/fixed_function.cpp web/glu.cpp \
  web/glut.cpp web/input.cpp web/spheres.cpp web/webgl.cpp "${wrapped[@]/#/-Wl,--wrap=}" \
  -sMODULARIZE=1 -sEXPORT_NAME=Foucault -sEXPORTED_FUNCTIONS="$exports" \
  --js-library web/layout.js --js-library web/menu.js --js-library web/help.js --js-library web/input.js \
  --extern-post-js web/start.js \
  -sSINGLE_FILE=1 -sMINIFY_HTML=0 --shell-file "$gen/shell.html" -o "$out/foucault.html"
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
