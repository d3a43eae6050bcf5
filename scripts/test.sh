#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test. Arguments go to
# the configure step (CI: -DCMAKE_COMPILE_WARNING_AS_ERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default "$@"
cmake --build --preset default
QT_QPA_PLATFORM=offscreen ctest --preset default --output-on-failure -j2
