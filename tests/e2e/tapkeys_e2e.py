#!/usr/bin/env python3
"""End-to-end tests of tapkeys.exe: the real program in a private Wine virtual desktop, real pointer
clicks at the layout's pixels, and a target window that logs what it receives.

    tapkeys_e2e.py --exe tapkeys.exe --target tapkeys_e2e_target.exe --layout-tool layout_points[.exe]
                   [--probe tapkeys_e2e_win_probe.exe] [--state DIR] [--size WxH] [--dpi DPI]
                   [--only harness|keyboard|dpi] [-k TEXT] [--keep]

Without --only, a desktop at 96 dpi runs the harness and keyboard cases and one at any other density
the dpi cases.

Prints one line per case and a last line "N passed, M failed"; exits non-zero when a case failed.
Screenshots of failed cases, the app folders and the logs stay in <state>/run.
"""

import argparse
import shutil
import sys
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders

import cases_harness  # noqa: F401  (the case modules register their cases on import)
import cases_typing  # noqa: F401
import cases_window  # noqa: F401
import cases_options  # noqa: F401
import cases_dpi  # noqa: F401
import cases_runtime  # noqa: F401
from driver.layout import Layout
from driver.probe import Probe
from driver.runner import CASES, DPI, HARNESS, KEYBOARD, Context, Runner
from driver.target import Target
from driver.wine_desktop import WineDesktop


def arguments():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", required=True, type=Path, help="tapkeys.exe")
    parser.add_argument("--target", required=True, type=Path, help="tapkeys_e2e_target.exe")
    parser.add_argument("--layout-tool", required=True, type=Path, help="layout_points, native or .exe")
    parser.add_argument("--probe", type=Path, help="tapkeys_e2e_win_probe.exe, for the options dialog")
    parser.add_argument("--state", type=Path, default=Path("e2e-wine"), help="Wine display and prefix folder")
    parser.add_argument("--size", default="1024x768", help="screen size, WIDTHxHEIGHT")
    parser.add_argument("--dpi", type=int, default=96)
    parser.add_argument("--only", choices=(HARNESS, KEYBOARD, DPI), help="run one kind of case")
    parser.add_argument("-k", dest="pattern", default="", help="run the cases whose name contains this")
    parser.add_argument("--keep", action="store_true", help="leave the display and wineserver running")
    return parser.parse_args()


def main():
    args = arguments()
    kinds = (args.only,) if args.only else (HARNESS, KEYBOARD) if args.dpi == 96 else (DPI,)
    cases = [c for c in CASES if c.kind in kinds and args.pattern in c.name]
    width, height = map(int, args.size.split("x"))
    desktop = WineDesktop(args.state, (width, height), args.dpi)
    workdir = desktop.state / "run"
    shutil.rmtree(workdir, ignore_errors=True)
    workdir.mkdir(parents=True)
    print(f"Wine desktop {args.size} at {args.dpi} dpi in {desktop.state}", flush=True)
    desktop.start()
    target = Target(desktop, args.target.resolve(), workdir)
    context = Context(desktop, None, target, args.exe.resolve(), workdir)
    passed, failed = 0, len(cases)
    try:
        context.layout_tool = args.layout_tool.resolve()
        context.probe = Probe(desktop, args.probe.resolve()) if args.probe else None
        context.layout = Layout.from_tool(context.layout_tool, args.dpi, desktop)
        passed, failed = Runner(context).run(cases)
    except Exception:
        traceback.print_exc()
    finally:
        context.stop_keyboard()
        target.stop()
        trouble = None if args.keep else desktop.stop()
        if trouble:
            print(f"stopping the Wine desktop: {trouble}", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
