#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for a while on its seed corpus.
#   scripts/fuzz.sh [seconds per target, default 30] [target ...]
# New inputs go to build/fuzz/corpus/<target>/ (the seeds in fuzz/corpus/ stay as they are); a crash,
# leak or time-out leaves its input in build/fuzz/crashes/<target>/ and makes the script fail after
# the other targets have run. Reproduce one with build/fuzz/fuzz/<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
scripts/deps.sh fuzz
cmake --preset fuzz
cmake --build --preset fuzz -j2 --target fuzzers

if (($#)); then
  targets=("$@")
else
  targets=()
  for exe in build/fuzz/fuzz/*_fuzz; do
    targets+=("$(basename "$exe")")
  done
fi

failed=()
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  crashes=build/fuzz/crashes/$target
  mkdir -p "$work" "$crashes" "fuzz/corpus/$target"
  echo "==== $target: ${seconds} s"
  if ! "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "fuzz/corpus/$target"; then
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz findings in: ${failed[*]} (inputs under build/fuzz/crashes/)" >&2
  exit 1
fi
