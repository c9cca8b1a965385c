#!/usr/bin/env bash
# Plays every fixture with the Linux cvatrace and with the Windows one under Wine, 120 frames
# with a pointer that sweeps the stage and clicks, and requires byte-identical traces; the
# fixtures compiled by the two builds' cvac must be identical too.
#   compare_traces.sh NATIVE_BUILD WINDOWS_BUILD PREFIX
# Exit status 77 (skipped) when the native build has no cvatrace.
set -euo pipefail
native=$1 windows=$2 prefix=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
linux_trace=$native/tools/cvatrace/cvatrace
if [ ! -x "$linux_trace" ]; then
  echo "no $linux_trace: build the native preset first" >&2
  exit 77
fi
work=$windows/tests/trace_windows/work
rm -rf "$work" && mkdir -p "$work"
awk 'BEGIN { for (f = 0; f < 120; ++f) {
  printf "%d move %d %d\n", f, (f * 37) % 640, (f * 23) % 480
  if (f % 10 == 3) printf "%d down left\n", f
  if (f % 10 == 5) printf "%d up left\n", f } }' > "$work/sweep.txt"

failed=0 compared=0
for cva in "$native"/tests/fixtures/*.cva; do
  name=$(basename "$cva" .cva)
  if ! cmp -s "$cva" "$windows/tests/fixtures/$name.cva"; then
    echo "FAIL $name.cva: cvac wrote different bytes natively and under Wine"
    failed=1
  fi
  args=(--frames 120 --input "$work/sweep.txt" --properties --text)
  set +e
  "$linux_trace" "$cva" "${args[@]}" > "$work/$name.linux" 2> "$work/$name.linux.err"
  linux_status=$?
  "$root/scripts/wine-run" --prefix "$prefix" --console \
    "$windows/tools/cvatrace/cvatrace.exe" "$cva" "${args[@]}" \
    > "$work/$name.windows" 2> "$work/$name.windows.err"
  windows_status=$?
  set -e
  if [ "$linux_status" != "$windows_status" ]; then
    echo "FAIL $name: exit status $linux_status natively, $windows_status under Wine"
    failed=1
  elif ! cmp -s "$work/$name.linux" "$work/$name.windows"; then
    line=$(cmp "$work/$name.linux" "$work/$name.windows" | sed 's/.*line //')
    echo "FAIL $name: traces differ from line $line (frame $((line - 1))); see $work"
    failed=1
  fi
  compared=$((compared + 1))
done
echo "$compared fixtures, 120 frames each: $([ $failed = 0 ] && echo identical || echo DIFFERENT)"
exit $failed
