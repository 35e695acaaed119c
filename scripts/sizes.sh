#!/usr/bin/env bash
# Counts the project's lines of code (not blank, not only a comment, in C/C++, shell,
# Python, CMake and JS files tracked by git) in three parts, prints the two ratios, and
# fails when the tests exceed a third of the rest or the tooling exceeds the program.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -E '\.(c|cc|cpp|h|hpp|sh|py|cmake|js|mjs|ts)$|CMakeLists\.txt$' |
    xargs -r cat 2>/dev/null | grep -c -v -E '^\s*$|^\s*(//|#[^!]|#$|/\*|\*)' || true
}
program=$(count sim render app web)
tests=$(count tests)
tooling=$(count bench scripts packaging cmake CMakeLists.txt .ci)
echo "program $program  tests $tests  tooling $tooling"
awk -v p="$program" -v t="$tests" -v o="$tooling" 'BEGIN {
  printf "tests / (program + tooling) %.2f (at most 0.33)\ntooling / program %.2f (at most 1)\n", t / (p + o), o / p
  exit !(3 * t <= p + o && o <= p) }'
