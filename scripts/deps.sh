#!/usr/bin/env bash
# Installs the Debian packages that a task needs, only those that are missing.
# Usage: scripts/deps.sh build|run|test|record ...
# A group "a|b" is satisfied by either package (names differ between releases).
set -euo pipefail

groups=()
for need in "$@"; do
  case "$need" in
    build) groups+=(cmake g++ make "libglut-dev|freeglut3-dev" libglu1-mesa-dev libgl-dev libx11-dev) ;;
    test) groups+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils valgrind) ;;
    display) groups+=(xvfb xauth imagemagick) ;;
    record) groups+=(xvfb xauth xdotool imagemagick x11-utils) ;;
    package) groups+=(desktop-file-utils appstream lintian dpkg-dev) ;;
    *) echo "deps.sh: unknown need '$need'" >&2; exit 2 ;;
  esac
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for group in "${groups[@]}"; do
  IFS='|' read -r -a choices <<<"$group"
  ok=0
  for p in "${choices[@]}"; do installed "$p" && { ok=1; break; }; done
  [ "$ok" = 1 ] || missing+=("$group")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "deps.sh: missing packages (${missing[*]}) and neither root nor sudo to install them" >&2
  exit 1
fi

echo "deps.sh: installing ${missing[*]}" >&2
"${as_root[@]}" apt-get update -qq
pick=()
for group in "${missing[@]}"; do
  IFS='|' read -r -a choices <<<"$group"
  chosen="${choices[-1]}"
  for p in "${choices[@]}"; do
    if apt-cache show "$p" >/dev/null 2>&1; then chosen="$p"; break; fi
  done
  pick+=("$chosen")
done
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${pick[@]}" >&2
