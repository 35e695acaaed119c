#!/usr/bin/env bash
# Makes the desktop icon, packaging/foucault.png, from the program's own picture: the
# pendulum at the north pole seen from above, its trace fanned out on the plate, the
# Earth cut out as a disc on a transparent ground, 256x256.
# Usage: packaging/make-icon.sh [PROGRAM]   (default: build/app/foucault, built first)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if [ -n "${1:-}" ]; then
  program=$1
  scripts/deps.sh record
else
  scripts/deps.sh build record
  scripts/build.sh build
  program=$root/build/app/foucault
fi

E2E_DIR=$(mktemp -d)
E2E_NAME=icon
export E2E_DIR E2E_NAME
# shellcheck source=../tests/e2e/lib.sh
. "$root/tests/e2e/lib.sh"
E2E_SCREEN_W=1024
E2E_SCREEN_H=768
trap 'e2e_cleanup; rm -rf "$E2E_DIR"' EXIT

e2e_need_tools
e2e_start_x
e2e_start_app "$program" "$root" "$E2E_DIR/stdout" "$E2E_DIR/stderr"
e2e_find_window
e2e_menu 3 6 0 5   # Position du pendule -> pendule au po^le nord
e2e_shot "$E2E_DIR/screen.png" 5

# At this size and distance the Earth is a disc of radius about 291 pixels at the middle
# of the screen: keep a square around it and make everything outside the disc clear.
convert "$E2E_DIR/screen.png" -crop 600x600+212+84 +repage \
  \( -size 600x600 xc:black -fill white -draw "circle 300,300 300,11" \) \
  -alpha off -compose CopyOpacity -composite \
  -resize 256x256 -strip "PNG32:$root/packaging/foucault.png"
echo "make-icon.sh: wrote packaging/foucault.png"
