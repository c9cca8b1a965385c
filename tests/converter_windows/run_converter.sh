#!/usr/bin/env bash
# Unpacks cvapack.zip as a Windows user would, works the converter's dialog with the driver
# program (converter_driver.cpp says what it checks), and plays the players it generated.
#
#   run_converter.sh PREFIX ZIP DRIVER PROBE WORK FIXTURES GOLDEN
#
# The player with the data inside is moved away from the document, so it can only play from
# its own resources; the one with separate files lies beside the document and its image. Both
# must show the warp fixture as GOLDEN (the software renderer's frame) shows it. The dialog and
# each player are captured into WORK/shots.
set -euo pipefail
prefix=$1 zip=$2 driver=$3 probe=$4 work=$5 fixtures=$6 golden=$7
source "$(dirname "$0")/../support/wine_test.sh"
win() { echo "Z:${1//\//\\}"; }

rm -rf "$work"
mkdir -p "$work/unpacked" "$work/document" "$work/shots"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
unpacked=$(cd "$work/unpacked" && find . -type f | sort | tr '\n' ' ')
[ "$unpacked" = "./cvapack/cvapack.exe ./cvapack/data/cvaplay.exe ./cvapack/data/cvasaver.scr " ] ||
  fail "the zip holds $unpacked"
echo "the zip holds $unpacked"
cp "$fixtures/golden_warp.cva" "$fixtures/golden_arrow.png" "$work/document/"

run "$work/unpacked/cvapack/cvapack.exe" >"$work/converter.out" &
converter_pid=$!
track "$converter_pid"
run "$driver" "$(win "$work/unpacked/cvapack/data")" "$(win "$work/document/golden_warp.cva")" \
  "$(win "$work/inside.exe")" "$(win "$work/document/files.exe")" "$(win "$work/saver.scr")" \
  >"$work/driver.out" &
driver_pid=$!
track "$driver_pid"
for _ in $(seq 1 600); do
  grep -q '^shot' "$work/driver.out" 2>/dev/null && break
  kill -0 "$driver_pid" 2>/dev/null || break
  sleep 0.1
done
if grep -q '^shot' "$work/driver.out"; then
  window=$(xdotool search --name '^cvapack$' | head -1)
  import -display "$DISPLAY" -window "$window" "$work/shots/cvapack.png"
  echo "captured $work/shots/cvapack.png"
fi
driver_status=0
wait "$driver_pid" || driver_status=$?
tr -d '\r' <"$work/driver.out"
[ "$driver_status" -eq 0 ] || fail "the dialog did not answer as expected"
expect_exit_0 "$converter_pid" "closing the dialog"
echo "the converter ended with exit code 0; its diagnostics:"
tr -d '\r' <"$work/converter.out"
leftovers=$(cd "$work/document" && ls)
[ "$(echo $leftovers)" = "files.exe golden_arrow.png golden_warp.cva" ] ||
  fail "the document's folder holds $(echo $leftovers)"

for player in "$work/inside.exe" "$work/document/files.exe"; do
  bash "$root/tests/player_windows/run_player.sh" window "$prefix" "$player" "$probe" \
    "$work/shots" "$golden" || fail "$(basename "$player") does not play the document"
done
