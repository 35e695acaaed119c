#!/usr/bin/env bash
# Builds the model's tests three more times and runs them with ctest: on this machine for FMA
# hardware (-march=x86-64-v3), cross-built for arm64 and run under qemu-aarch64, and in the
# page's own Emscripten build, run under node. The golden transcript must hold bit for bit
# in each, as in the default build.
# Usage: scripts/model-builds.sh [fma] [arm64] [wasm]   (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test cross web

build_and_test() {  # name, then cmake options; $wrap, if set, runs the configure step
  local dir=build-$1 start=$SECONDS
  shift
  ${wrap:-} cmake -S . -B "$dir" -DFOUCAULT_MODEL_ONLY=ON "$@" >/dev/null
  cmake --build "$dir" -j2 >/dev/null
  ctest --test-dir "$dir" --output-on-failure -j2
  echo "model-builds: $dir built and tested in $((SECONDS - start)) s"
}

for build in ${*:-fma arm64 wasm}; do
  case $build in
    fma)
      # A machine without FMA could not run the program at all; it has nothing to compare.
      if grep -qw fma /proc/cpuinfo; then
        build_and_test fma -DCMAKE_CXX_FLAGS=-march=x86-64-v3
      else
        echo "model-builds: this processor has no FMA; the x86-64-v3 build is skipped"
      fi
      ;;
    arm64) build_and_test arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64.cmake ;;
    wasm)
      # The page's own build (scripts/web.sh configures build-web), its model's tests run
      # under node: the transcript must hold in the page's model too.
      start=$SECONDS
      scripts/web.sh >/dev/null
      cmake --build build-web -j2 >/dev/null
      ctest --test-dir build-web --output-on-failure -j2
      echo "model-builds: build-web built and tested in $((SECONDS - start)) s"
      ;;
    *) echo "model-builds: unknown build '$build' (fma, arm64, wasm)" >&2; exit 2 ;;
  esac
done
