#!/usr/bin/env bash
# The Debian package that cpack builds: name, version, a maintainer at a reserved example
# domain, a description, the installed layout under /usr with a desktop entry for /usr,
# Depends worked out from the libraries the program links (all of them, nothing else),
# and no lintian error or warning.
. "$(dirname "$0")/common.sh"
need cpack dpkg-deb dpkg-shlibdeps lintian objdump

check "cpack" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" || finish
deb=$work/out/foucault_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { fail "no $deb among: $(ls "$work/out")"; finish; }
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version)" = "foucault $version" ] || fail "package is $(field Package) $(field Version)"
[[ "$(field Maintainer)" =~ ^[^@\<]+\ \<[^@\>]+@example\.(org|com|net)\>$ ]] ||
  fail "Maintainer '$(field Maintainer)' is not a name at a reserved example domain"
[ "$(field Description | wc -l)" -ge 3 ] || fail "no extended Description"

dpkg-deb -x "$deb" "$work/root"
diff <(expected_layout) <(listing "$work/root/usr") >"$work/diff" ||
  fail "package contents differ from layout.txt: $(cat "$work/diff")"
entry=$work/root/usr/share/applications/$app_id.desktop
[ "$(desktop_key "$entry" Exec) $(desktop_key "$entry" Path)" = \
  "/usr/lib/foucault/launch /usr/share/foucault" ] || fail "the desktop entry is not for /usr"

# The package that holds a library, whichever name dpkg knows it by (/lib is /usr/lib).
owner_of() {
  local path real candidate
  path=$(ldconfig -p | awk -v l="$1" '$1 == l {print $NF; exit}')
  real=$(readlink -f "$path")
  for candidate in "$path" "$real" "${real#/usr}"; do
    dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1 && return 0
  done
  return 0
}
declare -A wanted=() listed=()
while read -r lib; do
  owner=$(owner_of "$lib")
  [ -n "$owner" ] && wanted[$owner]=1 || fail "no package holds $lib"
done < <(objdump -p "$work/root/usr/bin/foucault" | awk '$1 == "NEEDED" {print $2}')
depends=$(field Depends)
IFS=',' read -r -a clauses <<<"$depends"
for clause in "${clauses[@]}"; do
  hit=0
  for name in $(sed 's/([^)]*)//g; s/|/ /g' <<<"$clause"); do
    [ -n "${wanted[$name]:-}" ] && hit=1 && listed[$name]=1
  done
  [ "$hit" = 1 ] || fail "Depends has '$clause', which holds none of the linked libraries"
done
for owner in "${!wanted[@]}"; do
  [ -n "${listed[$owner]:-}" ] || fail "Depends ('$depends') lacks $owner, which holds a linked library"
done

lintian --pedantic "$deb" >"$work/lintian" 2>&1 || true
grep -E '^[EW]: ' "$work/lintian" && fail "lintian reports errors or warnings"
finish
