"""Windows of other processes as tapkeys_e2e_win_probe.exe reports them: where a dialog and its controls
lie on the screen, what they hold and whether they take input. The cases click at these places and
read these values; the clicks and the typing themselves stay real pointer and keyboard input."""

import json
import re
import subprocess
from dataclasses import dataclass
from pathlib import Path

from .layout import Rect
from .waiting import CaseFailure

IDOK, IDCANCEL = 1, 2


def resource_ids(header):
    """The numeric #defines of a resource header, such as options/options_ids.h, by name."""
    pattern = re.compile(r"^\s*#define\s+(\w+)\s+(\d+)\s*$")
    lines = Path(header).read_text().splitlines()
    return {m.group(1): int(m.group(2)) for m in map(pattern.match, lines) if m}


def screen_rect(edges):
    left, top, right, bottom = edges
    return Rect(left, top, right - left, bottom - top)


@dataclass(frozen=True)
class Control:
    id: int
    kind: str  # the window class: Button, Edit, ComboBox, Static
    rect: Rect
    text: str
    enabled: bool
    checked: int | None  # check boxes and option buttons only

    @property
    def centre(self):
        return self.rect.centre


@dataclass(frozen=True)
class Window:
    rect: Rect
    active: bool  # the foreground window
    enabled: bool
    focus: int | None  # the id of the control with the keyboard focus
    controls: dict  # id -> Control

    def control(self, control_id):
        if control_id not in self.controls:
            raise CaseFailure(f"the window has no control {control_id}")
        return self.controls[control_id]

    @classmethod
    def from_json(cls, document):
        controls = {c["id"]: Control(c["id"], c["class"], screen_rect(c["rect"]), c["text"], c["enabled"],
                                     c["checked"]) for c in document["controls"]}
        return cls(screen_rect(document["rect"]), document["active"], document["enabled"], document["focus"],
                   controls)


class Probe:
    def __init__(self, desktop, exe):
        self.desktop = desktop
        self.exe = exe

    def _ask(self, *args):
        try:
            answer = json.loads(self.desktop.run(self.exe, *args))
        except (subprocess.SubprocessError, ValueError) as error:
            raise CaseFailure(f"win_probe {' '.join(map(str, args))}: {error}") from error
        return None if answer is None else Window.from_json(answer)

    def dialog(self, title, wait_s=0.0):
        """The dialog captioned title, waiting up to wait_s for it to appear; None when there is none."""
        return self._ask("dialog", title, int(wait_s * 1000))

    def closed(self, title, wait_s=0.0):
        """Waits up to wait_s for the dialog captioned title to go; True when it has gone."""
        return self._ask("closed", title, int(wait_s * 1000)) is None

    def window(self, class_name, wait_s=0.0):
        """A visible top-level window of the class class_name, or None."""
        return self._ask("window", class_name, int(wait_s * 1000))
