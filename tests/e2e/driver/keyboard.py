"""The keyboard under test: tapkeys.exe started from an app folder, found on the screen by its outlines
and pressed at the layout's pixels."""

import time

from .screen import brightness, is_outline
from .waiting import CaseFailure, wait_for
from .wine_desktop import LEFT

# Two presses at one spot within Windows' double-click time (500 ms) make a double click; single taps on
# the same key are spaced wider than that.
SINGLE_TAP_GAP_S = 0.6


def centred_origin(layout, screen_size):
    """Where the keyboard opens without a settings file: (screen - window) / 2 on each axis."""
    return ((screen_size[0] - layout.width) // 2, (screen_size[1] - layout.height) // 2)


def missing_outlines(shot, layout, origin):
    """The outlined frames whose outline is not on the screen with the window at origin. An outline is
    there when the middle of its left and top lines (three pixels thick, the left on the frame's first
    columns, the top one row down) has the outline colour and the pixel just past the left line's glow is
    dark."""
    ox, oy = origin
    missing = []
    for label in layout.labels:
        if not label.is_outlined_frame:
            continue
        r = label.rect
        left_line = shot.pixel(ox + r.left + 1, oy + r.top + r.height // 2)
        top_line = shot.pixel(ox + r.left + r.width // 2, oy + r.top + 2)
        inside = shot.pixel(ox + r.left + 7, oy + r.top + r.height // 2)
        glow_ends = 2 * brightness(inside) <= brightness(left_line)
        if not (is_outline(left_line) and is_outline(top_line) and glow_ends):
            missing.append(label)
    return missing


def locate(shot, layout):
    """Searches the whole screen for the keyboard; the origin found, or None. Slow: for diagnostics."""
    probe = next(label for label in layout.labels if label.is_outlined_frame)
    dx, dy = probe.rect.left + 1, probe.rect.top + probe.rect.height // 2
    for y in range(0, shot.height - layout.height + 1):
        for x in range(0, shot.width - layout.width + 1):
            if is_outline(shot.pixel(x + dx, y + dy)) and not missing_outlines(shot, layout, (x, y)):
                return (x, y)
    return None


class Keyboard:
    def __init__(self, desktop, layout, folder, origin, output):
        self.desktop = desktop
        self.layout = layout
        self.folder = folder
        self.origin = origin
        self.output = output
        self.process = None
        self._last_press = (None, 0.0)

    def start(self, timeout=20):
        """Starts tapkeys.exe and waits until its window shows its outlines at origin."""
        self.process = self.desktop.launch(self.folder.exe, output=self.output)
        shown = wait_for(lambda: self.process.poll() is not None or self.shown_at(self.origin), timeout, 0.1)
        if self.process.poll() is not None:
            raise CaseFailure(f"tapkeys.exe ended at start with exit code {self.process.returncode}")
        if not shown:
            found = locate(self.desktop.screenshot(), self.layout)
            raise CaseFailure(f"the keyboard is not shown at {self.origin}; found at {found}")

    def shown_at(self, origin):
        return not missing_outlines(self.desktop.screenshot(), self.layout, origin)

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def point(self, control, index=0):
        x, y = self.layout.point_on(control, index)
        return (self.origin[0] + x, self.origin[1] + y)

    def click(self, control, index=0, button=LEFT):
        point = self._spaced(self.point(control, index))
        self.desktop.click(point, button)
        self._last_press = (point, time.monotonic())

    def double_click(self, control, index=0):
        point = self._spaced(self.point(control, index))
        self.desktop.double_click(point)
        self._last_press = (point, time.monotonic())

    def _spaced(self, point):
        """Waits, when the last press was at the same point, until a new press cannot complete a double
        click with it."""
        last_point, last_time = self._last_press
        if last_point == point:
            time.sleep(max(0.0, last_time + SINGLE_TAP_GAP_S - time.monotonic()))
        return point

    def drag_background(self, delta):
        """Drags the window by its top band; the window is expected to follow to origin + delta."""
        x, y = self.layout.background_point_in_top_band()
        start = (self.origin[0] + x, self.origin[1] + y)
        self.desktop.drag(start, (start[0] + delta[0], start[1] + delta[1]))
        self.origin = (self.origin[0] + delta[0], self.origin[1] + delta[1])

    def close(self, at=None, button=LEFT, timeout=10):
        """Presses the close button (or the window pixel `at`) and waits for the process to end."""
        if at is None:
            self.click("Close", 0, button)
        else:
            self.desktop.click((self.origin[0] + at[0], self.origin[1] + at[1]), button)
        try:
            self.process.wait(timeout=timeout)
        except Exception as error:
            raise CaseFailure(f"tapkeys.exe did not end after a press at {at or 'Close(0)'}") from error

    def kill(self):
        if self.alive():
            self.process.kill()
            self.process.wait(timeout=10)
        time.sleep(0.1)
