#!/usr/bin/env bash
# Installs the Debian packages that a task needs, only those that are missing.
# Usage: scripts/deps.sh build|record|test|package|cross|web|bench|fuzz ...
# A group "a|b" is satisfied by either package (names differ between releases). When
# another apt-get or unattended-upgrades holds the package lock, it waits for it, up to
# DEPS_LOCK_WAIT seconds (default 600), and says so.
set -euo pipefail

groups=()
for need in "$@"; do
  case "$need" in
    build) groups+=(cmake g++ make gettext xsltproc libxml2-utils po4a "libglut-dev|freeglut3-dev" libglu1-mesa-dev libgl-dev libx11-dev) ;;
    record) groups+=(xvfb xauth xdotool imagemagick) ;;
    test) groups+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick valgrind python3-xlib locales) ;;
    bench) groups+=(libbenchmark-dev xvfb xauth jq) ;;
    package) groups+=(desktop-file-utils appstream lintian dpkg-dev) ;;
    cross) groups+=(g++-aarch64-linux-gnu qemu-user) ;;
    fuzz) groups+=(clang-14 libclang-rt-14-dev) ;;
    web) groups+=(emscripten chromium nodejs firefox-esr webkit2gtk-driver xvfb xauth xdotool imagemagick) ;;
    *) echo "deps.sh: unknown need '$need'" >&2; exit 2 ;;
  esac
done

# A group is there when dpkg knows one of its packages as installed.
missing=()
for group in "${groups[@]}"; do
  # shellcheck disable=SC2086 # a group splits into its packages
  dpkg-query -W -f='${db:Status-Abbrev}\n' ${group//|/ } 2>/dev/null | grep -q '^ii' || missing+=("$group")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
wait_s=${DEPS_LOCK_WAIT:-600}
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -qq -o DPkg::Lock::Timeout="$wait_s")
# lslocks sees dpkg's and apt's own locks (fcntl) as well as flock's.
if lslocks -n -o PATH 2>/dev/null | grep -qE '^/var/lib/(dpkg|apt/lists)/lock'; then
  echo "deps.sh: another package manager holds the package lock; waiting up to $wait_s s" >&2
fi
echo "deps.sh: installing ${missing[*]}" >&2
"${apt[@]}" update
# Of each group, the first package that this release knows.
pick=()
for group in "${missing[@]}"; do
  for p in ${group//|/ }; do apt-cache show "$p" >/dev/null 2>&1 && { pick+=("$p"); break; }; done
done
"${apt[@]}" install -y --no-install-recommends "${pick[@]}" >&2
