#!/usr/bin/env bash
# The help page, menu entry and metainfo in each language of po/LINGUAS: po/LANG.po passes
# msgfmt --check; the built help.LANG.html is well-formed XML with lang="LANG" and the
# headings, paragraphs, items and cells of help.html, each once; the French one says what
# help.html says, and each other language translates every text that the help page, entry
# and metainfo have today, with none left fuzzy.
# Usage: docs.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
cd "$2" || exit 1
failed=0 pot=$(mktemp)
trap 'rm -f "$pot"' EXIT
po/extract-docs.sh "$pot"
text() { xmllint --xpath 'normalize-space(/*)' "$1" | tr -d ' '; }
units() { xmllint --xpath "count(//*[contains(' title h1 h2 h3 p li th td ', concat(' ', local-name(), ' '))])" "$1"; }
for lang in $(grep -v '^#' po/LINGUAS); do
  page=$1/packaging/help.$lang.html
  msgfmt --check -o /dev/null "po/$lang.po" && xmllint --noout "$page" || { echo "FAIL $lang"; failed=1; }
  grep -q "^<html [^>]*lang=\"$lang\"" "$page" || { echo "FAIL help.$lang.html: not lang=$lang"; failed=1; }
  [ "$(units "$page")" = "$(units help.html)" ] || { echo "FAIL help.$lang.html: not help.html's blocks"; failed=1; }
  if [ "$lang" = fr ]; then
    [ "$(text help.html)" = "$(text "$page")" ] || { echo "FAIL help.fr.html: not help.html's text"; failed=1; }
  elif msgmerge -q -N "po/$lang.po" "$pot" -o - | msgfmt --statistics -o /dev/null - 2>&1 | grep -E 'fuzzy|untranslated'; then
    echo "FAIL po/$lang.po: not every text translated"; failed=1
  fi
done
exit "$failed"
