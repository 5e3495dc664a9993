#!/usr/bin/env bash
# The naming and brace rules of .clang-tidy over every project source in the build's compilation
# database, two files at a time.
#   scripts/tidy.sh [build-dir]        check; fails on any finding
#   scripts/tidy.sh --fix [build-dir]  convert the tree: rename and brace, clang-format what changed,
#                                      then check again. Fails if a renamed member now meets a local,
#                                      a parameter or itself (shadowing, self-assignment), so such a
#                                      rename is never silent.
# TIDY_JOBS overrides the number of parallel clang-tidy runs (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=check
if [[ "${1:-}" == "--fix" ]]; then
  mode=fix
  shift
fi
build=${1:-build/default}
if [[ ! -f "$build/compile_commands.json" ]]; then
  echo "no $build/compile_commands.json: configure first (cmake --preset default)" >&2
  exit 2
fi

dirs=(include src sdk wire sim tools tests bench fuzz)
sources="^$root/(src|sdk|wire|sim|tools|tests|bench|fuzz)/.*\\.cpp\$"
collisions='clang-diagnostic-shadow*,clang-diagnostic-self-assign*,clang-diagnostic-uninitialized'

# Runs clang-tidy over the project's sources with the given extra options; prints the findings only
# without colours (run-clang-tidy forces them and echoes every command line); keeps its exit status.
run_tidy() {
  run-clang-tidy-14 -p "$build" -j "${TIDY_JOBS:-2}" -quiet "$@" "$sources" |
    sed -E 's/\x1b\[[0-9;]*m//g' |
    awk '!/^(\/usr\/bin\/)?clang-tidy/ && !/ warnings? (and [0-9]+ errors? )?generated\.$/'
}

# "file: message" of every collision finding, one per line, so that counts survive moved lines.
collision_keys() {
  grep -E "\[clang-diagnostic-(shadow|self-assign|uninitialized)" "$1" |
    sed -E 's/^([^:]+):[0-9]+:[0-9]+: (warning|error): (.*) \[.*$/\1: \3/' | sort
}

snapshot() {
  local present=()
  for d in "${dirs[@]}"; do
    [[ -d $d ]] && present+=("$d")
  done
  find "${present[@]}" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z | xargs -0 md5sum
}

if [[ $mode == check ]]; then
  run_tidy
  echo "tidy: clean"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
snapshot >"$work/before"

# The naming fix renames each declaration and every use it sees; clang-apply-replacements merges
# the per-file fixes, so a header shared by many sources is edited once.
run_tidy -fix -checks="-*,readability-identifier-naming,readability-braces-around-statements,$collisions" \
  -extra-arg=-Wshadow-all >"$work/fix.log" || true
snapshot >"$work/after"
mapfile -t touched < <(diff "$work/before" "$work/after" | sed -nE 's/^> [0-9a-f]+  //p')
echo "tidy-fix: ${#touched[@]} files changed"
if ((${#touched[@]})); then
  clang-format -i "${touched[@]}"
fi

run_tidy -checks="-*,readability-identifier-naming,readability-braces-around-statements,$collisions" \
  -extra-arg=-Wshadow-all >"$work/check.log" || true
comm -13 <(collision_keys "$work/fix.log") <(collision_keys "$work/check.log") >"$work/new"
if [[ -s "$work/new" ]]; then
  echo "tidy-fix: a renamed member collides with another name; resolve these by hand:" >&2
  cat "$work/new" >&2
  grep -E "\[clang-diagnostic-(shadow|self-assign|uninitialized)" "$work/check.log" |
    grep -F -f <(cut -d: -f1 "$work/new" | sort -u) >&2 || true
  exit 1
fi
if grep -E "\[(readability-|clang-diagnostic-error)" "$work/check.log" >&2; then
  echo "tidy-fix: findings left that need a hand (see above)" >&2
  exit 1
fi
echo "tidy-fix: done; the tree is clean"
