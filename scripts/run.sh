#!/usr/bin/env bash
# Builds the program and starts it where its help pages are, as the installed one is:
# help.html beside the build's help.LANG.html.
# Without a display it runs under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ]; then scripts/deps.sh build; else scripts/deps.sh build record; fi
# The program alone: the tests and benchmarks need packages of their own.
scripts/build.sh build-run -DFOUCAULT_BUILD_TESTS=OFF -DFOUCAULT_BUILD_BENCH=OFF
program=$PWD/build-run/app/foucault
cp help.html build-run/packaging/
# The help entry asks the shell to "open ./help.html": put the project's own opener (the
# one the installed program uses, and its launcher) first on PATH.
export PATH="$PWD/packaging:$PATH"
[ -z "${DISPLAY:-}" ] || { cd build-run/packaging && exec "$program" "$@"; }

echo "run.sh: no display here; running foucault under Xvfb for a few seconds" >&2
# shellcheck source=scripts/xrun.sh
. scripts/xrun.sh
xr_start 1280x1024 "$PWD/build-run/packaging" "$program" "$@"
sleep 3
mkdir -p out
xr_shot out/foucault-screenshot.png
echo "run.sh: screenshot saved to $PWD/out/foucault-screenshot.png"
