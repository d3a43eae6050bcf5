#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the environment.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default
if [ -x build/shell/zr7340-ide ]; then
    exec build/shell/zr7340-ide "$@"
fi
# Until the window lands: compile and run an example program headless.
build/cli/keltoc build examples/square.zrt
exec build/cli/keltoc run examples/square.zrt --keys enter,enter,1,2,enter
