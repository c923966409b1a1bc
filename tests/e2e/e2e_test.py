#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
"""One show from start to end with the real program on a real X server with two monitors.

The program runs on a generated show folder; xdotool presses its keys and clicks its controls;
SDL's disk driver captures what it plays; screenshots show the picture monitor; the settings
file is read as written. Prints "N passed, N failed".

    e2e_test.py OZVENKA
"""
import array
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave

RATE = 48000
LEFT, RIGHT = (1280, 800), (1920, 1080)
BAND = 64  # the now-playing band between the folder strip and the board
STOP_ALL = 168  # the stop-all button and its gap, between the folder box and the reset
passed, failed = 0, 0


def check(name, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
        print(f"ok     {name}")
    else:
        failed += 1
        print(f"FAILED {name} {detail}")


# --- the X server ---------------------------------------------------------------------------

def start_x(display):
    work = tempfile.mkdtemp(prefix="ozv-x-")
    vw, vh = LEFT[0] + RIGHT[0], max(LEFT[1], RIGHT[1])
    conf = os.path.join(work, "xorg.conf")
    with open(conf, "w") as f:
        f.write(f"""Section "Device"
  Identifier "d0"
  Driver "dummy"
  VideoRam 512000
EndSection
Section "Monitor"
  Identifier "m0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "s0"
  Device "d0"
  Monitor "m0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual {vw} {vh}
  EndSubSection
EndSection
""")
    server = subprocess.Popen(["Xorg", display, "-config", conf, "-noreset", "-nolisten", "tcp",
                               "-logfile", os.path.join(work, "xorg.log")],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display)
    for _ in range(100):
        if subprocess.run(["xrandr", "-q"], env=env, capture_output=True).returncode == 0:
            break
        time.sleep(0.1)
    for output, (w, h) in (("DUMMY0", LEFT), ("DUMMY1", RIGHT)):
        name = f"{w}x{h}"
        modes = subprocess.run(["xrandr", "-q"], env=env, capture_output=True, text=True).stdout
        if f"   {name} " not in modes:
            subprocess.run(["xrandr", "--newmode", name, str(w * h * 60 // 1000000 + 1), str(w), str(w + 48),
                            str(w + 80), str(w + 160), str(h), str(h + 3), str(h + 8), str(h + 30)],
                           env=env, capture_output=True)
        subprocess.run(["xrandr", "--addmode", output, name], env=env, capture_output=True)
    subprocess.run(["xrandr", "--fb", f"{vw}x{vh}", "--output", "DUMMY0", "--mode", f"{LEFT[0]}x{LEFT[1]}",
                    "--pos", "0x0", "--primary", "--output", "DUMMY1", "--mode", f"{RIGHT[0]}x{RIGHT[1]}",
                    "--pos", f"{LEFT[0]}x0"], env=env, check=True)
    return server, work


# --- the show -------------------------------------------------------------------------------

def write_tone(path, seconds, freq, level=0.5):
    frames = int(seconds * RATE)
    ramp = RATE // 200
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        data = array.array("h")
        for i in range(frames):
            env = min(1.0, i / ramp, (frames - i) / ramp)
            data.append(int(32767 * level * env * math.sin(2 * math.pi * freq * i / RATE)))
        w.writeframes(data.tobytes())


def make_show(root):
    os.makedirs(os.path.join(root, "1 Obrazy"))
    os.makedirs(os.path.join(root, "2 Další"))
    write_tone(os.path.join(root, "01 Tón.wav"), 12, 440)
    write_tone(os.path.join(root, "02 Krátký.wav"), 0.5, 880)
    # A group of short cues below, scrolled out of view; the last one has the hot-key F.
    os.makedirs(os.path.join(root, "9 Konec"))
    for i in range(12):
        write_tone(os.path.join(root, "9 Konec", f"{i + 1:02d} Cue.wav"), 3 if i == 11 else 0.2, 330)
    for rel, colour in (("1 Obrazy/01 Červená.png", "red"), ("1 Obrazy/02 Modrá.png", "blue"),
                        ("2 Další/01 Zelená.png", "lime")):
        subprocess.run(["convert", "-size", "640x360", f"xc:{colour}", os.path.join(root, rel)], check=True)


def make_second_show(root):
    os.makedirs(root)
    write_tone(os.path.join(root, "01 Jiný.wav"), 12, 660, level=0.4)
    # a picture too, so that the picture panel stays and the main window keeps its layout
    subprocess.run(["convert", "-size", "640x360", "xc:yellow", os.path.join(root, "01 Žlutá.png")], check=True)


def first_silence(samples, after_s, seconds=0.1, threshold=0.005):
    """The start of the first stretch of `seconds` below `threshold` after `after_s`."""
    run, need = 0, int(seconds * RATE)
    for i in range(int(after_s * RATE), len(samples)):
        run = run + 1 if abs(samples[i]) < threshold else 0
        if run >= need:
            return (i - need + 1) / RATE
    return None


# --- what the audience sees and hears --------------------------------------------------------

def colour_at(display, x, y, w=200, h=200):
    shot = subprocess.run(["import", "-display", display, "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                           "png:-"], capture_output=True, check=True).stdout
    out = subprocess.run(["convert", "png:-", "-scale", "1x1!", "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                          "info:"], input=shot, capture_output=True, check=True).stdout.decode()
    return tuple(int(v) for v in out.split(","))


def picture_monitor(display):
    return colour_at(display, LEFT[0] + RIGHT[0] // 2 - 100, RIGHT[1] // 2 - 100)


def near(c, expected, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(c, expected))


def read_capture(path):
    data = array.array("f")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    return data[0::2]  # left channel


def peak(samples, start_s, end_s):
    a, b = int(start_s * RATE), int(end_s * RATE)
    seg = samples[max(0, a):max(0, b)]
    return max((abs(x) for x in seg), default=0.0)


def first_sound(samples, after_s=0.0, threshold=0.01):
    for i in range(int(after_s * RATE), len(samples)):
        if abs(samples[i]) > threshold:
            return i / RATE
    return None


# --- the program ----------------------------------------------------------------------------

class Program:
    def __init__(self, exe, display, settings, capture, folder=None, audio="disk", cwd=None):
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER=audio,
                   SDL_DISKAUDIOFILE=capture)
        args = [exe, "-settings", settings] + ([folder] if folder else [])
        self.env = env
        self.proc = subprocess.Popen(args, env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "search", "--sync", "--name", "Ozvenka"], env=env, capture_output=True, timeout=30)
        time.sleep(1.5)
        self.xdo("mousemove", "400", "470")  # the pointer rests on the main window: keys go there

    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def key(self, *keys):
        self.xdo("key", *keys)

    def click(self, x, y):
        self.xdo("mousemove", str(x), str(y), "click", "1")
        self.xdo("mousemove", "400", "470")

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        return self.proc.wait(timeout=20)


def ini_text(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8-sig")
    except FileNotFoundError:
        return ""


def main():
    exe = os.path.abspath(sys.argv[1])
    display = os.environ.get("OZV_E2E_DISPLAY") or next(
        f":{n}" for n in range(97, 200) if not os.path.exists(f"/tmp/.X{n}-lock"))
    server, xwork = start_x(display)
    work = tempfile.mkdtemp(prefix="ozv-e2e-")
    try:
        show = os.path.join(work, "show")
        make_show(show)
        make_second_show(os.path.join(work, "show2"))
        settings = os.path.join(work, "Settings.ini")
        capture = os.path.join(work, "run1.raw")

        # ---- first run ----  (the folder chooser opens on the working folder: the show)
        p = Program(exe, display, settings, capture, show, cwd=show)
        check("the program is running", p.proc.poll() is None)
        p.key("q")                                   # the tone starts
        time.sleep(1.0)
        p.key("q")                                   # released: it fades out over 4 s
        time.sleep(5.0)
        p.key("w")                                   # the short sound ends by itself
        time.sleep(1.5)

        p.key("F1")
        time.sleep(1.4)
        check("F1 shows the first picture on the second monitor", near(picture_monitor(display), (255, 0, 0)),
              str(picture_monitor(display)))
        p.key("Right")
        time.sleep(0.45)
        mid = picture_monitor(display)
        check("the cross-fade is under way half a second in", mid[0] > 20 and mid[2] > 20, str(mid))
        time.sleep(1.0)
        check("Right steps to the next picture", near(picture_monitor(display), (0, 0, 255)),
              str(picture_monitor(display)))
        p.key("Right")
        time.sleep(1.3)
        check("stepping past the group's end blanks", near(picture_monitor(display), (0, 0, 0), 10),
              str(picture_monitor(display)))
        p.key("F2")
        time.sleep(1.3)
        check("F2 shows the second group", near(picture_monitor(display), (0, 255, 0)), str(picture_monitor(display)))
        p.key("Escape")
        time.sleep(1.3)
        check("Escape blanks the picture monitor", near(picture_monitor(display), (0, 0, 0), 10),
              str(picture_monitor(display)))

        check("the settings file was written after the start", "Folder=" + show + "/" in ini_text(settings))

        # The volume of the tone: its slider takes the focus, 50 steps down.
        p.click(232, 100 + BAND)
        for _ in range(5):
            p.key(*(["Down"] * 10))
        time.sleep(3.0)
        check("nothing is written 3 s after a change", "01 Tón.wav=" not in ini_text(settings))
        time.sleep(4.0)
        stored = ini_text(settings)
        check("the change is written 5 to 6 s after it", "01 Tón.wav=50" in stored, stored)

        # The volume reset asks first; Enter (pressed for a picture, say) keeps everything, only
        # a deliberate OK erases.
        p.click(480, 24)
        time.sleep(1.0)
        p.key("Return")
        time.sleep(7.0)
        check("Enter at the reset question keeps the values", "01 Tón.wav=50" in ini_text(settings),
              ini_text(settings))
        p.click(480, 24)
        time.sleep(1.0)
        p.key("Tab", "Return")  # to OK, then OK
        time.sleep(7.0)
        check("the reset erased the folder's values", "01 Tón.wav" not in ini_text(settings), ini_text(settings))

        p.click(232, 100 + BAND)
        for _ in range(5):
            p.key(*(["Down"] * 10))
        p.xdo("mousemove", "400", "470")
        # A folder change through the chooser while a sound plays: "…" opens it on the show
        # folder, Down picks its neighbour show2, Enter accepts.
        p.key("q")
        time.sleep(1.0)
        p.click(380 - STOP_ALL, 24)
        time.sleep(1.5)
        p.key("Down")
        p.key("Return")
        time.sleep(1.5)
        p.key("q")  # the first sound of show2
        time.sleep(1.0)
        # Then the clear button of the folder box while that one plays.
        p.click(355 - STOP_ALL, 24)
        time.sleep(1.5)
        rc = p.stop()
        check("SIGTERM ends the program cleanly", rc == 0, f"exit status {rc}")
        stored = ini_text(settings)
        check("the settings are written at exit", "01 Tón.wav=50" in stored and "Folder=" not in stored, stored)

        samples = read_capture(capture)
        start = first_sound(samples)
        check("the hot-key was heard", start is not None)
        if start is not None:
            check("full level while pressed", 0.45 < peak(samples, start + 0.2, start + 0.9) < 0.55,
                  f"{peak(samples, start + 0.2, start + 0.9):.3f}")
            halfway = peak(samples, start + 2.9, start + 3.1)
            check("half-way through the fade about half the level", 0.15 < halfway < 0.35, f"{halfway:.3f}")
            check("silent once the fade is over", peak(samples, start + 5.4, start + 5.9) < 0.005,
                  f"{peak(samples, start + 5.4, start + 5.9):.4f}")
            short = first_sound(samples, start + 5.5)
            check("the short sound played", short is not None and short < start + 7)
            if short is not None:
                check("and ended by itself", peak(samples, short + 0.7, short + 1.2) < 0.005)
            again = first_sound(samples, start + 8.0)
            check("the tone played at the set volume",
                  again is not None and 0.2 < peak(samples, again + 0.2, again + 0.8) < 0.3,
                  f"{peak(samples, again + 0.2, again + 0.8) if again else None}")
            # The tone lasts 12 s; the folder changed about 2.5 s after it started.
            gap = first_silence(samples, again) if again is not None else None
            check("changing the folder stopped the tone", gap is not None and gap < again + 4.5,
                  f"silent from {gap}, tone from {again}")
            other = first_sound(samples, gap) if gap is not None else None
            check("the new folder's sound played at its own level",
                  other is not None and 0.35 < peak(samples, other + 0.2, other + 0.8) < 0.45,
                  f"{peak(samples, other + 0.2, other + 0.8) if other else None}")
            # It was pressed 1 s before the clear button; the file itself lasts 12 s.
            check("clearing the folder stopped it",
                  other is not None and peak(samples, other + 1.4, other + 2.2) < 0.005 and
                  len(samples) / RATE > other + 2.2,
                  f"{peak(samples, other + 1.4, other + 2.2) if other else None}")

        # ---- a restart restores what was stored ----
        capture2 = os.path.join(work, "run2.raw")
        p = Program(exe, display, settings, capture2, show)
        p.key("q")
        time.sleep(1.0)
        rc = p.stop()
        check("the restarted program ends cleanly", rc == 0)
        samples = read_capture(capture2)
        start = first_sound(samples)
        check("after the restart the tone plays at its stored volume",
              start is not None and 0.2 < peak(samples, start + 0.2, start + 0.8) < 0.3,
              f"{peak(samples, start + 0.2, start + 0.8) if start else None}")
        check("the folder opened is stored", "Folder=" + show + "/" in ini_text(settings), ini_text(settings))

        # ---- and a start with no folder given opens the stored one ----
        capture3 = os.path.join(work, "run3.raw")
        p = Program(exe, display, settings, capture3)
        p.key("q")
        time.sleep(1.0)
        p.key("space")  # the stop-all: every sound fades out over 1 s
        time.sleep(1.6)
        p.key("q")
        time.sleep(0.5)
        p.key("space")
        time.sleep(0.1)
        p.key("space")  # pressed again while it fades: cut
        time.sleep(1.0)
        p.stop()
        samples = read_capture(capture3)
        start = first_sound(samples)
        check("a plain start opens the stored folder with its volumes",
              start is not None and 0.2 < peak(samples, start + 0.2, start + 0.8) < 0.3,
              f"{peak(samples, start + 0.2, start + 0.8) if start else None}")
        if start is not None:
            fading = peak(samples, start + 1.3, start + 1.5)
            check("Space fades the playing sound out", 0.05 < fading < 0.22, f"{fading:.3f}")
            check("and it is silent once the second is over", peak(samples, start + 2.3, start + 2.6) < 0.005,
                  f"{peak(samples, start + 2.3, start + 2.6):.3f}")
            again = first_sound(samples, start + 2.6)
            quiet = first_silence(samples, again) if again is not None else None
            check("a second Space while it fades cuts it", again is not None and quiet is not None
                  and quiet < again + 0.9, f"started {again}, silent from {quiet}")

        # ---- show traps: a held key, and a picture monitor that goes and comes back ----
        settings4 = os.path.join(work, "Settings4.ini")
        capture4 = os.path.join(work, "run4.raw")
        p = Program(exe, display, settings4, capture4, show, cwd=show)
        p.xdo("keydown", "w")  # held for 1.5 s: the X server repeats it all the while
        time.sleep(1.5)
        p.xdo("keyup", "w")
        time.sleep(0.5)
        p.key("F1")
        time.sleep(1.4)
        check("a picture is on the second monitor", near(picture_monitor(display), (255, 0, 0)),
              str(picture_monitor(display)))
        subprocess.run(["xrandr", "--output", "DUMMY1", "--off"], env=p.env, check=True)
        time.sleep(1.5)
        shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Form1$"], env=p.env,
                               capture_output=True, text=True).stdout.split()
        check("a lost picture monitor takes the picture window with it", not shown, str(shown))
        check("the main window is still in view", not near(colour_at(display, 300, 200), (0, 0, 0), 10),
              str(colour_at(display, 300, 200)))
        subprocess.run(["xrandr", "--output", "DUMMY1", "--mode", f"{RIGHT[0]}x{RIGHT[1]}", "--pos",
                        f"{LEFT[0]}x0"], env=p.env, check=True)
        time.sleep(2.0)
        check("plugged in again, the picture is back", near(picture_monitor(display), (255, 0, 0)),
              str(picture_monitor(display)))
        rc = p.stop()
        check("and the program ends cleanly", rc == 0, f"exit status {rc}")
        samples4 = read_capture(capture4)

        # ---- the band above the board: a cue scrolled out of view is there ----
        p = Program(exe, display, os.path.join(work, "Settings5.ini"), os.path.join(work, "run5.raw"), show,
                    cwd=show)
        p.key("f")  # the last cue, out of view below the board
        time.sleep(0.8)
        band = colour_at(display, 12, 48 + 9, 3, 3)  # the band's first entry: the playing green
        check("the band shows a sound scrolled out of view", near(band, (0x1B, 0x7A, 0x2E), 30), str(band))
        p.stop()
        samples = samples4
        start = first_sound(samples)
        check("the held key started its sound", start is not None)
        if start is not None:
            check("once: the half-second sound was not restarted while the key was held",
                  peak(samples, start + 0.7, start + 1.4) < 0.005, f"{peak(samples, start + 0.7, start + 1.4):.3f}")
    finally:
        server.terminate()
        server.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(xwork, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
