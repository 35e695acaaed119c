# shellcheck shell=bash
# Helpers for driving the real program from outside, sourced by the end-to-end scripts and
# by scripts/screenshots.sh: a private X server, the program's window, keys, drags, the
# right-button menus, screenshots and colour probes.
#
# The caller sets E2E_DIR (a folder for logs, transcripts and screenshots) before use.
# Everything runs on the private server whose DISPLAY e2e_start_x exports.

E2E_SCREEN_W=1280
E2E_SCREEN_H=1024
E2E_TITLE="Pendule de Foucault"
E2E_XVFB_PID=""
E2E_APP_PID=""
E2E_WINDOW=""

E2E_T0=${EPOCHREALTIME:-0}

# Prints a message with the scenario's name and the seconds since it began.
e2e_log() {
  printf '[%s %5.1fs] %s\n' "${E2E_NAME:-e2e}" \
    "$(awk -v a="$E2E_T0" -v b="${EPOCHREALTIME:-0}" 'BEGIN {print b - a}')" "$*"
}

# Tells which of the tools the scripts drive the program with are missing.
e2e_need_tools() {
  local missing=() tool
  for tool in Xvfb xdotool xwininfo import convert od awk timeout; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  e2e_log "missing tools: ${missing[*]} (scripts/deps.sh test installs them)"
  return 1
}

# Starts Xvfb on a display number it picks itself (safe when several tests run at once)
# and exports DISPLAY for every later command.
e2e_start_x() {
  local fdfile="$E2E_DIR/xvfb.display" i
  : >"$fdfile"
  Xvfb -displayfd 9 -screen 0 "${E2E_SCREEN_W}x${E2E_SCREEN_H}x24" -nolisten tcp \
    9>"$fdfile" 2>"$E2E_DIR/xvfb.log" &
  E2E_XVFB_PID=$!
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    e2e_log "Xvfb did not start (see $E2E_DIR/xvfb.log)"
    return 1
  fi
  DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
  export DISPLAY
  e2e_log "private X server on $DISPLAY"
}

# Starts the program from the project root (where help.html lives), console to files.
# Usage: e2e_start_app BINARY ROOT STDOUT STDERR
e2e_start_app() {
  local bin=$1 root=$2 out=$3 err=$4
  # At a lower priority: it draws as fast as it can, and the tools driving it must not wait.
  (cd "$root" && exec nice -n 10 timeout 60 "$bin" >"$out" 2>"$err") &
  E2E_APP_PID=$!
}

# Waits for the program's window to cover the whole screen, then gives it the focus.
e2e_find_window() {
  local i geometry=""
  E2E_WINDOW=""
  for i in $(seq 100); do
    E2E_WINDOW=$(xdotool search --name "$E2E_TITLE" 2>/dev/null | head -n 1 || true)
    if [ -n "$E2E_WINDOW" ]; then
      geometry=$(e2e_geometry "$E2E_WINDOW")
      [ "$geometry" = "0 0 $E2E_SCREEN_W $E2E_SCREEN_H" ] && break
    fi
    kill -0 "$E2E_APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ "$geometry" != "0 0 $E2E_SCREEN_W $E2E_SCREEN_H" ]; then
    e2e_log "no full-screen window titled '$E2E_TITLE' (last geometry: '${geometry}')"
    return 1
  fi
  xdotool windowfocus --sync "$E2E_WINDOW"
  e2e_log "window $E2E_WINDOW covers the screen and has the focus"
}

# Prints "x y width height" of a window.
e2e_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x = $NF} /Absolute upper-left Y:/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {h = $NF}
    END {if (w != "") print x, y, w, h}'
}

# Sends keys (xdotool key names) through XTEST to the focused window, one by one.
e2e_keys() {
  xdotool key --delay 20 "$@"
}

# Moves the pointer from where it is to (x, y) in small steps, so that every step makes a
# motion event (freeglut opens a submenu only on motion over its entry). One xdotool run.
e2e_glide() {
  local tx=$1 ty=$2 steps=${3:-6} X Y i args=()
  eval "$(xdotool getmouselocation --shell)"
  for i in $(seq 1 "$steps"); do
    args+=(mousemove $((X + (tx - X) * i / steps)) $((Y + (ty - Y) * i / steps)) sleep 0.05)
  done
  xdotool "${args[@]}"
}

# A left-button drag from (x0, y0) to (x1, y1).
e2e_drag() {
  xdotool mousemove "$1" "$2"
  sleep 0.05
  xdotool mousedown 1
  e2e_glide "$3" "$4" 6
  sleep 0.05
  xdotool mouseup 1
}

# Prints "x y width height" of every menu window on screen.
e2e_open_menus() {
  local id
  for id in $(xdotool search --onlyvisible --name "freeglut menu" 2>/dev/null); do
    e2e_geometry "$id"
  done
}

# Waits until N menu windows are on screen and prints the geometry of the first one; with
# TOP, ROW_H and the main menu's geometry, waits instead for a menu other than the main
# one whose top lies within a row of TOP (the submenu of that row) and prints its geometry.
# Usage: e2e_wait_menus N [TOP ROW_H "X Y W H"]
e2e_wait_menus() {
  local want=$1 top=${2:-} row_h=${3:-} main=${4:-} i now found
  for i in $(seq 60); do
    now=$(e2e_open_menus)
    if [ "$(printf '%s' "$now" | grep -c .)" -eq "$want" ]; then
      if [ -z "$top" ]; then
        printf '%s\n' "$now" | head -n 1
        return 0
      fi
      found=$(printf '%s\n' "$now" | grep -vxF "$main" |
        awk -v t="$top" -v h="$row_h" '$2 - t <= h && t - $2 <= h {print; exit}')
      if [ -n "$found" ]; then
        printf '%s\n' "$found"
        return 0
      fi
    fi
    sleep 0.05
  done
  e2e_log "expected $want menu window(s)${top:+, one at y=$top}, found: $(printf '%s' "$now" | tr '\n' ';')" >&2
  return 1
}

# Chooses a menu entry as a person would: a right click opens the menu at the pointer; the
# pointer goes straight to row MAIN (0 = top) of its MAIN_COUNT rows and glides along it,
# then either clicks it with the left button or, for a submenu, waits for it to open,
# glides along the row into it, down to row SUB of SUB_COUNT, and clicks there. Rows are
# found from the menu windows' real sizes and places (row height = menu height / number of
# rows). Gliding quickly down across other submenu rows left one of their submenus open
# here, hence the jump. Holding the right button down and releasing it over an entry chose nothing here
# (freeglut 3.4, XTEST events), hence the two clicks.
# Usage: e2e_menu MAIN MAIN_COUNT [SUB SUB_COUNT]
e2e_menu() {
  local main=$1 main_count=$2 sub=${3:-} sub_count=${4:-}
  local mx my mw mh row_h x y sx sy sw sh sub_h
  # The menu opens at the pointer: start from a place with room below and to the right.
  xdotool mousemove 700 250
  sleep 0.05
  xdotool click 3
  read -r mx my mw mh < <(e2e_wait_menus 1) || return 1
  row_h=$((mh / main_count))
  x=$((mx + mw / 4))
  y=$((my + main * row_h + row_h / 2))
  xdotool mousemove "$x" "$y"
  e2e_glide $((x + mw / 4)) "$y" 3
  if [ -n "$sub" ]; then
    read -r sx sy sw sh < <(e2e_wait_menus 2 $((my + main * row_h)) "$row_h" "$mx $my $mw $mh") ||
      return 1
    sub_h=$((sh / sub_count))
    # Along the row into the submenu, then down to the entry.
    e2e_glide $((sx + sw / 3)) "$y" 4
    e2e_glide $((sx + sw / 3)) $((sy + sub * sub_h + sub_h / 2)) $((1 + sub))
  fi
  sleep 0.05
  xdotool click 1
  e2e_wait_menus 0 >/dev/null
}

# Saves a screenshot of the whole screen, after letting the latest input reach a few frames.
e2e_shot() {
  sleep "${2:-0.3}"
  # Fast PNG compression: the default level takes half a second per screenshot here.
  import -window root -quality 10 "$1"
}

# Prints the mean colour "r g b" (0-255) of a region of an image.
# Usage: e2e_mean IMAGE X Y WIDTH HEIGHT
e2e_mean() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -scale '1x1!' -depth 8 \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

# Prints "count cx cy" of the pixels of a region that pass an awk test on r, g, b (cx, cy:
# their centroid in screen pixels, -1 -1 when there is none). A region of more than 200000
# pixels is read at every other pixel and row (quicker; the count is scaled back).
# Usage: e2e_find IMAGE X Y WIDTH HEIGHT TEST
e2e_find() {
  local s=1 sample=()
  if [ $(($4 * $5)) -gt 200000 ]; then
    s=2
    sample=(-sample 50%)
  fi
  convert "$1" -crop "$4x$5+$2+$3" +repage "${sample[@]}" -depth 8 rgb:- |
    od -An -v -tu1 -w3 |
    awk -v W=$(($4 / s)) -v X="$2" -v Y="$3" -v s="$s" '
      {r = $1; g = $2; b = $3}
      '"$6"' {i = NR - 1; n++; sx += i % W; sy += int(i / W)}
      END {
        if (n) printf "%d %d %d\n", n * s * s, X + s * sx / n, Y + s * sy / n
        else print "0 -1 -1" }'
}

# Pixel tests for e2e_find. Red: the bob and the overlay text with lighting on (the red
# material lit: strong red, little green or blue). White: everything with lighting off.
# Earth: the lit Earth's blue to cyan.
# shellcheck disable=SC2034 # used by the scripts that source this file
E2E_RED='r > 110 && g < 70 && b < 70 && r > 2 * (g + b)'
# shellcheck disable=SC2034
E2E_WHITE='r > 230 && g > 230 && b > 230'
E2E_EARTH='r < 60 && b > 150'

# --- Checks: each prints what it measured and returns 0 when it holds. ---

# A value equals the expected one.
# Usage: e2e_is WHAT ACTUAL EXPECTED
e2e_is() {
  echo "$1 $2, expected $3"
  [ "$2" = "$3" ]
}

# The mean colour of a region is within TOL of "R G B" on every channel.
# Usage: e2e_colour IMAGE X Y WIDTH HEIGHT "R G B" TOL
e2e_colour() {
  local mean
  mean=$(e2e_mean "$1" "$2" "$3" "$4" "$5")
  echo "mean colour $mean at $4x$5+$2+$3, expected $6 +-$7"
  awk -v m="$mean" -v e="$6" -v t="$7" 'BEGIN {
    split(m, a, " "); split(e, b, " ")
    for (i = 1; i <= 3; i++) if (a[i] - b[i] > t || b[i] - a[i] > t) exit 1 }'
}

# Between MIN and MAX pixels of a region pass TEST. Sets E2E_FOUND to "count cx cy".
# Usage: e2e_count IMAGE X Y WIDTH HEIGHT TEST MIN MAX
e2e_count() {
  E2E_FOUND=$(e2e_find "$1" "$2" "$3" "$4" "$5" "$6")
  local n=${E2E_FOUND%% *}
  echo "$n pixels in $4x$5+$2+$3 (centroid ${E2E_FOUND#* }), expected $7..$8"
  [ "$n" -ge "$7" ] && [ "$n" -le "$8" ]
}

# How many of eight 8x8 regions on a circle of RADIUS pixels around the screen's centre
# show the Earth lies between MIN and MAX: tells how big the Earth's disc is drawn.
# Usage: e2e_earth_ring IMAGE RADIUS MIN MAX
e2e_earth_ring() {
  local crops n
  # One decoding of the image, eight mean colours.
  crops=$(awk -v r="$2" -v cx=$((E2E_SCREEN_W / 2)) -v cy=$((E2E_SCREEN_H / 2)) 'BEGIN {
    for (a = 0; a < 360; a += 45)
      printf "( mpr:s -crop 8x8+%d+%d +repage -scale 1x1! ) ",
        cx + r * cos(a * 0.0174533) - 4, cy - r * sin(a * 0.0174533) - 4 }')
  # shellcheck disable=SC2086 # the crops are meant to split into arguments
  n=$(convert "$1" -write mpr:s +delete $crops -append -depth 8 txt:- |
    awk -F'[(),: ]+' 'NR > 1 {r = $3; g = $4; b = $5; if ('"$E2E_EARTH"') n++} END {print n + 0}')
  echo "$n of 8 regions at radius $2 show the Earth, expected $3..$4"
  [ "$n" -ge "$3" ] && [ "$n" -le "$4" ]
}

# --- Outcome bookkeeping ---

E2E_PASSED=0
E2E_FAILED=0

# Runs a check and logs its outcome with what it measured.
# Usage: e2e_expect DESCRIPTION CHECK ARGS...
e2e_expect() {
  local desc=$1 status=0
  shift
  # Not in a subshell, so that a check can leave values behind (E2E_FOUND).
  "$@" >"$E2E_DIR/check.out" 2>&1 || status=1
  if [ "$status" -eq 0 ]; then
    E2E_PASSED=$((E2E_PASSED + 1))
    e2e_log "ok   $desc: $(cat "$E2E_DIR/check.out")"
    return 0
  fi
  E2E_FAILED=$((E2E_FAILED + 1))
  e2e_log "FAIL $desc: $(cat "$E2E_DIR/check.out")"
  return 1
}

# Counts a failure that no check measured.
e2e_fail() {
  E2E_FAILED=$((E2E_FAILED + 1))
  e2e_log "FAIL $*"
}

# --- The console ---

# The seven banner lines that every reset prints.
e2e_console_banner() {
  printf '%s\n' \
    'go! go! go! go! go!                  ' \
    ' Simulateur de  pendule de Foucault  ' \
    " foucault, e'quipe du projet 2026    " \
    ' courriel: pendule@example.org       ' \
    ' web: http://www.example.org/pendule ' \
    ' menu contextuel: click droit        ' \
    ' Q pour quitter                      '
}

e2e_console_startup() {
  printf 'talvo oxa 2004\n'
  printf 'nous sommes ici ->  \n'
  e2e_console_banner
  printf 'dt=0.000500\n'
  printf "l'affichage OpenGL commence maintenant \n"
}

# A later reset: the banner, the time step, "RAZ".
e2e_console_reset() {
  e2e_console_banner
  printf 'dt=0.000500\nRAZ\n'
}

# Q: the simulated time (compared as a pattern), the contact line, the farewell.
e2e_console_quit() {
  printf 't=<time>\nhttp://www.example.org/pendule \noxa vous dit au revoir !\n'
}

# Compares the whole transcript byte for byte with the expected one, the simulated time
# line "t=%lf" being replaced by a placeholder in both.
# Usage: e2e_console_matches EXPECTED ACTUAL
e2e_console_matches() {
  local pattern='s/^t=[0-9]+\.[0-9]{6}$/t=<time>/'
  if cmp -s <(sed -E "$pattern" "$1") <(sed -E "$pattern" "$2"); then
    echo "$(wc -l <"$2") lines, as expected"
    return 0
  fi
  echo "transcript differs (expected -, actual +; \$ marks each line's end):"
  diff -u <(sed -E "$pattern" "$1" | cat -A) <(sed -E "$pattern" "$2" | cat -A) | tail -n +3
  return 1
}

# --- A test's frame ---

# Sets up a scenario: checks the tools (a missing one skips the test with status 77,
# or fails it when CI=true), makes the folder for its files, starts a private X server
# and the program, and waits for its full-screen window.
# Usage: e2e_begin NAME BINARY PROJECT_ROOT
e2e_begin() {
  E2E_NAME=$1
  E2E_BIN=$2
  E2E_ROOT=$3
  E2E_DIR="$PWD/$E2E_NAME"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  if ! e2e_need_tools; then
    if [ "${CI:-}" = true ]; then
      e2e_log "FAILED: CI=true, where a missing tool is a failure, not a skip"
      exit 1
    fi
    e2e_log "SKIP: tools missing"
    exit 77
  fi
  if [ ! -x "$E2E_BIN" ] || [ ! -f "$E2E_ROOT/help.html" ]; then
    e2e_log "usage: $0 PROGRAM PROJECT_ROOT (got '$E2E_BIN' and '$E2E_ROOT')"
    exit 2
  fi
  trap e2e_cleanup EXIT
  # Killed (by timeout, ctest or a closed pipe): still stop the X server and the program.
  trap 'exit 143' TERM
  trap 'exit 130' INT
  trap 'exit 129' HUP PIPE
  # Another X server coming or going on this machine can, rarely, take the new server's
  # socket away; the program then cannot connect. Such a start is tried again.
  local attempt
  for attempt in 1 2 3; do
    e2e_start_x || break
    if ! xwininfo -root >/dev/null 2>&1; then
      e2e_log "attempt $attempt: the new X server does not answer; starting another"
      e2e_cleanup
      continue
    fi
    e2e_start_app "$E2E_BIN" "$E2E_ROOT" "$E2E_DIR/stdout.txt" "$E2E_DIR/stderr.txt"
    e2e_find_window && return 0
    if grep -q "failed to open display" "$E2E_DIR/stderr.txt"; then
      e2e_log "attempt $attempt: $(cat "$E2E_DIR/stderr.txt"); starting another X server"
      e2e_cleanup
      continue
    fi
    break
  done
  e2e_fail "the program did not show its window"
  e2e_finish
}

# Presses Q and waits for the program to end; checks its exit status is 0.
e2e_quit() {
  local i status
  e2e_keys Q
  for i in $(seq 100); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$E2E_APP_PID" 2>/dev/null; then
    e2e_fail "the program was still running 10 s after Q"
    return 1
  fi
  wait "$E2E_APP_PID"
  status=$?
  E2E_APP_PID=""
  e2e_expect "Q ends the program with status 0" e2e_is "exit status" "$status" 0
}

# Prints the summary and ends the script: status 0 when every check held. On success the
# screenshots are removed (unless E2E_KEEP=1); on failure they stay with the transcripts.
e2e_finish() {
  e2e_cleanup
  if [ "$E2E_FAILED" -eq 0 ] && [ "$E2E_PASSED" -gt 0 ]; then
    [ "${E2E_KEEP:-0}" = 1 ] || rm -f "$E2E_DIR"/*.png
    e2e_log "PASSED: all $E2E_PASSED checks held"
    exit 0
  fi
  e2e_log "FAILED: $E2E_FAILED of $((E2E_PASSED + E2E_FAILED)) checks; transcripts and screenshots kept in $E2E_DIR"
  exit 1
}

# Stops what e2e_start_app and e2e_start_x started, by their ids.
e2e_cleanup() {
  if [ -n "$E2E_APP_PID" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
    kill "$E2E_APP_PID" 2>/dev/null || true
    wait "$E2E_APP_PID" 2>/dev/null || true
  fi
  E2E_APP_PID=""
  if [ -n "$E2E_XVFB_PID" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
  E2E_XVFB_PID=""
}
