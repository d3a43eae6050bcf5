#!/usr/bin/env bash
# Machine instructions per emulated instruction on the benchmark loop, counted
# by callgrind: `keltoc run` for 1 M and for 3 M emulated instructions, and
# the difference of the two totals divided by 2 M, which cancels start-up and
# exit. Repeatable on one binary whatever else the machine is doing.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target keltoc emulator_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/emulator_bench --write-loop "$work/loop.bin"
count() {  # emulated instructions -> machine instructions of the whole run
    valgrind --tool=callgrind --callgrind-out-file="$work/out.$1" build/cli/keltoc run \
        "$work/loop.bin" --keys enter,enter --max-instructions "$1" >/dev/null 2>"$work/log.$1"
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/log.$1"
}
low=$(count 1000000)
high=$(count 3000000)
awk -v low="$low" -v high="$high" \
    'BEGIN { printf "machine instructions per emulated instruction: %.2f\n", (high - low) / 2000000 }'
