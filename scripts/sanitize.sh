#!/usr/bin/env bash
# Runs the whole suite, window tests included, under AddressSanitizer and
# UndefinedBehaviorSanitizer (preset asan), then the window and emulator tests
# under ThreadSanitizer (preset tsan). Suppressions live in scripts/sanitizers/:
# only leaks and races inside system libraries we do not build are listed.
# Usage: scripts/sanitize.sh [asan|tsan]...   (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(asan tsan)
here=$(pwd)/scripts/sanitizers
export QT_QPA_PLATFORM=offscreen
for kind in "${kinds[@]}"; do
    cmake --preset "$kind"
    cmake --build --preset "$kind"
    case $kind in
        asan)
            export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
            export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
            export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
            ctest --preset asan -j2
            ;;
        tsan)
            export TSAN_OPTIONS="suppressions=$here/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
            build-tsan/tests/emulator_tests --gtest_brief=1
            ctest --preset tsan -j2 -R '^shell_'
            ;;
        *)
            echo "sanitize.sh: unknown kind $kind (asan or tsan)" >&2
            exit 2
            ;;
    esac
done
