#!/usr/bin/env bash
# Builds the benchmarks and prints every result as one table:
# benchmark, CPU time per iteration and its counters (instructions/s, ...).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target compile_bench emulator_bench zrt_bench scenario_bench >/dev/null

printf '%-36s %14s  %s\n' "benchmark" "cpu time" "counters"
for bench in build/bench/*_bench; do
    "$bench" --benchmark_format=json 2>/dev/null |
        python3 -c '
import json, sys
for b in json.load(sys.stdin)["benchmarks"]:
    skip = {"name","run_name","run_type","repetitions","repetition_index","threads","iterations",
            "real_time","cpu_time","time_unit","family_index","per_family_instance_index",
            "aggregate_name","aggregate_unit","error_occurred","error_message","label"}
    counters = ", ".join(f"{k}={v:.4g}" for k, v in b.items() if k not in skip and isinstance(v, (int, float)))
    name, cpu, unit = b["name"], b["cpu_time"], b["time_unit"]
    print(f"{name:<36} {cpu:>10.3f} {unit:<3}  {counters}")
'
done

# The machine-independent figure: machine instructions per emulated instruction.
if command -v valgrind >/dev/null; then
    figure=$(scripts/callgrind.sh | sed -n 's/.*: //p')
    printf '%-36s %14s  %s\n' "RunLoopUnderCallgrind" "-" "machine_instructions/emulated_instruction=$figure"
fi
