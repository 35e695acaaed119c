#!/usr/bin/env bash
# The page's bench rows, as RESULT lines for scripts/bench.sh: the weight of the one file
# scripts/web.sh builds, and its frames per second with the canvas at 1024x768, opened as a
# file from a folder where it is alone: in headless Chromium, then in Firefox and in WebKit on
# an Xvfb screen of their own, one after the other.
set -euo pipefail
cd "$(dirname "$0")/.."
[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || npm ci --prefix tests/web --no-audit --no-fund >&2
scripts/web.sh >&2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp out/web/foucault.html "$dir/"
echo "RESULT web_weight_kib $(wc -c <"$dir/foucault.html" | awk '{ printf "%.1f", $1 / 1024 }')"
node bench/web_fps.mjs "file://$dir/foucault.html"
FOUCAULT_MINIBROWSER=$(ls /usr/lib/*/webkit2gtk-4.*/MiniBrowser | head -n 1) xvfb-run -a -s "-screen 0 1280x1024x24" \
  sh -c 'for engine in firefox webkit; do node bench/web_fps.mjs "$1" "" "$engine"; done' - "file://$dir/foucault.html"
