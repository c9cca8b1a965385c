# What the scripts that run Windows programs under Wine and watch them from outside share.
# Source it after setting `prefix` (the Wine prefix of the build tree); it sets `root`.
#
#   run PROGRAM ARGS...          runs a program under Wine with that prefix
#   track PID                    a background process (a `run ... &`) the script started: if
#                                the script fails, it and its children (the Wine processes)
#                                are ended, or the test would hang on the output they hold
#   fail MESSAGE                 reports the failure and exits with 1
#   expect_exit_0 PID WHAT       waits up to 10 s for PID to end; its exit code must be 0
#   differing_pixels A B FUZZ    how many pixels of two pictures differ by more than FUZZ
#   probe_value KEY              the value of "KEY value" in $probe_out
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
run() { "$root/scripts/wine-run" --prefix "$prefix" "$@"; }
# The display of the wine fixture (wine-run --setup) unless the caller has one.
if [ -z "${DISPLAY:-}" ] && [ -f "$prefix/.display" ]; then export DISPLAY=$(cat "$prefix/.display"); fi
[ -n "${DISPLAY:-}" ] || { echo "no display: run under the wine fixture" >&2; exit 1; }

tracked=()
track() { tracked+=("$1"); }
end_tree() {
  local child
  for child in $(pgrep -P "$1"); do end_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
trap 'if [ $? -ne 0 ]; then for p in "${tracked[@]}"; do end_tree "$p"; done; fi' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_exit_0() {
  local pid=$1 what=$2 status=0
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$what did not end the program"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with exit code $status after $what"
  echo "$what ended the program with exit code 0"
}

differing_pixels() {
  local metric count
  metric=$(compare -metric AE -fuzz "$3" "$1" "$2" null: 2>&1 || true)
  count=$(awk '$1 + 0 == $1 { printf "%d", $1 }' <<<"$metric")  # the count may come as 1.2e+03
  [ -n "$count" ] || fail "compare gave no count: $metric"
  echo "$count"
}

probe_value() { sed -n "s/^$1 //p" <<<"$probe_out"; }
