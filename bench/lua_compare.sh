#!/usr/bin/env bash
# Whole-process CPU time (user + system) of `keltoc run` against lua5.4
# doing the same work: the benchmark loop (bench/loop.lua) and the programs
# of bench/programs/, each beside its Lua twin. Every keltoc given and Lua
# run interleaved ROUNDS times (default 5); per program and keltoc the
# median of the per-round ratios keltoc : Lua, so that two builds compare
# side by side in one run.
# Usage: bench/lua_compare.sh [ROUNDS] [KELTOC...]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-5}"
shift || true
keltocs=("$@")
[ ${#keltocs[@]} -gt 0 ] || keltocs=(build/cli/keltoc)
command -v lua5.4 >/dev/null || { echo "lua5.4 is missing (scripts/setup.sh installs it)"; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/emulator_bench --write-loop "$work/loop.bin"

cpu() {  # command... -> user + system seconds, to the microsecond (getrusage)
    python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.3f" % (usage.ru_utime + usage.ru_stime))' "$@"
}

median() {
    sort -n | awk '{ r[NR] = $1 } END { print r[int((NR + 1) / 2)] }'
}

# name, keltoc program, emulated instructions per Lua unit, Lua units, Lua script
compare() {
    local name=$1 program=$2 per=$3 units=$4 script=$5
    local instructions=$((per * units)) k l i
    local -a ratios
    for i in "${!keltocs[@]}"; do : >"$work/ratios.$i"; done
    for _ in $(seq "$rounds"); do
        l=$(cpu lua5.4 "$script" "$units")
        for i in "${!keltocs[@]}"; do
            k=$(cpu "${keltocs[$i]}" run "$program" --keys enter,enter \
                --max-instructions "$instructions")
            awk -v k="$k" -v l="$l" 'BEGIN { printf "%.2f\n", (l > 0 ? k / l : 0) }' \
                >>"$work/ratios.$i"
            echo "  $name: ${keltocs[$i]} ${k}s, lua ${l}s" >&2
        done
    done
    ratios=()
    for i in "${!keltocs[@]}"; do ratios+=("$(median <"$work/ratios.$i")"); done
    printf '%-20s %12d instructions  median ratio %s\n' "$name" "$instructions" "${ratios[*]}"
}

# The loop's Lua script counts in emulated instructions (13 a pass); the
# programs' twins count in rounds of their outer loop, whose emulated
# instructions were counted with `keltoc run --json`. About a second each,
# so that start-up does not count.
compare loop "$work/loop.bin" 1 1000000000 bench/loop.lua
compare int_array_if bench/programs/int_array_if.kel 993 1000000 bench/programs/int_array_if.lua
compare nested_do_singles bench/programs/nested_do_singles.kel 7230 140000 \
    bench/programs/nested_do_singles.lua
compare display_loop bench/programs/display_loop.kel 15 2000000 bench/programs/display_loop.lua
