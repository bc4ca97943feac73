"""The end-to-end harness: a private Wine virtual desktop the size of its own Xvfb display (so a screen
pixel is a Windows pixel), the layout as tools/layout_points prints it, tapkeys.exe in an app folder,
the target window's log and win_probe's view of dialogs."""

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
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")  # drive Z: is the Unix root in every prefix


class WineDesktop:
    def __init__(self, state, size=(1024, 768), dpi=96, xkb=None):
        self.state, self.size, self.dpi, self.xkb, self.env = Path(state).resolve(), size, dpi, xkb, None

    def start(self):
        """Starts the display (with the X keyboard layout xkb, which Wine takes over as it starts) and Wine."""
        self._script("start", f"{self.size[0]}x{self.size[1]}", str(self.dpi), timeout=600)
        exports = shlex.split(self._script("env").stdout)
        self.env = dict(os.environ, **dict(w.split("=", 1) for w in exports if "=" in w))

    def stop(self):
        """Stops wineserver and the display; returns what went wrong, or "" when nothing did."""
        return self._script("stop", check=False).stderr

    def _script(self, command, *args, timeout=60, check=True):
        # The script also sets the locale Wine needs to recognise the layout.
        return subprocess.run([str(ROOT / "cmake" / "wine-env.sh"), command, str(self.state), *args],
                              check=check, capture_output=True, text=True, timeout=timeout,
                              env=dict(os.environ, TAPKEYS_XKB=self.xkb) if self.xkb else None)

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

    def screenshot(self):
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, check=True, timeout=30).stdout
        width, height = map(int, ppm.split(maxsplit=3)[1:3])  # "P6 W H 255", then the pixels
        return Screenshot(width, height, ppm[len(ppm) - width * height * 3:])

    def save_picture(self, path, rect=None):
        crop = ["-crop", f"{rect.width}x{rect.height}+{rect.left}+{rect.top}", "+repage"] if rect else []
        subprocess.run(["import", "-window", "root", *crop, str(path)], env=self.env, check=False, timeout=30)


@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    width: int
    height: int

    def contains(self, x, y):
        return self.left <= x < self.left + self.width and self.top <= y < self.top + self.height

    def pixels(self):
        return [(x, y) for y in range(self.top, self.top + self.height)
                for x in range(self.left, self.left + self.width)]

    @property
    def centre(self):
        return (self.left + self.width // 2, self.top + self.height // 2)


@dataclass(frozen=True)
class Screenshot:
    width: int
    height: int
    rgb: bytes

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3]) if 0 <= x < self.width and 0 <= y < self.height else (0, 0, 0)

    def count(self, rect, predicate, origin=(0, 0)):
        """How many pixels of rect, moved by origin, satisfy predicate(rgb)."""
        return sum(predicate(self.pixel(origin[0] + x, origin[1] + y)) for x, y in rect.pixels())


def is_outline(rgb):
    """The light blue-grey of the key outlines (about 185-212, 200-224, 220-242)."""
    r, g, b = rgb
    return r >= 140 and g >= 150 and b >= 170 and b >= r


def is_red(rgb):
    """Caption pixels in FONTCOLOR 255 (pure red), anti-aliased edges included."""
    r, g, b = rgb
    return r >= 128 and g <= r // 3 and b <= r // 3


class Label(NamedTuple):
    control: str
    index: int
    part: str  # Caption, Frame (the outlined ones), FrameExtension or TouchArea
    rect: Rect
    font: str  # "None" for labels that never show a caption


class Layout:
    def __init__(self, document):
        self.dpi, self.width, self.height = document["dpi"], document["window"]["width"], document["window"]["height"]
        self.logo = Rect(**document["logo"])
        self.labels = [Label(e["control"], e["index"], e["part"],
                             Rect(e["left"], e["top"], e["width"], e["height"]), e["font"])
                       for e in document["labels"]]
        # The suggestion strip's cells: below the keys, where the window shows them with prediction on.
        self.labels += [Label("Suggestion", i, "Caption", Rect(**cell), "None")
                        for i, cell in enumerate(document["suggestions"])]
        self.height_with_strip = document["windowWithStrip"]["height"]

    @classmethod
    def from_tool(cls, tool, dpi, desktop, size="100"):
        """The layout at the desktop's density and the keyboard's size (KEYBOARDSIZE, per cent)."""
        return cls(json.loads(desktop.run(tool, dpi, size)))

    def label(self, control, index=0):
        return next(label for label in self.labels if (label.control, label.index) == (control, index))

    def hit(self, x, y):
        """What a press at window pixel (x, y) reaches: the uppermost label there, or None."""
        return next((label for label in self.labels if label.rect.contains(x, y)), None)

    def point_on(self, control, index=0):
        """The pixel nearest the label's centre where a press reaches the label."""
        label = self.label(control, index)
        (cx, cy) = label.rect.centre
        pixels = sorted(label.rect.pixels(), key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
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
        return next((p for p in a.rect.pixels() if b.rect.contains(*p) and self.hit(*p) is a), None)


def missing_outlines(shot, layout, origin):
    """The outlined frames not on the screen with the window at origin. An outline is there when the
    middles of its left and top lines (three pixels thick, the top one row down) have the outline colour
    and the pixel just past the left line's glow is dark."""
    (ox, oy), missing = origin, []
    for label in (lb for lb in layout.labels if lb.part == "Frame"):
        r = label.rect
        left = shot.pixel(ox + r.left + 1, oy + r.top + r.height // 2)
        top = shot.pixel(ox + r.left + r.width // 2, oy + r.top + 2)
        inside = shot.pixel(ox + r.left + 7, oy + r.top + r.height // 2)
        if not (is_outline(left) and is_outline(top) and 2 * sum(inside) <= sum(left)):
            missing.append(label)
    return missing


def ini_bytes(sections):
    """sections: {section: {key: value}} in file order."""
    lines = [line for section, entries in sections.items()
             for line in [f"[{section}]", *(f"{key}={value}" for key, value in entries.items())]]
    return ("\r\n".join(lines) + "\r\n").encode(ANSI)


def ini_entries(lines):
    """The (section, key, value) triples of INI lines in order."""
    entries, section = [], None
    for line in map(str.strip, lines):
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line and not line.startswith(";"):
            entries.append((section, *line.split("=", 1)))
    return entries


def read_ini(path):
    data = Path(path).read_bytes()  # tapkeys.ini turns UTF-16 when it holds a character beyond ANSI
    return ini_entries(data.decode("utf-16" if data.startswith(b"\xff\xfe") else ANSI).splitlines())


@dataclass(frozen=True)
class Setup:
    """An app folder: the host's language choice (dax.ini), its language files, tapkeys.ini (any
    sections, written before the start) and raw files; the keyboard is looked for at origin, else at
    WINDOWX / WINDOWY of the settings, else centred."""
    name: str
    host_language: str | None = None
    languages: dict = field(default_factory=dict)  # code -> (KEYMAP_NORMAL, KEYMAP_SHIFT)
    settings: dict | None = None
    files: dict = field(default_factory=dict)  # path in the folder -> bytes
    origin: tuple | None = None
    linked: bool = False  # tapkeys.ini a symbolic link to real/tapkeys.ini

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
        if self.linked:
            (root / "real").mkdir()
            (root / "tapkeys.ini").symlink_to("real/tapkeys.ini")
            files["real/tapkeys.ini"] = files.pop("tapkeys.ini")
        for name, data in {**files, **self.files}.items():
            (root / name).write_bytes(data)
        return root

    def place(self, layout, screen):
        misc = (self.settings or {}).get("misc", {})
        placed = "WINDOWX" in misc and (int(misc["WINDOWX"]), int(misc["WINDOWY"]))
        return self.origin or placed or ((screen[0] - layout.width) // 2, (screen[1] - layout.height) // 2)


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
        self.desktop, self.exe, self.log_path, self.workdir = desktop, exe, workdir / "target.log", workdir
        self.process, self.strip_point, self._events, self._read_up_to = None, None, [], 0

    def start(self, timeout=20):
        self.log_path.unlink(missing_ok=True)
        self._events, self._read_up_to = [], 0
        self.process = self.desktop.launch(self.exe, windows_path(self.log_path), output=self.workdir / "target.out")
        ready = wait_for(lambda: self.since(0, "READY") or self.process.poll() is not None, timeout)
        check(isinstance(ready, list), f"the target did not start (exit code {self.process.poll()})")
        self.strip_point = tuple(map(int, ready[0].fields))

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        end(self.process)

    def events(self):
        """Every event so far; the log is read on from where the last call stopped."""
        if self.log_path.exists():
            with open(self.log_path, "rb") as log:
                log.seek(self._read_up_to)
                data = log.read()
            complete = data.rfind(b"\n") + 1  # a line still being written waits for the next call
            for words in map(str.split, data[:complete].decode("ascii", "replace").splitlines()):
                self._events.append(Event(int(words[0]), words[1], tuple(words[2:])))
            self._read_up_to += complete
        return self._events

    def mark(self):
        """A position in the log; since() and chars_since() look only at what came after it."""
        return len(self.events())

    def since(self, mark, kind=None):
        return [e for e in self.events()[mark:] if kind in (None, e.kind)]

    def text(self):
        """The edit control's whole text as it last changed (four hex digits a UTF-16 code unit)."""
        changes = self.since(0, "TEXT")
        return bytes.fromhex("".join(changes[-1].fields) if changes else "").decode("utf-16-be", "surrogatepass")

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
        self.settings_path, self.process, self._last_press = self.folder / "tapkeys.ini", None, (None, 0.0)

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

    def at(self, x, y):
        return (self.origin[0] + x, self.origin[1] + y)

    def point(self, control, index=0):
        return self.at(*self.layout.point_on(control, index))

    def press(self, control, index=0, *xdotool_actions):
        """Moves to the label and runs the xdotool actions there (default: a left click). A press at the
        spot of the last one first waits until it cannot complete a double click with it."""
        point = self.point(control, index)
        last_point, last_time = self._last_press
        if last_point == point:
            time.sleep(max(0.0, last_time + SINGLE_TAP_GAP_S - time.monotonic()))
        self.desktop.xdotool("mousemove", *point, *(xdotool_actions or ("click", LEFT)))
        self._last_press = (point, time.monotonic())

    def drag(self, delta, button=LEFT, steps=12):
        """Drags the window by its top band in steps (Wine's move loop follows motion events); with the
        left button it should follow to origin + delta."""
        start = self.at(*self.layout.top_band_point())
        moves = [w for i in range(1, steps + 1) for w in
                 ("mousemove", start[0] + delta[0] * i // steps, start[1] + delta[1] * i // steps, "sleep", 0.02)]
        self.desktop.xdotool("mousemove", *start, "mousedown", button, "sleep", 0.1, *moves, "sleep", 0.1,
                             "mouseup", button)
        if button == LEFT:
            self.origin = self.at(*delta)

    def close(self, at=None, timeout=10):
        """Presses the close button (or the window pixel `at`); the program must end with exit code 0."""
        if at is None:
            self.press("Close")
        else:
            self.desktop.click(self.at(*at))
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
        rect = lambda edges: Rect(edges[0], edges[1], edges[2] - edges[0], edges[3] - edges[1])  # noqa: E731
        if answer is not None:
            answer["rect"] = rect(answer["rect"])
            answer["controls"] = {c["id"]: dict(c, rect=rect(c["rect"])) for c in answer["controls"]}
        return answer
