#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: an embedded controller simulator and a
# client that connects, logs in and prints the realtime frames it receives for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default
cmake --build --preset default -j2 --target korvu-demo
exec build/default/tools/korvu-demo/korvu-demo "$@"
