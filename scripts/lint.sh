#!/usr/bin/env bash
# Style checks: clang-format in check mode on every C++ file of the tree, then
# clang-tidy (.clang-tidy) on the C++ sources changed since BASE (default: the
# previous commit) with the compile database of build/ (configure first:
# cmake --preset default). Without a BASE to compare with (a clone of one
# commit) clang-tidy checks nothing; `scripts/lint.sh --all` checks every
# source (several minutes).
# Usage: scripts/lint.sh [BASE | --all]
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t tree < <(git ls-files -- '*.cpp' '*.h')
clang-format --dry-run --Werror "${tree[@]}"
echo "lint: clang-format clean (${#tree[@]} files)"

database=build/compile_commands.json
if [ ! -f "$database" ]; then
    echo "lint: $database is missing; configure the build first" >&2
    exit 2
fi

base=${1:-HEAD~1}
if [ "$base" = --all ]; then
    files=("${tree[@]}")
elif git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
    mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
else
    echo "lint: no commit $base to compare with; clang-tidy skipped"
    exit 0
fi
# Only sources the build compiles have flags to check with (not fuzz/ targets
# in a build without them); headers are checked through them.
sources=()
for file in "${files[@]}"; do
    if [[ $file == *.cpp ]] && grep -qF "/$file\"" "$database"; then sources+=("$file"); fi
done
if [ ${#sources[@]} -eq 0 ]; then
    echo "lint: no compiled C++ source to check with clang-tidy"
    exit 0
fi
printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet 2> >(grep -v "warnings generated" >&2)
echo "lint: clang-tidy clean (${#sources[@]} sources)"
