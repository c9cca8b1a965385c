#!/usr/bin/env python3
"""Plays documents in cvaplay's window on a private X server and checks what it shows and plays.

    window_check.py --cvaplay P --cvarender P --cvapack P --programs P --fixtures DIR
                    --sink DIR --work DIR

The X server is an Xvfb of this check's own (SDL's X11 driver); the sounds go to the private
PulseAudio null sink of tests/sound_output/null-sink.sh in --sink, whose monitor is recorded.
It checks, on tests/fixtures/button (a red button that jumps to label 'pressed' when pressed):
  - held after 5 fixed steps: the window's client area is the stage size and its picture is
    cvarender's frame 5, pixel for pixel; Escape ends the player with status 0;
  - full screen: the window covers the screen and the picture is scaled up;
  - in real time (Xvfb has no vertical sync): a press of the left button over the button shows the
    picture of label 'pressed', and frames start the document's frame duration apart;
  - a player program made by cvapack (on a small template: only its resources are read) whose
    record asks for the screen mode: the question on standard error, answered "no" without
    dialogs, and the same frame 5 as the document in a window;
  - trace_sound, with a sweep as its sound beside it: the sweep is found in the sink's recording,
    and cut short when the document stops it;
  - a missing start label: the message, and the document plays as in the Windows player;
  - bad input (a missing file, a malformed document, a program without
    resources): the message on standard error and status 1.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import threading
import time
import wave

import numpy as np

# Pixels allowed to differ between the window's picture and cvarender's: none is expected (the
# texture is shown one to one), a few allow for a capture racing a present.
MAX_DIFFERENT_PIXELS = 8
FRAME_MS = 40  # button.json's frame duration
RATE = 44100
TIMEOUT = 10


class Check:
    def __init__(self):
        self.failures = []

    def expect(self, ok, what):
        print(("ok      " if ok else "FAILED  ") + what, flush=True)
        if not ok:
            self.failures.append(what)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=TIMEOUT, **kwargs)


def start_xvfb():
    read_end, write_end = os.pipe()
    # -noreset: by default the server resets when its last client leaves, and a player
    # started during that reset cannot connect ("x11 not available").
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


class Player:
    """One cvaplay run with its window."""

    def __init__(self, args, work, env, name):
        self.out_path = os.path.join(work, name + ".out")
        self.err_path = os.path.join(work, name + ".err")
        with open(self.out_path, "w") as out, open(self.err_path, "w") as err:
            self.process = subprocess.Popen(args, cwd=work, env=env, stdout=out, stderr=err)
        self.env = env
        self.window = None
        # SDL may make its window again when it sets up the renderer: the window is the one
        # still there a moment after it was first seen.
        deadline = time.time() + TIMEOUT
        seen = None
        while time.time() < deadline and self.process.poll() is None:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                    str(self.process.pid)], env=env, capture_output=True, text=True)
            window = found.stdout.split()[0] if found.stdout.split() else None
            if window and window == seen:
                self.window = window
                break
            seen = window
            time.sleep(0.2)

    def output(self):
        with open(self.out_path) as out:
            return out.read()

    def errors(self):
        with open(self.err_path) as err:
            return err.read()

    def wait_for_output(self, text):
        deadline = time.time() + TIMEOUT
        while time.time() < deadline and text not in self.output():
            time.sleep(0.05)
        return text in self.output()

    def size(self):
        info = run(["xwininfo", "-id", self.window], env=self.env).stdout
        return tuple(int(re.search(key + r":\s+(\d+)", info).group(1)) for key in ("Width", "Height"))

    def capture(self, path):
        run(["import", "-window", self.window, path], env=self.env, check=True)
        return path

    def xdotool(self, *args):
        run(["xdotool"] + list(args), env=self.env, check=True)

    def escape(self):
        """Sends Escape and returns the exit status (None when the player did not end)."""
        # The player may close its window on the key press, before the release is sent: the
        # release then fails, which is no fault of the player's.
        # Keys go to the focused window: give it the focus first (there is no window manager to
        # do it, and the pointer may be outside the window, left there by an earlier run).
        run(["xdotool", "windowfocus", "--sync", self.window], env=self.env)
        run(["xdotool", "key", "Escape"], env=self.env)
        try:
            return self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None


def different_pixels(a, b):
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                            text=True, timeout=TIMEOUT)
    try:
        return int(float(result.stderr.split()[0]))
    except (ValueError, IndexError):
        return -1  # sizes differ, or a file is missing


def render(args, cvarender, work, out):
    run([cvarender] + args + ["--out", out], cwd=work, check=True)
    return os.path.join(out, sorted(os.listdir(out))[0])


def check_held_frame(check, a, work, env, document, reference, name):
    player = Player([a.cvaplay, document, "--frames", "5", "--no-dialogs"]
                    + (["--fixed", str(FRAME_MS)] if document.endswith(".cva") else []),
                    work, env, name)
    check.expect(player.window is not None, f"{name}: a window opens")
    if player.window is None:
        print(player.errors())
        return
    check.expect(player.wait_for_output("holding"), f"{name}: holds after 5 frames")
    size = player.size()
    check.expect(size == (160, 120), f"{name}: the window is 160 x 120 (got {size[0]} x {size[1]})")
    diff = different_pixels(player.capture(os.path.join(work, name + ".png")), reference)
    check.expect(0 <= diff <= MAX_DIFFERENT_PIXELS,
                 f"{name}: the window shows cvarender's frame 5 ({diff} pixels differ)")
    status = player.escape()
    check.expect(status == 0, f"{name}: Escape ends it with status 0 (got {status})")
    if document.endswith(".exe"):
        # Its record leaves the screen mode to the user; without dialogs the answer is "no".
        check.expect("フルスクリーンで再生しますか？" in player.errors(),
                     f"{name}: the full-screen question is on standard error")


def check_full_screen(check, a, work, env):
    player = Player([a.cvaplay, "button.cva", "--fullscreen", "--frames", "1", "--no-dialogs"],
                    work, env, "full")
    if player.window is None or not player.wait_for_output("holding"):
        check.expect(False, "full screen: the player opens its window and holds")
        return
    size = player.size()
    check.expect(size == (1024, 768), f"full screen: the window covers the 1024 x 768 screen "
                                      f"(got {size[0]} x {size[1]})")
    # The 160 x 120 stage scaled by 6.4: the button's middle is at the screen's middle.
    shot = player.capture(os.path.join(work, "full.png"))
    pixel = run(["convert", shot, "-crop", "1x1+512+384", "-depth", "8", "txt:"]).stdout
    check.expect("#FF0000" in pixel, f"full screen: the picture is scaled up ({pixel.split()[-1]})")
    player.escape()


def check_click_and_pacing(check, a, work, env, pressed):
    player = Player([a.cvaplay, "button.cva", "--no-dialogs", "--stats"], work, env, "click")
    check.expect(player.window is not None, "click: a window opens")
    if player.window is None:
        return
    time.sleep(0.3)
    before = different_pixels(player.capture(os.path.join(work, "click-before.png")), pressed)
    # The press is held over a few frames: the player reads the buttons once a frame.
    player.xdotool("mousemove", "--window", player.window, "80", "60")
    time.sleep(0.2)
    player.xdotool("mousedown", "1")
    time.sleep(0.2)
    player.xdotool("mouseup", "1")
    time.sleep(0.3)
    after = different_pixels(player.capture(os.path.join(work, "click-after.png")), pressed)
    check.expect(before > 100 and 0 <= after <= MAX_DIFFERENT_PIXELS,
                 f"click: a press on the button shows label 'pressed' ({before} pixels differed "
                 f"before, {after} after)")
    time.sleep(0.5)
    status = player.escape()
    check.expect(status == 0, f"click: Escape ends it with status 0 (got {status})")
    stats = re.search(r"interval mean ([\d.]+) ms.*CPU ([\d.]+) s over ([\d.]+) s",
                      player.output())
    print(player.output().strip())
    mean = float(stats.group(1)) if stats else 0.0
    # Xvfb tells no refresh rate: there is no vertical sync to wait for.
    check.expect(abs(mean - FRAME_MS) <= FRAME_MS * 0.15 and "timed frames" in player.output(),
                 f"pacing: frames start {FRAME_MS} ms apart without vertical sync "
                 f"(mean {mean:.1f} ms)")
    share = float(stats.group(2)) / float(stats.group(3)) if stats else 1.0
    check.expect(share < 0.5, f"pacing: the loop sleeps between frames (CPU {share:.0%})")


def sweep(seconds):
    t = np.arange(int(seconds * RATE)) / RATE
    k = np.log(8000.0 / 200.0)
    tone = 0.5 * np.sin(2 * np.pi * 200.0 * seconds / k * (np.exp(t / seconds * k) - 1))
    return (np.stack([tone, tone], axis=1) * 32767).astype(np.int16)


def best_correlation(recording, chunk):
    """The highest normalised correlation of `chunk` with any stretch of `recording`."""
    n = len(chunk)
    if len(recording) < n:
        return 0.0
    size = 1 << (len(recording) + n).bit_length()
    dots = np.fft.irfft(np.fft.rfft(recording, size) * np.conj(np.fft.rfft(chunk, size)),
                        size)[: len(recording) - n + 1]
    energy = np.cumsum(np.concatenate([[0.0], recording ** 2]))
    energy = energy[n:] - energy[:-n]
    scores = dots / np.sqrt(energy * (chunk ** 2).sum() + 1e-9)
    scores[energy < 0.01 * (chunk ** 2).sum()] = 0.0
    return float(scores.max())


def check_sound(check, a, work, env):
    source = sweep(2.0)
    with wave.open(os.path.join(work, "click.wav"), "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(source.tobytes())
    shutil.copy(os.path.join(a.fixtures, "trace_sound.cva"), work)
    recorder = subprocess.Popen(
        ["parec", "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=2",
         "--latency-msec=10", "--device=nullsink.monitor"], stdout=subprocess.PIPE, env=env)
    recorded = bytearray()

    def read():
        while block := recorder.stdout.read1(65536):
            recorded.extend(block)

    reader = threading.Thread(target=read)
    reader.start()
    # The recorder takes a while to connect: play only once it records.
    deadline = time.time() + TIMEOUT
    while not recorded and time.time() < deadline:
        time.sleep(0.05)
    time.sleep(0.2)
    player = Player([a.cvaplay, "trace_sound.cva", "--no-dialogs"], work, env, "sound")
    time.sleep(1.0)
    status = player.escape() if player.window else None
    time.sleep(0.3)
    recorder.terminate()
    reader.join()
    recorder.wait()
    check.expect(status == 0, f"sound: the player ran and ended with status 0 (got {status})")
    samples = np.frombuffer(bytes(recorded[: len(recorded) // 4 * 4]), dtype=np.int16)
    left = samples.reshape(-1, 2)[:, 0].astype(np.float64)
    loud = np.nonzero(np.abs(left) > 0.02 * 32767)[0]
    heard_ms = (loud[-1] - loud[0]) * 1000.0 / RATE if len(loud) else 0.0
    # 20 ms pieces of the sweep's first second, each looked for anywhere in the recording.
    chunk = RATE // 50
    best = max((best_correlation(left, source[k : k + chunk, 0].astype(np.float64))
                for k in range(0, RATE, RATE // 10)), default=0.0)
    check.expect(best >= 0.9, f"sound: the sweep is in the sink's recording "
                              f"(best correlation of its pieces {best:.3f})")
    # The document stops the sound after two of its 100 ms frames; the sweep lasts 2 s.
    check.expect(100 < heard_ms < 1000, f"sound: stopped by the document ({heard_ms:.0f} ms heard)")


def check_missing_label(check, a, work, env):
    # As the Windows player: the message, then the document plays from its start.
    player = Player([a.cvaplay, "button.cva", "--label", "nowhere", "--no-dialogs"], work, env,
                    "missing-label")
    told = "がアニメーション内に存在しません" in player.errors()
    status = player.escape() if player.window else None
    if player.window is None:
        player.process.kill()
        player.process.wait()
    check.expect(told and status == 0, f"a missing start label: the message on standard error, "
                                       f"then a window that plays (status {status}, "
                                       f"{player.errors().strip()!r})")


def check_bad_input(check, a, work, env):
    with open(os.path.join(work, "button.cva"), "rb") as whole:
        with open(os.path.join(work, "malformed.cva"), "wb") as out:
            out.write(whole.read()[:60])  # cut inside its label names
    cases = [
        ("a missing file", ["missing.cva"], "missing.cvaが読み込めません"),
        ("a malformed document", ["malformed.cva"], "malformed document: 'malformed.cva'"),
        ("a program without resources", ["bare.exe"], "no settings record"),
    ]
    for what, args, message in cases:
        result = run([a.cvaplay] + args + ["--no-dialogs"], cwd=work, env=env)
        check.expect(result.returncode == 1 and message in result.stderr,
                     f"bad input, {what}: status 1 and the message on standard error "
                     f"(status {result.returncode}, {result.stderr.strip()!r})")


def main():
    parser = argparse.ArgumentParser()
    for name in ("cvaplay", "cvarender", "cvapack", "programs", "fixtures", "sink", "work"):
        parser.add_argument("--" + name, required=True)
    a = parser.parse_args()
    shutil.rmtree(a.work, ignore_errors=True)
    os.makedirs(a.work)
    work = a.work
    shutil.copy(os.path.join(a.fixtures, "button.cva"), work)
    run([a.programs, "template.exe", "bare.exe"], cwd=work, check=True)
    made = run([a.cvapack, "button.cva", "-o", "button.exe", "--template", "template.exe",
                "--fixed", str(FRAME_MS), "--ask"], cwd=work)
    frame5 = render(["button.cva", "--fixed", str(FRAME_MS), "--frames", "5..5"], a.cvarender,
                    work, os.path.join(work, "frame5"))
    pressed = render(["button.cva", "--label", "pressed", "--frames", "1..1"], a.cvarender, work,
                     os.path.join(work, "pressed"))

    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11",
               XDG_RUNTIME_DIR=os.path.join(a.sink, "runtime"), HOME=os.path.join(a.sink, "home"))
    check = Check()
    try:
        check_held_frame(check, a, work, env, "button.cva", frame5, "document")
        check.expect(made.returncode == 0, f"cvapack makes button.exe {made.stderr.strip()}")
        if made.returncode == 0:
            check_held_frame(check, a, work, env, "button.exe", frame5, "program")
        check_full_screen(check, a, work, env)
        check_click_and_pacing(check, a, work, env, pressed)
        check_sound(check, a, work, env)
        check_missing_label(check, a, work, env)
        check_bad_input(check, a, work, env)
    finally:
        server.terminate()
        server.wait()
    if check.failures:
        print("%d check(s) failed" % len(check.failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
