#!/usr/bin/env bash
# Extracts the texts of the help page (help.html, by the rules of po/its/help.its), the
# page's shell (web/shell.html, by po/its/shell.its), the desktop entry and the metainfo
# into a template, po/docs.pot or the file given as $1;
# then each po/LANG.po follows it and po/foucault.pot with:
#   msgcat po/foucault.pot po/docs.pot | msgmerge -U --no-fuzzy-matching po/LANG.po -
set -euo pipefail
cd "$(dirname "$0")/.."
GETTEXTDATADIRS=po xgettext --from-code=UTF-8 --package-name=foucault \
  --msgid-bugs-address=pendule@example.org -o "${1:-po/docs.pot}" help.html web/shell.html \
  packaging/org.example.foucault.desktop.in packaging/org.example.foucault.metainfo.xml
