"""Cases, the keyboard set-ups they share, and the loop that runs them.

Cases that name the same Setup share one running keyboard; a keyboard is started afresh, in a new app
folder, when the set-up changes or after a case failed (its state is then unknown). A case marked
CONTINUE takes over whatever the case before it left, running or closed, and fails at once when that
case failed.
"""

import time
import traceback
from dataclasses import dataclass, field

from .app_folder import AppFolder
from .keyboard import Keyboard, centred_origin
from .waiting import CaseFailure

HARNESS, KEYBOARD = "harness", "keyboard"
DPI = "dpi"  # keyboard cases for a desktop at another screen density than 96 dpi
LAYOUT = "layout"  # keyboard cases for a desktop with a German X keyboard layout
CONTINUE = "continue"


@dataclass(frozen=True)
class Setup:
    """An app folder's contents: the host's language choice, its language files and tapkeys.ini."""
    name: str
    host_language: str | None = None           # USEDLANGUAGE in dax.ini; None: no dax.ini
    languages: dict = field(default_factory=dict)  # code -> (KEYMAP_NORMAL, KEYMAP_SHIFT)
    settings: dict | None = None               # tapkeys.ini sections; None: no settings file

    def origin(self, layout, screen_size):
        misc = (self.settings or {}).get("misc", {})
        if "WINDOWX" in misc and "WINDOWY" in misc:
            return (int(misc["WINDOWX"]), int(misc["WINDOWY"]))
        return centred_origin(layout, screen_size)

    def make_folder(self, root, exe):
        folder = AppFolder(root, exe)
        if self.host_language is not None:
            folder.write_host_language(self.host_language)
        for code, (normal, shifted) in self.languages.items():
            folder.write_language_file(code, normal, shifted)
        if self.settings is not None:
            folder.write_settings(self.settings)
        return folder


@dataclass
class Case:
    name: str
    run: object
    kind: str
    setup: object  # a Setup, CONTINUE or None


CASES = []


def case(kind, setup=None):
    def register(function):
        CASES.append(Case(function.__name__, function, kind, setup))
        return function
    return register


class Context:
    """What a case works with: the desktop, the layout, the target and the current keyboard."""

    def __init__(self, desktop, layout, target, exe, workdir):
        self.desktop = desktop
        self.layout = layout
        self.layout_tool = None
        self.probe = None  # a driver.probe.Probe, for the windows the layout does not describe
        self.target = target
        self.exe = exe
        self.workdir = workdir
        self.keyboard = None
        self._folders = 0

    def start_keyboard(self, setup):
        self._folders += 1
        root = self.workdir / f"app{self._folders}-{setup.name}"
        folder = setup.make_folder(root, self.exe)
        return self.launch(folder, setup.origin(self.layout, self.desktop.size))

    def launch(self, folder, origin):
        """Starts tapkeys.exe from folder and waits for it at origin."""
        self.stop_keyboard()
        self.keyboard = Keyboard(self.desktop, self.layout, folder, origin, folder.root / "tapkeys.out")
        self.keyboard.start()
        return self.keyboard

    def stop_keyboard(self):
        if self.keyboard is not None:
            self.keyboard.kill()

    def screenshot(self, name):
        return self.desktop.screenshot(save_png=self.workdir / f"{name}.png")

    def picture(self, name, rect):
        """Saves the part of the screen inside rect (screen pixels) as <name>.png in the work folder."""
        path = self.workdir / f"{name}.png"
        self.desktop.save_picture(path, rect)
        return path


class Runner:
    def __init__(self, context):
        self.context = context
        self.results = []
        self._setup_running = None
        self._setup_failures = {}

    def run(self, cases):
        for entry in cases:
            started = time.monotonic()
            mark = self.context.target.mark() if self.context.target.alive() else 0
            error = self._run_one(entry)
            seconds = time.monotonic() - started
            self.results.append((entry, error))
            outcome = "PASS" if error is None else "FAIL"
            reason = "" if error is None else ": " + error
            print(f"{outcome}  {entry.kind}/{entry.name} ({seconds:.1f} s){reason}", flush=True)
            if error is not None:
                self._diagnose(entry, mark)
                self.context.desktop.release_modifiers()
        passed = sum(1 for _, error in self.results if error is None)
        return passed, len(self.results) - passed

    def _run_one(self, entry):
        ctx = self.context
        try:
            if not ctx.target.alive():
                ctx.target.start()
            self._prepare_keyboard(entry)
            entry.run(ctx)
            return None
        except CaseFailure as failure:
            self._setup_running = None
            return str(failure)
        except Exception:
            self._setup_running = None
            return "error in the driver or case:\n" + traceback.format_exc()

    def _prepare_keyboard(self, entry):
        ctx = self.context
        if entry.setup == CONTINUE:
            predecessor = CASES[CASES.index(entry) - 1]
            if not self.results or self.results[-1][0] is not predecessor:
                raise CaseFailure(f"continues {predecessor.name}, which did not run just before it")
            if self.results[-1][1] is not None:
                raise CaseFailure(f"continues {predecessor.name}, which failed")
            return
        if entry.setup is None:
            return
        if entry.setup.name in self._setup_failures:
            raise CaseFailure(self._setup_failures[entry.setup.name])
        keyboard = ctx.keyboard
        if self._setup_running == entry.setup and keyboard is not None and keyboard.alive():
            return
        self._setup_running = None
        try:
            ctx.start_keyboard(entry.setup)
        except CaseFailure as failure:
            # A keyboard that does not come up will not come up for the next case of the set-up either.
            self._setup_failures[entry.setup.name] = f"keyboard set-up {entry.setup.name!r}: {failure}"
            raise CaseFailure(self._setup_failures[entry.setup.name]) from failure
        self._setup_running = entry.setup

    def _diagnose(self, entry, mark):
        ctx = self.context
        try:
            ctx.screenshot(f"failed-{entry.name}")
        except Exception:
            pass
        tail = [(e.kind, *e.fields) for e in ctx.target.since(mark) if e.kind != "TEXT"][-16:]
        if tail:
            print(f"      last target events: {tail}")
            print(f"      end of the target's text: {ctx.target.text()[-40:]!r}")
