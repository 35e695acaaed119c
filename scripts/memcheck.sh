#!/usr/bin/env bash
# Runs the real program under valgrind's memcheck on a private X server for about ten
# seconds of frames, while keys, drags and menu choices are sent to it, then quits with Q.
# Passes when no invalid read or write, no invalid free and no use of an uninitialised
# value is reported in our own code (sim/, render/, app/); what the libraries underneath
# report is counted and shown, not failed on.
#
# Usage: scripts/memcheck.sh [PROGRAM]   (default: build/app/foucault, built if missing)
# The log and a summary go to out/memcheck/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

program=${1:-}
if [ -z "$program" ]; then
  scripts/deps.sh build test
  scripts/build.sh build
  program=build/app/foucault
fi
program=$(realpath "$program")
for tool in valgrind Xvfb xdotool xwininfo timeout; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "memcheck.sh: $tool is missing (scripts/deps.sh test installs it)" >&2
    exit 1
  fi
done

out=$root/out/memcheck
mkdir -p "$out"
log=$out/valgrind.log
rm -f "$log" "$out"/*.txt
# A small screen: the program goes full screen, and under valgrind every pixel is slow.
screen_w=400
screen_h=300
title="Pendule de Foucault"

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb -displayfd 9 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp 9>"$out/display.txt" \
  2>"$out/xvfb.txt" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$out/display.txt" ] && break
  sleep 0.1
done
if [ ! -s "$out/display.txt" ]; then
  echo "memcheck.sh: Xvfb did not start (see $out/xvfb.txt)" >&2
  exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$out/display.txt")"

# --fullpath-after names our sources by their path in the project (sim/trace.cpp), so
# that our frames can be told from the libraries'. The help entry's command goes to a
# shell that has no "open": harmless, and the shell is not traced.
(
  cd "$root"
  exec env LIBGL_ALWAYS_SOFTWARE=1 timeout 600 valgrind --tool=memcheck --track-origins=yes \
    --num-callers=40 --error-limit=no --leak-check=no --fullpath-after="$root/" \
    --log-file="$log" "$program" >"$out/stdout.txt" 2>"$out/stderr.txt"
) &
app_pid=$!

window=""
for _ in $(seq 600); do
  window=$(xdotool search --name "$title" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "memcheck.sh: the program's window never appeared (see $out/)" >&2
  exit 1
fi
sleep 2  # the first frames, and the switch to full screen

# xdotool's failures (the program gone already) are the checks' business, not the driver's.
key() {
  xdotool key --window "$window" "$@" 2>/dev/null || true
  sleep 0.3
}

# Glides the pointer from where it is to (x, y) in small steps: freeglut opens a
# submenu only when the pointer moves over its entry.
pointer_x=5
pointer_y=5
glide() {
  local x=$1 y=$2 i
  for i in 1 2 3 4 5 6; do
    xdotool mousemove $((pointer_x + (x - pointer_x) * i / 6)) $((pointer_y + (y - pointer_y) * i / 6))
    sleep 0.1
  done
  pointer_x=$x
  pointer_y=$y
}

# Prints "x y width height" of each menu window on screen, leftmost first (a submenu opens
# to the right of its parent).
menus() {
  local id
  for id in $(xdotool search --onlyvisible --name "freeglut menu" 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | awk '/Absolute upper-left X:/ {x = $NF}
      /Absolute upper-left Y:/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF}
      END {print x, y, w, h}'
  done | sort -n
}

# Waits until COUNT menus are on screen.
wait_for_menus() {
  local count=$1 i
  for i in $(seq 150); do
    [ "$(menus | wc -l)" -eq "$count" ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits for the submenu whose top is at TOP (a submenu lines up with its entry) and for
# the others, opened on the way down the main menu, to close; prints its geometry.
wait_for_submenu() {
  local top=$1 i found
  for i in $(seq 150); do
    found=$(menus | awk -v top="$top" 'NR > 1 && $2 == top' | head -n 1)
    if [ -n "$found" ] && { [ "$(menus | wc -l)" -eq 2 ] || [ "$i" -gt 50 ]; }; then
      echo "$found"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Chooses a menu entry: a right click opens the main menu at the pointer; the pointer
# jumps onto row ROW of its six (gliding down across the other rows would open their
# submenus on the way) and glides along it; for a submenu it then glides along the row
# into the submenu, down to row SUBROW, and a left click chooses. Under valgrind the
# program answers late, so every step waits for the menus it expects on screen.
choose() {
  local row=$1 subrow=${2:-} mx my mw mh sx sy sw sh rh sub
  wait_for_menus 0 || true
  xdotool mousemove 5 5
  pointer_x=5
  pointer_y=5
  sleep 0.2
  xdotool click 3
  if ! wait_for_menus 1; then
    echo "memcheck.sh: the menu did not open for row $row" >&2
    return 0
  fi
  read -r mx my mw mh < <(menus | head -n 1)
  rh=$((mh / 6))  # rows of 25 pixels within a 2-pixel border
  pointer_x=$((mx + mw / 4))
  pointer_y=$((my + rh * (row - 1) + rh / 2))
  xdotool mousemove "$pointer_x" "$pointer_y"
  glide $((mx + mw / 2)) "$pointer_y"
  if [ -n "$subrow" ]; then
    if sub=$(wait_for_submenu $((my + rh * (row - 1)))); then
      read -r sx sy sw sh <<<"$sub"
      glide $((sx + sw / 3)) "$pointer_y"
      glide $((sx + sw / 3)) $((sy + rh * (subrow - 1) + rh / 2))
    else
      echo "memcheck.sh: the submenu of row $row did not open" >&2
    fi
  fi
  sleep 0.3
  xdotool click 1
  wait_for_menus 0 || echo "memcheck.sh: a menu stayed open after row $row" >&2
}

# The menus first, the full reset among them; then about ten seconds of frames under keys
# and drags, so that the time Q prints tells how far the model ran after the reset.
choose 5 3                   # Rotation Terre/Ciel -> rotation du sol (O/N)
choose 4 1                   # Position du pendule -> pendule au po^le nord
choose 3 2                   # RAZ Cas initial -> lach'e de l'Ouest
choose 2 3                   # L'observateur regarde -> de 3/4 Nord
choose 6                     # Aide: the help lines, and the help command
choose 6                     # and off again: bitmap text is slow under valgrind
choose 1                     # RAZ vue et calcul
started=$(date +%s)
for k in plus plus minus P M l l t; do key "$k"; done
xdotool mousemove 120 80 mousedown 1 mousemove 140 200 mouseup 1 2>/dev/null || true
for k in r Prior Next R R p g z g; do key "$k"; done
xdotool mousemove 200 100 mousedown 1 mousemove 260 150 mouseup 1 2>/dev/null || true
while [ $(($(date +%s) - started)) -lt 10 ]; do
  key plus
done
key Q
for _ in $(seq 300); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "memcheck.sh: the program did not end after Q" >&2
  exit 1
fi
wait "$app_pid" || true
app_pid=""

# One block per reported error: its heading and stack, then for a bad address the stack
# that allocated the block it lies in, or for an uninitialised value the stack that made
# it. The error is ours when the innermost frame of its stack is one of our sources, or
# when the first frame past the allocator of that second stack is: our code read or
# wrote where it should not, or handed a library memory it had not filled.
summary=$out/summary.txt
awk -v ours='\\((sim|render|app)/[^:]+:[0-9]+\\)$' \
    -v allocator=': (malloc|calloc|realloc|memalign|posix_memalign|operator new)' '
  function finish() {
    if (kind != "") {
      total++
      if (mine) own++
      else if (through) passing++
      kinds[kind (mine ? " (ours)" : "")]++
    }
    kind = ""; mine = 0; through = 0; frame = 0; second = 0
  }
  { sub(/^==[0-9]+== ?/, "") }
  /^(Invalid (read|write|free)|Mismatched free|Conditional jump|Use of uninitialised|Syscall param|Source and destination overlap|Argument .* fishy)/ {
    finish(); kind = $0; sub(/ of size [0-9]+$/, "", kind); next
  }
  kind == "" { next }
  /^ *(at|by) / {
    frame++
    if ($0 ~ ours) {
      through = 1
      if ((!second && frame == 1) || second == 1) mine = 1
    }
    if (second == 1 && $0 !~ allocator) second = 2
    next
  }
  /Uninitialised value was created|^ *Address .* (alloc.d|free.d)/ { second = 1; next }
  /^$/ { finish() }
  END {
    finish()
    printf "errors %d, in our code %d, in libraries called from our code %d\n", total, own, passing
    for (k in kinds) printf "  %d x %s\n", kinds[k], k
  }' "$log" >"$summary"

# The keys and the menu reached the program: the help path, the full reset's and the z
# key's "RAZ", the farewell of Q.
reached=1
[ "$(grep -cx 'help.sh' "$out/stdout.txt")" -eq 2 ] || reached=0
[ "$(grep -cx 'RAZ' "$out/stdout.txt")" -ge 2 ] || reached=0
grep -qx 'oxa vous dit au revoir !' "$out/stdout.txt" || reached=0
ran=$(grep -c . "$out/stdout.txt" || true)
echo "memcheck.sh: $(head -n 1 "$summary") (valgrind: $(grep -o 'ERROR SUMMARY: [0-9]* errors' "$log" | tail -n 1))"
tail -n +2 "$summary"
echo "memcheck.sh: the program printed $ran lines, the last: $(tail -n 1 "$out/stdout.txt")"
if [ "$reached" != 1 ]; then
  echo "memcheck.sh: FAILED: the keys or the menu choices did not all reach the program" >&2
  exit 1
fi
own=$(head -n 1 "$summary" | sed -E 's/.*in our code ([0-9]+).*/\1/')
if [ "$own" != "0" ]; then
  echo "memcheck.sh: FAILED: errors in our code, see $log" >&2
  exit 1
fi
echo "memcheck.sh: passed; log in $log"
