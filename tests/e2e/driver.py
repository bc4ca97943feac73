"""The end-to-end harness: a private Wine virtual desktop on an Xvfb display of its own, the keyboard's
layout as tools/layout_points prints it, tapkeys.exe in an app folder, the target window's log and
win_probe's view of dialogs. Every point clicked comes from the layout or the probe.

Every Wine program opens inside one virtual desktop the size of the display, so a screen pixel is a
Windows pixel, and Wine's windows are found where the test put them, not as X windows.
"""

import json
import os
import re
import shlex
import shutil
import subprocess
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path
from typing import NamedTuple

ROOT = Path(__file__).resolve().parents[2]
LEFT, MIDDLE, RIGHT = 1, 2, 3  # X button numbers
VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT = 0x08, 0x09, 0x0D, 0x1B, 0x25, 0x27
ANSI = "cp1252"  # every INI file is written as Windows tools write them: ANSI bytes with CRLF
# The keyboard looks for a new foreground window every 100 ms; this leaves it a tick and a half.
FOREGROUND_SETTLE_S = 0.25
# Two presses at one spot within Windows' double-click time (500 ms) make a double click; single taps on
# the same key are spaced wider than that.
SINGLE_TAP_GAP_S = 0.6


class CaseFailure(AssertionError):
    """A check of a case did not hold."""


def wait_for(predicate, timeout=3.0, interval=0.02):
    """Polls predicate until it returns something true; returns that, or the last result at the deadline."""
    deadline = time.monotonic() + timeout
    while not (result := predicate()) and time.monotonic() < deadline:
        time.sleep(interval)
    return result


def check(condition, message):
    if not condition:
        raise CaseFailure(message)


def check_equal(actual, expected, what):
    check(actual == expected, f"{what}: expected {expected!r}, got {actual!r}")


def end(process):
    if process is not None and process.poll() is None:
        process.kill()
        process.wait(timeout=10)


def windows_path(path):
    """Drive Z: is the Unix root in every prefix."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


# The desktop

class WineDesktop:
    def __init__(self, state, size=(1024, 768), dpi=96):
        self.state, self.size, self.dpi = Path(state).resolve(), size, dpi
        self.env, self.xkb = None, "us"

    def start(self, xkb=None):
        self._script("start", f"{self.size[0]}x{self.size[1]}", str(self.dpi), timeout=600, xkb=xkb)
        self.env = dict(os.environ, WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.env.update(w.split("=", 1) for w in shlex.split(self._script("env").stdout) if "=" in w)

    def set_xkb(self, layout):
        """Gives the display another X keyboard layout. Each Wine process reads the layout as it starts,
        so Wine is stopped first and booted again; the display stays."""
        if layout == self.xkb:
            return
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)
        self.start(xkb=layout)  # the script sets the layout and the locale Wine needs to recognise it
        self.xkb = layout

    def stop(self):
        """Stops wineserver and the display; returns what went wrong, or "" when nothing did."""
        return self._script("stop", check=False).stderr

    def _script(self, command, *args, timeout=60, check=True, xkb=None):
        return subprocess.run([str(ROOT / "cmake" / "wine-env.sh"), command, str(self.state), *args],
                              check=check, capture_output=True, text=True, timeout=timeout,
                              env=dict(os.environ, TAPKEYS_XKB=xkb) if xkb else None)

    def launch(self, exe, *args, output=None):
        """Starts a Windows program; the Popen is the Windows process itself (wine execs into it)."""
        with open(output or os.devnull, "wb") as out:
            return subprocess.Popen(["wine", str(exe), *map(str, args)], env=self.env, stdout=out,
                                    stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def run(self, exe, *args, timeout=60):
        """Runs a console program to its end and returns its output. The output goes through a file:
        Wine's helper processes inherit a pipe and would hold it open."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", str(exe), *map(str, args)], env=self.env, stdout=out,
                           stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout, check=True)
            out.seek(0)
            return out.read().decode("utf-8", "replace")

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=30)

    def click(self, point, button=LEFT):
        self.xdotool("mousemove", *point, "click", button)

    def drag(self, start, end, button=LEFT, steps=12):
        """Presses at start, moves in steps (Wine's move loop follows motion events) and releases at end."""
        moves = [w for i in range(1, steps + 1) for w in ("mousemove", *(a + (b - a) * i // steps for a, b in
                                                                           zip(start, end)), "sleep", 0.02)]
        self.xdotool("mousemove", *start, "mousedown", button, "sleep", 0.1, *moves, "sleep", 0.1,
                     "mouseup", button)

    def release_modifiers(self):
        """Ends a Shift or Ctrl that synthetic input left pressed (a key string cut off halfway). X drops
        the release of a key it does not see pressed, so each is pressed and released."""
        keys = ("Shift_L", "Shift_R", "Control_L", "Control_R")
        self.xdotool(*(word for key in keys for word in ("keydown", key, "keyup", key)))

    def screenshot(self, save_png=None):
        """The whole display; with save_png also written there for a person to look at."""
        if save_png:
            self.save_picture(save_png)
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, check=True, timeout=30).stdout
        width, height = map(int, ppm.split(maxsplit=3)[1:3])  # "P6 W H 255", then the pixels
        return Screenshot(width, height, ppm[len(ppm) - width * height * 3:])

    def save_picture(self, path, rect=None):
        crop = ["-crop", f"{rect.width}x{rect.height}+{rect.left}+{rect.top}", "+repage"] if rect else []
        subprocess.run(["import", "-window", "root", *crop, str(path)], env=self.env, check=False, timeout=30)


@dataclass(frozen=True)
class Screenshot:
    width: int
    height: int
    rgb: bytes

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (0, 0, 0)
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, rect, predicate, origin=(0, 0)):
        """How many pixels of rect, moved by origin, satisfy predicate(rgb)."""
        left, top = origin[0] + rect.left, origin[1] + rect.top
        return sum(predicate(self.pixel(x, y)) for y in range(top, top + rect.height)
                   for x in range(left, left + rect.width))


def is_outline(rgb):
    """The light blue-grey of the key outlines (about 185-212, 200-224, 220-242)."""
    r, g, b = rgb
    return r >= 140 and g >= 150 and b >= 170 and b >= r


def is_red(rgb):
    """Caption pixels in FONTCOLOR 255 (pure red), anti-aliased edges included."""
    r, g, b = rgb
    return r >= 128 and g <= r // 3 and b <= r // 3


# The layout

@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    width: int
    height: int

    def contains(self, x, y):
        return self.left <= x < self.left + self.width and self.top <= y < self.top + self.height

    @property
    def centre(self):
        return (self.left + self.width // 2, self.top + self.height // 2)


class Label(NamedTuple):
    control: str
    index: int
    part: str  # Caption, Frame, FrameExtension or TouchArea
    rect: Rect
    font: str  # "None" for labels that never show a caption

    @property
    def is_outlined_frame(self):
        """The frames the background image outlines (Enter's lower frame is part of its upper one's)."""
        return self.part == "Frame"


class Layout:
    def __init__(self, document):
        self.dpi, window = document["dpi"], document["window"]
        self.width, self.height = window["width"], window["height"]
        self.logo = Rect(**document["logo"])
        self.labels = [Label(e["control"], e["index"], e["part"],
                             Rect(e["left"], e["top"], e["width"], e["height"]), e["font"])
                       for e in document["labels"]]

    @classmethod
    def from_tool(cls, tool, dpi, desktop):
        return cls(json.loads(desktop.run(tool, dpi)))

    def label(self, control, index=0):
        return next(label for label in self.labels if (label.control, label.index) == (control, index))

    def hit(self, x, y):
        """What a press at window pixel (x, y) reaches: the uppermost label there, or None."""
        return next((label for label in self.labels if label.rect.contains(x, y)), None)

    def point_on(self, control, index=0):
        """The pixel nearest the label's centre where a press reaches the label."""
        label = self.label(control, index)
        (cx, cy), r = label.rect.centre, label.rect
        pixels = sorted(((x, y) for y in range(r.top, r.top + r.height) for x in range(r.left, r.left + r.width)),
                        key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
        return next(p for p in pixels if self.hit(*p) is label)

    def top_band_point(self):
        """Bare background above the keys, between the logo and the leftmost button."""
        top_of_keys = min(label.rect.top for label in self.labels if label.control == "KeyBG")
        buttons_left = min(label.rect.left for label in self.labels if label.control in ("Options", "Close"))
        point = ((self.logo.left + self.logo.width + buttons_left) // 2, top_of_keys // 2)
        check(self.hit(*point) is None and not self.logo.contains(*point), f"{point} is not bare background")
        return point

    def seam(self, upper, lower):
        """A pixel two labels share where a press goes to `upper`."""
        a, b = self.label(*upper), self.label(*lower)
        return next(((x, y) for y in range(a.rect.top, a.rect.top + a.rect.height)
                     for x in range(a.rect.left, a.rect.left + a.rect.width)
                     if b.rect.contains(x, y) and self.hit(x, y) is a), None)

    def character_keys(self):
        return [label for label in self.labels if label.control == "Key"]

    def centred(self, screen):
        """Where the keyboard opens without a settings file."""
        return ((screen[0] - self.width) // 2, (screen[1] - self.height) // 2)


def missing_outlines(shot, layout, origin):
    """The outlined frames not on the screen with the window at origin. An outline is there when the
    middles of its left and top lines (three pixels thick, the top one row down) have the outline colour
    and the pixel just past the left line's glow is dark."""
    (ox, oy), missing = origin, []
    for label in filter(lambda lb: lb.is_outlined_frame, layout.labels):
        r = label.rect
        left = shot.pixel(ox + r.left + 1, oy + r.top + r.height // 2)
        top = shot.pixel(ox + r.left + r.width // 2, oy + r.top + 2)
        inside = shot.pixel(ox + r.left + 7, oy + r.top + r.height // 2)
        if not (is_outline(left) and is_outline(top) and 2 * sum(inside) <= sum(left)):
            missing.append(label)
    return missing


# Files

def ini_bytes(sections):
    """sections: {section: {key: value}} in file order."""
    lines = [line for section, entries in sections.items()
             for line in [f"[{section}]", *(f"{key}={value}" for key, value in entries.items())]]
    return ("\r\n".join(lines) + "\r\n").encode(ANSI)


def read_ini(path):
    """The (section, key, value) triples of an INI file in file order."""
    entries, section = [], None
    data = Path(path).read_bytes()  # tapkeys.ini turns UTF-16 when it holds a character beyond ANSI
    for line in map(str.strip, data.decode("utf-16" if data.startswith(b"\xff\xfe") else ANSI).splitlines()):
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line and not line.startswith(";"):
            entries.append((section, *line.split("=", 1)))
    return entries


@dataclass(frozen=True)
class Setup:
    """An app folder: the host's language choice (dax.ini), its language files, tapkeys.ini (any
    sections, written before the start) and raw files; the keyboard is looked for at origin, else at
    WINDOWX / WINDOWY of the settings, else centred. xkb: the X keyboard layout the case runs under."""
    name: str
    host_language: str | None = None
    languages: dict = field(default_factory=dict)  # code -> (KEYMAP_NORMAL, KEYMAP_SHIFT)
    settings: dict | None = None
    files: dict = field(default_factory=dict)  # path in the folder -> bytes
    origin: tuple | None = None
    xkb: str | None = None

    def make_folder(self, root, exe):
        shutil.rmtree(root, ignore_errors=True)
        (root / "lang").mkdir(parents=True)
        shutil.copyfile(exe, root / "tapkeys.exe")
        files = {f"lang/{code}.ini": ini_bytes({"osk": {"KEYMAP_NORMAL": n, "KEYMAP_SHIFT": s}})
                 for code, (n, s) in self.languages.items()}
        if self.host_language is not None:
            files["dax.ini"] = ini_bytes({"general": {"USEDLANGUAGE": self.host_language}})
        if self.settings is not None:
            files["tapkeys.ini"] = ini_bytes(self.settings)
        for name, data in {**files, **self.files}.items():
            (root / name).write_bytes(data)
        return root

    def place(self, layout, screen):
        misc = (self.settings or {}).get("misc", {})
        placed = "WINDOWX" in misc and (int(misc["WINDOWX"]), int(misc["WINDOWY"]))
        return self.origin or placed or layout.centred(screen)


# The programs

class Event(NamedTuple):
    time_us: int
    kind: str
    fields: tuple

    @property
    def vk(self):
        return int(self.fields[0], 16)

    @property
    def char(self):
        return chr(self.vk)


class Target:
    """tapkeys_e2e_target.exe and its log: one line per event, "<us> KIND fields..." (see target_app.cpp)."""

    def __init__(self, desktop, exe, workdir):
        self.desktop, self.exe = desktop, exe
        self.log_path, self.output = workdir / "target.log", workdir / "target.out"
        self.process, self.strip_point, self._events, self._read_up_to = None, None, [], 0

    def start(self, timeout=20):
        self.log_path.unlink(missing_ok=True)
        self._events, self._read_up_to = [], 0
        # Opens clear of the keyboard's centred place and of the places the cases move it to.
        self.process = self.desktop.launch(self.exe, windows_path(self.log_path), output=self.output)
        ready = wait_for(lambda: self.since(0, "READY") or self.process.poll() is not None, timeout)
        check(isinstance(ready, list), f"the target did not start (exit code {self.process.poll()})")
        self.strip_point = (int(ready[0].fields[1]), int(ready[0].fields[2]))

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        end(self.process)

    def events(self):
        """Every event so far; the log is read on from where the last call stopped."""
        try:
            with open(self.log_path, "rb") as log:
                log.seek(self._read_up_to)
                data = log.read()
        except FileNotFoundError:
            return self._events
        complete = data.rfind(b"\n") + 1  # a line still being written waits for the next call
        for words in map(str.split, data[:complete].decode("ascii", "replace").splitlines()):
            if len(words) >= 2:
                self._events.append(Event(int(words[0]), words[1], tuple(words[2:])))
        self._read_up_to += complete
        return self._events

    def mark(self):
        """A position in the log; the *_since readers look only at what came after it."""
        return len(self.events())

    def since(self, mark, kind=None):
        return [e for e in self.events()[mark:] if kind in (None, e.kind)]

    def text(self):
        """The edit control's whole text as it last changed."""
        changes = self.since(0, "TEXT")
        units = changes[-1].fields[0] if changes and changes[-1].fields else ""
        return bytes.fromhex(units).decode("utf-16-be", "surrogatepass")  # four hex digits a code unit

    def chars_since(self, mark):
        return "".join(e.char for e in self.since(mark, "CHAR"))

    def activate(self):
        """Makes the target the foreground window, the caret left where it was, and gives the keyboard
        time to notice."""
        self.desktop.click(self.strip_point)
        time.sleep(FOREGROUND_SETTLE_S)

    def wait_for_text(self, expected, timeout=3.0):
        return wait_for(lambda: self.text() == expected, timeout)


class Keyboard:
    """tapkeys.exe started from an app folder, found on the screen by its outlines and pressed at the
    layout's pixels."""

    def __init__(self, desktop, layout, folder, origin):
        self.desktop, self.layout, self.folder, self.origin = desktop, layout, Path(folder), origin
        self.process, self._last_press = None, (None, 0.0)

    @property
    def settings_path(self):
        return self.folder / "tapkeys.ini"

    def start(self, timeout=20):
        """Starts tapkeys.exe and waits until its window shows its outlines at origin."""
        self.process = self.desktop.launch(self.folder / "tapkeys.exe", output=self.folder / "tapkeys.out")
        shown = wait_for(lambda: self.process.poll() is not None or self.shown_at(self.origin), timeout, 0.1)
        check(self.process.poll() is None, f"tapkeys.exe ended at start, exit code {self.process.returncode}")
        check(shown, f"the keyboard is not shown at {self.origin}")

    def shown_at(self, origin):
        return not missing_outlines(self.desktop.screenshot(), self.layout, origin)

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def point(self, control, index=0):
        x, y = self.layout.point_on(control, index)
        return (self.origin[0] + x, self.origin[1] + y)

    def press(self, control, index=0, *xdotool_actions):
        """Moves to the label and runs the xdotool actions there (default: a left click). A press at the
        spot of the last one first waits until it cannot complete a double click with it."""
        point = self.point(control, index)
        last_point, last_time = self._last_press
        if last_point == point:
            time.sleep(max(0.0, last_time + SINGLE_TAP_GAP_S - time.monotonic()))
        self.desktop.xdotool("mousemove", *point, *(xdotool_actions or ("click", LEFT)))
        self._last_press = (point, time.monotonic())

    def drag_background(self, delta, button=LEFT):
        """Drags the window by its top band; with the left button it should follow to origin + delta."""
        x, y = self.layout.top_band_point()
        start = (self.origin[0] + x, self.origin[1] + y)
        self.desktop.drag(start, (start[0] + delta[0], start[1] + delta[1]), button)
        if button == LEFT:
            self.origin = (self.origin[0] + delta[0], self.origin[1] + delta[1])

    def close(self, at=None, timeout=10):
        """Presses the close button (or the window pixel `at`); the program must end with exit code 0."""
        if at is None:
            self.press("Close")
        else:
            self.desktop.click((self.origin[0] + at[0], self.origin[1] + at[1]))
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired as error:
            raise CaseFailure(f"tapkeys.exe did not end after a press at {at or 'Close(0)'}") from error
        check_equal(self.process.returncode, 0, "tapkeys.exe's exit code")

    def kill(self):
        end(self.process)
        time.sleep(0.1)  # for Wine to take the window off the screen


def resource_ids(header):
    """The numeric #defines of a resource header, such as options/options_ids.h, by name."""
    found = re.findall(r"^\s*#define\s+(\w+)\s+(\d+)\s*$", Path(header).read_text(), re.MULTILINE)
    return {"IDOK": 1, "IDCANCEL": 2, **{name: int(value) for name, value in found}}


def screen_rect(edges):
    return Rect(edges[0], edges[1], edges[2] - edges[0], edges[3] - edges[1])


class Probe:
    """Windows of other processes as tapkeys_e2e_win_probe.exe reports them (see win_probe.cpp)."""

    def __init__(self, desktop, exe):
        self.desktop, self.exe = desktop, exe

    def ask(self, command, name, wait_s=0.0):
        """command "dialog" (by caption), "closed" (the same once gone) or "window" (by class): the
        window's fields, its rectangle and its controls' (by id) as Rects, or None when there is none."""
        try:
            answer = json.loads(self.desktop.run(self.exe, command, name, int(wait_s * 1000)))
        except (subprocess.SubprocessError, ValueError) as error:
            raise CaseFailure(f"win_probe {command} {name}: {error}") from error
        if answer is not None:
            answer["rect"] = screen_rect(answer["rect"])
            answer["controls"] = {c["id"]: dict(c, rect=screen_rect(c["rect"])) for c in answer["controls"]}
        return answer
