#!/usr/bin/env bash
# How the real program ends without its Q key: its window closed as a window manager's
# close button does, its connection cut by the X server (as xkill does), and the X server
# gone. Each must end the process promptly, never leave it hanging; the console then
# carries nothing after the start-up lines, and for the two lost connections Xlib says so
# on standard error before it ends the process with status 1.
# Usage: ending_test.sh PROGRAM CLOSE_WINDOW   (run by CTest)
set -euo pipefail
program=$1
close_window=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
last_startup_line="l'affichage OpenGL commence maintenant "
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs one ending: WAY is close, cut or server. Sets status and the console files.
end_by() {
  local way=$1 fdfile xvfb app window="" i attempt
  # A display number freed by the previous server can, rarely, still be closing when a new
  # server takes it, and the program then cannot connect: such a start is tried again.
  for attempt in 1 2 3; do
    fdfile="$work/$way.display"
    : >"$fdfile"
    Xvfb -displayfd 9 -screen 0 320x240x24 -nolisten tcp 9>"$fdfile" 2>"$work/$way.xvfb" &
    xvfb=$!
    for i in $(seq 100); do
      [ -s "$fdfile" ] && break
      sleep 0.1
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    timeout 60 "$program" >"$work/$way.out" 2>"$work/$way.err" &
    app=$!
    for i in $(seq 300); do
      window=$(xdotool search --name "Pendule de Foucault" 2>/dev/null | head -n 1 || true)
      [ -n "$window" ] && break
      kill -0 "$app" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$window" ] && break
    echo "$way: attempt $attempt, no window; the program said: $(cat "$work/$way.err")"
    kill "$app" "$xvfb" 2>/dev/null || true
    wait "$app" "$xvfb" 2>/dev/null || true
    grep -q "failed to open display" "$work/$way.err" || break
  done
  if [ -z "$window" ]; then
    fail "$way: the window never appeared"
    status=-1
    return
  fi
  sleep 1  # a second of frames
  case $way in
    close) "$close_window" "$window" ;;
    cut) xdotool windowkill "$window" ;;
    server) kill "$xvfb" ;;
  esac
  # Ending promptly: within ten seconds, where a hang would run into timeout's 60.
  for i in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app" 2>/dev/null; then
    fail "$way: the program still runs ten seconds later"
    kill -9 "$app" 2>/dev/null || true
  fi
  status=0
  wait "$app" || status=$?
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  echo "$way: exit status $status; standard error:"
  sed 's/^/  | /' "$work/$way.err"
}

expect_quiet_stdout() {
  local way=$1
  if [ "$(tail -n 1 "$work/$way.out")" != "$last_startup_line" ]; then
    fail "$way: the console carries more than the start-up lines: $(tail -n 3 "$work/$way.out")"
  fi
}

end_by close
[ "$status" -eq 0 ] || fail "close: exit status $status instead of 0"
expect_quiet_stdout close
[ ! -s "$work/close.err" ] || fail "close: something on standard error"

for way in cut server; do
  end_by "$way"
  [ "$status" -eq 1 ] || fail "$way: exit status $status instead of Xlib's 1"
  expect_quiet_stdout "$way"
  # Xlib's own handler of a lost connection speaks (its lines end in CR LF), then exits.
  tr -d '\r' <"$work/$way.err" | grep -qE \
    '^(X connection to :[0-9]+ broken \(explicit kill or server shutdown\)\.|XIO:  fatal IO error [0-9]+ .* on X server ":[0-9]+")$' ||
    fail "$way: no word from Xlib on the lost connection"
done

[ "$failures" -eq 0 ] && echo "the program ended all three ways"
exit $((failures > 0))
