#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
"""Soak run: random show events at a steady rate against the real program on a two-monitor X
server, watching its memory and open files.

    bench/soak.py OZVENKA MAKE_DEMO_SHOW [--minutes 60] [--rate 20]

    bench/soak.py ... --device-loss   plays through a private PulseAudio sound server (null sink)
                                      that is killed and started again half-way through

Events: hot-keys (with and without fades), F-keys, picture steps, Escape, slider moves and a
folder rebuild through the folder chooser every 30 s. Resident memory and open file descriptors
are sampled every 10 s. After the run nothing may still sound once every sound of the show could
have ended. Prints the figures and "N passed, N failed".
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import e2e_test as e2e  # noqa: E402  (the X server, the program and the checks)


def proc_figures(pid):
    rss = 0
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                rss = int(line.split()[1])
    return rss, len(os.listdir(f"/proc/{pid}/fd"))


def tail_peak(path, seconds):
    size = os.path.getsize(path)
    want = int(seconds * e2e.RATE) * 8
    with open(path, "rb") as f:
        f.seek(max(0, size - want))
        data = e2e.array.array("f")
        data.frombytes(f.read())
    return max((abs(x) for x in data), default=0.0)


class SoundServer:
    """A private PulseAudio server with a null sink, to be stopped and started under the show."""

    def __init__(self, work):
        self.env = dict(os.environ, XDG_RUNTIME_DIR=os.path.join(work, "pulse"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.start()

    def start(self):
        subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                        "--load=module-native-protocol-unix", "--load=module-null-sink sink_name=stage"],
                       env=self.env, check=True)
        time.sleep(1)

    def stop(self):
        subprocess.run(["pulseaudio", "--kill"], env=self.env)
        time.sleep(1)

    def streams(self):
        out = subprocess.run(["pactl", "list", "short", "sink-inputs"], env=self.env,
                             capture_output=True, text=True).stdout
        return len([line for line in out.splitlines() if line.strip()])

    def loudest(self, seconds):
        rec = subprocess.run(["timeout", str(seconds), "parec", "-d", "stage.monitor", "--format=float32le",
                              "--channels=2", "--rate=48000", "--raw"], env=self.env, capture_output=True).stdout
        data = e2e.array.array("f")
        data.frombytes(rec[: len(rec) // 4 * 4])
        return max((abs(x) for x in data), default=0.0)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("ozvenka")
    ap.add_argument("make_demo_show")
    ap.add_argument("--minutes", type=float, default=60)
    ap.add_argument("--rate", type=float, default=20)
    ap.add_argument("--device-loss", action="store_true")
    args = ap.parse_args()
    exe, make_demo = os.path.abspath(args.ozvenka), os.path.abspath(args.make_demo_show)
    display = next(f":{n}" for n in range(150, 250) if not os.path.exists(f"/tmp/.X{n}-lock"))
    server, xwork = e2e.start_x(display)
    work = tempfile.mkdtemp(prefix="ozv-soak-")
    rng = random.Random(2026)
    try:
        show = os.path.join(work, "show")
        subprocess.run([make_demo, show], check=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        capture = os.path.join(work, "soak.raw")
        os.chdir(show)  # the folder chooser opens here
        server_audio = SoundServer(work) if args.device_loss else None
        if server_audio:  # the program finds the private sound server through XDG_RUNTIME_DIR
            os.environ["XDG_RUNTIME_DIR"] = server_audio.env["XDG_RUNTIME_DIR"]
        p = e2e.Program(exe, display, os.path.join(work, "Settings.ini"), capture, show,
                        audio="pulseaudio" if server_audio else "disk")
        restarted = False
        pid = p.proc.pid
        samples = [proc_figures(pid)]
        start = time.monotonic()
        end = start + args.minutes * 60
        next_sample, next_rebuild = start + 10, start + 30
        events = 0
        while time.monotonic() < end and p.proc.poll() is None:
            r = rng.random()
            if r < 0.55:
                p.key(rng.choice("qwertzui"))
            elif r < 0.65:
                p.key(rng.choice(["F1", "F2", "F3"]))
            elif r < 0.78:
                p.key(rng.choice(["Right", "Left", "Return", "Prior", "Next"]))
            elif r < 0.82:
                p.key("Escape")
            elif r < 0.92:
                x = rng.choice([232, 468])
                y = rng.choice([100, 210]) + e2e.BAND
                p.xdo("mousemove", str(x), str(y + rng.randint(0, 50)), "click", "1")
                p.xdo("mousemove", "400", "470")
            else:
                p.xdo("mousemove", "400", "470", "click", "1")  # a click between the buttons
            events += 1
            now = time.monotonic()
            if now >= next_rebuild:
                p.click(380 - e2e.STOP_ALL, 24)  # "…": the chooser opens on the show folder; Enter accepts it
                time.sleep(1.0)
                p.key("Return")
                next_rebuild += 30
            if server_audio and not restarted and now >= start + args.minutes * 30:
                server_audio.stop()   # the sound server goes away in the middle of the show
                time.sleep(2)
                server_audio.start()
                restarted = True
                deadline = time.monotonic() + 10
                while server_audio.streams() == 0 and time.monotonic() < deadline:
                    time.sleep(0.2)
                e2e.check("the program plays through the restarted sound server", server_audio.streams() > 0)
                e2e.check("and survived its loss", p.proc.poll() is None)
            if now >= next_sample:
                samples.append(proc_figures(pid))
                next_sample += 10
            time.sleep(max(0.0, start + events / args.rate - time.monotonic()))
        alive = p.proc.poll() is None
        e2e.check("the program survived the run", alive)
        if alive:
            p.key("Escape")
            time.sleep(15)  # every sound of the demo show is over by now, pressed or not
            quiet = server_audio.loudest(2) if server_audio else tail_peak(capture, 2)
            e2e.check("nothing sounds once every sound could have ended", quiet < 0.005, f"peak {quiet:.4f}")
            samples.append(proc_figures(pid))
            rc = p.stop()
            e2e.check("it ends cleanly", rc == 0, f"exit status {rc}")
        # Memory breathes by whole full-screen pictures as they are prepared and dropped, so a
        # single sample says little; a leak shows as a higher peak in the second half of the run
        # than in the first (taken after a warm-up fifth).
        print("rss_KiB_every_10s=" + ",".join(str(s[0]) for s in samples))
        settled = samples[min(max(1, len(samples) // 5), len(samples) - 1):]
        half = max(1, len(settled) // 2)
        first_peak = max(s[0] for s in settled[:half])
        second_peak = max(s[0] for s in settled[half:]) if settled[half:] else first_peak
        base = settled[0]
        fd_growth = samples[-1][1] - base[1]
        print(f"events={events} minutes={(time.monotonic() - start) / 60:.1f} "
              f"rss_peak_first_half_KiB={first_peak} rss_peak_second_half_KiB={second_peak} "
              f"fds_start={base[1]} fds_end={samples[-1][1]}")
        e2e.check("resident memory stays flat", second_peak - first_peak < 8192,
                  f"{second_peak - first_peak:+d} KiB")
        e2e.check("open files stay flat", fd_growth <= 2, f"{fd_growth:+d}")
    finally:
        server.terminate()
        server.wait(timeout=10)
        if args.device_loss:
            subprocess.run(["pulseaudio", "--kill"], env=dict(os.environ, XDG_RUNTIME_DIR=os.path.join(work, "pulse")))
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(xwork, ignore_errors=True)
    print(f"{e2e.passed} passed, {e2e.failed} failed")
    return 0 if e2e.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
