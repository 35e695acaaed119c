#!/usr/bin/env bash
# cmake --install into a fresh prefix: every file in its place with its mode, a desktop
# entry and metainfo that the freedesktop and AppStream validators accept and that point
# at the installed files, and the "open" that the help command reaches.
. "$(dirname "$0")/common.sh"
need desktop-file-validate appstreamcli identify

prefix=$work/prefix
check "cmake --install" cmake --install "$build" --prefix "$prefix" || finish
diff <(expected_layout) <(listing "$prefix") >"$work/diff" ||
  fail "installed files differ from layout.txt (< expected, > installed): $(cat "$work/diff")"
cmp -s "$source/help.html" "$prefix/share/foucault/help.html" || fail "help.html differs from the source"

entry=$prefix/share/applications/$app_id.desktop
check "desktop-file-validate" desktop-file-validate "$entry" &&
  grep -v ': hint: ' "$work/check.out" | grep . && fail "desktop-file-validate complains"
for pair in "Name=Pendule de Foucault" "Terminal=false" "Categories=Education;Science;Physics;" \
  "Path=$prefix/share/foucault"; do
  [ "$(desktop_key "$entry" "${pair%%=*}")" = "${pair#*=}" ] ||
    fail "desktop entry: ${pair%%=*} is '$(desktop_key "$entry" "${pair%%=*}")', expected '${pair#*=}'"
done
grep -qw Terre <<<"$(desktop_key "$entry" Comment)" || fail "desktop entry: no French Comment"
icon=$prefix/share/icons/hicolor/256x256/apps/$(desktop_key "$entry" Icon).png
# 256x256, clear at the corners around the Earth, opaque in the middle.
[ "$(identify -format '%m %w %h %[fx:p{0,0}.a] %[fx:p{128,128}.a]' "$icon" 2>&1)" = "PNG 256 256 0 1" ] ||
  fail "the entry's icon $icon is not a 256x256 PNG cut out round the Earth"

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
check "appstreamcli validate" appstreamcli validate --no-net --pedantic "$metainfo" || :
for want in "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "<description>" \
  "<image>https://" "<release version=\"$version\""; do
  grep -qF "$want" "$metainfo" || fail "metainfo lacks $want"
done
[ "$(head -n 1 <(gzip -dc "$prefix/share/doc/foucault/changelog.gz"))" = \
  "foucault ($version) unstable; urgency=medium" ] || fail "the changelog does not start with $version"

# The help command as the program hands it to /bin/sh, with the launcher's PATH but no
# xdg-open: in the entry's Path it names the page; anywhere else it fails.
run_help() { (cd "$1" && PATH=$prefix/lib/foucault/bin /bin/sh -c 'open ./help.html  with Safari'); }
run_help "$prefix/share/foucault" >"$work/out" 2>"$work/err" || fail "help command failed: $(cat "$work/err")"
[ "$(cat "$work/out")" = "open: ouverture de $prefix/share/foucault/help.html" ] ||
  fail "help command printed '$(cat "$work/out")'"
grep -q xdg-open "$work/err" || fail "without xdg-open nothing says so"
status=0
run_help "$work" >"$work/out" 2>"$work/err" || status=$?
[ "$status:$(cat "$work/out")" = "1:" ] && grep -q introuvable "$work/err" ||
  fail "help command away from the page: status $status, '$(cat "$work/out")', '$(cat "$work/err")'"
finish
