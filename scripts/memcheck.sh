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
XR=$(mktemp -d)
# shellcheck source=scripts/xrun.sh
. scripts/xrun.sh
trap 'xr_stop; rm -rf "$XR"' EXIT

# Mesa's softpipe without LLVM: no code generated at run time for valgrind to translate,
# which halves the start; the program makes the same calls.
# shellcheck disable=SC2086 # MEMCHECK_ARGS splits into options
xr_start 480x360 "$PWD" env GALLIUM_DRIVER=softpipe DRAW_USE_LLVM=0 valgrind --error-exitcode=99 --track-origins=yes \
  --suppressions="$PWD/scripts/memcheck.supp" ${MEMCHECK_ARGS:-} "$program"
for choice in "3/6 0/5" 5/6; do
  # shellcheck disable=SC2086 # a choice is one or two rows
  xr_menu $choice
done
xdotool key --delay 150 plus plus minus P M l l t Prior r Prior Next R R p g z g
xr_drag 120 80 140 200
sleep 2
xdotool key Q
status=0
wait "$XR_APP" || status=$?
XR_APP=""
if [ "$status" != 0 ]; then
  cat "$XR/err" >&2
  echo "memcheck.sh: FAILED, status $status" >&2
  exit 1
fi
echo "memcheck.sh: no error; the program printed $(grep -c . "$XR/out") lines, the last: $(tail -n 1 "$XR/out")"
