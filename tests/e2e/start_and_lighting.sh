#!/usr/bin/env bash
# The program as it starts: its console, the lit picture (Earth, red bob at the pendulum's
# site where the Earth's turn has carried it, red instruction line), the same places white
# with lighting off (l), lit again after a second l, and Q.
# Usage: start_and_lighting.sh PROGRAM PROJECT_ROOT
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin start_and_lighting "$1" "$2"
shots=$E2E_DIR

# Let the pendulum swing and the Earth turn a little, then pause: p stops everything.
sleep 1
e2e_keys p
e2e_shot "$shots/lit.png"
e2e_keys l
e2e_shot "$shots/unlit.png"
e2e_keys l
e2e_shot "$shots/relit.png"
e2e_quit

{
  e2e_console_startup
  e2e_console_quit
} >"$E2E_DIR/expected.txt"
e2e_expect "console transcript" e2e_console_matches "$E2E_DIR/expected.txt" "$E2E_DIR/stdout.txt"

# The time at the pause, printed by Q, gives the Earth's turn: omega 0.1 per time unit,
# counter-clockwise seen from above the north pole. At 50 degrees the pendulum's site is
# 378 px from the centre of the screen (measured on a screenshot with the default
# camera), starting on the right; the bob swings up to about 110 px around it.
t=$(sed -n -E 's/^t=([0-9]+\.[0-9]{6})$/\1/p' "$E2E_DIR/stdout.txt")
read -r site_x site_y < <(awk -v t="${t:-0}" 'BEGIN {
  a = 0.1 * t; printf "%d %d\n", 640 + 378 * cos(a), 512 - 378 * sin(a) }')
e2e_log "paused at t=$t: the site should be near ($site_x, $site_y)"
box=130
x0=$((site_x - box < 0 ? 0 : site_x - box))
y0=$((site_y - box < 24 ? 24 : site_y - box))
x1=$((site_x + box > 1280 ? 1280 : site_x + box))
y1=$((site_y + box > 1024 ? 1024 : site_y + box))

centre=(630 502 20 20)
text=(0 0 300 24)
earth_blue="0 116 255"
for shot in lit relit; do
  e2e_expect "$shot: the lit Earth at the centre is blue" \
    e2e_colour "$shots/$shot.png" "${centre[@]}" "$earth_blue" 40
  e2e_expect "$shot: the red bob near the pendulum's site" \
    e2e_count "$shots/$shot.png" "$x0" "$y0" $((x1 - x0)) $((y1 - y0)) "$E2E_RED" 300 100000
  e2e_expect "$shot: the instruction line at the top left is red" \
    e2e_count "$shots/$shot.png" "${text[@]}" "$E2E_RED" 150 100000
done

# The bob's centre as found lit, probed again with lighting off.
e2e_count "$shots/lit.png" "$x0" "$y0" $((x1 - x0)) $((y1 - y0)) "$E2E_RED" 0 100000 >/dev/null
read -r _ bob_x bob_y <<<"$E2E_FOUND"
if [ "$bob_x" -ge 5 ]; then
  e2e_expect "unlit: the bob is white" \
    e2e_colour "$shots/unlit.png" $((bob_x - 5)) $((bob_y - 5)) 10 10 "255 255 255" 25
fi
e2e_expect "unlit: the Earth at the centre is white" \
  e2e_colour "$shots/unlit.png" "${centre[@]}" "255 255 255" 25
e2e_expect "unlit: nothing red left anywhere" \
  e2e_count "$shots/unlit.png" 0 0 1280 1024 "$E2E_RED" 0 0
e2e_expect "unlit: the instruction line is white" \
  e2e_count "$shots/unlit.png" "${text[@]}" "$E2E_WHITE" 150 100000

e2e_finish
