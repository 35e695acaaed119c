# shellcheck shell=bash
# Runs the real program on a private X server and drives it as a person would: keys, drags,
# the right-button menus through freeglut's own menu windows, screenshots. Sourced by the
# end-to-end driver, the install check, memcheck, screenshots and run. The program's
# console goes to $XR/out and $XR/err: XR is the caller's folder, or a temporary one
# removed at exit.
if [ -z "${XR:-}" ]; then
  XR=$(mktemp -d)
  trap 'xr_stop; rm -rf "$XR"' EXIT
fi

# Stops the program and the X server, by their ids, and forgets the display number. Either
# may be gone already (or never started), and a killed one's status is not a failure: this
# also runs at exit under set -e.
xr_stop() {
  kill "${XR_APP:-}" "${XR_X:-}" 2>/dev/null || true
  wait "${XR_APP:-}" "${XR_X:-}" 2>/dev/null || true
  XR_APP="" XR_X=""
  rm -f "$XR/display"
}

# Starts Xvfb with a screen of SIZE (WxH) on a display number it picks, then the command
# in folder DIR, and waits for its window to cover the screen (glutFullScreen).
# Usage: xr_start SIZE DIR COMMAND...
xr_start() {
  local size=$1 dir=$2
  shift 2
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$XR/display" 2>"$XR/xvfb.log" &
  XR_X=$!
  timeout 10 sh -c "until [ -s '$XR/display' ]; do sleep 0.05; done" || return 1
  DISPLAY=":$(cat "$XR/display")" && export DISPLAY
  (cd "$dir" && exec "$@" >"$XR/out" 2>"$XR/err") &
  XR_APP=$!
  XR_WIN=$(timeout 90 xdotool search --sync --onlyvisible --name '^Pendule de Foucault') || return 1
  for _ in $(seq 600); do
    xdotool getwindowgeometry "$XR_WIN" | grep -q "Geometry: $size" && break
    sleep 0.05
  done
  xdotool windowfocus --sync "$XR_WIN"
}

# Waits (up to a minute: valgrind is slow) until N menu windows are on screen; prints
# "x y width height" of the rightmost, the newest submenu.
xr_wait_menus() {
  local menus
  for _ in $(seq 1200); do
    menus=$(xdotool search --onlyvisible --name 'freeglut menu' getwindowgeometry --shell %@ 2>/dev/null |
      awk -F= '{ v[$1] = $2 } /^HEIGHT/ { print v["X"], v["Y"], v["WIDTH"], $2 }' | sort -n) || true
    [ "$(grep -c . <<<"$menus")" = "$1" ] && { tail -n 1 <<<"$menus"; return 0; }
    sleep 0.05
  done
  return 1
}

# Moves the pointer to (x, y) in STEPS motion events: freeglut opens a submenu only when
# the pointer moves over its entry.
xr_glide() {
  local X Y i args=()
  eval "$(xdotool getmouselocation --shell)"
  for i in $(seq "$3"); do
    args+=(mousemove $((X + ($1 - X) * i / $3)) $((Y + ($2 - Y) * i / $3)) sleep 0.03)
  done
  xdotool "${args[@]}"
}

# A left-button drag from (x0, y0) to (x1, y1).
xr_drag() { xdotool mousemove "$1" "$2" mousedown 1 && xr_glide "$3" "$4" 6 && xdotool mouseup 1; }

# Chooses row ROW (from 0) of the main menu's COUNT rows, or row SUB of that row's submenu
# of SUBCOUNT rows: the pointer jumps onto the row (gliding down across the rows above would
# open their submenus), glides along it into the submenu, then down to its row.
# Usage: xr_menu ROW/COUNT [SUB/SUBCOUNT]
xr_menu() {
  local mx my mw mh sx sy sw sh y
  xdotool mousemove 20 20 click 3
  read -r mx my mw mh < <(xr_wait_menus 1) || return 1
  y=$((my + mh * ${1%/*} / ${1#*/} + mh / ${1#*/} / 2))
  xdotool mousemove $((mx + mw / 4)) "$y"
  xr_glide $((mx + mw / 2)) "$y" 3
  if [ -n "${2:-}" ]; then
    read -r sx sy sw sh < <(xr_wait_menus 2) || return 1
    xr_glide $((sx + sw / 3)) "$y" 4
    xr_glide $((sx + sw / 3)) $((sy + sh * ${2%/*} / ${2#*/} + sh / ${2#*/} / 2)) 4
  fi
  xdotool click 1
  xr_wait_menus 0 >/dev/null
}

# A screenshot of the whole screen, fast PNG compression.
xr_shot() { import -window root -quality 10 "$1"; }
