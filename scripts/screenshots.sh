#!/usr/bin/env bash
# Makes the documentation's pictures from the real program on a private X server:
#   docs/images/default-view.png  the default view a few seconds after start;
#   docs/images/pole-help.png     the pendulum at the north pole, chosen from the menu, with
#                                 the help lines shown and its trace fanned out.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build; built first if needed)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
dir="${1:-build}"
scripts/deps.sh build record || exit 1
scripts/build.sh "$dir" || exit 1
program="$root/$dir/app/foucault"
mkdir -p docs/images

E2E_NAME=screenshots
E2E_DIR=$(mktemp -d)
source tests/e2e/lib.sh
trap 'e2e_cleanup; rm -rf "$E2E_DIR"' EXIT
trap 'exit 143' TERM INT HUP

die() {
  e2e_log "$*"
  exit 1
}

# Saves the screen, scaled to 960 px wide and to 256 colours (half the bytes, no visible
# loss on these flat-shaded pictures), as a PNG of the documentation.
save() {
  if ! import -window root "$E2E_DIR/shot.png" ||
    ! convert "$E2E_DIR/shot.png" -resize 960x -strip -colors 256 "PNG8:docs/images/$1"; then
    die "could not save docs/images/$1"
  fi
  e2e_log "saved docs/images/$1"
}

e2e_start_x || die "no X server"
e2e_start_app "$program" "$root" "$E2E_DIR/stdout.txt" "$E2E_DIR/stderr.txt"
e2e_find_window || die "the program showed no window: $(cat "$E2E_DIR/stderr.txt")"

sleep 3
save default-view.png

# Menu rows: "Position du pendule" (row 3 of 6) -> "pendule au po^le nord" (row 0 of 5);
# "Aide               " (row 5 of 6). The help command may fail here; it does no harm.
e2e_menu 3 6 0 5 || die "could not choose pendule au po^le nord"
e2e_menu 5 6 || die "could not choose Aide"
# At the pole the plane of swing turns as fast as the Earth: a few seconds fan it out.
sleep 6
save pole-help.png

e2e_keys Q
sleep 0.5
e2e_log "help command output: $(tr '\n' ' ' <"$E2E_DIR/stderr.txt")"
