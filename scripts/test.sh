#!/usr/bin/env bash
# Builds the project and runs every test: the model, the picture and handlers on a real
# OpenGL context under Xvfb, and the real program driven as a person would. Before that,
# the same GoogleTest executables built with AddressSanitizer and UBSan, and the real
# program under valgrind's memcheck.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test package
scripts/build.sh build

# Sanitizer build: the model, picture, handler and robustness tests; the scripts that
# drive the real program (labels e2e, install, script) run in the main build only. Leak
# suppressions cover Mesa and the X libraries only (see the file).
scripts/build.sh build-asan -DFOUCAULT_SANITIZE=ON -DFOUCAULT_BUILD_BENCH=OFF
(
  cd build-asan
  export LSAN_OPTIONS="suppressions=$PWD/../tests/robust/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1"
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --output-on-failure --timeout 300 --label-exclude 'e2e|install|script'
)

# The real program under memcheck for a few seconds of keys, drags and menu choices.
scripts/memcheck.sh build/app/foucault

cd build
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 300
