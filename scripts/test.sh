#!/usr/bin/env bash
# Builds the project and runs every test: the model, the picture and the handlers on a real
# OpenGL context under Xvfb, the real program driven as a person would and under valgrind's
# memcheck, the install and package checks; the model, picture and handler tests once more
# with AddressSanitizer and UBSan; the model's numbers on FMA hardware and on arm64; the
# browser build: the model under node, and the page opened as a file in Chromium, Firefox
# and WebKit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test package cross web
scripts/build.sh build
xvfb() { xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"; }

# The model's other builds and memcheck run meanwhile, on the core that the X tests leave
# idle while they wait on their servers and programs; their reports in build/ follow the rest.
scripts/model-builds.sh >build/model-builds.log 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT # should a step below fail
xvfb ctest --test-dir build --output-on-failure -j 2
scripts/memcheck.sh build/app/foucault >build/memcheck.log 2>&1 &

# The sanitizer build needs only the test programs; its storm is shorter, each event costing
# several times more. Leak suppressions cover Mesa and the X libraries only (see the file).
cmake -S . -B build-asan -DFOUCAULT_SANITIZE=ON -DFOUCAULT_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)" --target sim_tests gl_tests web_tests input_test
LSAN_OPTIONS="suppressions=$PWD/tests/robust/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1 FOUCAULT_STORM_EVENTS=2000 \
  xvfb ctest --test-dir build-asan --output-on-failure -j 2 --label-exclude 'e2e|install'
status=0
for job in $(jobs -p); do wait "$job" || status=1; done
cat build/memcheck.log build/model-builds.log
[ "$status" = 0 ]
tests/web/run.sh
