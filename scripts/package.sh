#!/usr/bin/env bash
# Builds the Debian package into out/ and has lintian look at it.
# Usage: scripts/package.sh [--check]
#   --check  also installs the package on this machine with apt-get, starts the program
#            as its desktop entry does (Exec, in Path) on a private X server, chooses the
#            menu's help entry, and removes the package again if it was not installed
#            before. Needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

needs=(build package)
[ "$check" = 1 ] && needs+=(record)
scripts/deps.sh "${needs[@]}"
scripts/build.sh build
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb=out/foucault_${version}_$(dpkg --print-architecture).deb
mkdir -p out
rm -f "$deb"
(cd build && cpack -G DEB -B "$PWD/../out/cpack" >/dev/null)
mv out/cpack/"$(basename "$deb")" "$deb"
rm -rf out/cpack
echo "package.sh: $deb"
dpkg-deb -f "$deb" Package Version Depends Recommends Maintainer
lint=$(lintian --pedantic "$deb" 2>&1 | grep -v '^running with root' || true)
echo "package.sh: lintian says: ${lint:-nothing}"
if grep -q '^E: ' <<<"$lint"; then
  exit 1
fi
[ "$check" = 1 ] || exit 0

if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
was_installed=0
dpkg-query -W -f='${Status}' foucault 2>/dev/null | grep -q 'install ok installed' && was_installed=1
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "./$deb" >/dev/null
echo "package.sh: installed $(dpkg-query -W -f='${Package} ${Version}' foucault)"
status=0
FOUCAULT_DESKTOP_ENTRY=/usr/share/applications/org.example.foucault.desktop \
  bash tests/install/desktop_help_test.sh "$PWD/build" "$PWD" "$version" || status=$?
if [ "$was_installed" = 0 ]; then
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get remove -y -qq foucault >/dev/null
  echo "package.sh: removed it again"
fi
exit "$status"
