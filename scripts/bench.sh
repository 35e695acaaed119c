#!/usr/bin/env bash
# Builds the benchmark programs (Release, into build-bench/), runs them all and prints
# one table of figures against the performance goals. Every program checks what it
# times first and stops the run if the check fails. Full outputs: out/bench/*.log.
# Takes a few minutes; the machine should be otherwise idle.
#
# Usage: scripts/bench.sh [--wait-for-idle]
#   --wait-for-idle  first wait (up to 20 minutes) for a 1-minute load average below 0.6
set -euo pipefail
cd "$(dirname "$0")/.."

wait_idle=0
for arg in "$@"; do
  case "$arg" in
    --wait-for-idle) wait_idle=1 ;;
    *) echo "usage: scripts/bench.sh [--wait-for-idle]" >&2; exit 2 ;;
  esac
done

scripts/deps.sh build test
dir=build-bench
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j "$(nproc)" --target foucault integrator_bench frame_bench swap_probe \
  bare_glut startup_bench >/dev/null

load1() { cut -d' ' -f1 /proc/loadavg; }
if [ "$wait_idle" = 1 ]; then
  for _ in $(seq 40); do
    awk -v l="$(load1)" 'BEGIN { exit !(l < 0.6) }' && break
    echo "bench.sh: load average $(load1), waiting for it to fall below 0.6" >&2
    sleep 30
  done
fi
load_before=$(load1)

logs=out/bench
mkdir -p "$logs"
# -noreset: the server must outlive each short-lived client of the start-up runs.
on_screen() {
  local size=$1
  shift
  xvfb-run -a -s "-screen 0 ${size}x24 -noreset" "$@"
}

echo "bench.sh: integrator" >&2
"$dir/bench/integrator_bench" --benchmark_color=false >"$logs/integrator.log" 2>&1
for size in 1920x1080 1280x1024; do
  echo "bench.sh: frames at $size" >&2
  on_screen "$size" "$dir/bench/frame_bench" >"$logs/frame-$size.log"
done
echo "bench.sh: start-up and memory" >&2
on_screen 1920x1080 "$dir/bench/startup_bench" "$dir/bench/libswap_probe.so" \
  "$dir/app/foucault" "$dir/bench/bare_glut" >"$logs/startup.log"
load_after=$(load1)

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
mesa=$(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)
glut=$(dpkg-query -W -f='${Version}' freeglut3-dev 2>/dev/null || echo unknown)
renderer=$(sed -n 's/^INFO renderer //p' "$logs/frame-1920x1080.log")
version=$(sed -n 's/^INFO gl_version //p' "$logs/frame-1920x1080.log")

echo
echo "foucault benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD 2>/dev/null || echo none)"
echo "machine: $cpu, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), Linux $(uname -r), Debian $(cat /etc/debian_version 2>/dev/null || echo '?')"
echo "renderer: $renderer, OpenGL $version (Mesa package $mesa), freeglut $glut, Xvfb 24-bit"
echo "load average (1 min): $load_before before, $load_after after"
echo
grep -ho 'RESULT .*' "$logs"/*.log | awk '
  { v[$2] = $3 }
  function row(what, figure, goal, met) { printf "| %-72s | %10s | %-7s | %-3s |\n", what, figure, goal, met }
  function ms(x) { return sprintf("%.2f", x) }
  function mib(k) { return sprintf("%.1f", k / 1024) }
  function yes(ok) { return ok ? "yes" : "NO" }
  END {
    printf "| %-72s | %10s | %-7s | %-3s |\n", "Measure", "Figure", "Goal", "Met"
    printf "|%s|%s|%s|%s|\n", "--------------------------------------------------------------------------", "------------", "---------", "-----"
    row("Integrator: one idle call, 50 sub-steps (ns, CPU)", sprintf("%.0f", v["integrator_idle_ns"]), "", "")
    row("Integrator: reference loop, same arithmetic (ns, CPU)", sprintf("%.0f", v["integrator_reference_ns"]), "", "")
    row("Integrator: idle call / reference loop", sprintf("%.3f", v["integrator_ratio"]), "<= 1.10", yes(v["integrator_ratio"] <= 1.10))
    n = split("1920x1080 1280x1024", sizes, " ")
    for (i = 1; i <= n; i++) {
      s = sizes[i]; f = "frame_" s "_"
      row("Frame " s ": (a) bare, clear and swap (ms, median)", ms(v[f "bare_ms"]), "", "")
      row("Frame " s ": (b) display, as the program draws (ms)", ms(v[f "display_ms"]), "", "")
      row("Frame " s ": (c) same picture from display lists (ms)", ms(v[f "lists_ms"]), "", "")
      row("Frame " s ": b/c", sprintf("%.3f", v[f "b_over_c"]), "<= 1.15", yes(v[f "b_over_c"] <= 1.15))
      row("Frame " s ": b/a", sprintf("%.2f", v[f "b_over_a"]), "", "")
      if (s == "1920x1080") row("Frame " s ": display, frames per second", sprintf("%.0f", v[f "fps"]), ">= 60", yes(v[f "fps"] >= 60))
      else row("Frame " s ": display, frames per second", sprintf("%.0f", v[f "fps"]), "", "")
    }
    row("Start-up, exec to first swap (ms, median of 11): program", sprintf("%.0f", v["startup_program_ms"]), "<= 300", yes(v["startup_program_ms"] <= 300))
    row("Start-up: bare GLUT, same window", sprintf("%.0f", v["startup_bare_ms"]), "", "")
    row("Start-up: bare GLUT with the five menus", sprintf("%.0f", v["startup_bare_menus_ms"]), "", "")
    row("Peak resident after 1,000 frames (MiB, median of 3): program", mib(v["hwm_program_kib"]), "", "")
    row("Peak resident: bare GLUT, same window", mib(v["hwm_bare_kib"]), "", "")
    row("Peak resident: bare GLUT with the five menus", mib(v["hwm_bare_menus_kib"]), "", "")
    row("Peak resident: program - bare", mib(v["hwm_excess_kib"]), "<= 2", yes(v["hwm_excess_kib"] <= 2048))
    row("  of which the five freeglut menus (bare with menus - bare)", mib(v["hwm_bare_menus_kib"] - v["hwm_bare_kib"]), "", "")
    split("llvm dri heap anon other", kinds, " ")
    split("LLVM library (shader compiler)|Mesa driver library|heap|other anonymous|other files", names, "|")
    for (k = 1; k <= 5; k++) {
      d = v["rss_program_" kinds[k] "_kib"] - v["rss_bare_menus_" kinds[k] "_kib"]
      row("  resident, program - bare with menus: " names[k], mib(d), "", "")
    }
  }'
