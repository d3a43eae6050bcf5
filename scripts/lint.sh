#!/usr/bin/env bash
# Style checks of the C++ files changed since BASE (default: the previous
# commit): clang-format in check mode, then clang-tidy with .clang-tidy against
# the compile database of build/ (configure first: cmake --preset default).
# Usage: scripts/lint.sh [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."

base=${1:-HEAD~1}
mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
    echo "lint: no C++ file changed since $base"
    exit 0
fi
clang-format --dry-run --Werror "${files[@]}"

database=build/compile_commands.json
if [ ! -f "$database" ]; then
    echo "lint: $database is missing; configure the build first" >&2
    exit 2
fi
# Only sources the build compiles have flags to check with (not fuzz/ targets
# in a build without them); headers are checked through them.
sources=()
for file in "${files[@]}"; do
    if [[ $file == *.cpp ]] && grep -qF "/$file\"" "$database"; then sources+=("$file"); fi
done
if [ ${#sources[@]} -gt 0 ]; then
    clang-tidy -p build --quiet "${sources[@]}"
fi
echo "lint: ${#files[@]} files clean"
