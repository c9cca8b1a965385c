#!/usr/bin/env bash
# Makes a player and a screen saver with the Linux packer and checks them from outside:
# wrestool lists the generated resources at language 1041 beside the templates' placeholders,
# the archive it extracts reads back with lzp byte for byte, no archive or temporary is left
# beside the document, and both programs, run under Wine from a folder that holds nothing
# else, show the document as the software renderer draws it (run_player.sh, case window;
# run_saver.sh, case full).
#
#   run_packed.sh NATIVE_TOOLS PREFIX PLAYER_TEMPLATE SAVER_TEMPLATE PROBE FIXTURES OUTDIR GOLDEN
set -euo pipefail
tools=$1 prefix=$2 template=$3 saver_template=$4 probe=$5 fixtures=$6 out=$7 golden=$8
here=$(cd "$(dirname "$0")" && pwd)
cvapack=$tools/cvapack/cvapack
lzp=$tools/lzp/lzp
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$cvapack" ] && [ -x "$lzp" ] ||
  fail "no $cvapack or $lzp: build the native preset first (cmake --build --preset native)"
rm -rf "$out" && mkdir -p "$out/doc" "$out/run" "$out/extracted"
cp "$fixtures/golden_warp.cva" "$fixtures/golden_arrow.png" "$out/doc/"
player=$out/run/packed_warp.exe

"$cvapack" "$out/doc/golden_warp.cva" -o "$player" --size 800x600 --fixed 10 \
  --title "Packed warp" --template "$template" >"$out/cvapack.log" 2>&1 ||
  fail "cvapack failed: $(cat "$out/cvapack.log")"
cat "$out/cvapack.log"
[ "$(ls "$out/doc")" = "$(printf 'golden_arrow.png\ngolden_warp.cva')" ] ||
  fail "files were left beside the document: $(ls "$out/doc")"

listing=$(wrestool -l "$player")
echo "$listing"
for resource in "--type=10 --name=200 --language=1041" "--type=10 --name=200 --language=24415" \
  "--type=10 --name=201 --language=1041" "--type=10 --name=201 --language=24415" \
  "--type=6 --name=7 --language=1041" "--type=6 --name=2501 --language=1041" \
  "--type=3 --name=1 --language=1041" "--type=14 --name=107 --language=1041"; do
  grep -qF -- "$resource " <<<"$listing" || fail "wrestool lists no $resource"
done
wrestool -x --raw --type=10 --name=200 --language=1041 "$player" >"$out/archive.lzp"
"$lzp" extract "$out/archive.lzp" -C "$out/extracted"
for f in golden_warp.cva golden_arrow.png; do
  cmp "$out/doc/$f" "$out/extracted/$f" || fail "the archive's $f differs from the file"
done
echo "the archive holds the document and its image byte for byte"

# A missing template is named, and nothing is written.
if message=$("$cvapack" "$out/doc/golden_warp.cva" -o "$out/run/none.scr" \
  --template "$out/none/cvasaver.scr" 2>&1); then
  fail "cvapack made a program without a template"
fi
grep -qF "no template cvasaver.scr: looked for"$'\n'"  $out/none/cvasaver.scr" <<<"$message" ||
  fail "unclear: $message"
[ ! -e "$out/run/none.scr" ] || fail "a failed generation left its output"

bash "$here/run_player.sh" window "$prefix" "$player" "$probe" "$out/shots" "$golden"

# The screen saver: its record leaves the screen mode to the user, as run_saver.sh expects.
saver=$out/run/packed_warp.scr
"$cvapack" "$out/doc/golden_warp.cva" -o "$saver" --ask --size 640x480 --fixed 10 \
  --template "$saver_template" >"$out/cvapack-saver.log" 2>&1 ||
  fail "cvapack failed: $(cat "$out/cvapack-saver.log")"
listing=$(wrestool -l "$saver")
for resource in "--type=10 --name=200 --language=1041" "--type=10 --name=201 --language=1041" \
  "--type=10 --name=201 --language=24415" "--type=5 --name=2003 --language=1041"; do
  grep -qF -- "$resource " <<<"$listing" || fail "wrestool lists no $resource in the saver"
done
bash "$here/../saver_windows/run_saver.sh" full "$prefix" "$saver" "$probe" "$out/shots" "$golden"
