#!/usr/bin/env bash
# Builds the model's tests twice more and runs them with ctest: on this machine for FMA
# hardware (-march=x86-64-v3) and cross-built for arm64, run under qemu-aarch64. The golden
# transcript must hold bit for bit in both, as in the default build.
# Usage: scripts/model-builds.sh [fma] [arm64]   (both when none is named)
# Needs the packages of `scripts/deps.sh cross`.
set -euo pipefail
cd "$(dirname "$0")/.."

build_and_test() {  # name, then cmake options
  local dir=build-$1 start=$SECONDS
  shift
  cmake -S . -B "$dir" -DFOUCAULT_MODEL_ONLY=ON "$@" >/dev/null
  cmake --build "$dir" -j2 >/dev/null
  ctest --test-dir "$dir" --output-on-failure -j2
  echo "model-builds: $dir built and tested in $((SECONDS - start)) s"
}

for build in ${*:-fma arm64}; do
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
    *) echo "model-builds: unknown build '$build' (fma, arm64)" >&2; exit 2 ;;
  esac
done
