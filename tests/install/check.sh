#!/usr/bin/env bash
# What a classroom machine gets: the files cmake --install lays out in a fresh prefix, its
# menu entry and metainfo as their validators see them and their languages, the help page and
# the manual page in each language, the Debian package's fields, files and lintian's verdict,
# and the help entry of the installed program started as the menu starts it. Expectations are in
# tests/data/install/. (tests/texts/catalogue.sh checks that every text is translated.)
# Usage: check.sh BUILD_DIR SOURCE_DIR            (installs into a temporary prefix)
#        check.sh BUILD_DIR SOURCE_DIR ENTRY.desktop  (only the help entry of that copy)
set -uo pipefail
build=$1 source=$2
data=$source/tests/data/install
# shellcheck source=scripts/xrun.sh
. "$source/scripts/xrun.sh"
failed=0
fail() { echo "FAIL $*"; failed=1; }
files() { (cd "$1" && find . -type f -printf '%m %P\n' | sort -k2 | diff "$data/layout.txt" -); }

# The menu entry's command (Exec) in its folder (Path), as the desktop starts it; its help
# entry must name the installed page on the console and hand it to xdg-open.
help_entry() {
  local dir
  dir=$(sed -n 's/^Path=//p' "$1")
  printf '#!/bin/sh\necho "$@" >%s/xdg-open.log\n' "$XR" >"$XR/xdg-open" && chmod +x "$XR/xdg-open"
  xr_start 320x240 "$dir" env PATH="$XR:$PATH" "$(sed -n 's/^Exec=//p' "$1")" || fail "no window"
  xr_menu 5/6
  xdotool key Q && wait "$XR_APP"
  grep -A1 -x help.sh "$XR/out" | diff - <(printf 'help.sh\nopen: ouverture de %s\n' "$dir/help.html") ||
    fail "the help entry's console: $(cat "$XR/err")"
  [ "$(cat "$XR/xdg-open.log")" = "$dir/help.html" ] || fail "xdg-open was given '$(cat "$XR/xdg-open.log")'"
}
[ -z "${3:-}" ] || { help_entry "$3"; exit "$failed"; }

prefix=$XR/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
files "$prefix" || fail "installed files (< expected, > installed)"
entry=$prefix/share/applications/org.example.foucault.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate"
[ -f "$prefix/share/icons/hicolor/256x256/apps/$(sed -n 's/^Icon=//p' "$entry").png" ] || fail "no icon"
appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.xml >/dev/null || fail "appstreamcli"
# How many texts the entry and the metainfo have in each language beside the French.
grep -oh '^[A-Za-z]*\[[a-z_]*\]=\|xml:lang="[^"]*"' "$entry" "$prefix"/share/metainfo/*.xml |
  sed 's/.*\[\(.*\)\]=/desktop \1/; s/xml:lang="\(.*\)"/metainfo \1/' | sort | uniq -c | awk '{ print $2, $3, $1 }' |
  diff "$data/languages.txt" - || fail "languages (< expected)"
# Each help.LANG.html well-formed XML with lang="LANG" and the titles, headings, paragraphs,
# items and cells of help.html, each once; the French one saying what help.html says.
text() { xmllint --xpath 'normalize-space(/*)' "$1" | tr -d ' '; }
blocks() { xmllint --xpath "concat(/*/@lang, ' ', count(//*[contains(' title h1 h2 h3 p li th td ', concat(' ', local-name(), ' '))]))" "$1"; }
want=$(blocks "$source/help.html")
for lang in $(grep -v '^#' "$source/po/LINGUAS"); do
  [ "$(blocks "$prefix/share/foucault/help.$lang.html")" = "$lang ${want#* }" ] || fail "help.$lang.html: not lang=$lang with help.html's blocks"
done
[ "$(text "$source/help.html")" = "$(text "$prefix/share/foucault/help.fr.html")" ] || fail "help.fr.html: not help.html's text"
# Each translated manual page read by man without a warning of any kind (--warnings alone has
# groff warn of undefined macros only), its NAME line in its language.
while read -r lang name; do
  page=$prefix/share/man/$lang/man1/foucault.1.gz
  warnings=$(man --warnings=w -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] && MANWIDTH=200 man -E UTF-8 -l "$page" | grep -qxF "       $name" || fail "man/$lang: $warnings"
done <"$data/man.txt"
help_entry "$entry"
# Started as the menu starts it in a German session (no display: its console up to the window).
[ "$(env -u DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=de_DE.UTF-8 "$prefix/lib/foucault/launch" 2>/dev/null | tail -n 1)" = \
  "die OpenGL-Darstellung beginnt jetzt" ] || fail "the menu's launcher under LANG=de_DE.UTF-8 does not speak German"
# Away from the page the installed open says so and fails.
[ "$(cd "$XR" && PATH="$prefix/lib/foucault/bin" open ./help.html 2>&1)" = "open: ./help.html introuvable dans $XR" ] ||
  fail "open away from the page"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$XR/deb" >/dev/null || fail "cpack"
deb=$(echo "$XR"/deb/foucault_*.deb)
dpkg-deb -f "$deb" Package Version Section Priority Maintainer Recommends Homepage | diff "$data/fields.txt" - || fail "package fields"
dpkg-deb -f "$deb" Depends | grep -q libglut || fail "Depends lacks freeglut"
dpkg-deb -x "$deb" "$XR/root"
files "$XR/root/usr" || fail "package files"
lintian --pedantic "$deb" | grep -E '^[EW]: ' && fail "lintian"
exit "$failed"
