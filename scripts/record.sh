#!/usr/bin/env bash
# Records a few seconds of the program as an animated GIF, for slides and the README.
#
# Usage: scripts/record.sh [OUTPUT.gif]        (default: docs/images/foucault.gif)
#   FRAMES=30            number of frames to capture
#   FOUCAULT_PROGRAM=... record this binary instead of building build/app/foucault
#
# The program runs on a private X server at 1024x768 and is driven as a person would:
# the right-button menu puts the pendulum at the north pole ("Position du pendule"),
# Page Up brings the camera nearer, and the menu holds the Earth still ("Rotation
# Terre/Ciel" -> "Terre fixe") so that the plate stays put while the sky turns and the
# trace fans out into a star. Before writing the GIF the script checks what it caught:
# every frame differs from the one before (the pendulum moves) and the last one shows the
# trace on the plate.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-docs/images/foucault.gif}
case "$out" in /*) ;; *) out="$root/$out" ;; esac
frames=${FRAMES:-30}

if [ -n "${FOUCAULT_PROGRAM:-}" ]; then
  scripts/deps.sh record
  program=$FOUCAULT_PROGRAM
else
  scripts/deps.sh build record
  scripts/build.sh build
  program=$root/build/app/foucault
fi
[ -x "$program" ] || { echo "record.sh: no program at $program" >&2; exit 1; }

E2E_DIR=$(mktemp -d)
E2E_NAME=record
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
e2e_keys Prior     # the camera 5 units nearer
e2e_menu 4 6 0 5   # Rotation Terre/Ciel -> Terre fixe

mkdir -p "$E2E_DIR/frames"
for i in $(seq -w 1 "$frames"); do
  import -window root "$E2E_DIR/frames/$i.png"
  sleep 0.1
done
kill -0 "$E2E_APP_PID" 2>/dev/null || { echo "record.sh: the program ended early" >&2; exit 1; }

# What the frames show. The plate lies at the middle of the screen in this view and
# hides the Earth there; the trace is drawn in the sky's blue over the plate's grey.
shots=("$E2E_DIR"/frames/*.png)
for ((i = 1; i < ${#shots[@]}; i++)); do
  changed=$(compare -metric AE "${shots[i - 1]}" "${shots[i]}" null: 2>&1 || true)
  changed=${changed%% *}
  if ! [[ "$changed" =~ ^[0-9]+$ ]]; then
    echo "record.sh: compare failed on frames $i and $((i + 1)): $changed" >&2
    exit 1
  elif [ "$changed" -eq 0 ]; then
    echo "record.sh: frames $i and $((i + 1)) are the same: nothing moved" >&2
    exit 1
  fi
done
plate_grey='r > 60 && r < 130 && g > 55 && g < 120 && b > 80 && b < 150 && b - r < 40'
trace_blue='b > 150 && r < 100 && g < 140'
read -r plate _ < <(e2e_find "${shots[-1]}" 432 304 160 160 "$plate_grey")
read -r first _ < <(e2e_find "${shots[0]}" 432 304 160 160 "$trace_blue")
read -r last _ < <(e2e_find "${shots[-1]}" 432 304 160 160 "$trace_blue")
if [ "$plate" -lt 12800 ]; then
  echo "record.sh: the plate is not at the middle of the last frame ($plate grey pixels)" >&2
  exit 1
fi
if [ "$last" -lt 60 ]; then
  echo "record.sh: no trace on the plate in the last frame ($first then $last pixels)" >&2
  exit 1
fi

# One palette for all frames and no dithering, so that what does not move stays the same
# from frame to frame and the optimiser keeps only what changed.
mkdir -p "$(dirname "$out")"
convert -delay 20 -loop 0 "${shots[@]}" -resize 512x384 +dither -colors 48 +remap \
  -layers Optimize "$out"
echo "record.sh: wrote $out ($frames frames, $(stat -c %s "$out") bytes; trace $first -> $last pixels)"
