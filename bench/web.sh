#!/usr/bin/env bash
# The page's bench rows, as RESULT lines for scripts/bench.sh: the weight of the one file
# scripts/web.sh builds, then, with the canvas at 1024x768 and the file opened from a folder
# where it is alone (bench/web_fps.mjs says how each figure is taken): in headless Chromium,
# the WebGL and draw calls a frame with the help lines off and on, the frame callback's median
# time, and the frames per second against a bare WebGL page's (bench/bare.html), as they are
# and with the CPU throttled six times; then the frames per second against the bare page's in
# Firefox and in WebKit on an Xvfb screen of their own, one after the other.
# FOUCAULT_WEB_PAGE=FILE measures that page instead of building one.
set -euo pipefail
page=${FOUCAULT_WEB_PAGE:+$(realpath -e "$FOUCAULT_WEB_PAGE")}
cd "$(dirname "$0")/.."
[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || npm ci --prefix tests/web --no-audit --no-fund >&2
[ -n "$page" ] || { scripts/web.sh >&2 && page=out/web/foucault.html; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$page" "$dir/foucault.html"
echo "RESULT web_weight_kib $(wc -c <"$dir/foucault.html" | awk '{ printf "%.1f", $1 / 1024 }')"
urls=("file://$dir/foucault.html" "file://$PWD/bench/bare.html")
node bench/web_fps.mjs "${urls[0]}" "" chromium "${urls[1]}"
FOUCAULT_MINIBROWSER=$(ls /usr/lib/*/webkit2gtk-4.*/MiniBrowser | head -n 1) xvfb-run -a -s "-screen 0 1280x1024x24" \
  sh -c 'for engine in firefox webkit; do node bench/web_fps.mjs "$1" "" "$engine" "$2"; done' - "${urls[@]}"
