#!/usr/bin/env bash
# Starts korvu-sim with a scenario on picked ports, waits until it serves, sends SIGTERM and
# expects exit status 0. Also checks --help and that bad options and an invalid scenario are refused.
set -u
sim=$1
scenario=$2
log=$(mktemp)
trap 'rm -f "$log" "$log.bad"' EXIT

"$sim" --port 0 --scenario "$scenario" 2>"$log" &
pid=$!
for _ in $(seq 1 200); do
  grep -q "serving" "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if ! grep -q "serving" "$log"; then
  echo "korvu-sim did not start:"; cat "$log"; kill "$pid" 2>/dev/null; exit 1
fi
kill -TERM "$pid"
wait "$pid"
status=$?
cat "$log"
if [[ $status -ne 0 ]]; then
  echo "korvu-sim exited with $status after SIGTERM"; exit 1
fi

"$sim" --help | grep -q -- "--scenario" || { echo "--help does not list --scenario"; exit 1; }
if "$sim" --robots 0 2>/dev/null; then
  echo "--robots 0 was accepted"; exit 1
fi

echo '{"events": [{"at": 1}]}' >"$log.bad"
if "$sim" --port 0 --scenario "$log.bad" 2>"$log"; then
  echo "an invalid scenario was accepted"; exit 1
fi
grep -q "exactly one action" "$log" || { echo "unclear error:"; cat "$log"; exit 1; }
