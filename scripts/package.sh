#!/usr/bin/env bash
# Builds the Debian package into out/ and has lintian look at it.
# Usage: scripts/package.sh [--check]
#   --check  also installs the package here with apt-get, starts the program as its menu
#            entry does on a private X server, chooses the help entry, and removes the
#            package again unless it was installed before. Needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in "" | --check) ;; *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;; esac
scripts/deps.sh build package record
scripts/build.sh build >/dev/null
(cd build && cpack -G DEB -B "$PWD/../out" >/dev/null)
rm -rf out/_CPack_Packages
deb=$(ls -t out/foucault_*.deb | head -n 1)
echo "package.sh: $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends Maintainer
lint=$(lintian --pedantic "$deb" 2>&1 | grep -v '^running with root' || true)
echo "package.sh: lintian says: ${lint:-nothing}"
! grep -q '^E: ' <<<"$lint" || exit 1
[ "${1:-}" = --check ] || exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=600)
before=$(dpkg-query -W -f='${Status}' foucault 2>/dev/null || true)
"${apt[@]}" install "./$deb" >/dev/null
status=0
bash tests/install/check.sh build "$PWD" /usr/share/applications/org.example.foucault.desktop || status=$?
[ "$before" = "install ok installed" ] || "${apt[@]}" remove foucault >/dev/null
exit "$status"
