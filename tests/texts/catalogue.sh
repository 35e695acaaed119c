#!/usr/bin/env bash
# The catalogue against the code: the texts that xgettext finds in the code (its command, with
# the build's options, given after the project root) are po/foucault.pot's, no more and no
# fewer; every PO file of po/LINGUAS passes msgfmt --check and translates every one of them.
# Usage: catalogue.sh PROJECT_ROOT XGETTEXT_COMMAND...
set -euo pipefail
cd "$1"
code=$(mktemp) && trap 'rm -f "$code"' EXIT
"${@:2}" -o "$code"
msgcmp --use-untranslated -N "$code" po/foucault.pot
msgcmp --use-untranslated -N po/foucault.pot "$code"
for lang in $(grep -v '^#' po/LINGUAS); do
  msgfmt --check -o /dev/null po/"$lang".po
  msgcmp -N po/"$lang".po po/foucault.pot
done
echo "the code's texts are the catalogue's, and every language translates them all"
