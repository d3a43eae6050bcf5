#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for
# SECONDS (default 20), seeded from the examples (as source and compiled),
# the RTF samples and the compiler dictionary. With TARGET names, runs only
# those. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(compiler_fuzz numbers_fuzz run_loop_fuzz rtf_reader_fuzz cli_args_fuzz lsp_reader_fuzz)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZR_BUILD_FUZZ=ON -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCH=OFF -DZR_BUILD_SHELL=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]}" run_loop_seeds

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts
build-fuzz/fuzz/run_loop_seeds "$work/run_seeds" examples/*.zrt
failed=0
run() {  # name, extra libFuzzer options, seed folders...
    local name=$1 options=$2
    shift 2
    [[ " ${targets[*]} " == *" $name "* ]] || return 0
    mkdir -p "$work/$name"
    echo "== $name (${seconds}s)"
    # shellcheck disable=SC2086
    if ! build-fuzz/fuzz/"$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/artifacts/ $options \
        "$work/$name" "$@" >"$work/$name.log" 2>&1; then
        failed=1
        tail -n 60 "$work/$name.log"
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done|stat::number_of_executed_units|SUMMARY' "$work/$name.log" || true
}
run compiler_fuzz "-dict=fuzz/kelto.dict -max_len=4096" examples
run numbers_fuzz ""
run run_loop_fuzz "-max_len=1200" "$work/run_seeds"
run rtf_reader_fuzz "-dict=fuzz/rtf.dict" tests/formats/data
run cli_args_fuzz "-dict=fuzz/cli.dict -max_len=256"
run lsp_reader_fuzz "-dict=fuzz/lsp.dict -max_len=4096" fuzz/lsp_seeds
exit $failed
