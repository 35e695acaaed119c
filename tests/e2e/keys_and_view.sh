#!/usr/bin/env bash
# The keyboard: what each key prints (latitude and rotation-rate steps, the reset z that
# restores them), keys that must do nothing, and the camera keys seen on screen: Page Up
# brings the Earth closer and pushes the instruction line out of view, Page Down undoes
# it, and in the zoom mode (t) the distance follows the pointer, not Page Up, until r.
# Usage: keys_and_view.sh PROGRAM PROJECT_ROOT
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin keys_and_view "$1" "$2"
shots=$E2E_DIR

# Latitude from 50 degrees by 18, rotation rate doubled twice and halved once.
e2e_keys plus plus minus P P M
# Pause, go, reset (which pauses), then P and + show the rate and latitude it restored.
e2e_keys p g z P M plus minus g R R r
# Not in the key table: nothing may happen (only Q quits).
e2e_keys q G L Z Escape Left

text=(0 0 300 24)
ring=450 # px: outside the Earth's disc at distance 25, inside it at distance 20
far() {
  e2e_expect "$1: the instruction line is drawn" \
    e2e_count "$shots/$1.png" "${text[@]}" "$E2E_RED" 150 100000
  e2e_expect "$1: the Earth has its default size" e2e_earth_ring "$shots/$1.png" "$ring" 0 2
}
near() {
  e2e_expect "$1: the instruction line is out of view" \
    e2e_count "$shots/$1.png" "${text[@]}" "$E2E_RED" 0 0
  e2e_expect "$1: the Earth is drawn bigger" e2e_earth_ring "$shots/$1.png" "$ring" 6 8
}

e2e_shot "$shots/default.png"
far default
e2e_keys Prior
e2e_shot "$shots/page-up.png"
near page-up
e2e_keys Next
e2e_shot "$shots/page-down.png"
far page-down
e2e_keys t Prior
e2e_shot "$shots/zoom-page-up.png"
far zoom-page-up
e2e_keys r Prior
e2e_shot "$shots/free-page-up.png"
near free-page-up
e2e_keys Next F
e2e_expect "F leaves the window full screen" \
  e2e_is "geometry" "$(e2e_geometry "$E2E_WINDOW")" "0 0 1280 1024"
e2e_quit

{
  e2e_console_startup
  printf '+\nlatitude 68.000000 \n+\nlatitude 86.000000 \n-\n'
  printf 'Omega=0.200000\nOmega=0.400000\n'
  e2e_console_reset
  printf 'Omega=0.200000\n+\nlatitude 68.000000 \n-\n'
  e2e_console_quit
} >"$E2E_DIR/expected.txt"
e2e_expect "console transcript" e2e_console_matches "$E2E_DIR/expected.txt" "$E2E_DIR/stdout.txt"

e2e_finish
