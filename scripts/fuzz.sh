#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for
# SECONDS (default 20), seeded from the examples, the RTF samples and a few
# compiler test snippets. Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZR_BUILD_FUZZ=ON -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCH=OFF -DZR_BUILD_SHELL=OFF >/dev/null
cmake --build build-fuzz --target compiler_fuzz numbers_fuzz run_loop_fuzz rtf_reader_fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # name, extra libFuzzer options, seed folders...
    local name=$1 options=$2
    shift 2
    mkdir -p "$work/$name"
    echo "== $name (${seconds}s)"
    # shellcheck disable=SC2086
    build-fuzz/fuzz/"$name" -max_total_time="$seconds" -print_final_stats=1 $options \
        "$work/$name" "$@" 2>&1 | grep -E '^(Done|stat::number_of_executed_units|==[0-9]+==ERROR)|SUMMARY'
}
run compiler_fuzz "-dict=fuzz/kelto.dict -max_len=4096" examples
run numbers_fuzz ""
run run_loop_fuzz "-max_len=1200"
run rtf_reader_fuzz "-dict=fuzz/rtf.dict" tests/formats/data
