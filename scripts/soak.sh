#!/usr/bin/env bash
# Soak run (not part of the test suite): four robots, a 1 kHz channel and 10,000 robot messages/s
# for 60 s through RobotProxy against the simulator on loopback.
#   scripts/soak.sh [--seconds S] [--rate N] [--robots N]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default
cmake --build --preset default -j2 --target robot_proxy_soak
build/default/tests/soak/robot_proxy_soak "$@"
