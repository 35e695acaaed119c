#!/usr/bin/env bash
# The catalogue against the code and the pages: the texts that xgettext finds in the code
# (its command, with the build's options, given after the project root) are
# po/foucault.pot's, no more and no fewer; every PO file of po/LINGUAS translates every one of
# them and every text that the help page, menu entry and metainfo have today (French keeps
# their French), with none left fuzzy. (The build runs msgfmt --check on each.)
# Usage: catalogue.sh PROJECT_ROOT XGETTEXT_COMMAND...
set -euo pipefail
cd "$1"
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
"${@:2}" -o "$tmp/code.pot"
msgcmp --use-untranslated -N "$tmp/code.pot" po/foucault.pot
msgcmp --use-untranslated -N po/foucault.pot "$tmp/code.pot"
scripts/extract-docs.sh "$tmp/docs.pot"
for lang in $(grep -v '^#' po/LINGUAS); do
  msgcmp -N po/"$lang".po <(msgcat po/foucault.pot "$tmp/docs.pot")
done
echo "the code's texts are the catalogue's, and every language translates them all"
