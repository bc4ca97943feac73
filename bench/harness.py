"""What the benchmarks and the soak share: the end-to-end harness's Wine desktop, target window and
layout (tests/e2e/driver.py), the programs under measure, and the process figures read from /proc."""

import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path[:0] = [str(ROOT / "tests" / "e2e"), str(Path(__file__).resolve().parent)]
sys.dont_write_bytecode = True

from cases import PLACED, UK_NORMAL, UK_SHIFTED, plain  # noqa: E402
from driver import CaseFailure, Keyboard, Layout, Target, WineDesktop, wait_for  # noqa: E402
from xserver import XServer  # noqa: E402

# Every program under measure opens here, clear of the target window (below y = 500).
ORIGIN = (int(PLACED["WINDOWX"]), int(PLACED["WINDOWY"]))
SIZE = (632, 217)
WINDOW_RECT = (*ORIGIN, *SIZE)

__all__ = ["CaseFailure", "Session", "UK_NORMAL", "UK_SHIFTED", "wait_for", "WINDOW_RECT"]


ENGLISH_WORDS = Path(__file__).resolve().parents[1] / "lang" / "en-words.txt"


def keyboard_setup(safe_mode, follow_layout=False, scan_time=0, prediction=False, extras=()):
    """With prediction the English word list ships beside it as the host language's. `extras`: more
    [extras] keys as KEY=VALUE texts."""
    setup = plain("safe" if safe_mode else "normal", safe="1" if safe_mode else "0",
                  extras={"FOLLOWLAYOUT": "1" if follow_layout else "0", "SCANTIME": str(scan_time),
                          "PREDICTION": "1" if prediction else "0",
                          **dict(extra.split("=", 1) for extra in extras)})
    if prediction:
        setup.files["lang/uk-words.txt"] = ENGLISH_WORDS.read_bytes()
    return setup


def cpu_seconds(pid):
    """CPU time of a process's threads as the scheduler counts it, in nanoseconds: /proc/PID/stat counts
    in 10 ms ticks, as coarse as a minute's idle figure itself. A thread that ends meanwhile drops out,
    so the figure is meant for spans in which none does (an idle program)."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0])
        except (OSError, ValueError):
            pass  # ended while being read
    return total / 1e9


def _smaps_total(pid, fields):
    total = 0
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
        if line.startswith(fields):
            total += int(line.split()[1]) * 1024
    return total


def private_bytes(pid):
    """What Windows counts as private bytes, as far as it is in memory: anonymous and copy-on-write
    pages, which no file backs. (Wine's GetProcessMemoryInfo reports none.)"""
    return _smaps_total(pid, ("Anonymous:",))


def unshared_bytes(pid):
    """Every page only this process maps, file-backed ones included (fonts it alone has open)."""
    return _smaps_total(pid, ("Private_Clean:", "Private_Dirty:"))


class Program:
    """A running program under measure: its process and how to press it."""

    def __init__(self, name, process, window_class=None, keyboard=None):
        self.name = name
        self.process = process
        self.window_class = window_class
        self.keyboard = keyboard

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        if self.alive():
            self.process.kill()
        self.process.wait(timeout=10)


class Session:
    """One Wine desktop with the target window, the layout and direct X access."""

    def __init__(self, args):
        self.args = args
        self.desktop = WineDesktop(args.state, (1024, 768), 96)
        self.work = self.desktop.state / "bench"
        self.work.mkdir(parents=True, exist_ok=True)
        self.target = None
        self.layout = None
        self.x = None
        self._folders = 0

    def __enter__(self):
        self.desktop.start()
        self.x = XServer(self.desktop.env["DISPLAY"])
        self.target = Target(self.desktop, Path(self.args.target).resolve(), self.work)
        self.target.start()
        self.layout = Layout.from_tool(Path(self.args.layout_tool).resolve(), 96, self.desktop)
        return self

    def __exit__(self, *exc):
        if self.target:
            self.target.stop()
        if self.x:
            self.x.close()
        if not self.args.keep:
            self.desktop.stop()

    def ensure_target(self):
        if not self.target.alive():
            self.target.start()

    # Programs

    def start_floor(self, wait=True):
        process = self.desktop.launch(Path(self.args.floor).resolve(), *ORIGIN, output=self.work / "floor.out")
        program = Program("floor", process, "tapkeysBenchFloor")
        if wait:
            self._wait_for_window(program)
        return program

    def start_tapkeys(self, safe_mode=False, wait=True):
        self._folders += 1
        setup = keyboard_setup(safe_mode, getattr(self.args, "follow_layout", False),
                               getattr(self.args, "scan_time", 0), getattr(self.args, "prediction", False),
                               getattr(self.args, "set", None) or ())
        folder = setup.make_folder(self.work / f"app{self._folders}", Path(self.args.exe))
        keyboard = Keyboard(self.desktop, self.layout, folder, ORIGIN)
        if wait:
            keyboard.start()
        else:
            keyboard.process = self.desktop.launch(folder / "tapkeys.exe", output=folder / "tapkeys.out")
        return Program("tapkeys safe mode" if safe_mode else "tapkeys", keyboard.process, "tapkeysKeyboard",
                       keyboard)

    def start_xvkbd(self, wait=True):
        geometry = f"{SIZE[0]}x{SIZE[1]}+{ORIGIN[0]}+{ORIGIN[1]}"
        process = subprocess.Popen(["xvkbd", "-geometry", geometry], env=self.desktop.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   stdin=subprocess.DEVNULL)
        program = Program("xvkbd", process)
        if wait:
            time.sleep(2)
        return program

    def _wait_for_window(self, program, timeout=20):
        if not wait_for(lambda: not program.alive() or self.gui_objects(program, quiet=True), timeout, 0.1):
            raise CaseFailure(f"{program.name} did not open its window")

    # Figures

    def gui_objects(self, program, quiet=False):
        """{"gdi": ..., "user": ...} of a Wine program, from bench_gui_objects."""
        try:
            text = self.desktop.run(Path(self.args.gui_objects).resolve(), program.window_class, timeout=60)
        except subprocess.CalledProcessError:
            if quiet:
                return None
            raise
        import json
        return json.loads(text)

    def wineserver_pid(self):
        """The wineserver of this desktop's prefix (other prefixes have their own)."""
        prefix = self.desktop.env["WINEPREFIX"].encode()
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                if not (entry / "comm").read_text().startswith("wineserver"):
                    continue
                environ = (entry / "environ").read_bytes().split(b"\0")
            except OSError:
                continue
            if b"WINEPREFIX=" + prefix in environ:
                return int(entry.name)
        return None
