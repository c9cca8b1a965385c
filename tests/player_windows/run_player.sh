#!/usr/bin/env bash
# Runs a test build of the player under Wine and checks it from outside, as a user sees it.
#
#   run_player.sh CASE PREFIX PLAYER PROBE OUTDIR [GOLDEN]
#
# CASE window:  windowed 800 x 600 on the 1024 x 768 screen: the client area is exactly that
#               and the window is centred; the stage (320 x 240 at the client's top left)
#               matches GOLDEN; Escape ends the program with exit code 0.
# CASE label:   the start label is missing: one message box with the player's caption and
#               text, after which playback goes on and Escape ends it with 0.
# CASE full:    full screen with a request no display mode holds: a maximised window with a
#               thin border, the display mode unchanged; Escape ends it with 0.
# CASE ask:     the settings leave the screen mode to the user: the question comes before the
#               window shows; answered No, the window has the record's client size 640 x 480.
# CASE shot:    windowed; the client area is captured for people to look at.
# Every case leaves the captured client area in OUTDIR/<player name>.png.
set -euo pipefail
case_name=$1 prefix=$2 player=$3 probe=$4 outdir=$5 golden=${6:-}
source "$(dirname "$0")/../support/wine_test.sh"
mkdir -p "$outdir"
name=$(basename "$player" .exe)
shot="$outdir/$name.png"

run "$player" &
player_pid=$!
track "$player_pid"

if [ "$case_name" = label ]; then
  run "$probe" message nolabel | tr -d '\r' || fail "no message box, or not the missing-label message"
elif [ "$case_name" = ask ]; then
  run "$probe" ask no | tr -d '\r' || fail "no question, or not the full-screen question"
fi
# Windows programs end their lines with CR LF.
probe_out=$(run "$probe" window | tr -d '\r') || fail "no player window: $probe_out"
echo "$probe_out"
read -r cw ch <<<"$(probe_value client)"
read -r ox oy <<<"$(probe_value origin)"
read -r wl wt wr wb <<<"$(probe_value window)"
read -r dw dh <<<"$(probe_value display)"

# The document loads over the first frames; CVA_SHOT_DELAY lets it play longer first.
sleep "${CVA_SHOT_DELAY:-1}"
import -display "$DISPLAY" -window root -crop "${cw}x${ch}+${ox}+${oy}" +repage "$shot"
echo "captured $shot"

case "$case_name" in
  window)
    [ "$cw $ch" = "800 600" ] || fail "client area $cw x $ch, expected 800 x 600"
    [ $(( (dw - (wr - wl)) / 2 )) -eq "$wl" ] && [ $(( (dh - (wb - wt)) / 2 )) -eq "$wt" ] ||
      fail "window $wl,$wt-$wr,$wb is not centred on $dw x $dh"
    stage="$outdir/$name.stage.png"
    # A slow first start of the device (a busy machine) may leave the first capture blank:
    # the stage is captured again for up to 5 s until it matches.
    for attempt in $(seq 1 10); do
      import -display "$DISPLAY" -window root -crop "320x240+${ox}+${oy}" +repage "$stage"
      # Pixels differing by more than about 2 levels per channel; at most 0.5 % of them.
      differing=$(differing_pixels "$golden" "$stage" 1%)
      [ "$differing" -le 384 ] && break
      sleep 0.5
    done
    echo "stage against $(basename "$golden"): $differing of 76800 pixels differ (capture $attempt)"
    [ "$differing" -le 384 ] || fail "the stage differs from the software renderer's frame"
    ;;
  ask)
    [ "$cw $ch" = "640 480" ] && [ "$(probe_value caption)" = 1 ] || fail "not the window asked for"
    ;;
  full)
    [ "$(probe_value zoomed)" = 1 ] || fail "the window is not maximised"
    [ "$(probe_value caption)" = 0 ] || fail "the full-screen window has a caption"
    [ "$dw $dh" = "1024 768" ] || fail "the display mode changed to $dw x $dh"
    ;;
esac

# Escape reaches the window as a typed key once the pointer is over it.
xdotool mousemove $((ox + cw / 2)) $((oy + ch / 2))
sleep 0.3
xdotool key Escape
expect_exit_0 "$player_pid" Escape
