"""A private Wine virtual desktop on an Xvfb display of its own, its pointer and its screen.

Every Wine program opens inside one virtual desktop the size of the display, so Wine's windows are not
X windows of their own: they are found by where the test put them, and a screen pixel is a Windows pixel.
"""

import os
import shlex
import subprocess
import tempfile
import time
from pathlib import Path

from .screen import Screenshot

CMAKE_DIR = Path(__file__).resolve().parents[3] / "cmake"
LEFT, MIDDLE, RIGHT = 1, 2, 3  # X button numbers


def windows_path(path):
    """The Wine path of a Unix path: drive Z: is the Unix root in every prefix."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class WineDesktop:
    def __init__(self, state, size=(1024, 768), dpi=96, xkb=None):
        self.state = Path(state).resolve()
        self.size = size
        self.dpi = dpi
        self.xkb = xkb  # the X keyboard layout, set before Wine starts: Wine reads it once
        self.env = None

    def start(self):
        width, height = self.size
        self._env_script("start", f"{width}x{height}", str(self.dpi), timeout=600)
        exports = self._env_script("env").stdout
        env = dict(os.environ)
        for word in shlex.split(exports):
            if "=" in word:
                name, value = word.split("=", 1)
                env[name] = value
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        self.env = env

    def stop(self):
        """Stops wineserver and the display; returns an error text, or None when all went well."""
        self.env = None
        try:
            self._env_script("stop", timeout=60)
        except subprocess.SubprocessError as error:
            return f"{error}: {getattr(error, 'stderr', '')}"
        return None

    def _env_script(self, *args, timeout=60):
        env = dict(os.environ, TAPKEYS_XKB=self.xkb) if self.xkb else None
        return subprocess.run([str(CMAKE_DIR / "wine-env.sh"), args[0], str(self.state), *args[1:]],
                              check=True, capture_output=True, text=True, timeout=timeout, env=env)

    # Programs

    def launch(self, exe, *args, output=None):
        """Starts a Windows program; the Popen is the Windows process itself (wine execs into it)."""
        out = open(output, "wb") if output else subprocess.DEVNULL
        try:
            return subprocess.Popen(["wine", str(exe), *map(str, args)], env=self.env, stdout=out,
                                    stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        finally:
            if output:
                out.close()

    def run(self, exe, *args, timeout=60):
        """Runs a Windows console program to its end and returns its standard output. The output goes
        through a file: Wine's helper processes inherit a pipe and would hold it open."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", str(exe), *map(str, args)], env=self.env, stdout=out,
                           stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout, check=True)
            out.seek(0)
            return out.read().decode("utf-8", "replace")

    # Pointer

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=30)

    def click(self, point, button=LEFT):
        self.xdotool("mousemove", *point, "click", button)

    def double_click(self, point, button=LEFT, gap_ms=80):
        """Two clicks well inside Windows' double-click time (500 ms) at one spot."""
        self.xdotool("mousemove", *point, "click", "--repeat", 2, "--delay", gap_ms, button)

    def drag(self, start, end, button=LEFT, steps=12, step_s=0.02):
        """Presses at start, moves in steps (Wine's move loop follows motion events) and releases at end."""
        self.xdotool("mousemove", *start, "mousedown", button)
        time.sleep(0.1)
        for step in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * step // steps
            y = start[1] + (end[1] - start[1]) * step // steps
            self.xdotool("mousemove", x, y)
            time.sleep(step_s)
        time.sleep(0.1)
        self.xdotool("mouseup", button)

    def type_keys(self, text):
        """Types through the X keyboard, bypassing tapkeys: used to check the target on its own."""
        self.xdotool("type", "--delay", 30, text)

    def press_keys(self, *keysyms):
        self.xdotool("key", "--delay", 30, *keysyms)

    def release_modifiers(self):
        """Ends a Shift or Ctrl that synthetic input left pressed (a key string cut off halfway), which
        would otherwise turn every later character into another. X drops the release of a key it does
        not see pressed, so each is pressed and released."""
        for key in ("Shift_L", "Shift_R", "Control_L", "Control_R"):
            self.xdotool("keydown", key, "keyup", key)

    # Screen

    def screenshot(self, save_png=None):
        """The whole display; with save_png also written there as a picture for a person to look at."""
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, check=True, timeout=30).stdout
        if save_png:
            subprocess.run(["import", "-window", "root", str(save_png)], env=self.env, check=False,
                           timeout=30)
        return Screenshot.from_ppm(ppm)

    def save_picture(self, path, rect=None):
        """Writes the screen, or its part inside rect, as a picture for a person to look at."""
        crop = [] if rect is None else ["-crop", f"{rect.width}x{rect.height}+{rect.left}+{rect.top}",
                                        "+repage"]
        subprocess.run(["import", "-window", "root", *crop, str(path)], env=self.env, check=False, timeout=30)
