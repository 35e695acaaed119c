#!/usr/bin/env bash
# Builds the benchmarks (Release, into build-bench/), runs them on private Xvfb screens and
# prints one table of figures against the goals (docs/performance.md). Outputs: out/bench/.
# The machine should be otherwise idle: the header gives the load average before and after.
# Usage: scripts/bench.sh [--web]   --web: the page's rows alone (bench/web.sh), no desktop
# build. FOUCAULT_WEB_PAGE=FILE measures that page instead of building one.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  '') web_only= ;;
  --web) web_only=yes ;;
  *) echo "usage: scripts/bench.sh [--web]" >&2 && exit 2 ;;
esac
dir=build-bench out=out/bench renderer=
if [ -n "$web_only" ]; then
  scripts/deps.sh bench web
else
  scripts/deps.sh build test bench
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DFOUCAULT_BUILD_TESTS=OFF >/dev/null
  cmake --build "$dir" -j 2 --target foucault bare_glut swap_probe foucault_bench >/dev/null
fi
mkdir -p "$out"

load_before=$(cut -d' ' -f1 /proc/loadavg)

# run NAME SCREEN FILTER: the benchmarks matching FILTER on a screen of their own, as JSON.
# -noreset: the server outlives the short-lived programs of the start-up runs.
run() {
  echo "bench.sh: $1" >&2
  xvfb-run -a -s "-screen 0 ${2}x24 -noreset" "$dir/bench/foucault_bench" --benchmark_filter="$3" \
    --benchmark_enable_random_interleaving=true --benchmark_out="$out/$1.json" >"$out/$1.log" 2>&1
}
# The program runs apart from the frame: a child starts with its parent's peak memory.
if [ -z "$web_only" ]; then
  run programs 1920x1080 'BM_IdleCall|BM_ReferenceLoop|BM_Run'
  run frame-1920x1080 1920x1080 BM_Frame
  run frame-1280x1024 1280x1024 BM_Frame
  renderer="$(jq -r '.benchmarks[0].label' "$out/frame-1920x1080.json"), "
fi
echo "bench.sh: the page in Chromium, Firefox and WebKit" >&2
bench/web.sh >"$out/web.log" 2>&1

# fig FILE BENCHMARK FIELD [AGGREGATE]: Google Benchmark's aggregate (default: the median)
# over the repetitions.
fig() {
  jq -er --arg n "$2/" --arg f "$3" --arg a "${4:-median}" '.benchmarks[]
    | select(.aggregate_name == $a and (.name | startswith($n))) | .[$f]' "$out/$1.json"
}
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
# row MEASURE FIGURE [OP LIMIT]: one line of the table; with a goal, whether it is met.
# Another measure is one more call, e.g. row "Page: weight (KiB)" "$kib" '<=' 512.
row() {
  local verdict=""
  [ $# -lt 4 ] || verdict=$(awk -v f="$2" -v l="$4" "BEGIN { print (f $3 l) ? \"met\" : \"missed\" }")
  printf '| %-58s | %9s | %-7s | %-6s |\n' "$1" "$2" "${3:-}${4:+ $4}" "$verdict"
}

printf '\n%s\n%s\n\n' "foucault benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)${FOUCAULT_WEB_PAGE:+, page $FOUCAULT_WEB_PAGE}" \
  "$(nproc) cores, ${renderer}Mesa $(dpkg-query -W -f='${Version}' libgl1-mesa-dri), $(chromium --version 2>/dev/null | cut -d' ' -f1-2), load average $load_before before, $(cut -d' ' -f1 /proc/loadavg) after"
printf '| %-58s | %9s | %-7s | %-6s |\n' Measure Figure Goal Met
echo "|------------------------------------------------------------|-----------|---------|--------|"
# The desktop program's rows.
desktop() {
  idle=$(fig programs BM_IdleCall cpu_time)
  ref=$(fig programs BM_ReferenceLoop cpu_time)
  row "Integrator: one idle call, 50 sub-steps (ns, CPU)" "$(calc %.0f "$idle")"
  row "Integrator: reference loop, same arithmetic (ns, CPU)" "$(calc %.0f "$ref")"
  row "Integrator: idle call / reference loop" "$(calc %.3f "$idle / $ref")" '<=' 1.10
  for size in 1920x1080 1280x1024; do
    b=$(fig "frame-$size" BM_Frame/display real_time min)
    c=$(fig "frame-$size" BM_Frame/lists real_time min)
    row "Frame $size: display() + idle call (ms, fastest block)" "$(calc %.2f "$b / 1e6")"
    row "Frame $size: the same frame from a display list (ms)" "$(calc %.2f "$c / 1e6")"
    row "Frame $size: display / display list" "$(calc %.3f "$b / $c")" '<=' 1.15
    row "Frame $size: display, frames per second" "$(calc %.0f "1e9 / $b")" \
      $([ "$size" = 1920x1080 ] && echo '>= 60')
  done
  kib() { fig programs "BM_Run/$1" peak_kib; }
  mib() { calc %.1f "($1) / 1024"; }
  ms() { calc %.0f "$(fig programs "BM_Run/$1" real_time) / 1e6"; }
  row "Start-up, exec to first swap (ms): program" "$(ms program)" '<=' 300
  row "Start-up: bare GLUT with the five menus" "$(ms bare_menus)"
  row "Peak resident after 1,000 frames (MiB): program" "$(mib "$(kib program)")"
  row "Peak resident: bare GLUT with the five menus" "$(mib "$(kib bare_menus)")"
  row "Peak resident: program - bare GLUT with the five menus" \
    "$(mib "$(kib program) - $(kib bare_menus)")" '<=' 20
}
[ -n "$web_only" ] || desktop
web() { sed -n "s/^RESULT $1 //p" "$out/web.log"; }
row "Page: weight of the one file, foucault.html (KiB)" "$(web web_weight_kib)" '<=' 512
row "Page: WebGL calls a frame, Chromium, help lines off" "$(web web_gl_calls_off)" '<=' 100
row "Page: draw calls a frame, Chromium, help lines off" "$(web web_draw_calls_off)" '<=' 10
row "Page: WebGL calls a frame, Chromium, help lines on" "$(web web_gl_calls_on)" '<=' 150
row "Page: draw calls a frame, Chromium, help lines on" "$(web web_draw_calls_on)" '<=' 20
row "Page: frame callback, median (ms), Chromium, 1024x768" "$(web web_callback_ms)" '<=' 0.5
row "Page: frame callback with the Mesures panel open, median (ms)" "$(web web_callback_measures_ms)" '<=' 0.6
# fps NAME BROWSER [GOAL [RATIO GOAL]]: the page's rate, the bare WebGL page's (bench/bare.html)
# in the same run, and the one over the other.
fps() {
  row "Page: frames per second, $2, 1024x768" "$(web "web_fps_$1")" ${3:+'>=' "$3"}
  row "Bare WebGL page: frames per second, $2" "$(web "web_bare_fps_$1")"
  row "Page / bare WebGL page, $2" "$(web "web_ratio_$1")" ${4:+'>=' "$4"}
}
fps chromium "headless Chromium" 30
fps chromium_x6 "Chromium throttled 6x" 30 0.75
fps firefox "Firefox on Xvfb"
fps webkit "WebKit on Xvfb"
