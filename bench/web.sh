#!/usr/bin/env bash
# The page's two bench rows, as RESULT lines for scripts/bench.sh: its weight (.js + .wasm +
# .html as served, uncompressed) and its frames per second in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund >&2
# Built and served by scripts/web.sh on a free port; its first line gives the address.
coproc server { PORT=0 exec scripts/web.sh --serve 2>/dev/null; }
trap 'kill $server_PID' EXIT
url=$(grep -m1 -o 'http://[0-9.:]*/' <&"${server[0]}") || { echo "bench/web.sh: scripts/web.sh --serve failed" >&2; exit 1; }
echo "RESULT web_weight_kib $(cat out/web/foucault.{js,wasm} out/web/index.html | wc -c | awk '{ printf "%.1f", $1 / 1024 }')"
node bench/web_fps.mjs "$url"
