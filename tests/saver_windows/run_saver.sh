#!/usr/bin/env bash
# Runs a test build of the screen saver under Wine in one of its modes and checks it from
# outside, as the system and a user see it.
#
#   run_saver.sh CASE PREFIX SAVER PROBE OUTDIR GOLDEN
#
# The saver's record leaves the screen mode to the user: every player it builds asks first
# whether to play in full screen (answered No; the answer changes nothing in a screen saver).
#
# CASE full:    "/s": the pointer moves while the question is up, which must not end the run
#               once it starts; a window of the screen-saver class covers the 1024 x 768 screen
#               and shows the document, the 640 x 480 back buffer stretched over it (the stage,
#               1.6 times its size, is compared with GOLDEN at reduced size); a key press ends
#               the run with exit code 0, the player released first.
# CASE preview: "/p HWND" into a 320 x 240 window the probe makes: the question, then a child
#               window that fills the parent and shows the stage at half its size; the saver
#               ends with the parent.
# CASE config:  "/c": dialog 2003 (no player, so no question) shows the default author and the
#               credit line; OK ends it with exit code 0.
# CASE dialog:  no argument: the same dialog; its close box ends it with exit code 0.
# The full and preview cases leave what the saver drew in OUTDIR/<saver name>-CASE.png.
set -euo pipefail
case_name=$1 prefix=$2 saver=$3 probe=$4 outdir=$5 golden=$6
source "$(dirname "$0")/../support/wine_test.sh"
mkdir -p "$outdir"
name=$(basename "$saver" .scr)
shot="$outdir/$name-$case_name.png"
log="$outdir/$name-$case_name.log"

# Captures what the saver drew (with the command "$@", into $shot) and compares the stage in its top-left
# corner, SCALE times the 320 x 240 of GOLDEN, with GOLDEN. Both are reduced to 80 x 60 first,
# since the stretch of the presentation blends neighbouring pixels; at most 2 % of those may
# differ by more than about 20 levels in a channel. The document loads over the first frames:
# the capture is repeated for up to 5 s until it matches.
check_stage() {
  local scale=$1 sw sh differing=""
  shift
  sw=$(awk "BEGIN { printf \"%d\", 320 * $scale }") sh=$(awk "BEGIN { printf \"%d\", 240 * $scale }")
  convert "$golden" -resize '80x60!' "$outdir/$name-golden.png"
  for _ in $(seq 1 10); do
    sleep 0.5
    rm -f "$shot"
    "$@" 2>/dev/null && [ -f "$shot" ] || continue
    convert "$shot" -crop "${sw}x${sh}+0+0" +repage -resize '80x60!' "$outdir/$name-stage.png"
    differing=$(differing_pixels "$outdir/$name-golden.png" "$outdir/$name-stage.png" 8%)
    [ "$differing" -le 96 ] && break
  done
  [ -n "$differing" ] || fail "nothing to capture"
  echo "captured $shot"
  echo "stage at $scale times its size against $(basename "$golden"): $differing of 4800 reduced pixels differ"
  [ "$differing" -le 96 ] || fail "the stage differs from the software renderer's frame"
}

# Under Wine, Direct3D on a child window whose top-level window belongs to another process
# draws into an off-screen X window and never reaches the screen (on Windows it does): the
# preview is read from that window, the newest nameless one of the child's size. It lies one
# pixel above and left of the screen, which clips that row and column from the capture: they
# are put back, in the colour of the corner, so the stage stays at the top-left corner.
capture_preview() {
  local xid
  xid=$(xwininfo -root -tree | awk '$2 == "(has" && $6 ~ /^320x240\+/ { id = $1 } END { print id }')
  [ -n "$xid" ] && import -display "$DISPLAY" -window "$xid" "$shot" &&
    mogrify -background "$(convert "$shot" -format '%[pixel:p{0,0}]' info:)" \
      -gravity southeast -extent 320x240 "$shot"
}


case "$case_name" in
  full)
    # Wine reports the program's debugger output on its exception channel.
    CVA_WINEDEBUG=-all,warn+seh run "$saver" /s 2>"$log" &
    saver_pid=$!
    track "$saver_pid"
    timeout 30 xdotool search --sync --name "Windowモードの確認" >/dev/null ||
      fail "no full-screen question"
    xdotool mousemove 700 600
    run "$probe" ask no | tr -d '\r' || fail "not the full-screen question"
    probe_out=$(run "$probe" window WindowsScreenSaverClass | tr -d '\r') ||
      fail "no screen-saver window: $probe_out"
    echo "$probe_out"
    [ "$(probe_value client)" = "1024 768" ] && [ "$(probe_value origin)" = "0 0" ] ||
      fail "the window does not cover the screen"
    check_stage 1.6 import -display "$DISPLAY" -window root "$shot"
    xdotool key space
    expect_exit_0 "$saver_pid" "a key press"
    grep -q "player released" "$log" || fail "the player was not released: $(cat "$log")"
    echo "the player was released"
    ;;
  preview)
    probe_log="$outdir/$name-probe.txt"
    run "$probe" preview 3 >"$probe_log" &
    probe_pid=$!
    track "$probe_pid"
    parent=""
    for _ in $(seq 1 300); do
      parent=$(sed -n 's/^parent \([0-9]*\).*/\1/p' "$probe_log")
      [ -n "$parent" ] && break
      sleep 0.1
    done
    [ -n "$parent" ] || fail "the probe made no preview window"
    run "$saver" /p "$parent" &
    saver_pid=$!
    track "$saver_pid"
    run "$probe" ask no | tr -d '\r' || fail "no question, or not the full-screen question"
    for _ in $(seq 1 300); do
      grep -q '^origin' "$probe_log" && break
      kill -0 "$probe_pid" 2>/dev/null || break
      sleep 0.1
    done
    probe_out=$(tr -d '\r' <"$probe_log")
    echo "$probe_out"
    [ "$(probe_value child)" = "320 240" ] || fail "the preview does not fill its parent"
    check_stage 0.5 capture_preview
    wait "$probe_pid" || fail "the probe failed"
    expect_exit_0 "$saver_pid" "closing the preview's parent"
    ;;
  config | dialog)
    if [ "$case_name" = config ]; then
      run "$saver" /c &
      how=ok
    else
      run "$saver" &
      how=close
    fi
    saver_pid=$!
    track "$saver_pid"
    run "$probe" dialog "$how" | tr -d '\r' || fail "no dialog, or not its texts"
    expect_exit_0 "$saver_pid" "the dialog's $how"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
