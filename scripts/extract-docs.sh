#!/usr/bin/env bash
# Extracts the texts of the help page (help.html, by the rules of po/its/help.its), the
# desktop entry and the metainfo into a template, po/docs.pot or the file given as $1;
# then each po/LANG.po follows it with: msgmerge -U po/LANG.po po/docs.pot
set -euo pipefail
cd "$(dirname "$0")/.."
GETTEXTDATADIRS=po xgettext --from-code=UTF-8 --package-name=foucault \
  --msgid-bugs-address=pendule@example.org -o "${1:-po/docs.pot}" help.html \
  packaging/org.example.foucault.desktop.in packaging/org.example.foucault.metainfo.xml
