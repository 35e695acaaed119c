#!/usr/bin/env bash
# The real program under valgrind's memcheck on a private X server, for a few seconds of
# menu choices, keys and drags, then Q. Fails on any error that scripts/memcheck.supp (the
# loader's, the X libraries' and the OpenGL driver's own) does not cover; the report is on
# standard error. To see what a new library reports, with suppressions to copy:
#   MEMCHECK_ARGS=--gen-suppressions=all scripts/memcheck.sh
# Usage: scripts/memcheck.sh [PROGRAM]   (default: build/app/foucault, built first)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${1:-}" ]; then
  scripts/deps.sh build test
  scripts/build.sh build >/dev/null
fi
program=$(realpath "${1:-build/app/foucault}")
# shellcheck source=scripts/xrun.sh
. scripts/xrun.sh

# Mesa's softpipe without LLVM: no code generated at run time for valgrind to translate,
# which halves the start; the program makes the same calls.
# shellcheck disable=SC2086 # MEMCHECK_ARGS splits into options
xr_start 480x360 "$PWD" env GALLIUM_DRIVER=softpipe DRAW_USE_LLVM=0 valgrind --error-exitcode=99 --track-origins=yes \
  --suppressions="$PWD/scripts/memcheck.supp" ${MEMCHECK_ARGS:-} "$program"
xr_menu 3/6 0/5 # Position du pendule -> pendule au po^le nord
xr_menu 5/6     # Aide: the help lines, and the help command
xdotool key --delay 80 plus plus minus P M l l t Prior r Prior Next R R p g z g
xr_drag 120 80 140 200
sleep 1
xdotool key Q
wait "$XR_APP" || { cat "$XR/err" >&2; echo "memcheck.sh: FAILED" >&2; exit 1; }
XR_APP=""
echo "memcheck.sh: no error; the program printed $(grep -c . "$XR/out") lines, the last: $(tail -n 1 "$XR/out")"
