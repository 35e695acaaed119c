#!/usr/bin/env bash
# The menu entries that change the latitude, the Earth's rate and the help, with the
# pendulum paused: 45 degrees south hides the site behind the Earth (seen from above the
# north pole) and + then prints -27; the rate entries double and halve what P then prints;
# "rotation du sol (O/N)" prints nothing; "Aide               " prints the help path and
# shows the help lines, and a second choice hides them again.
# Usage: menus_rotation_and_help.sh PROGRAM PROJECT_ROOT
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin menus_rotation_and_help "$1" "$2"
shots=$E2E_DIR

# Menu rows, top to bottom, with the rows of their submenus.
main_rows=6
position=3 rotation=4 help=5
position_rows=5 south_45=3
rotation_rows=5 ground_turns=2 faster=3 slower=4

scene=(0 24 1280 1000) # everything below the instruction line
help_lines=(0 30 320 290)

e2e_keys p
e2e_menu "$position" "$main_rows" "$south_45" "$position_rows" || e2e_fail "menu pendule a\` 45 sud"
e2e_shot "$shots/south.png"
e2e_expect "pendule a\` 45 sud: the site is behind the Earth, no red bob in view" \
  e2e_count "$shots/south.png" "${scene[@]}" "$E2E_RED" 0 0
e2e_keys plus

e2e_menu "$rotation" "$main_rows" "$faster" "$rotation_rows" || e2e_fail "menu rot. Terre + rapide"
e2e_keys P
e2e_menu "$rotation" "$main_rows" "$slower" "$rotation_rows" || e2e_fail "menu rot. Terre - rapide"
e2e_keys P
e2e_menu "$rotation" "$main_rows" "$ground_turns" "$rotation_rows" ||
  e2e_fail "menu rotation du sol (O/N)"

e2e_expect "before Aide: no help lines" \
  e2e_count "$shots/south.png" "${help_lines[@]}" "$E2E_RED" 0 0
e2e_menu "$help" "$main_rows" || e2e_fail "menu Aide"
e2e_shot "$shots/help.png"
e2e_expect "Aide: the help lines are shown in red" \
  e2e_count "$shots/help.png" "${help_lines[@]}" "$E2E_RED" 500 100000
e2e_menu "$help" "$main_rows" || e2e_fail "menu Aide, again"
e2e_shot "$shots/help-off.png"
e2e_expect "Aide again: the help lines are gone" \
  e2e_count "$shots/help-off.png" "${help_lines[@]}" "$E2E_RED" 0 0
e2e_quit

{
  e2e_console_startup
  printf '+\nlatitude -27.000000 \n' # -45 degrees from the menu, plus 18
  printf 'Omega=0.400000\n'         # 0.1 doubled by the menu, then by P
  printf 'Omega=0.400000\n'         # halved by the menu, doubled by P
  printf 'help.sh\nhelp.sh\n'
  e2e_console_quit
} >"$E2E_DIR/expected.txt"
e2e_expect "console transcript" e2e_console_matches "$E2E_DIR/expected.txt" "$E2E_DIR/stdout.txt"
e2e_log "the help command wrote to stderr: $(tr '\n' '|' <"$E2E_DIR/stderr.txt")"

e2e_finish
