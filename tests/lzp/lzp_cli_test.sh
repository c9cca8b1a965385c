#!/usr/bin/env bash
# Drives the lzp tool end to end: lzp_cli_test.sh COMMAND... (the command that runs lzp, e.g.
# the native binary, or the Wine runner followed by lzp.exe). Works in a temporary directory
# with relative paths only, so the same script serves both builds.
set -u
lzp=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail=0
check() {  # check DESCRIPTION EXPECTED-STATUS ACTUAL-STATUS
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (status $3, expected $2)"; fail=1; else echo "ok: $1"; fi
}
run() { "${lzp[@]}" "$@" 2>err.txt; }

mkdir -p in/sub out
printf '' >in/empty
printf 'x' >in/one
head -c 200000 /dev/urandom >in/sub/noise.bin
yes 'the stage clears to black' | head -c 300000 >in/text.txt

run create a.lzp -C in empty one sub/noise.bin text.txt >/dev/null; check "create" 0 $?
run list a.lzp >list.txt; check "list" 0 $?
grep -q '300000 *5  text.txt' list.txt || { echo "FAIL: list shows size and blocks"; cat list.txt; fail=1; }
run extract a.lzp -C out >/dev/null; check "extract all" 0 $?
for f in empty one sub/noise.bin text.txt; do
  cmp -s "in/$f" "out/$f" || { echo "FAIL: $f differs after extract"; fail=1; }
done
run cat a.lzp sub/noise.bin >cat.bin; check "cat" 0 $?
cmp -s in/sub/noise.bin cat.bin || { echo "FAIL: cat output differs"; fail=1; }

# Errors: a missing input is reported by name and left out; the rest is still packed.
run create b.lzp -C in one missing.png >/dev/null; check "create with a missing file" 1 $?
grep -q "missing.png" err.txt || { echo "FAIL: missing file not named"; fail=1; }
run list b.lzp >list.txt; check "list after skip" 0 $?
grep -q missing.png list.txt && { echo "FAIL: skipped file listed"; fail=1; }
run cat a.lzp nothing >/dev/null; check "cat unknown member" 1 $?
run list in/one >/dev/null; check "list a non-archive" 1 $?
run list no-such.lzp >/dev/null; check "list a missing archive" 1 $?
run frobnicate a.lzp >/dev/null; check "unknown command" 2 $?
run --help >help.txt; check "--help" 0 $?
grep -q 'lzp create' help.txt || { echo "FAIL: help text"; fail=1; }

# A crafted member name that would escape the target directory is refused.
printf 'lzp\0\0\0\0\1\0\0\0\x0c../evil\0\0' >evil.lzp
run extract evil.lzp -C out >/dev/null; check "extract an escaping name" 1 $?
[ -e evil ] && { echo "FAIL: escaped the target directory"; fail=1; }
exit $fail
