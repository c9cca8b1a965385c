#!/usr/bin/env python3
"""Plays a generated WAV through a real audio output and checks what the sink received.

    output_check.py SINK_DIR WORK_DIR [--wineprefix PREFIX] PROGRAM...

SINK_DIR holds the private PulseAudio server of null-sink.sh (the program and the recorder
run with its XDG_RUNTIME_DIR). PROGRAM is the command that runs sound_play_check (under Wine
for the Windows build, whose persistent wineserver is the one of PREFIX); the WAV file's path
and the mode are appended.

Playback is real time, and the machine that runs the tests is shared with builds: where it
may (as root), the check runs the program, the sound server and the wineserver under
round-robin real-time scheduling while it plays, and puts the two servers back afterwards.
Starved of CPU, Wine's audio otherwise drops or delays whole periods.

The sound is a 2-second logarithmic sweep, 16-bit stereo at 44.1 kHz, the right channel a
time-reversed copy of the left, so a misplaced, dropped, resampled or swapped sample lowers
the correlation. The program plays it once, pauses, plays it looping and stops it after 1.5
passes. The sink's monitor is recorded meanwhile, and the check finds:
  - the single pass: its 20 ms chunks, in order, each correlating with the source (at least
    0.95; a busy machine's output may drop a few, and the slips they cause are reported), and
    its length against the source's less those slips;
  - the loop: the chunks of the first pass and of the start of the second, in order, so the
    wrap returns to the start;
  - the stop latency: from the program's Stop call (wall clock) to the moment the last
    sound left the sink (the arrival time of the recorder's block, less the frames after it;
    good to about the recorder's 10 ms blocks);
then plays a 6-second file (streamed from disk) once more and reports the process's CPU time while it streamed.
"""
import math
import os
import re
import subprocess
import sys
import threading
import time
import wave

import numpy as np

RATE = 44100
SWEEP_S = 2.0
LOOP_PASSES = 1.5
MIN_CORRELATION = 0.95
CHUNK = RATE // 50
CHUNK_CORRELATION = 0.95
MIN_FOUND = 0.85
MAX_LENGTH_ERROR_MS = 20.0
# Stop requests are seen at once (the worker is woken) and at the latest when its 50 ms wait
# ends; a refill in progress finishes first. The output's own delays are allowed on top.
MAX_STOP_LATENCY_MS = 50.0 + 30.0
MAX_CPU_SHARE = 0.10
ATTEMPTS = 3
REALTIME_PRIORITY = 20
THRESHOLD = 0.02 * 32767  # audible


def sweep(seconds):
    t = np.arange(int(seconds * RATE)) / RATE
    f0, f1 = 200.0, 8000.0
    k = math.log(f1 / f0)
    phase = 2 * math.pi * f0 * seconds / k * (np.exp(t / seconds * k) - 1)
    left = 0.5 * np.sin(phase)
    fade = np.minimum(1.0, np.minimum(t, seconds - t) / 0.002)  # no clicks at the ends
    left = left * fade
    return (np.stack([left, left[::-1]], axis=1) * 32767).astype(np.int16)


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.tobytes())


def correlation(a, b):
    a = a.astype(np.float64).ravel()
    b = b.astype(np.float64).ravel()
    return float(np.dot(a, b) / math.sqrt(np.dot(a, a) * np.dot(b, b) + 1e-9))


def locate(recording, source, near, window=RATE):
    """The frame of `recording` at which `source` starts, searched from `near` - window."""
    lo = max(0, near - window)
    hi = min(len(recording) - len(source), near + window)
    probe = source[: RATE // 2, 0].astype(np.float64)
    segment = recording[lo : hi + len(probe), 0].astype(np.float64)
    size = 1 << (len(segment) + len(probe)).bit_length()
    scores = np.fft.irfft(np.fft.rfft(segment, size) * np.conj(np.fft.rfft(probe, size)), size)
    return lo + int(np.argmax(scores[: len(segment) - len(probe) + 1]))


def follow(recording, source, start):
    """Finds the source's 20 ms chunks one after another in the recording from frame `start`.

    An output starved by a busy machine inserts silence (or skips) now and then; each chunk is
    therefore looked for from 50 ms before to 150 ms after where the previous one ended, and
    further ahead after chunks that were not found.
    Returns the share of chunks found (normalised correlation of at least CHUNK_CORRELATION),
    the frames the found chunks slipped in all (dropouts), and the frame after the last one."""
    back, ahead = RATE // 20, RATE * 3 // 20
    rec = recording.astype(np.float64)
    pos, found, slip, total, misses = start, 0, 0, 0, 0
    for k in range(0, len(source) - CHUNK + 1, CHUNK):
        total += 1
        chunk = source[k : k + CHUNK].astype(np.float64)
        lo = max(0, pos - back)
        # After chunks that were not found, further ahead: a longer gap delayed the rest.
        window = rec[lo : pos + ahead + 2 * misses * CHUNK + CHUNK]
        if len(window) < CHUNK:
            break
        size = 1 << (len(window) + CHUNK).bit_length()
        dots = sum(np.fft.irfft(np.fft.rfft(window[:, c], size) *
                                np.conj(np.fft.rfft(chunk[:, c], size)), size)
                   for c in (0, 1))[: len(window) - CHUNK + 1]
        energy = np.cumsum(np.concatenate([[0.0], (window ** 2).sum(axis=1)]))
        energy = energy[CHUNK:] - energy[:-CHUNK]
        chunk_energy = (chunk ** 2).sum()
        scores = dots / np.sqrt(energy[: len(dots)] * chunk_energy + 1e-9)
        scores[energy[: len(dots)] < 0.1 * chunk_energy] = 0.0  # silence matches nothing
        best = int(np.argmax(scores))
        if scores[best] >= CHUNK_CORRELATION:
            found += 1
            slip += lo + best - pos
            pos = lo + best + CHUNK
            misses = 0
        else:
            pos += CHUNK
            misses += 1
    return found / max(1, total), slip, pos


def record(pipe, into, arrivals):
    """Appends the recorder's output to `into`, and (wall-clock ms, frames so far) per block."""
    while True:
        block = pipe.read1(65536)
        if not block:
            return
        into.extend(block)
        arrivals.append((time.time() * 1000.0, len(into) // 4))


def heard_at(arrivals, frame):
    """When `frame` came out of the sink: the arrival of its block, less the frames after it
    (good to about the recorder's 10 ms latency)."""
    for arrived_ms, frames in arrivals:
        if frames > frame:
            return arrived_ms - (frames - frame) * 1000.0 / RATE
    return float("nan")


def audible_frames(recording):
    return np.nonzero(np.abs(recording).max(axis=1) > THRESHOLD)[0]


def play_and_record(program, sweep_path, env):
    """Runs the once-then-loop play while recording the sink; returns the run and recording."""
    recorder = subprocess.Popen(
        ["parec", "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=2",
         "--latency-msec=10", "--device=nullsink.monitor"], stdout=subprocess.PIPE, env=env)
    recorded = bytearray()
    arrivals = []
    reader = threading.Thread(target=record, args=(recorder.stdout, recorded, arrivals))
    reader.start()
    # The recorder takes a while to connect: play only once it records.
    deadline = time.time() + 20
    while not recorded and time.time() < deadline:
        time.sleep(0.05)
    time.sleep(0.3)
    run = subprocess.run(program + [sweep_path, "once-then-loop", str(SWEEP_S * LOOP_PASSES)],
                         env=env, capture_output=True, text=True, timeout=60)
    time.sleep(0.5)
    recorder.terminate()
    reader.join()
    recorder.wait()
    recording = np.frombuffer(bytes(recorded), dtype=np.int16)
    return run, recording[: len(recording) // 2 * 2].reshape(-1, 2), arrivals


def check_recording(source, run, recording, arrivals):
    """Prints what the recording shows and returns the failures."""
    print(run.stdout.strip())
    if run.returncode != 0:
        return ["the player program failed (%d): %s" % (run.returncode, run.stderr[-2000:])]
    times = {k: float(v) for k, v in re.findall(r"(\w+)=([\d.]+)", run.stdout)}
    loud = audible_frames(recording)
    if len(loud) == 0:
        return ["nothing was recorded"]

    n = len(source)
    failures = []
    # The single pass: its chunks in order, and its length less any dropouts.
    once_at = locate(recording, source, int(loud[0]))
    once_corr = correlation(recording[once_at : once_at + n], source)
    once_found, once_slip, _ = follow(recording, source, once_at)
    once_end = loud[loud < once_at + n + once_slip + RATE // 4][-1] + 1
    length_error_ms = (once_end - once_at - once_slip - n) * 1000.0 / RATE
    # The loop: it starts after the pause that follows the single pass; a pass and a half of
    # the source are looked for, so the second pass must begin where the first ended.
    loop_loud = loud[loud > once_end + RATE // 5]
    if len(loop_loud) == 0:
        return ["the looping play was not recorded"]
    loop_at = locate(recording, source, int(loop_loud[0]))
    first_corr = correlation(recording[loop_at : loop_at + n], source)
    wrap = int(n * (LOOP_PASSES - 1) * 0.8)
    looped = np.concatenate([source, source[:wrap]])
    loop_found, loop_slip, _ = follow(recording, looped, loop_at)
    heard_ms = (loop_loud[-1] + 1 - loop_at) * 1000.0 / RATE
    start_latency_ms = heard_at(arrivals, loop_at) - times.get("play_unix_ms", 0.0)
    stop_latency_ms = heard_at(arrivals, loop_loud[-1] + 1) - times.get("stop_unix_ms", 0.0)

    print("single pass: correlation %.4f; %.1f %% of 20 ms chunks found in order, dropouts "
          "%.1f ms; length error %.1f ms"
          % (once_corr, 100 * once_found, once_slip * 1000.0 / RATE, length_error_ms))
    print("loop: first pass correlation %.4f; %.1f %% of the chunks of 1.4 passes found in "
          "order (dropouts %.1f ms); heard %.1f ms of %.1f ms from Play to Stop"
          % (first_corr, 100 * loop_found, loop_slip * 1000.0 / RATE, heard_ms,
             times.get("play_to_stop_ms", 0.0)))
    print("heard %.1f ms after Play, silent %.1f ms after Stop (to about 10 ms: the recorder's "
          "blocks); Stop returned in %.1f ms"
          % (start_latency_ms, stop_latency_ms, times.get("stop_call_ms", 0.0)))
    for name, value in (("single pass", once_found), ("loop", loop_found)):
        if value < MIN_FOUND:
            failures.append("%s: %.1f %% of the chunks found" % (name, 100 * value))
    if abs(length_error_ms) > MAX_LENGTH_ERROR_MS:
        failures.append("length off by %.1f ms" % length_error_ms)
    if not stop_latency_ms <= MAX_STOP_LATENCY_MS:
        failures.append("stop heard %.1f ms late" % stop_latency_ms)
    return failures


def check_streaming_cpu(program, work, source, env):
    """Worker CPU while a 6-second file streams from disk (it must wait, not spin)."""
    long_path = os.path.join(work, "long.wav")
    write_wav(long_path, np.concatenate([source] * 3))
    run = subprocess.run(program + [long_path, "cpu"], env=env, capture_output=True, text=True,
                         timeout=60)
    print(run.stdout.strip())
    cpu = {k: float(v) for k, v in re.findall(r"(\w+)=([\d.]+)", run.stdout)}
    if run.returncode != 0 or "cpu_ms" not in cpu:
        return ["the streaming play failed (%d)" % run.returncode]
    share = cpu["cpu_ms"] / cpu["wall_ms"]
    print("streaming %.1f s from the file: process CPU %.1f ms (%.1f %%)"
          % (cpu["wall_ms"] / 1000, cpu["cpu_ms"], 100 * share))
    failures = []
    if cpu.get("from_file") != 1:
        failures.append("the long file was not streamed")
    if share > MAX_CPU_SHARE:
        failures.append("CPU %.1f %% while streaming" % (100 * share))
    return failures


def server_pids(sink_dir, wineprefix):
    """The sound server of the sink, and the wineserver of `wineprefix` (if given)."""
    pids = [int(open(os.path.join(sink_dir, "pulse.pid")).read())]
    if wineprefix:
        wanted = b"WINEPREFIX=" + os.path.abspath(wineprefix).encode()
        for entry in os.listdir("/proc"):
            try:
                if (entry.isdigit() and open("/proc/%s/comm" % entry).read().strip() ==
                        "wineserver" and
                        wanted in open("/proc/%s/environ" % entry, "rb").read().split(b"\0")):
                    pids.append(int(entry))
            except OSError:
                pass
    return pids


def set_realtime(pids, on):
    """Round-robin real-time scheduling for `pids` (or back to normal); False if not allowed."""
    policy = os.SCHED_RR if on else os.SCHED_OTHER
    param = os.sched_param(REALTIME_PRIORITY if on else 0)
    try:
        for pid in pids:
            for task in os.listdir("/proc/%d/task" % pid):  # every thread of it
                os.sched_setscheduler(int(task), policy, param)
        return True
    except OSError:
        return False


def main():
    sink_dir, work = sys.argv[1], sys.argv[2]
    program = sys.argv[3:]
    wineprefix = None
    if program[:1] == ["--wineprefix"]:
        wineprefix, program = program[1], program[2:]
    servers = server_pids(sink_dir, wineprefix)
    if set_realtime(servers, True):
        program = ["chrt", "--rr", str(REALTIME_PRIORITY)] + program
    try:
        return run_checks(sink_dir, work, program)
    finally:
        set_realtime(servers, False)


def run_checks(sink_dir, work, program):
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ, XDG_RUNTIME_DIR=os.path.join(sink_dir, "runtime"))
    source = sweep(SWEEP_S)
    sweep_path = os.path.join(work, "sweep.wav")
    write_wav(sweep_path, source)

    # Silence played into the sink all along keeps it running at a short latency: its monitor
    # then records the pauses too, and a playback does not wait for an idle sink to wake.
    keep_running = subprocess.Popen(
        ["pacat", "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=2",
         "--latency-msec=20", "--device=nullsink", "/dev/zero"], env=env)
    try:
        return play_and_check(work, program, source, sweep_path, env)
    finally:
        keep_running.terminate()
        keep_running.wait()


def play_and_check(work, program, source, sweep_path, env):
    # A starved output can still drop samples on a loaded machine: up to three tries, and a
    # fault of the playback itself fails them all.
    for attempt in range(1, ATTEMPTS + 1):
        print("-- try %d" % attempt)
        run, recording, arrivals = play_and_record(program, sweep_path, env)
        recording.tofile(os.path.join(work, "recording-%d.raw" % attempt))  # to listen to
        failures = check_recording(source, run, recording, arrivals)
        for failure in failures:
            print("FAIL:", failure)
        if not failures:
            break
    failures += check_streaming_cpu(program, work, source, env)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
