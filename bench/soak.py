#!/usr/bin/env python3
"""Soak test of tapkeys.exe: thousands of pointer presses spread over every key, Shift and Caps Lock
mixed in, in normal mode and in safe mode; every character must arrive in the target window in order,
none lost and none doubled, the keyboard must stay up, and its GDI and USER objects must not grow.

    soak.py --exe tapkeys.exe --target tapkeys_e2e_target.exe --layout-tool tapkeys_e2e_layout_points.exe
            --gui-objects bench_gui_objects.exe --clear-target bench_clear_target.exe [--presses 10000] [--modes normal,safe] [--seed 1]

Each press waits for the characters it should type before the next one goes out: in safe mode a press
that arrived during the pauses would be served first by design, which is another test's business.
Prints one line per mode and a last line "N passed, M failed".
"""

import argparse
import random
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import UK_NORMAL, UK_SHIFTED, CaseFailure, Session, wait_for  # noqa: E402

# What each named key types into an edit control, as WM_CHAR.
NAMED = {"Space": " ", "Backspace": "\b", "Return": "\r", "Tab": "\t", "Esc": "\x1b"}
BATCH = 500


def arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("exe", "target", "layout-tool", "gui-objects", "clear-target"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--state", default="build/bench-win/soak-wine")
    parser.add_argument("--presses", type=int, default=10000, help="presses in each mode")
    parser.add_argument("--modes", default="normal,safe")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--keep", action="store_true")
    return parser.parse_args()


class ShiftModel:
    """Which layer a key types in: none, a one-shot Shift for the next key string, or Caps Lock."""

    def __init__(self):
        self.state = "none"

    def press(self, control):
        """The characters a press types."""
        if control == "Shift":
            self.state = "shift" if self.state == "none" else "none"
            return ""
        if control == "CapsLock":
            self.state = "caps" if self.state == "none" else "none"
            return ""
        return ""

    def type_key(self, index):
        chars = (UK_SHIFTED if self.state != "none" else UK_NORMAL)[index]
        self.end_of_key_string()
        return chars

    def type_named(self, control):
        self.end_of_key_string()
        return NAMED[control]

    def end_of_key_string(self):
        if self.state == "shift":
            self.state = "none"


def press_plan(layout, count, rng):
    """(label, spot) pairs: every character key through its caption or its frame, the named keys and,
    now and then, Shift or Caps Lock. Two presses in a row are never on one spot, which could make the
    second the end of a double click."""
    keys = [("Key", i) for i in range(len(UK_NORMAL))] + [("KeyBG", i) for i in range(len(UK_NORMAL))]
    named = [(lb.control, lb.index) for lb in layout.labels if lb.control in NAMED]
    modifiers = [(lb.control, lb.index) for lb in layout.labels if lb.control in ("Shift", "CapsLock")]
    plan, last_spot = [], None
    while len(plan) < count:
        roll = rng.random()
        pool = keys if roll < 0.8 else named if roll < 0.9 else modifiers
        label = rng.choice(pool)
        spot = label[1] if label[0] in ("Key", "KeyBG") else label[0]
        if spot == last_spot:
            continue
        plan.append(label)
        last_spot = spot
    return plan


def clear_target(session, args):
    """Empties the edit control, so the text the target logs after every change stays short."""
    session.desktop.run(Path(args.clear_target).resolve(), timeout=60)
    if not session.target.wait_for_text("", timeout=5):
        raise CaseFailure("the target's edit control could not be emptied")


def soak(session, args, safe_mode):
    rng = random.Random(args.seed + (1 if safe_mode else 0))
    session.ensure_target()
    program = session.start_tapkeys(safe_mode)
    keyboard = program.keyboard
    target = session.target
    try:
        target.activate()
        clear_target(session, args)
        time.sleep(0.5)
        objects_before = session.gui_objects(program)
        model = ShiftModel()
        plan = press_plan(session.layout, args.presses, rng)
        started = time.monotonic()
        for batch_start in range(0, len(plan), BATCH):
            mark = target.mark()
            expected = ""
            for control, index in plan[batch_start:batch_start + BATCH]:
                if control in ("Key", "KeyBG"):
                    chars = model.type_key(index)
                elif control in NAMED:
                    chars = model.type_named(control)
                else:
                    chars = model.press(control)
                expected += chars
                session.x.press(keyboard.point(control, index), hold_s=0.002)
                if chars:
                    wait_for(lambda: len(target.chars_since(mark)) >= len(expected), 3.0, 0.001)
                    got = target.chars_since(mark)
                    if not got.startswith(expected) or len(got) > len(expected):
                        raise CaseFailure(f"after {control}({index}), press {batch_start + BATCH}: expected "
                                          f"...{expected[-20:]!r}, got ...{got[-20:]!r}")
            time.sleep(0.3)  # a doubled character would show up now
            got = target.chars_since(mark)
            if got != expected:
                raise CaseFailure(f"batch from press {batch_start}: {len(expected)} characters expected, "
                                  f"{len(got)} arrived; first difference at "
                                  f"{next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b), min(len(got), len(expected)))}")
            if not program.alive():
                raise CaseFailure("tapkeys.exe ended during the soak")
            clear_target(session, args)
        seconds = time.monotonic() - started
        objects_after = session.gui_objects(program)
        for kind in ("gdi", "user"):
            if objects_after[kind] > objects_before[kind]:
                raise CaseFailure(f"{kind.upper()} objects grew from {objects_before[kind]} to {objects_after[kind]}")
        return (f"{len(plan)} presses in {seconds:.0f} s ({1000 * seconds / len(plan):.0f} ms each), "
                f"GDI/USER objects {objects_before['gdi']}/{objects_before['user']} before and "
                f"{objects_after['gdi']}/{objects_after['user']} after")
    finally:
        program.stop()


def main():
    args = arguments()
    args.floor = None
    passed = failed = 0
    with Session(args) as session:
        for mode in [m for m in args.modes.split(",") if m]:
            try:
                detail = soak(session, args, mode == "safe")
                passed += 1
                print(f"PASS  soak/{mode}: {detail}", flush=True)
            except CaseFailure as failure:
                failed += 1
                print(f"FAIL  soak/{mode}: {failure}", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
