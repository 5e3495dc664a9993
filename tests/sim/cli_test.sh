#!/usr/bin/env bash
# The command line of korvu-sim: each row is an invocation, the exit status it must end with and a
# text its output must hold. A second simulator on the base port of a running one must name the port.
set -u
sim=$1
version=$2
out=$(mktemp)
trap 'rm -f "$out" "$out.first"; [[ -n ${first:-} ]] && kill "$first" 2>/dev/null' EXIT
failed=0

expect() {  # status text args...
  local status=$1 text=$2
  shift 2
  "$sim" "$@" >"$out" 2>&1
  local got=$?
  if [[ $got -ne $status ]] || ! grep -qF -- "$text" "$out"; then
    echo "korvu-sim $*: status $got (want $status), output lacks \"$text\":"; cat "$out"; failed=1
  fi
}

expect 0 "korvu-sim $version" --version
expect 0 "--scenario" --help
expect 2 "Unknown option 'bogus'" --bogus
expect 2 "--port must be a number" --port many
expect 2 "--robots must be a number from 1 to 16" --robots 0
expect 2 "unexpected argument extra" extra
expect 2 "--host notahost is not an IP address" --host notahost

"$sim" --port 0 2>"$out.first" &
first=$!
for _ in $(seq 1 200); do
  grep -q "serving" "$out.first" && break
  sleep 0.05
done
base=$(sed -n 's/.*base port \([0-9]*\).*/\1/p' "$out.first")
if [[ -z $base ]]; then
  echo "the first simulator did not start:"; cat "$out.first"; exit 1
fi
expect 1 "base port $base (rpc $((base + 4))" --port "$base"
exit $failed
