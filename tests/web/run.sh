#!/usr/bin/env bash
# The browser tests: the page built and served on 127.0.0.1 by scripts/web.sh and driven in
# headless Chromium. (The model's tests built with emcc run in scripts/model-builds.sh.)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh web
export NODE_PATH=/usr/share/nodejs

[ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund
# Built and served by scripts/web.sh on a free port; its first line gives the address.
coproc server { PORT=0 exec scripts/web.sh --serve 2>/dev/null; }
trap 'kill $server_PID' EXIT
url=$(grep -m1 -o 'http://[0-9.:]*/' <&"${server[0]}") || { echo "run.sh: scripts/web.sh --serve failed" >&2; exit 1; }
FOUCAULT_WEB_URL=$url node --test tests/web/page_test.mjs
