#!/usr/bin/env python3
"""Benchmarks of tapkeys.exe against a floor program built in the same run, under the same Wine and
Xvfb, with xvkbd beside them as the peer a Linux user would pick.

    bench.py --exe tapkeys.exe --floor bench_floor.exe --gui-objects bench_gui_objects.exe
             --target tapkeys_e2e_target.exe --layout-tool tapkeys_e2e_layout_points.exe
             [--state DIR] [--only latency,feedback,startup,idle,memory,strip] [--presses 500] [--blocks 5]
             [--feedback-presses 200]
             [--startups 15] [--idle-seconds 60] [--memory-presses 10000] [--json FILE] [--markdown FILE]
             [--follow-layout] [--scan-time MS] [--prediction] [--ksr bench_ksr.exe] [--set KEY=VALUE]

Latency: a pointer press on a key (XTest, stamped on CLOCK_MONOTONIC_RAW) to the WM_CHAR in the target
window's edit control (stamped by QueryPerformanceCounter, which Wine reads from the same clock).
Feedback: a pointer press on a key to the first look (XGetImage) at the key's left outline line that
shows it lit.
Start-up: process start to the first frame that matches the settled window. Idle: CPU time of the
process over the given seconds untouched (and of the wineserver meanwhile). Memory: private bytes (the
process's anonymous pages) and GDI / USER objects after start and after the given number of key presses.
Strip: the time word prediction takes to find a key's suggestions, every keystroke of the benchmark text
in bench/text typed with the English list (tapkeys-ksr built for Windows, under the same Wine).
"""

import argparse
import json
import random
import re
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))

from figures import ratio, summary  # noqa: E402
from harness import (UK_NORMAL, WINDOW_RECT, CaseFailure, Session, cpu_seconds,  # noqa: E402
                     private_bytes, unshared_bytes, wait_for)
from driver import VK_LEFT, VK_RIGHT  # noqa: E402
from xserver import SAMPLE_STEP, now_us, similarity  # noqa: E402

LETTER_KEYS = [i for i, c in enumerate(UK_NORMAL) if c.isalpha()]
FLOOR_POINTS = [(WINDOW_RECT[0] + 100, WINDOW_RECT[1] + 100), (WINDOW_RECT[0] + 500, WINDOW_RECT[1] + 120)]
# Between presses: long enough for the last one's activation dance to end, and presses on one spot are
# never fast enough to make a double click.
PRESS_GAP_S = 0.12


def arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("exe", "floor", "gui-objects", "target", "layout-tool"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--state", default="build/bench-win/bench-wine")
    parser.add_argument("--only", default="latency,feedback,startup,idle,memory,strip")
    parser.add_argument("--feedback-presses", type=int, default=200)
    parser.add_argument("--presses", type=int, default=500, help="latency samples per program")
    parser.add_argument("--blocks", type=int, default=5, help="latency samples are taken in this many rounds")
    parser.add_argument("--startups", type=int, default=15)
    parser.add_argument("--idle-seconds", type=float, default=60)
    parser.add_argument("--memory-presses", type=int, default=10000)
    parser.add_argument("--json", type=Path)
    parser.add_argument("--markdown", type=Path)
    parser.add_argument("--keep", action="store_true", help="leave the display and wineserver running")
    parser.add_argument("--follow-layout", action="store_true",
                        help="tapkeys with FOLLOWLAYOUT=1: its keys follow the target's keyboard layout")
    parser.add_argument("--scan-time", type=int, default=0,
                        help="tapkeys with SCANTIME=N: switch scanning on, its keyboard hook installed")
    parser.add_argument("--prediction", action="store_true",
                        help="tapkeys with PREDICTION=1: the suggestion strip below the keys, English list")
    parser.add_argument("--ksr", help="bench_ksr.exe, for the strip figure")
    parser.add_argument("--set", action="append", metavar="KEY=VALUE",
                        help="tapkeys with this [extras] setting too (repeatable), e.g. KEYFEEDBACK=0")
    return parser.parse_args()


def log(text):
    print(text, flush=True)


# Pressing

def press_for_char(session, point, expected, timeout=3.0, nudges=None):
    """One press; the latency in ms to the first WM_CHAR after it, which must be `expected`. With a
    nudges list, the gaps of a safe-mode nudge as the target saw them are added to it: Left to Right,
    and Right to the character (each one 10 ms pause and what it took beyond)."""
    target = session.target
    mark = target.mark()
    pressed = session.x.press(point)
    chars = wait_for(lambda: target.since(mark, "CHAR"), timeout, 0.001)
    if not chars:
        raise CaseFailure(f"no character arrived within {timeout} s of a press at {point}")
    if chars[0].char != expected:
        raise CaseFailure(f"expected {expected!r} after a press at {point}, got {chars[0].char!r}")
    if nudges is not None:
        downs = {e.vk: e.time_us for e in target.since(mark, "KEYDOWN") if e.vk in (VK_LEFT, VK_RIGHT)}
        if len(downs) == 2:
            nudges.append(((downs[VK_RIGHT] - downs[VK_LEFT]) / 1000, (chars[0].time_us - downs[VK_RIGHT]) / 1000))
    return (chars[0].time_us - pressed) / 1000


def press_points(program):
    """(point, expected character) pairs the program is pressed at, in turn."""
    if program.keyboard is None:
        return [(p, "a") for p in FLOOR_POINTS]
    return [(program.keyboard.point("Key", i), UK_NORMAL[i]) for i in LETTER_KEYS]


# Latency

def latency(session, args):
    starters = {"floor": session.start_floor, "tapkeys": lambda: session.start_tapkeys(False),
                "tapkeys safe mode": lambda: session.start_tapkeys(True)}
    samples = {name: [] for name in starters}
    nudges = []
    per_block = max(1, args.presses // args.blocks)
    for block in range(args.blocks):
        for name, start in starters.items():
            session.ensure_target()
            program = start()
            try:
                session.target.activate()
                points = press_points(program)
                press_for_char(session, *points[0])  # the first press also settles the target tracking
                for i in range(per_block):
                    time.sleep(PRESS_GAP_S)
                    samples[name].append(press_for_char(session, *points[(i + 1) % len(points)],
                                                        nudges=nudges if "safe" in name else None))
            finally:
                program.stop()
            log(f"latency block {block + 1}/{args.blocks} {name}: median so far "
                f"{summary(samples[name])['median']:.2f} ms")
    results = {name: summary(values) for name, values in samples.items()}
    results["safe mode pauses"] = {"left_to_right": summary([a for a, _ in nudges]),
                                   "right_to_char": summary([b for _, b in nudges])}
    return results


# Press feedback

# The brightest pixel of the left outline line's middle: about 640 (R + G + B) at rest, white when lit.
LIT_BRIGHTNESS = 735


def outline_brightness(session, rect):
    pixels = session.x.sample(rect, step=1)
    return max(sum(pixels[i:i + 3]) for i in range(0, len(pixels), 3))


def feedback(session, args):
    """Press to lit outline: the button goes down on a letter key, then the key's left outline line is
    read through XGetImage in a tight loop until it is lit; the button goes up after that, and the next
    press waits until the light is out."""
    samples = []
    session.ensure_target()
    program = session.start_tapkeys(False)
    try:
        session.target.activate()
        keyboard = program.keyboard
        for i in range(args.feedback_presses + 1):
            index = LETTER_KEYS[i % len(LETTER_KEYS)]
            frame = keyboard.layout.label("KeyBG", index).rect
            line = (keyboard.origin[0] + frame.left, keyboard.origin[1] + frame.top + frame.height // 2 - 1, 3, 3)
            session.x.move(keyboard.point("Key", index))
            pressed = session.x.button(True)
            lit = wait_for(lambda: outline_brightness(session, line) >= LIT_BRIGHTNESS, 2.0, 0)
            seen = now_us()
            session.x.button(False)
            if not lit:
                raise CaseFailure(f"key {index} did not light within 2 s of its press")
            if i > 0:  # the first press also settles the target tracking
                samples.append((seen - pressed) / 1000)
            wait_for(lambda: outline_brightness(session, line) < LIT_BRIGHTNESS, 2.0, 0.005)
            time.sleep(PRESS_GAP_S)
    finally:
        program.stop()
    log(f"feedback: median {summary(samples)['median']:.2f} ms over {len(samples)} presses")
    return {"tapkeys": summary(samples)}


# Start-up

def first_frame_ms(session, start, settle_s=1.5, timeout_s=30):
    """Starts a program and watches its window's rectangle; the time from the start to the first look
    that matches the settled frame."""
    x = session.x
    before = bare_desktop(session)
    if not wait_for(lambda: similarity(x.sample(WINDOW_RECT), before) > 0.98, 5, 0.05):
        raise CaseFailure("something other than the bare desktop is where the program will open")
    started = now_us()
    program = start()
    looks = []
    last_change = None
    deadline = time.monotonic() + timeout_s
    try:
        while time.monotonic() < deadline:
            look = x.sample(WINDOW_RECT)
            stamp = now_us()
            if not looks or look != looks[-1][1]:
                looks.append((stamp, look))
                if similarity(look, before) < 0.5:
                    last_change = time.monotonic()
            if last_change is not None and time.monotonic() - last_change > settle_s:
                break
            time.sleep(0.002)
        else:
            raise CaseFailure(f"{program.name}: no settled frame within {timeout_s} s")
        final = looks[-1][1]
        first = next(stamp for stamp, look in looks if similarity(look, final) >= 0.98)
        return (first - started) / 1000
    finally:
        program.stop()
        # The desktop repaints where the window was before the next start.
        wait_for(lambda: similarity(x.sample(WINDOW_RECT), before) > 0.98, 5, 0.05)


def bare_desktop(session):
    """The window's rectangle as the empty desktop shows it: the desktop colour just right of it."""
    left, top, width, height = WINDOW_RECT
    pixel = session.x.sample((left + width + 20, top, 1, 1))
    return pixel * (len(range(0, width, SAMPLE_STEP)) * len(range(0, height, SAMPLE_STEP)))


def startup(session, args):
    starters = {"floor": lambda: session.start_floor(wait=False),
                "tapkeys": lambda: session.start_tapkeys(False, wait=False),
                "xvkbd": lambda: session.start_xvkbd(wait=False)}
    for start in starters.values():  # warm-up: file caches, fonts, the wineserver
        first_frame_ms(session, start)
    samples = {name: [] for name in starters}
    for run in range(args.startups):
        for name, start in starters.items():
            samples[name].append(first_frame_ms(session, start))
        log(f"start-up run {run + 1}/{args.startups}: " +
            ", ".join(f"{name} {values[-1]:.0f} ms" for name, values in samples.items()))
    return {name: summary(values) for name, values in samples.items()}


# Idle cost

def idle(session, args):
    starters = {"floor": session.start_floor, "tapkeys": lambda: session.start_tapkeys(False),
                "xvkbd": session.start_xvkbd}
    server = session.wineserver_pid()
    results = {}
    for name, start in starters.items():
        program = start()
        try:
            # Resting over a key, where a mouse user's pointer stays between words.
            session.x.move(FLOOR_POINTS[0])
            time.sleep(2)
            process0, server0 = cpu_seconds(program.pid), cpu_seconds(server)
            time.sleep(args.idle_seconds)
            process1, server1 = cpu_seconds(program.pid), cpu_seconds(server)
        finally:
            program.stop()
        results[name] = {"seconds": args.idle_seconds, "cpu_ms": (process1 - process0) * 1000,
                         "wineserver_cpu_ms": (server1 - server0) * 1000 if name != "xvkbd" else None}
        log(f"idle {name}: {results[name]['cpu_ms']:.0f} ms CPU in {args.idle_seconds:.0f} s "
            f"(wineserver {results[name]['wineserver_cpu_ms']})")
    return results


# Memory

def memory_figures(session, program):
    objects = session.gui_objects(program)
    return {"private_bytes": private_bytes(program.pid), "unshared_bytes": unshared_bytes(program.pid),
            "gdi": objects["gdi"], "user": objects["user"]}


def memory(session, args):
    results = {}
    rng = random.Random(7)
    for name, start in (("floor", session.start_floor), ("tapkeys", lambda: session.start_tapkeys(False))):
        session.ensure_target()
        program = start()
        try:
            session.target.activate()
            time.sleep(1)
            after_start = memory_figures(session, program)
            points = press_points(program)
            previous = None
            for i in range(args.memory_presses):
                choice = rng.choice([p for p in points if p is not previous])
                press_for_char(session, *choice)
                previous = choice
                if (i + 1) % 2000 == 0:
                    log(f"memory {name}: {i + 1} presses")
            time.sleep(1)
            after_presses = memory_figures(session, program)
        finally:
            program.stop()
        results[name] = {"after_start": after_start, "after_presses": after_presses,
                         "presses": args.memory_presses}
        log(f"memory {name}: {after_start} -> {after_presses}")
    return results


def strip(session, args):
    """tapkeys-ksr's timing of every update of the suggestions over the benchmark text."""
    root = Path(__file__).resolve().parents[1]
    with open(root / "bench" / "text" / "state-of-the-union-2013-2016.txt", "rb") as text:
        done = subprocess.run(["wine", str(Path(args.ksr).resolve()), "--timing", "--words",
                               str(root / "lang" / "en-words.txt")], stdin=text, capture_output=True,
                              env=session.desktop.env, timeout=1200, check=True)
    saved = re.search(r"saved ([\d.]+)%", done.stdout.decode())
    timing = re.search(r"updates (\d+) median ([\d.]+) ms p95 ([\d.]+) ms max ([\d.]+) ms", done.stderr.decode())
    if not saved or not timing:
        raise CaseFailure(f"tapkeys-ksr printed {done.stdout!r} {done.stderr[-400:]!r}")
    return {"saved_percent": float(saved[1]), "n": int(timing[1]), "median": float(timing[2]),
            "p95": float(timing[3]), "max": float(timing[4])}


# Report

def markdown(results):
    lines = ["| figure | floor | tapkeys | ratio (tapkeys / floor) | xvkbd | target |", "|---|---|---|---|---|---|"]

    def ms(value):
        return f"{value:.1f} ms"

    if "latency" in results:
        lat = results["latency"]
        fl, tk, safe = lat["floor"], lat["tapkeys"], lat["tapkeys safe mode"]
        lines.append(f"| key latency, median (p95), normal mode, {tk['n']} presses | {ms(fl['median'])} "
                     f"({ms(fl['p95'])}) | {ms(tk['median'])} ({ms(tk['p95'])}) | "
                     f"{ratio(tk['median'], fl['median']):.2f} ({ratio(tk['p95'], fl['p95']):.2f}) | – | ≤ 1.15 |")
        lines.append(f"| key latency, median (p95), safe mode, {safe['n']} presses | {ms(fl['median'])} "
                     f"({ms(fl['p95'])}) | {ms(safe['median'])} ({ms(safe['p95'])}) | "
                     f"adds {safe['median'] - tk['median']:.1f} ms to normal mode | – | adds ≤ 20 ms |")
        pauses = lat.get("safe mode pauses")
        if pauses:
            lines.append(f"| safe mode: Left to Right, Right to the character, as the target sees them (median) | – | "
                         f"{ms(pauses['left_to_right']['median'])}, {ms(pauses['right_to_char']['median'])} | – | – | "
                         f"10 ms each by design |")
    if "feedback" in results:
        fb = results["feedback"]["tapkeys"]
        lines.append(f"| press to lit outline, median (p95), {fb['n']} presses | – | {ms(fb['median'])} "
                     f"({ms(fb['p95'])}) | – | – | median ≤ 16 ms |")
    if "startup" in results:
        st = results["startup"]
        fl, tk, xv = st["floor"], st["tapkeys"], st["xvkbd"]
        lines.append(f"| start-up to first frame, median (p95), {tk['n']} starts | {ms(fl['median'])} "
                     f"({ms(fl['p95'])}) | {ms(tk['median'])} ({ms(tk['p95'])}) | "
                     f"{ratio(tk['median'], fl['median']):.2f} ({ratio(tk['p95'], fl['p95']):.2f}) | "
                     f"{ms(xv['median'])} ({ms(xv['p95'])}) | ≤ 1.2 |")
    if "idle" in results:
        idl = results["idle"]
        fl, tk, xv = idl["floor"], idl["tapkeys"], idl["xvkbd"]
        lines.append(f"| idle CPU over {tk['seconds']:.0f} s (wineserver meanwhile) | {fl['cpu_ms']:.1f} ms "
                     f"({fl['wineserver_cpu_ms']:.1f} ms) | {tk['cpu_ms']:.1f} ms ({tk['wineserver_cpu_ms']:.1f} ms) | "
                     f"{ratio(tk['cpu_ms'], fl['cpu_ms']):.2f} | {xv['cpu_ms']:.1f} ms | ≤ 1.2 |")
    if "strip" in results:
        st = results["strip"]
        lines.append(f"| suggestion strip update, median (p95), {st['n']} keystrokes, English list | – | "
                     f"{st['median']:.2f} ms ({st['p95']:.2f} ms) | – | – | p95 ≤ 2 ms |")
    if "memory" in results:
        mem = results["memory"]
        fl, tk = mem["floor"], mem["tapkeys"]

        def mb(value):
            return f"{value / 2**20:.1f} MB"

        for when, label in (("after_start", "after start"), ("after_presses", f"after {tk['presses']} presses")):
            lines.append(f"| private bytes {label} | {mb(fl[when]['private_bytes'])} | "
                         f"{mb(tk[when]['private_bytes'])} | "
                         f"+{mb(tk[when]['private_bytes'] - fl[when]['private_bytes'])} | – | ≤ floor + 1.5 MB |")
            lines.append(f"| pages only the process maps, files included, {label} | "
                         f"{mb(fl[when]['unshared_bytes'])} | {mb(tk[when]['unshared_bytes'])} | "
                         f"+{mb(tk[when]['unshared_bytes'] - fl[when]['unshared_bytes'])} | – | – |")
            lines.append(f"| GDI / USER objects {label} | {fl[when]['gdi']} / {fl[when]['user']} | "
                         f"{tk[when]['gdi']} / {tk[when]['user']} | – | – | no growth |")
    return "\n".join(lines)


def main():
    args = arguments()
    sections = {"latency": latency, "feedback": feedback, "startup": startup, "idle": idle, "memory": memory,
                "strip": strip}
    # The strip figure needs tapkeys-ksr built for Windows (bench/run.sh passes it).
    wanted = [name for name in args.only.split(",") if name and (name != "strip" or args.ksr)]
    results = {}
    with Session(args) as session:
        log(f"Wine desktop in {session.desktop.state}")
        for name in wanted:
            started = time.monotonic()
            results[name] = sections[name](session, args)
            log(f"{name}: {time.monotonic() - started:.0f} s")
    table = markdown(results)
    print(table)
    if args.json:
        args.json.write_text(json.dumps(results, indent=2))
    if args.markdown:
        args.markdown.write_text(table + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
