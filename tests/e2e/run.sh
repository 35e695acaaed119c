#!/usr/bin/env bash
# The real program on a private X server, driven through one scenario of tests/data/e2e/:
# one step a line, a verb (a do_ function below, or else a command: sleep, xdotool, xr_menu,
# xr_drag) and its arguments; files named in a step are under tests/data/. Prints each check's outcome; fails if one fails.
# Usage: run.sh SCENARIO PROGRAM PROJECT_ROOT
# shellcheck disable=SC2317 # the do_ steps are called by name
set -uo pipefail
scenario=$1 program=$2 root=$3
data=$root/tests/data
XR=$PWD/$(basename "$scenario" .scn)
rm -rf "$XR" && mkdir -p "$XR/bin"
# shellcheck source=scripts/xrun.sh
. "$root/scripts/xrun.sh"
trap xr_stop EXIT
failed=0

check() { if "${@:2}" >"$XR/check" 2>&1; then echo "ok   $1 $(cat "$XR/check")"; else echo "FAIL $1: $(cat "$XR/check")"; failed=1; fi; }

# The help entry runs "open ./help.html  with Safari": this stand-in logs its folder and
# arguments, and says it opens on the console, after the program's own line.
# shellcheck disable=SC2016 # "$@" is the stand-in's own
printf '#!/bin/sh\nprintf "%%s\\n" "$PWD" "$@" >>"%s/open"\necho "open $*"\n' "$XR" >"$XR/bin/open" && chmod +x "$XR/bin/open"

# The program from the project root, where help.html is, with the stand-in open first on
# PATH, and the step's words after the screen size on its command line.
# @XR@ in a word is this scenario's folder.
do_start() {
  local words=("${@:2}")
  xr_start "$1" "$root" env PATH="$XR/bin:$PATH" "$program" "${words[@]//@XR@/$XR}" || { echo "FAIL no window: $(cat "$XR/err")"; exit 1; }
}
do_type() { xdotool type --delay 30 "$(tr -d '\n' <"$data/$1")"; }
do_shot() { sleep 0.3 && xr_shot "$XR/shot.png"; }

# Between MIN and MAX pixels of the region of the last shot are of the colour class, a test on
# r, g and b from tests/data/colours.txt, which the page's probes read too.
# Usage: probe CLASS X Y WIDTH HEIGHT MIN MAX
count() {
  local n test
  test=$(sed -n "s/^$1 //p" "$data/colours.txt")
  n=$(convert "$XR/shot.png" -crop "$4x$5+$2+$3" -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk "{ r = \$1; g = \$2; b = \$3 } ${test:?no colour class $1} { n++ } END { print n + 0 }")
  echo "$n pixels" && [ "$n" -ge "$6" ] && [ "$n" -le "$7" ]
}
do_probe() { check "probe $*" count "$@"; }

# Ends the program a WAY (quit: the Q key; typed: already asked; close: the window
# manager's close button; cut: xkill; server: the X server gone) and checks its status.
do_end() {
  local status=0
  case $1 in
    quit) xdotool key Q ;;
    close) /usr/bin/python3 -c 'import sys; from Xlib import display, protocol, X
d = display.Display(); a = d.intern_atom; w = d.create_resource_object("window", int(sys.argv[1]))
w.send_event(protocol.event.ClientMessage(window=w, client_type=a("WM_PROTOCOLS"),
  data=(32, [a("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))); d.flush()' "$XR_WIN" ;;
    cut) xdotool windowkill "$XR_WIN" ;;
    server) kill "$XR_X" ;;
  esac
  timeout 10 tail -s 0.1 --pid="$XR_APP" -f /dev/null || kill -9 "$XR_APP"
  wait "$XR_APP" || status=$?
  XR_APP=""
  check "ends ($1) with status $2" test "$status" = "$2"
}

# The whole console (the t= line's number as <time>) against the data files one after the
# other, the open log, and an empty standard error.
do_console() { check "console $*" diff <(sed -E 's/^t=[0-9.]+$/t=<time>/' "$XR/out") <(cd "$data" && cat "$@"); }
# The measurements' file FILE read by Python's CSV reader once a row reaches TURNS turns of the
# Earth (waiting for it): its header, and in its last row the prediction 360 sin(LATITUDE)
# times the turns, and the measured turn within half a percent of a full turn of it.
measured() {
  python3 - "$XR/$1" "$2" "$3" <<'EOF'
import csv, math, sys, time
path, turns, latitude = sys.argv[1], float(sys.argv[2]), math.radians(float(sys.argv[3]))
rows = []
while len(rows) < 2 or float(rows[-1][1]) < turns:
    time.sleep(0.1)
    with open(path, newline="") as f:
        rows = [row for row in csv.reader(f) if len(row) == 6]  # a row being written waits
assert rows[0] == "time earth_turns bob_x bob_y plane_angle_deg predicted_angle_deg".split(), rows[0]
_, n, _, _, angle, predicted = map(float, rows[-1])
assert abs(predicted - 360 * math.sin(latitude) * n) <= 1e-6 * abs(predicted), rows[-1]
assert abs(angle - predicted) <= 0.005 * 360, rows[-1]
print(f"{len(rows) - 1} rows; after {n:.4f} turns {angle:.4f} degrees, predicted {predicted:.4f}")
EOF
}
do_measured() { check "measured $*" measured "$@"; }
do_opened() { check "open log $1" diff <(sed "s|^$root$|<root>|" "$XR/open") "$data/$1"; }
do_quiet() { check "nothing on standard error" test ! -s "$XR/err"; }

while read -r verb args <&3; do
  case $verb in "" | "#"*) continue ;; esac
  declare -F "do_$verb" >/dev/null && verb=do_$verb
  # A step that bash gives up on (a bad expansion) runs nothing after it on its line: it fails too.
  done=0
  # shellcheck disable=SC2086 # the arguments split into words
  "$verb" $args && done=1
  [ "$done" = 1 ] || { echo "FAIL step: $verb $args"; failed=1; }
done 3<"$scenario"
exit "$failed"
