#!/usr/bin/env bash
# Installs what is missing, configures, builds with two jobs and runs the default test suite.
# Extra arguments go to ctest, e.g. scripts/test.sh -L math
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default
cmake --build --preset default -j2
ctest --preset default "$@"
