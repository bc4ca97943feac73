"""The keyboard window's layout in pixels, as tools/layout_points prints it from the program's own table.

Nothing here repeats a coordinate: every point a test clicks or inspects is derived from that output.
"""

import json
import subprocess
from dataclasses import dataclass


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


@dataclass(frozen=True)
class Label:
    control: str
    index: int
    part: str
    rect: Rect
    font: str
    caption: str

    @property
    def shows_caption(self):
        return self.font != "None"

    @property
    def is_outlined_frame(self):
        """The frames the background image outlines (Enter's lower frame is part of its upper one's)."""
        return self.part == "Frame"


class Layout:
    def __init__(self, document):
        self.dpi = document["dpi"]
        self.width = document["window"]["width"]
        self.height = document["window"]["height"]
        self.logo = Rect(**document["logo"])
        self.labels = [Label(entry["control"], entry["index"], entry["part"],
                             Rect(entry["left"], entry["top"], entry["width"], entry["height"]),
                             entry["font"], entry["caption"]) for entry in document["labels"]]
        self._by_name = {(label.control, label.index): label for label in self.labels}

    @classmethod
    def from_tool(cls, tool, dpi, desktop):
        """Runs the layout tool: natively, or under the desktop's Wine when it is a Windows program."""
        if str(tool).lower().endswith(".exe"):
            text = desktop.run(tool, dpi)
        else:
            text = subprocess.run([str(tool), str(dpi)], capture_output=True, text=True, check=True).stdout
        return cls(json.loads(text))

    def label(self, control, index=0):
        return self._by_name[(control, index)]

    def hit(self, x, y):
        """What a press at window pixel (x, y) reaches: a Label, "logo" or None for the background."""
        for label in self.labels:
            if label.rect.contains(x, y):
                return label
        return "logo" if self.logo.contains(x, y) else None

    def point_on(self, control, index=0):
        """A window pixel where a press reaches this label: its centre when nothing covers it, otherwise
        the uncovered pixel nearest to the centre."""
        label = self.label(control, index)
        cx, cy = label.rect.centre
        r = label.rect
        candidates = sorted(((x, y) for y in range(r.top, r.top + r.height)
                             for x in range(r.left, r.left + r.width)),
                            key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
        for point in candidates:
            if self.hit(*point) is label:
                return point
        raise LookupError(f"{control}({index}) is covered everywhere")

    def background_point_in_top_band(self):
        """A point of the bare background above the keys: between the logo and the leftmost button,
        halfway down to the first row of frames."""
        top_of_keys = min(label.rect.top for label in self.labels if label.control == "KeyBG")
        buttons_left = min(label.rect.left for label in self.labels if label.control in ("Options", "Close"))
        x = (self.logo.left + self.logo.width + buttons_left) // 2
        y = top_of_keys // 2
        if self.hit(x, y) is not None:
            raise LookupError(f"({x}, {y}) is not bare background")
        return (x, y)

    def seam(self, upper, lower):
        """A pixel that two labels share and where the press goes to `upper`, e.g. the column where the
        close button's frame overlaps the options button's; None when there is no such pixel."""
        a, b = self.label(*upper), self.label(*lower)
        for y in range(a.rect.top, a.rect.top + a.rect.height):
            for x in range(a.rect.left, a.rect.left + a.rect.width):
                if b.rect.contains(x, y) and self.hit(x, y) is a:
                    return (x, y)
        return None

    def character_keys(self):
        return [self.label("Key", i) for i in range(sum(1 for lb in self.labels if lb.control == "Key"))]
