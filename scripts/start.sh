#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the environment.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default
exec build/shell/zr7340-ide "$@"
