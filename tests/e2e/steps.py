"""The verbs a case's actions are written in. Each returns a step: a function of the case context (see
tapkeys_e2e.Context) that acts through real pointer and key input and fails the case when what
arrives differs. A step that expects characters waits for exactly those as WM_CHARs in the target."""

import math
import time

from driver import (LEFT, VK_LEFT, VK_RIGHT, Rect, check, check_equal, ini_entries, is_outline, is_red,
                    missing_outlines, read_ini, wait_for)

# A press that should type nothing (Shift, Caps Lock) is given this long to show a stray character.
QUIET_S = 0.15
DIALOG_OPEN_S = 5.0


def pointer(control, index, actions, expect="", vk=None, nudged=None):
    """Moves the pointer onto a label and runs the xdotool actions there. Exactly `expect` must arrive,
    or characters it accepts when it is a predicate (which, like an empty expect, gets QUIET_S more for
    a stray character to show). vk: a key press that must arrive too. nudged: True when safe mode's Left
    then Right must come before the first character, False when neither may come."""
    def step(ctx):
        mark = ctx.target.mark()
        ctx.keyboard.press(control, index, *actions)
        arrived = lambda: ctx.target.chars_since(mark)  # noqa: E731
        accepts = expect if callable(expect) else lambda chars: chars == expect  # noqa: E731
        wait_for(lambda: accepts(arrived()) if callable(expect) else len(arrived()) >= len(expect), 3.0)
        if callable(expect) or not expect:
            time.sleep(QUIET_S)
        how = f"{' '.join(map(str, actions))} on {control}({index})"
        check(accepts(arrived()), f"characters typed by {how}: expected {expect!r}, got {arrived()!r}")
        events = [e for e in ctx.target.since(mark) if e.kind in ("KEYDOWN", "CHAR")]
        check(vk is None or (vk, "KEYDOWN") in [(e.vk, e.kind) for e in events], f"{how}: no key press {vk}")
        before = [e.vk for e in events[:next((i for i, e in enumerate(events) if e.kind == "CHAR"), len(events))]]
        check(not nudged or VK_LEFT in before and VK_RIGHT in before[before.index(VK_LEFT):],
              f"{how}: no Left then Right before the character, key presses {before}")
        check(nudged is not False or not {VK_LEFT, VK_RIGHT} & {e.vk for e in events if e.kind == "KEYDOWN"},
              f"{how} was nudged")
    return step


def tap(control, index=0, expect="", button=LEFT, double=False, vk=None, nudged=None):
    """A click with a button, or a double click."""
    return pointer(control, index, ("click", *(("--repeat", 2, "--delay", 80) * double), button), expect, vk, nudged)


def keys(indices, key_set):
    """Taps character keys one by one; each must type its character of key_set."""
    return [tap("Key", i, key_set[i]) for i in indices]


def hold(control, index, ms, expect=""):
    """Presses a label and keeps the left button down for ms before the release."""
    return pointer(control, index, ("mousedown", LEFT, "sleep", ms / 1000, "mouseup", LEFT), expect)


def rest(control, index, ms, expect=""):
    """Rests the pointer on a label for ms without a click."""
    return pointer(control, index, ("sleep", ms / 1000), expect)


def press(*indices):
    """Clicks character keys with nothing expected anywhere (the target is gone or hung)."""
    def step(ctx):
        for index in indices:
            ctx.keyboard.press("Key", index)
            time.sleep(QUIET_S)
        check(ctx.keyboard.alive(), "tapkeys.exe ended after the presses")
    return step


def x_keys(*keysyms):
    """Key presses of the X keyboard, past tapkeys: Caps_Lock, Tab, shift+Home..."""
    return lambda ctx: ctx.desktop.xdotool("key", "--delay", 30, *keysyms)


def x_type(text, delay_ms=30):
    """Typing on the X keyboard. A character X has no key for gets a spare key mapped for it, which
    Wine misses at times at the usual pace: give such text 300 ms a character."""
    return lambda ctx: ctx.desktop.xdotool("type", "--delay", delay_ms, text)


def quiet(seconds):
    """Nothing more arrives in the target for seconds (a held key's repeats have stopped)."""
    def step(ctx):
        mark = ctx.target.mark()
        time.sleep(seconds)
        check_equal(ctx.target.chars_since(mark), "", f"characters typed in the {seconds} s after")
    return step


def activate():
    """Gives the foreground back to the target by a click on it."""
    return lambda ctx: ctx.target.activate()


def typed(expected):
    """The target's text is its text at the start of the case (or of its restart) followed by expected,
    and stays so while a doubled character would show."""
    def step(ctx):
        if ctx.target.wait_for_text(ctx.text0 + expected):
            time.sleep(QUIET_S)
        check_equal(ctx.target.text(), ctx.text0 + expected, "the target's text")
    return step


def target_running(running):
    """Closes the target window, or starts it again and gives it the foreground."""
    def step(ctx):
        if not running:
            return ctx.target.stop()
        ctx.target.start()
        ctx.target.activate()
        ctx.text0 = ctx.target.text()
    return step


# The window and its settings file

def drag(delta, button=LEFT):
    """Drags the keyboard by its top band: with the left button it follows, with another it stays."""
    def step(ctx):
        ctx.keyboard.drag(delta, button)
        time.sleep(0.3 if button != LEFT else 0)
        check(wait_for(lambda: ctx.keyboard.shown_at(ctx.keyboard.origin), 3.0, 0.1),
              f"after a drag by {delta} with button {button} the window is not at {ctx.keyboard.origin}")
    return step


def close(seam=None):
    """Closes the keyboard with its close button, or at the pixel where the labels `seam` overlap and the
    press goes to the first."""
    def step(ctx):
        at = seam and ctx.layout.seam(*seam)
        check(seam is None or at is not None, f"the labels {seam} share no pixel")
        ctx.keyboard.close(at)
    return step


def relaunch():
    """Starts tapkeys.exe again from the same folder; it must open where the last one was."""
    return lambda ctx: ctx.launch(ctx.keyboard.folder, ctx.keyboard.origin)


def saved(expected, *raw):
    """tapkeys.ini now: None for no file, "[section] KEY=value..." for the whole file in order, a dict
    {"section/KEY": value} for some values; "{x}" and "{y}" stand for the keyboard's position. raw: texts
    the file holds, read as Latin-1 bytes (junk around them included)."""
    def step(ctx):
        path, (x, y) = ctx.keyboard.settings_path, ctx.keyboard.origin
        check(path.exists() == (expected is not None), f"tapkeys.ini exists: {path.exists()}")
        fill = lambda v: v.replace("{x}", str(x)).replace("{y}", str(y))  # noqa: E731
        if isinstance(expected, str):
            check_equal(read_ini(path), ini_entries(fill(expected).split()), "tapkeys.ini")
        elif expected:
            found = {f"{s.lower()}/{k.upper()}": v for s, k, v in read_ini(path)}
            wrong = [f"{k} is {found.get(k)!r}, not {fill(v)!r}" for k, v in expected.items()
                     if found.get(k) != fill(v)]
            check(not wrong, "tapkeys.ini: " + ", ".join(wrong))
        data = path.read_bytes().decode("latin-1") if raw else ""
        check(all(t in data for t in raw), f"tapkeys.ini lacks {[t for t in raw if t not in data]}")
    return step


def close_without_rights(folder_mode=0o555, file_mode=0o444):
    """Gives the app folder and tapkeys.ini (when there is one) these modes, read-only by default, and
    closes the keyboard: it ends normally and neither changes nor creates the file."""
    def step(ctx):
        folder, path = ctx.keyboard.folder, ctx.keyboard.settings_path
        before = path.read_bytes() if path.exists() else None
        try:
            folder.chmod(folder_mode)
            path.exists() and path.chmod(file_mode)
            ctx.keyboard.close()
        finally:
            folder.chmod(0o755)
            path.exists() and path.chmod(0o644)
        check_equal(path.read_bytes() if path.exists() else None, before, f"tapkeys.ini at mode {file_mode:o}")
    return step


# What the screen shows

def names(labels):
    return ", ".join(f"{label.control}({label.index})" for label in labels)


def drawn():
    """Outlines where the layout puts them; every caption red (FONTCOLOR 255) and no red outside the
    caption labels and the logo."""
    def step(ctx):
        shot, layout, origin = ctx.desktop.screenshot(), ctx.layout, ctx.keyboard.origin
        missing = missing_outlines(shot, layout, origin)
        check(not missing, f"no outline at: {names(missing)}")
        captions = [label for label in layout.labels if label.font != "None"]
        pale = [label for label in captions if shot.count(label.rect, is_red, origin) < 2]
        check(not pale, f"no red caption in: {names(pale)}")
        stray = [p for p in Rect(0, 0, layout.width, layout.height).pixels() if is_red(shot.pixel(*ctx.keyboard.at(*p)))
                 and not layout.logo.contains(*p) and not any(label.rect.contains(*p) for label in captions)]
        check(not stray, f"{len(stray)} red pixels outside the caption labels, first at {stray[:3]}")
    return step


def clean_outlines():
    """Every outline line as thick as the 3 pixels of 96 dpi scaled, give or take half a pixel's
    rounding, measured at the middles of each frame's left and top lines: a blurred or unevenly
    stretched picture of the outlines fails this."""
    def thickness(shot, at, r):
        """Outline pixels from the frame's left edge inward, and in the first run down from its top."""
        row = [is_outline(shot.pixel(*at(r.left + i, r.top + r.height // 2))) for i in range(r.width)] + [False]
        column = [is_outline(shot.pixel(*at(r.left + r.width // 2, r.top + i))) for i in range(r.height)] + [False]
        return row.index(False), column[column.index(True) if True in column else r.height:].index(False)

    def step(ctx):
        shot, scaled = ctx.desktop.screenshot(), 3 * ctx.layout.dpi / 96
        allowed = range(math.floor(scaled), math.ceil(scaled) + 1)
        uneven = [(names([lb]), t) for lb in ctx.layout.labels if lb.part == "Frame"
                  for t in [thickness(shot, ctx.keyboard.at, lb.rect)] if not all(v in allowed for v in t)]
        check(not uneven, f"outline lines not {allowed.start} to {allowed.stop - 1} pixels thick: {uneven[:6]}")
    return step


def keyboard_window(enabled=True, size=None):
    """The keyboard window as the system reports it: enabled or not, and lying at the keyboard's origin
    with size, the size the layout tool gives too."""
    def step(ctx):
        window = ctx.probe.ask("window", "tapkeysKeyboard")
        check(window is not None and window["enabled"] == enabled, f"the keyboard window is not {enabled=}")
        if size:
            check_equal((ctx.layout.width, ctx.layout.height), size, "window size of the layout tool")
            check_equal(window["rect"], Rect(*ctx.keyboard.origin, *size), "the keyboard window")
    return step


def picture(name, of_dialog=False):
    """Saves the keyboard window (or the open dialog) as <name>.png in the run folder, for a person."""
    return lambda ctx: ctx.desktop.save_picture(ctx.workdir / f"{name}.png",
                                                dialog_now(ctx)["rect"] if of_dialog else keyboard_rect(ctx))


def keyboard_rect(ctx):
    return Rect(*ctx.keyboard.origin, ctx.layout.width, ctx.layout.height)


def remember_look():
    """Notes the keyboard's pixels and caption ink, for looks_as_before and captions_grew."""
    return lambda ctx: ctx.memo.update(pixels=window_pixels(ctx), ink=caption_ink(ctx))


def window_pixels(ctx):
    shot = ctx.desktop.screenshot()
    return [shot.pixel(*p) for p in keyboard_rect(ctx).pixels()]


def caption_ink(ctx):
    """Red caption pixels on the character keys: grows with a bold or larger key font."""
    shot = ctx.desktop.screenshot()
    return sum(shot.count(lb.rect, is_red, ctx.keyboard.origin) for lb in ctx.layout.labels if lb.control == "Key")


def looks_as_before():
    return lambda ctx: check(wait_for(lambda: window_pixels(ctx) == ctx.memo["pixels"], 3.0, 0.2),
                             "the keyboard looks other than before")


def captions_grew():
    return lambda ctx: check(wait_for(lambda: caption_ink(ctx) > ctx.memo["ink"] * 5 // 4, 3.0),
                             f"the captions did not grow from {ctx.memo['ink']} red pixels")


# Dialogs, found with win_probe by caption and their controls by resource id

def dialog_now(ctx):
    dialog = ctx.probe.ask("dialog", ctx.memo["dialogs"][-1])
    check(dialog is not None, f"the {ctx.memo['dialogs'][-1]!r} dialog has gone")
    return dialog


def control(ctx, name):
    controls = dialog_now(ctx)["controls"]
    check(ctx.ids[name] in controls, f"the dialog has no {name}")
    return controls[ctx.ids[name]]


def open_dialog(title="Settings", button="Options"):
    """Clicks a keyboard label, or a control (IDC_...) of the open dialog, and waits for the dialog
    captioned title to take the foreground; until it closes, the dlg steps act on it."""
    def step(ctx):
        if button.startswith("IDC_"):
            dlg_click(button)(ctx)
        else:
            ctx.keyboard.press(button)
        ctx.memo.setdefault("dialogs", []).append(title)
        active = lambda: (d := ctx.probe.ask("dialog", title, DIALOG_OPEN_S)) and d["active"]  # noqa: E731
        check(wait_for(active, DIALOG_OPEN_S, 0.1), f"no active {title!r} dialog after a click")
    return step


def dlg(name, **expected):
    """A control of the open dialog comes to show expected values: text, checked, enabled."""
    def step(ctx):
        shows = lambda: {k: control(ctx, name)[k] for k in expected}  # noqa: E731
        check(wait_for(lambda: shows() == expected, 2.0, 0.05), f"{name}: expected {expected}, shows {shows()}")
    return step


def dlg_click(name):
    """Clicks the middle of a control as the dialog shows it now, which must be enabled."""
    def step(ctx):
        target = control(ctx, name)
        check(target["enabled"], f"{name} is disabled")
        ctx.desktop.click(target["rect"].centre)
    return step


def dlg_type(name, text, delay_ms=30):
    """Clicks into an edit box (or a combo box's edit part), selects its whole text and types text."""
    return [dlg_click(name), x_keys("End", "shift+Home"), x_type(text, delay_ms)]


def dlg_close(button):
    def step(ctx):
        dlg_click(button)(ctx)
        title = ctx.memo["dialogs"].pop()
        check(ctx.probe.ask("closed", title, DIALOG_OPEN_S) is None, f"{title!r} is still open after {button}")
    return step


def keyboard_ignores(*labels):
    """While a dialog is open, presses on the keyboard's labels (clear of the dialog) type nothing and
    leave the dialog in the foreground; the keyboard window is disabled."""
    def step(ctx):
        mark, dialog = ctx.target.mark(), dialog_now(ctx)
        for label, index in labels:
            check(not dialog["rect"].contains(*ctx.keyboard.point(label, index)), f"the dialog covers {label}")
            ctx.keyboard.press(label, index)
        wait_for(lambda: ctx.target.since(mark, "CHAR"), timeout=0.5)
        check_equal(ctx.target.chars_since(mark), "", "characters typed by presses under the dialog")
        check(dialog_now(ctx)["active"], "a press on the keyboard took the foreground from the dialog")
        keyboard_window(enabled=False)(ctx)
    return step


def expect_dialog(title, closed=None):
    """The dialog captioned title is open (not necessarily active); None: the last one has closed. closed:
    the dialog that went before title shows again."""
    def step(ctx):
        dialogs = ctx.memo.setdefault("dialogs", [])
        if closed is not None or title is None:
            gone = closed or dialogs[-1]
            check(ctx.probe.ask("closed", gone, DIALOG_OPEN_S) is None, f"{gone!r} is still open")
            dialogs.pop()
        if title is not None and (not dialogs or dialogs[-1] != title):
            check(ctx.probe.ask("dialog", title, DIALOG_OPEN_S) is not None, f"no {title!r} dialog")
            dialogs.append(title)
    return step


def dlg_rest(name, seconds, up=None):
    """Rests the pointer on a control of the open dialog (on an up-down control's upper or lower arrow)."""
    def step(ctx):
        r = control(ctx, name)["rect"]
        x, y = r.centre
        if up is not None:
            y = r.top + r.height // 4 if up else r.top + 3 * r.height // 4
        ctx.desktop.xdotool("mousemove", x, y, "sleep", seconds)
    return step
