#!/usr/bin/env bash
# Installs what is missing, builds robot-proxy-monitor and runs it for about fifteen seconds against
# the simulated controller it starts in its own process (the demo scenario). Extra arguments go to
# the monitor, e.g. scripts/run.sh --json, or --duration 60.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default
cmake --build --preset default -j2 --target robot-proxy-monitor
exec build/default/tools/robot-proxy-monitor/robot-proxy-monitor --duration 15 "$@"
