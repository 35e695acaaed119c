#!/usr/bin/env bash
# Fuzzes the page's input handlers (web/input.cpp) for as long as asked: the harness of
# tests/web/input_test.cpp under libFuzzer with AddressSanitizer and UBSan, into build-fuzz/.
# Usage: scripts/fuzz.sh [SECONDS]   (60 by default); a finding is saved as a crash-* file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh fuzz
mkdir -p build-fuzz/corpus
clang++-14 -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -DFOUCAULT_FUZZ -Itests/web/stand_in -I. tests/web/input_test.cpp web/input.cpp -o build-fuzz/input_fuzz
cd build-fuzz && ./input_fuzz -max_total_time="${1:-60}" -timeout=5 corpus
