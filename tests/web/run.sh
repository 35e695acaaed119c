#!/usr/bin/env bash
# The browser tests: the one-file page (scripts/web.sh builds it) opened as a file in
# Chromium, Firefox and WebKit. Its overlay is compared with the desktop program's own
# pixels, taken here from build/app/foucault full screen on a 1024x768 Xvfb screen with the
# options of tests/data/web/desktop.txt (scripts/test.sh builds it first). FOUCAULT_WEB_PAGE=FILE tests that page instead of
# building one; FOUCAULT_STORM_SEED=N replays a storm; FOUCAULT_WEB_ONLY=REGEX plays only the
# scenarios whose "ENGINE: NAME" it matches.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh web
# npm's record of what it installed is newer than the lock file unless the lock file changed.
[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || npm ci --prefix tests/web --no-audit --no-fund
[ -n "${FOUCAULT_WEB_PAGE:-}" ] || scripts/web.sh >/dev/null

# shellcheck source=scripts/xrun.sh
. scripts/xrun.sh
# shellcheck disable=SC2086 # the options split into words
while read -r name options <&3; do
  xr_start 1024x768 "$PWD" build/app/foucault $options || { echo "run.sh: the desktop program did not start" >&2; exit 1; }
  sleep 1 && xr_shot "$XR/desktop.$name.png" && xr_stop
done 3< <(grep -v '^#' tests/data/web/desktop.txt)

# The page alone in a folder, as a download is, and a learning platform's page framing it; the
# folder goes with $XR at exit.
mkdir "$XR/page" && cp "${FOUCAULT_WEB_PAGE:-out/web/foucault.html}" "$XR/page/foucault.html" && cp tests/data/web/frame.html "$XR/page/"
# The X pointer rests outside the browsers' windows, where it hovers over nothing.
FOUCAULT_PAGE=$XR/page/foucault.html FOUCAULT_DESKTOP=$XR FOUCAULT_MINIBROWSER=$(ls /usr/lib/*/webkit2gtk-4.*/MiniBrowser | head -n 1) \
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c 'xdotool mousemove 1279 1023 && exec node --test "$@" tests/web/page_test.mjs' - "$@"
