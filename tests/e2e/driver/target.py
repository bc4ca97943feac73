"""The target window (tapkeys_e2e_target.exe) and what its log says it received."""

import time
from dataclasses import dataclass

from .waiting import CaseFailure, wait_for
from .wine_desktop import windows_path

# Clear of the keyboard's centred place on a 1024 x 768 screen (196, 275 to 828, 492) and of the places
# the cases move it to, all of which lie above y = 500.
DEFAULT_PLACE = (10, 500, 600, 230)  # left, top, width, height

# The keyboard looks for a new foreground window every 100 ms; this leaves it a tick and a half.
FOREGROUND_SETTLE_S = 0.25

VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT = 0x08, 0x09, 0x0D, 0x1B, 0x25, 0x27


@dataclass(frozen=True)
class Event:
    time_us: int
    kind: str
    fields: tuple

    @property
    def vk(self):
        return int(self.fields[0], 16)

    @property
    def char(self):
        return chr(int(self.fields[0], 16))


def decode_units(hex_units):
    data = bytes.fromhex(hex_units)
    return b"".join(data[i:i + 2][::-1] for i in range(0, len(data), 2)).decode("utf-16-le", "surrogatepass")


class Target:
    def __init__(self, desktop, exe, workdir, place=DEFAULT_PLACE):
        self.desktop = desktop
        self.exe = exe
        self.log_path = workdir / "target.log"
        self.output = workdir / "target.out"
        self.place = place
        self.process = None
        self.strip_point = None
        self._events = []
        self._read_up_to = 0

    def start(self, timeout=20):
        self.log_path.unlink(missing_ok=True)
        self._events = []
        self._read_up_to = 0
        self.process = self.desktop.launch(self.exe, windows_path(self.log_path), *self.place,
                                           output=self.output)
        ready = wait_for(lambda: self._first("READY") or self.process.poll() is not None, timeout)
        event = self._first("READY")
        if not isinstance(ready, Event) and event is None:
            raise CaseFailure(f"the target did not start (exit code {self.process.poll()})")
        self.strip_point = (int(event.fields[1]), int(event.fields[2]))

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        if self.alive():
            self.process.kill()
            self.process.wait(timeout=10)

    # Reading the log

    def events(self):
        """Every event so far; the log is read on from where the last call stopped."""
        try:
            with open(self.log_path, "rb") as log:
                log.seek(self._read_up_to)
                data = log.read()
        except FileNotFoundError:
            return self._events
        complete = data.rfind(b"\n") + 1  # a line still being written waits for the next call
        for line in data[:complete].decode("ascii", "replace").splitlines():
            words = line.split()
            if len(words) >= 2:
                self._events.append(Event(int(words[0]), words[1], tuple(words[2:])))
        self._read_up_to += complete
        return self._events

    def _first(self, kind):
        return next((e for e in self.events() if e.kind == kind), None)

    def mark(self):
        """A position in the log; the *_since readers look only at what came after it."""
        return len(self.events())

    def since(self, mark, kind=None):
        return [e for e in self.events()[mark:] if kind is None or e.kind == kind]

    def text(self):
        """The edit control's whole text as it last changed."""
        changes = [e for e in self.events() if e.kind == "TEXT"]
        return decode_units(changes[-1].fields[0]) if changes and changes[-1].fields else ""

    def chars_since(self, mark):
        return "".join(e.char for e in self.since(mark, "CHAR"))

    def keydowns_since(self, mark):
        return [e.vk for e in self.since(mark, "KEYDOWN")]

    def moved_to(self):
        moves = [e for e in self.events() if e.kind == "MOVE"]
        return (int(moves[-1].fields[0]), int(moves[-1].fields[1])) if moves else None

    # Acting

    def activate(self):
        """Makes the target the foreground window with the caret left where it was, and gives the
        keyboard time to notice."""
        self.desktop.click(self.strip_point)
        time.sleep(FOREGROUND_SETTLE_S)

    def wait_for_text(self, expected, timeout=3.0):
        return wait_for(lambda: self.text() == expected, timeout)
