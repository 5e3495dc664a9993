#!/usr/bin/env bash
# Builds and runs the test suite under a sanitizer preset.
#   scripts/sanitize.sh asan [ctest args]   AddressSanitizer + UndefinedBehaviorSanitizer
#   scripts/sanitize.sh tsan [ctest args]   ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: scripts/sanitize.sh asan|tsan [ctest args]}
shift
scripts/deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j2
ctest --preset "$preset" "$@"
