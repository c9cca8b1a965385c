#!/usr/bin/env bash
# A private PulseAudio server whose only sink is a null sink, for the recording checks.
#
#   null-sink.sh start DIR   start it with XDG_RUNTIME_DIR=DIR/runtime and HOME=DIR/home
#                            and wait until it answers; clients (and Wine) reach it when run
#                            with the same XDG_RUNTIME_DIR
#   null-sink.sh stop DIR    stop the server that start started (by its process id)
#
# The sink plays 44.1 kHz 16-bit stereo, the players' primary format, so nothing is resampled
# between a sound and the sink's monitor.
set -euo pipefail
action=${1:?start or stop}
dir=$(mkdir -p "${2:?directory}" && cd "$2" && pwd)
export XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home"

stop() {
  if [ -f "$dir/pulse.pid" ]; then
    local pid
    pid=$(cat "$dir/pulse.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$dir/pulse.pid"
  fi
}

case "$action" in
  start)
    stop
    mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit \
      --disallow-module-loading --log-target=file:"$dir/pulse.log" \
      -L "module-null-sink sink_name=nullsink rate=44100 format=s16le channels=2" \
      -L "module-native-protocol-unix auth-anonymous=1" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/pulse.pid"
    for _ in $(seq 1 100); do
      if pactl info >/dev/null 2>&1; then exit 0; fi
      kill -0 "$(cat "$dir/pulse.pid")" 2>/dev/null || break
      sleep 0.1
    done
    echo "null-sink: the PulseAudio server did not start (see $dir/pulse.log)" >&2
    stop
    exit 1 ;;
  stop)
    stop ;;
  *)
    echo "null-sink: start or stop" >&2
    exit 2 ;;
esac
