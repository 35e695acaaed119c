#!/usr/bin/env bash
# scripts/record.sh on the built program, with a few frames: the GIF it writes loops,
# has that many frames at the size it promises, and no frame repeats the one before.
. "$(dirname "$0")/common.sh"
need identify convert compare
need_e2e_lib

gif=$work/foucault.gif
FRAMES=6 FOUCAULT_PROGRAM=$build/app/foucault "$source/scripts/record.sh" "$gif" >"$work/log" 2>&1 ||
  { fail "record.sh failed: $(cat "$work/log")"; finish; }
[ -f "$gif" ] || { fail "record.sh wrote no $gif"; finish; }

identify -format '%m %W %H\n' "$gif" >"$work/frames"
[ "$(grep -c . "$work/frames")" = 6 ] || fail "the GIF has $(grep -c . "$work/frames") frames, expected 6"
[ "$(sort -u "$work/frames")" = "GIF 512 384" ] || fail "frames: $(sort -u "$work/frames" | tr '\n' ';')"
identify -verbose "$gif[0]" >"$work/verbose"
grep -qx ' *Iterations: 0' "$work/verbose" || fail "the GIF does not loop for ever"

convert "$gif" -coalesce "$work/frame-%d.png"
for i in 1 2 3 4 5; do
  changed=$(compare -metric AE "$work/frame-$((i - 1)).png" "$work/frame-$i.png" null: 2>&1 || true)
  [[ "${changed%% *}" =~ ^[0-9]+$ ]] && [ "${changed%% *}" -gt 0 ] ||
    fail "GIF frames $i and $((i + 1)) do not differ ($changed)"
done

finish
