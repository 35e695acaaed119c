#!/usr/bin/env bash
# Makes the documentation's pictures and the desktop icon from the real program on a
# private X server, driven through its menu:
#   docs/images/default-view.png  the default view a few seconds after start;
#   docs/images/pole-help.png     the pendulum at the north pole with the help lines shown
#                                 and its trace fanned out;
#   packaging/foucault.png        the icon: the pendulum at the pole seen from above, the
#                                 Earth cut out as a disc on a transparent ground, 256x256;
#   docs/images/foucault.gif      for slides: then nearer (Page Up) on a fixed Earth, the
#                                 plate staying put while the trace fans out into a star.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build; built first); FRAMES=30
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
scripts/deps.sh build record
scripts/build.sh "$dir" >/dev/null
# shellcheck source=scripts/xrun.sh
. scripts/xrun.sh
# The help entry's "open" does nothing here: no browser on the private screen.
printf '#!/bin/sh\n' >"$XR/open" && chmod +x "$XR/open"
start() { xr_stop && xr_start "$1" "$PWD" env PATH="$XR:$PATH" "$PWD/$dir/app/foucault"; }
# Scaled to 960 px wide in 256 colours: half the bytes, no visible loss on these
# flat-shaded pictures.
save() { xr_shot "$XR/shot.png" && convert "$XR/shot.png" -resize 960x -strip -colors 256 "PNG8:docs/images/$1"; }

start 1280x1024
sleep 3
save default-view.png
xr_menu 3/6 0/5 # Position du pendule -> pendule au po^le nord
xr_menu 5/6     # Aide
sleep 6         # at the pole the plane of swing turns with the Earth: its trace fans out
save pole-help.png

start 1024x768
xr_menu 3/6 0/5
sleep 5
xr_shot "$XR/icon.png"
# Here the Earth is a disc of radius about 291 pixels at the middle of the screen: keep a
# square around it and make everything outside the disc clear.
convert "$XR/icon.png" -crop 600x600+212+84 +repage \
  \( -size 600x600 xc:black -fill white -draw "circle 300,300 300,11" \) \
  -alpha off -compose CopyOpacity -composite -resize 256x256 -strip PNG32:packaging/foucault.png
xdotool key Prior
xr_menu 4/6 0/5 # Rotation Terre/Ciel -> Terre fixe
for i in $(seq -w "${FRAMES:-30}"); do
  xr_shot "$XR/frame-$i.png"
  sleep 0.1
done
# One palette for all frames and no dithering: what does not move stays the same from
# frame to frame, and the optimiser keeps only what changed.
convert -delay 20 -loop 0 "$XR"/frame-*.png -resize 512x384 +dither -colors 48 +remap \
  -layers Optimize docs/images/foucault.gif
echo "screenshots.sh: wrote docs/images/{default-view,pole-help}.png, docs/images/foucault.gif, packaging/foucault.png"
