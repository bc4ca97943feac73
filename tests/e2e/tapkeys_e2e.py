#!/usr/bin/env python3
"""Runs the end-to-end and fault cases of cases.py: the real tapkeys.exe in a private Wine virtual
desktop, real pointer clicks at the layout's pixels, a target window that logs what it receives.
Without --only, a desktop at 96 dpi runs the keyboard and fault cases, one at another density the dpi
cases; the layout cases run with --only layout. Prints a line per case and "N passed, M failed"; screenshots of failed cases, the app folders
and the logs stay in <state>/run. Run as root with fault cases, it runs itself again without the
right to override file permissions, so a read-only folder is read-only for Wine too.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders

from cases import CASES, DPI, FAULT, KEYBOARD, LAYOUT  # noqa: E402
from driver import ROOT, CaseFailure, Keyboard, Layout, Probe, Target, WineDesktop, resource_ids  # noqa: E402


class Context:
    """What a case works with: the desktop, the layout, the target, the probe and the current keyboard."""

    def __init__(self, desktop, target, args, workdir):
        self.desktop, self.target, self.workdir, self.exe = desktop, target, workdir, args.exe.resolve()
        self.layout = Layout.from_tool(args.layout_tool.resolve(), args.dpi, desktop)
        self.probe = Probe(desktop, args.probe.resolve())
        self.ids = resource_ids(ROOT / "options" / "options_ids.h")
        self.keyboard, self.text0, self.memo, self._folders = None, "", {}, 0

    def start_keyboard(self, setup):
        self._folders += 1
        folder = setup.make_folder(self.workdir / f"app{self._folders}-{setup.name}", self.exe)
        return self.launch(folder, setup.place(self.layout, self.desktop.size))

    def launch(self, folder, origin):
        """Starts tapkeys.exe from folder and waits for it at origin."""
        if self.keyboard is not None:
            self.keyboard.kill()
        self.keyboard = Keyboard(self.desktop, self.layout, folder, origin)
        self.keyboard.start()
        return self.keyboard

    def screenshot(self, name):
        return self.desktop.screenshot(save_png=self.workdir / f"{name}.png")


def run_case(ctx, case, xkb, reuse):
    """Runs one case; returns None when it passed, else what failed. A keyboard the last case left
    running with the same set-up is used on (reuse)."""
    try:
        ctx.desktop.set_xkb(case.setup.xkb or xkb)
        if not ctx.target.alive():
            ctx.target.start()
        if not (reuse and ctx.keyboard is not None and ctx.keyboard.alive()):
            ctx.start_keyboard(case.setup)
        ctx.target.activate()
        ctx.text0, ctx.memo = ctx.target.text(), {}
        for step in case.steps:
            step(ctx)
        return None
    except CaseFailure as failure:
        return str(failure)
    except Exception:
        return "error in the driver or case:\n" + traceback.format_exc()


def run(ctx, cases, xkb):
    passed, last = 0, None  # last: the case before and whether it passed
    for case in cases:
        started, mark = time.monotonic(), ctx.target.mark() if ctx.target.alive() else 0
        error = run_case(ctx, case, xkb, last == (case.setup, True))
        last = (case.setup, error is None)
        passed += error is None
        outcome = "PASS" if error is None else "FAIL"
        print(f"{outcome}  {case.kind}/{case.name} ({time.monotonic() - started:.1f} s)"
              + ("" if error is None else ": " + error), flush=True)
        if error is not None:
            try:
                ctx.screenshot(f"failed-{case.name}")
                ctx.desktop.release_modifiers()
            except Exception:
                pass
            tail = [(e.kind, *e.fields) for e in ctx.target.since(mark) if e.kind != "TEXT"][-16:]
            print(f"      last target events: {tail}\n      end of the target's text: {ctx.target.text()[-40:]!r}",
                  flush=True)
    return passed, len(cases) - passed


def arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("exe", "target", "layout-tool", "probe"):
        parser.add_argument(f"--{name}", required=True, type=Path)
    parser.add_argument("--state", type=Path, default=Path("e2e-wine"), help="Wine display and prefix folder")
    parser.add_argument("--size", default="1024x768", help="screen size, WIDTHxHEIGHT")
    parser.add_argument("--dpi", type=int, default=96)
    parser.add_argument("--xkb", default="us", help="X keyboard layout for the cases that name none")
    parser.add_argument("--only", choices=(KEYBOARD, DPI, FAULT, LAYOUT), help="run one kind of case")
    parser.add_argument("-k", dest="pattern", default="", help="run the cases whose name contains this")
    parser.add_argument("--keep", action="store_true", help="leave the display and wineserver running")
    return parser.parse_args()


def can_override_permissions():
    status = Path("/proc/self/status").read_text().splitlines()
    cap_dac_override = 1
    return any(line.startswith("CapEff:") and int(line.split()[1], 16) >> cap_dac_override & 1 for line in status)


def main():
    args = arguments()
    kinds = (args.only,) if args.only else (KEYBOARD, FAULT) if args.dpi == 96 else (DPI,)
    cases = [c for c in CASES if c.kind in kinds and args.pattern in c.name]
    if FAULT in kinds and os.geteuid() == 0 and can_override_permissions() and shutil.which("setpriv"):
        drop = "--bounding-set=-dac_override,-dac_read_search,-fowner"
        command = ["setpriv", drop, sys.executable, *sys.argv]
        return subprocess.run(command, check=False).returncode
    desktop = WineDesktop(args.state, tuple(map(int, args.size.split("x"))), args.dpi)
    workdir = desktop.state / "run"
    shutil.rmtree(workdir, ignore_errors=True)
    workdir.mkdir(parents=True)
    print(f"Wine desktop {args.size} at {args.dpi} dpi in {desktop.state}", flush=True)
    target, ctx, passed, failed = Target(desktop, args.target.resolve(), workdir), None, 0, len(cases)
    try:
        desktop.start()
        ctx = Context(desktop, target, args, workdir)
        passed, failed = run(ctx, cases, args.xkb)
    except Exception:
        traceback.print_exc()
    finally:
        if ctx is not None and ctx.keyboard is not None:
            ctx.keyboard.kill()
        target.stop()
        trouble = "" if args.keep else desktop.stop()
        if trouble:
            print(f"stopping the Wine desktop: {trouble}", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
