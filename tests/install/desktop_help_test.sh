#!/usr/bin/env bash
# The installed program started as the desktop starts it (the entry's Exec, in its Path)
# on a private X server: its window comes up, it prints its start-up lines, and the
# menu's help entry finds the installed help.html and hands it to xdg-open. It installs
# into a fresh prefix, or takes the entry FOUCAULT_DESKTOP_ENTRY of an installation
# already made (scripts/package.sh --check: the package's, in /usr).
. "$(dirname "$0")/common.sh"
need_e2e_lib

entry=${FOUCAULT_DESKTOP_ENTRY:-$work/prefix/share/applications/$app_id.desktop}
if [ -z "${FOUCAULT_DESKTOP_ENTRY:-}" ]; then
  check "cmake --install" cmake --install "$build" --prefix "$work/prefix" || finish
fi
exec_line=$(desktop_key "$entry" Exec)
start_dir=$(desktop_key "$entry" Path)
# The desktop runs Exec as a command line; ours is one path with no field codes.
[[ "$exec_line" =~ ^/[^\ %\"\']+$ ]] || { fail "Exec is not a single path: '$exec_line'"; finish; }

# A stand-in xdg-open, on the PATH the desktop hands over, records what it is given.
mkdir -p "$work/fake"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >%s/xdg-open.args\n' "$work" >"$work/fake/xdg-open"
chmod +x "$work/fake/xdg-open"
export PATH=$work/fake:$PATH

export E2E_DIR=$work E2E_NAME=install_desktop_help
# shellcheck source=../e2e/lib.sh
. "$e2e_lib"
cleanups+=(e2e_cleanup)
e2e_need_tools
e2e_start_x
out=$work/stdout
e2e_start_app "$exec_line" "$start_dir" "$out" "$work/stderr"
e2e_find_window || { fail "no window; stderr: $(cat "$work/stderr")"; finish; }
e2e_menu 5 6 # Aide
for _ in $(seq 50); do [ -s "$work/xdg-open.args" ] && grep -q '^open: ' "$out" && break; sleep 0.1; done

# "help.sh" is the program's own line, the next one the installed open's. The console
# goes to a file, so the start-up lines come out with the help entry's flush.
page=$start_dir/help.html
grep -A1 -xF help.sh "$out" >"$work/help.lines" || true
printf 'help.sh\nopen: ouverture de %s\n' "$page" | cmp -s - "$work/help.lines" ||
  fail "help entry printed '$(cat "$work/help.lines")', stderr '$(cat "$work/stderr")'"
[ "$(cat "$work/xdg-open.args" 2>/dev/null)" = "$page" ] ||
  fail "xdg-open was given '$(cat "$work/xdg-open.args" 2>/dev/null)', expected $page"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended after the help entry"
for line in "talvo oxa 2004" "nous sommes ici ->  " "l'affichage OpenGL commence maintenant "; do
  grep -qxF "$line" "$out" || fail "start-up line '$line' missing from: $(cat "$out")"
done
echo "started as: cd $start_dir && $exec_line; the help entry printed:"
sed 's/^/  /' "$work/help.lines"
finish
