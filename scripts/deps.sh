#!/usr/bin/env bash
# Installs the Debian packages that a task needs, only those that are missing.
# Usage: scripts/deps.sh build|display|record|test|package|cross|web ...
# A group "a|b" is satisfied by either package (names differ between releases). When
# another apt-get or unattended-upgrades holds the package lock, it waits for it, up to
# DEPS_LOCK_WAIT seconds (default 600), and says so.
set -euo pipefail

groups=()
for need in "$@"; do
  case "$need" in
    build) groups+=(cmake g++ make "libglut-dev|freeglut3-dev" libglu1-mesa-dev libgl-dev libx11-dev) ;;
    display) groups+=(xvfb xauth imagemagick) ;;
    record) groups+=(xvfb xauth xdotool imagemagick) ;;
    test) groups+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick valgrind python3-xlib) ;;
    package) groups+=(desktop-file-utils appstream lintian dpkg-dev) ;;
    cross) groups+=(g++-aarch64-linux-gnu qemu-user) ;;
    web) groups+=(emscripten chromium nodejs npm) ;;
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

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "deps.sh: missing ${missing[*]}, and no root or sudo" >&2; exit 1; }
  as_root=(sudo)
fi
wait_s=${DEPS_LOCK_WAIT:-600}
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -qq -o DPkg::Lock::Timeout="$wait_s")
# lslocks sees dpkg's and apt's own locks (fcntl) as well as flock's.
if lslocks -n -o PATH 2>/dev/null | grep -qE '^/var/lib/(dpkg|apt/lists)/lock'; then
  echo "deps.sh: another package manager holds the package lock; waiting up to $wait_s s" >&2
fi
echo "deps.sh: installing ${missing[*]}" >&2
"${apt[@]}" update
pick=()
for group in "${missing[@]}"; do
  IFS='|' read -r -a choices <<<"$group"
  chosen="${choices[-1]}"
  for p in "${choices[@]}"; do
    if apt-cache show "$p" >/dev/null 2>&1; then chosen="$p"; break; fi
  done
  pick+=("$chosen")
done
"${apt[@]}" install -y --no-install-recommends "${pick[@]}" >&2
