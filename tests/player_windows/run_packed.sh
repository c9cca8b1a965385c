#!/usr/bin/env bash
# Makes a player with the Linux packer and checks it from outside: wrestool lists the
# generated resources at language 1041 beside the template's placeholders, the archive it
# extracts reads back with lzp byte for byte, no archive or temporary is left beside the
# document, and the player, run under Wine from a folder that holds nothing else, shows the
# document as the software renderer draws it (run_player.sh, case window).
#
#   run_packed.sh NATIVE_TOOLS PREFIX TEMPLATE PROBE FIXTURES OUTDIR GOLDEN
set -euo pipefail
tools=$1 prefix=$2 template=$3 probe=$4 fixtures=$5 out=$6 golden=$7
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

# Until a screen-saver template exists, asking for one names where it was looked for.
if message=$("$cvapack" "$out/doc/golden_warp.cva" -o "$out/run/saver.scr" 2>&1); then
  [ -s "$out/run/saver.scr" ] || fail "cvapack reported a screen saver it did not write"
  rm "$out/run/saver.scr"
else
  grep -q "no template cvasaver.scr: looked for" <<<"$message" || fail "unclear: $message"
  [ ! -e "$out/run/saver.scr" ] || fail "a failed generation left its output"
fi

bash "$here/run_player.sh" window "$prefix" "$player" "$probe" "$out/shots" "$golden"
