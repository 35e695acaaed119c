# Shared by the installation tests. Usage: . common.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
app_id=org.example.foucault
failures=0
work=$(mktemp -d)
cleanups=()
trap 'for c in "${cleanups[@]}"; do eval "$c"; done; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Runs a command, its output kept in $work/check.out; a failure is reported.
check() {
  local what=$1
  shift
  "$@" >"$work/check.out" 2>&1 || { fail "$what: $(head -c 2000 "$work/check.out")"; return 1; }
}

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/deps.sh package)" >&2; exit 1; }
  done
}

# The value of KEY in the [Desktop Entry] group. Usage: desktop_key FILE KEY
desktop_key() {
  awk -F= -v k="$2" '/^\[/ {g = $0} g == "[Desktop Entry]" && $1 == k {sub(/^[^=]*=/, ""); print; exit}' "$1"
}

# "mode path" of every file under a prefix, and the same from layout.txt.
listing() { (cd "$1" && find . -type f -printf '%m %P\n' | sort -k2); }
expected_layout() { grep -v '^#' "$here/layout.txt" | sort -k2; }

# The end-to-end helpers that drive the program on a private X server; a checkout
# without them skips the test (status 77) rather than fail it.
need_e2e_lib() {
  e2e_lib=$source/tests/e2e/lib.sh
  [ -f "$e2e_lib" ] || { echo "skipped: no $e2e_lib" >&2; exit 77; }
}

finish() {
  [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
  echo "all checks passed"
  exit 0
}
