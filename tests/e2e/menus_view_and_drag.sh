#!/usr/bin/env bash
# A drag and the menu entries that move things, with the pendulum paused: the drag turns
# the site to the far side of the Earth; "RAZ vue et calcul " brings the default view back,
# prints the banner and sets the time to 0; a release from the west; the pendulum at the
# north pole, seen from above and then from the equator's plane; + then prints the latitude
# the menu set. At Q the time is still 0: paused all along.
# Usage: menus_view_and_drag.sh PROGRAM PROJECT_ROOT
# shellcheck disable=SC2317 # the checks defined here run through e2e_expect
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin menus_view_and_drag "$1" "$2"
shots=$E2E_DIR

# Menu rows, top to bottom, with the rows of their submenus.
main_rows=6
raz=0 observer=1 release=2 position=3
observer_rows=3 from_equator=1
release_rows=3 from_west=1
position_rows=5 north_pole=0

scene=(0 24 1280 1000) # everything below the instruction line

# "radius angle" of a point seen from the centre of the screen (degrees, counter-clockwise).
polar() {
  awk -v x="$1" -v y="$2" 'BEGIN {
    dx = x - 640; dy = 512 - y
    printf "%d %d\n", sqrt(dx * dx + dy * dy), atan2(dy, dx) * 57.29578 }'
}
# Checks that the bob (found red in the scene) lies between R0 and R1 px from the centre;
# sets bob_r and bob_a.
# Usage: bob_at_radius IMAGE R0 R1
bob_r=0 bob_a=0
bob_at_radius() {
  e2e_count "$1" "${scene[@]}" "$E2E_RED" 300 100000 || return 1
  local x y
  read -r _ x y <<<"$E2E_FOUND"
  read -r bob_r bob_a < <(polar "$x" "$y")
  echo "bob at radius $bob_r, angle $bob_a, expected radius $2..$3"
  [ "$bob_r" -ge "$2" ] && [ "$bob_r" -le "$3" ]
}

# Seen from above the north pole, west is clockwise: the west release point lies about 16
# degrees clockwise of the south one, and nearer the centre.
west_of_south() {
  local turn
  turn=$(awk -v a="$bob_a" -v b="$south_a" 'BEGIN {
    d = a - b; while (d > 180) d -= 360; while (d <= -180) d += 360; print d }')
  echo "turned $turn degrees from the south release point, radius $((bob_r - south_r)) px;" \
    "expected -25..-8 degrees, radius below -10 px"
  awk -v d="$turn" -v dr=$((bob_r - south_r)) 'BEGIN { exit !(d <= -8 && d >= -25 && dr < -10) }'
}

e2e_keys p
# A left drag sets the view angles to the pointer's last position: 180 degrees about the
# vertical axis shows the Earth from below the south pole, the northern site behind it.
e2e_drag 400 400 180 0
e2e_shot "$shots/dragged.png"
e2e_expect "drag: the site turned to the far side, no red bob in view" \
  e2e_count "$shots/dragged.png" "${scene[@]}" "$E2E_RED" 0 0

e2e_menu "$raz" "$main_rows" || e2e_fail "menu RAZ vue et calcul"
e2e_shot "$shots/raz.png"
# Default view from above the pole; the bob at rest, released from the south, lies outside
# the site's 378 px circle (about 427 px: south points away from the pole).
e2e_expect "RAZ vue et calcul: the bob is back in view at latitude 50" \
  bob_at_radius "$shots/raz.png" 380 480
south_r=$bob_r south_a=$bob_a

e2e_menu "$release" "$main_rows" "$from_west" "$release_rows" || e2e_fail "menu lach'e de l'Ouest"
e2e_shot "$shots/west.png"
e2e_expect "lach'e de l'Ouest: the bob moved to the west of the site" \
  bob_at_radius "$shots/west.png" 340 440
e2e_expect "lach'e de l'Ouest: clockwise of the south release, nearer the pole" west_of_south

e2e_menu "$position" "$main_rows" "$north_pole" "$position_rows" ||
  e2e_fail "menu pendule au po^le nord"
e2e_shot "$shots/pole.png"
e2e_expect "pendule au po^le nord: the bob hangs near the centre, by the pole" \
  bob_at_radius "$shots/pole.png" 60 200

e2e_menu "$observer" "$main_rows" "$from_equator" "$observer_rows" ||
  e2e_fail "menu l'e'quateur"
e2e_shot "$shots/equator.png"
# Turned 90 degrees about the vertical: the pole, 11 units out, now points left; the bob,
# 2 units from it, lies about 390 px left of the centre, within 80 px of its height.
e2e_expect "l'e'quateur: the pole and its bob at the left of the Earth" \
  e2e_count "$shots/equator.png" 150 420 180 184 "$E2E_RED" 300 100000
e2e_keys plus

e2e_quit

{
  e2e_console_startup
  e2e_console_reset
  printf '+\nlatitude 108.000000 \n' # 90 degrees from the menu, plus 18
  e2e_console_quit
} >"$E2E_DIR/expected.txt"
e2e_expect "console transcript" e2e_console_matches "$E2E_DIR/expected.txt" "$E2E_DIR/stdout.txt"
e2e_expect "simulated time: 0 since RAZ vue et calcul, paused since" \
  e2e_is "time line" "$(grep '^t=' "$E2E_DIR/stdout.txt")" "t=0.000000"

e2e_finish
