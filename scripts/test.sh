#!/usr/bin/env bash
# Builds the project and runs every test: the model, the picture and handlers on a real
# OpenGL context under Xvfb, and the real program driven as a person would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test package
scripts/build.sh build
cd build
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 300
