#!/usr/bin/env python3
"""Runs the end-to-end and fault cases of cases.py: the real tapkeys.exe in a private Wine virtual
desktop, real pointer clicks at the layout's pixels, a target window that logs what it receives.
Without --only it runs the keyboard and fault cases, on one desktop. Prints a line per case and "N passed, M failed"; screenshots of failed cases, the app folders
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

from cases import CASES, DESKTOPS, FAULT, KEYBOARD  # noqa: E402
from driver import ROOT, CaseFailure, Keyboard, Layout, Probe, Target, WineDesktop, resource_ids  # noqa: E402


class Context:
    """What a case works with: the desktop, the layout, the target, the probe and the current keyboard."""

    def __init__(self, desktop, args, workdir):
        self.desktop, self.workdir, self.exe, self.keyboard = desktop, workdir, args.exe.resolve(), None
        self.target = Target(desktop, args.target.resolve(), workdir)
        self.layout_tool, self.layouts = args.layout_tool.resolve(), {}
        self.layout = self.layout_for(None)
        self.probe, self.ids = Probe(desktop, args.probe.resolve()), resource_ids(ROOT / "options" / "options_ids.h")

    def layout_for(self, setup):
        """The layout at the size the set-up's settings give the keyboard."""
        return self.layout_at(((setup and setup.settings) or {}).get("extras", {}).get("KEYBOARDSIZE", "100"))

    def layout_at(self, size):
        """The layout at the keyboard size (KEYBOARDSIZE, per cent)."""
        if size not in self.layouts:
            self.layouts[size] = Layout.from_tool(self.layout_tool, self.desktop.dpi, self.desktop, size)
        return self.layouts[size]

    def launch(self, folder, origin):
        """Starts tapkeys.exe from folder and waits for it at origin."""
        if self.keyboard is not None:
            self.keyboard.kill()
        self.keyboard = Keyboard(self.desktop, self.layout, folder, origin)
        self.keyboard.start()

    def run(self, case, number, reuse):
        """Runs one case; returns None when it passed, else what failed. A keyboard the last case left
        running with the same set-up is used on (reuse)."""
        try:
            if not self.target.alive():
                self.target.start()
            self.layout = self.layout_for(case.setup)
            if not (reuse and self.keyboard is not None and self.keyboard.alive()):
                folder = case.setup.make_folder(self.workdir / f"app{number}-{case.setup.name}", self.exe)
                self.launch(folder, case.setup.place(self.layout, self.desktop.size))
            self.target.activate()
            self.text0, self.memo = self.target.text(), {}
            for step in case.steps:
                step(self)
        except CaseFailure as failure:
            return str(failure)
        except Exception:
            return "error in the driver or case:\n" + traceback.format_exc()


def run(ctx, cases):
    failed, last = 0, None  # last: the case before and whether it passed
    for number, case in enumerate(cases, 1):
        started, mark = time.monotonic(), ctx.target.mark()
        error = ctx.run(case, number, last == (case.setup, True))
        last, failed = (case.setup, error is None), failed + (error is not None)
        print(f"{'FAIL' if error else 'PASS'}  {case.kind}/{case.name} ({time.monotonic() - started:.1f} s)"
              + (": " + error if error else ""), flush=True)
        if error:
            ctx.desktop.save_picture(ctx.workdir / f"failed-{case.name}.png")
            # Ends a Shift or Ctrl the case left pressed; X drops the release of a key it sees up.
            ctx.desktop.xdotool(*(w for key in ("Shift_L", "Shift_R", "Control_L", "Control_R")
                                  for w in ("keydown", key, "keyup", key)))
            tail = [(e.kind, *e.fields) for e in ctx.target.since(mark) if e.kind != "TEXT"][-16:]
            print(f"      last target events: {tail}\n      end of the target's text: {ctx.target.text()[-40:]!r}",
                  flush=True)
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("exe", "target", "layout-tool", "probe"):
        parser.add_argument(f"--{name}", required=True, type=Path)
    parser.add_argument("--state", type=Path, default=Path("e2e-wine"), help="Wine display and prefix folder")
    parser.add_argument("--only", choices=DESKTOPS, help="run one kind of case")
    parser.add_argument("-k", dest="pattern", default="", help="run the cases whose name contains this")
    parser.add_argument("--keep", action="store_true", help="leave the display and wineserver running")
    args = parser.parse_args()
    kinds = (args.only,) if args.only else (KEYBOARD, FAULT)
    cases = [c for c in CASES if c.kind in kinds and args.pattern in c.name]
    status = Path("/proc/self/status").read_text().splitlines()
    cap_effective = next(int(line.split()[1], 16) for line in status if line.startswith("CapEff:"))
    if FAULT in kinds and cap_effective >> 1 & 1 and shutil.which("setpriv"):  # bit 1: CAP_DAC_OVERRIDE
        command = ["setpriv", "--bounding-set=-dac_override,-dac_read_search,-fowner", sys.executable, *sys.argv]
        return subprocess.run(command, check=False).returncode
    desktop = WineDesktop(args.state, *DESKTOPS[kinds[0]])
    workdir, ctx, failed = desktop.state / "run", None, len(cases)
    shutil.rmtree(workdir, ignore_errors=True)
    workdir.mkdir(parents=True)
    print(f"Wine desktop {desktop.size} at {desktop.dpi} dpi in {desktop.state}", flush=True)
    try:
        desktop.start()
        ctx = Context(desktop, args, workdir)
        failed = run(ctx, cases)
    except Exception:
        traceback.print_exc()
    finally:
        if ctx is not None and ctx.keyboard is not None:
            ctx.keyboard.kill()
        if ctx is not None:
            ctx.target.stop()
        trouble = "" if args.keep else desktop.stop()
        if trouble:
            print(f"stopping the Wine desktop: {trouble}", flush=True)
    print(f"{len(cases) - failed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and cases else 1


if __name__ == "__main__":
    sys.exit(main())
