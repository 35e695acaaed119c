#!/usr/bin/env bash
# Builds the program and starts it from the project root, where its help page lives.
# Without a display it runs under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ]; then
  scripts/deps.sh build
else
  scripts/deps.sh build display
fi
# The program alone: the tests and benchmarks need packages of their own.
scripts/build.sh build-run -DFOUCAULT_BUILD_TESTS=OFF -DFOUCAULT_BUILD_BENCH=OFF
program=build-run/app/foucault
if [ ! -x "$program" ]; then
  echo "run.sh: $program was not built" >&2
  exit 1
fi
# The help entry asks the shell to "open ./help.html": put the project's own opener (the
# one the installed program uses) first on PATH, alone in its folder.
mkdir -p build-run/help-bin
ln -sf "$PWD/packaging/open" build-run/help-bin/open
export PATH="$PWD/build-run/help-bin:$PATH"
if [ -n "${DISPLAY:-}" ]; then
  exec "$program" "$@"
fi
shot="$PWD/out/foucault-screenshot.png"
mkdir -p out
echo "run.sh: no display here; running foucault under Xvfb for a few seconds" >&2
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" &
  pid=$!
  sleep 4
  import -window root "$2"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
' run "$program" "$shot"
echo "run.sh: screenshot saved to $shot"
