#!/usr/bin/env bash
# Extracts the texts of the help page (help.html, by the rules of po/its/help.its), the
# page's shell (web/shell.html, by po/its/shell.its), the desktop entry, the metainfo and,
# with po4a's man format, the manual page (packaging/foucault.1, in English, its inline
# markup kept as B<...> and I<...>) into one template, po/docs.pot or the file given as $1;
# then each po/LANG.po follows it and po/foucault.pot with:
#   msgcat po/foucault.pot po/docs.pot | msgmerge -U --no-fuzzy-matching po/LANG.po -
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
GETTEXTDATADIRS=po xgettext --from-code=UTF-8 --package-name=foucault \
  --msgid-bugs-address=pendule@example.org -o "$tmp/pages.pot" help.html web/shell.html \
  packaging/org.example.foucault.desktop.in packaging/org.example.foucault.metainfo.xml
# (its standard output only says, every time, that po4a's single-step tools are deprecated)
po4a-updatepo -f man -m packaging/foucault.1 -p "$tmp/man.pot" -M UTF-8 >/dev/null
msgcat --use-first -o "${1:-po/docs.pot}" "$tmp/pages.pot" "$tmp/man.pot"
