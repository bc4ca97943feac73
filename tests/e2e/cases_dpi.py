"""The keyboard on a screen of 144 dpi (150 percent): a window one and a half times the size, outlines
and captions where the scaled layout puts them, presses at the scaled key centres typing the right
keys, and a position kept in screen pixels. Run on a desktop of its own: --dpi 144 --size 1600x1000."""

import math

from cases_window import outlines_and_captions_are_drawn_where_the_layout_puts_them as check_drawing
from driver.keyboard import locate
from driver.runner import CONTINUE, DPI, Setup, case
from driver.screen import is_outline
from driver.waiting import check, check_equal, wait_for
from key_sets import PLACED, RED, UK_HOST, UK_NORMAL, UK_SHIFTED
from typing_steps import begin, expect_text, tap, tap_keys

SCALED = Setup("dpi-144", **UK_HOST, settings={"misc": PLACED, "fonts": {"FONTCOLOR": RED}})
SIZE_AT_144 = (948, 325)  # 632 x 217 times 1.5
# Down and right, clear of the target window below y = 500 with the window's 325 pixels of height.
DRAG = (150, 90)


def keyboard_window(ctx):
    check(ctx.probe is not None, "this case needs --probe tapkeys_e2e_win_probe.exe")
    window = ctx.probe.window("tapkeysKeyboard")
    check(window is not None, "no keyboard window")
    return window.rect


def line_thickness(shot, origin, label):
    """The thickness of a frame's left and top outline lines, at their middles: the run of outline
    pixels from the frame's left edge, and the first run within the frame's top rows."""
    r, (ox, oy) = label.rect, origin
    y, x = oy + r.top + r.height // 2, ox + r.left + r.width // 2
    left = next((i for i in range(r.width) if not is_outline(shot.pixel(ox + r.left + i, y))), r.width)
    column = [is_outline(shot.pixel(x, oy + r.top + i)) for i in range(r.height)]
    start = column.index(True) if True in column else r.height
    top = next((i for i in range(start, r.height) if not column[i]), r.height) - start
    return left, top


def check_clean_outlines(ctx, shot):
    """Every outline line is solid and as thick as the 3 pixels of 96 dpi scaled, give or take the
    rounding of half a pixel: a blurred or unevenly stretched picture of the outlines fails this."""
    scaled = 3 * ctx.layout.dpi / 96
    allowed = range(math.floor(scaled), math.ceil(scaled) + 1)
    uneven = [(f"{label.control}({label.index})", thickness) for label in ctx.layout.labels
              if label.is_outlined_frame
              for thickness in [line_thickness(shot, ctx.keyboard.origin, label)]
              if not all(t in allowed for t in thickness)]
    check(not uneven, f"outline lines not {allowed.start} to {allowed.stop - 1} pixels thick "
                      f"(left, top): {uneven[:6]}")


@case(DPI, SCALED)
def window_is_one_and_a_half_times_as_large_at_144_dpi(ctx):
    check_equal(ctx.layout.dpi, 144, "the desktop's density (run with --dpi 144)")
    window = keyboard_window(ctx)
    check_equal((window.width, window.height), SIZE_AT_144, "window size at 144 dpi")
    check_equal((ctx.layout.width, ctx.layout.height), SIZE_AT_144, "window size of the layout tool")
    check_equal((window.left, window.top), ctx.keyboard.origin, "window position from WINDOWX and WINDOWY")
    check_drawing(ctx)
    check_clean_outlines(ctx, ctx.desktop.screenshot())
    ctx.picture("keyboard-144", window)


@case(DPI, CONTINUE)
def presses_at_the_scaled_key_centres_type_their_keys(ctx):
    text = begin(ctx)
    keys = range(len(UK_NORMAL))
    tap_keys(ctx, keys, UK_NORMAL)
    tap(ctx, "Shift")
    tap(ctx, "Key", 0, UK_SHIFTED[0])
    tap(ctx, "CapsLock")
    tap_keys(ctx, keys[-3:], UK_SHIFTED)
    tap(ctx, "CapsLock")
    tap(ctx, "Space", 0, " ")
    tap(ctx, "Backspace", 0, "\b")
    tap(ctx, "KeyBG", len(UK_NORMAL) - 1, UK_NORMAL[-1])
    expect_text(ctx, text + UK_NORMAL + UK_SHIFTED[0] + UK_SHIFTED[-3:] + UK_NORMAL[-1])


@case(DPI, CONTINUE)
def position_saved_at_144_dpi_reopens_at_the_same_place(ctx):
    keyboard = ctx.keyboard
    keyboard.drag_background(DRAG)
    if not wait_for(lambda: keyboard.shown_at(keyboard.origin), timeout=3.0, interval=0.1):
        found = locate(ctx.screenshot("dragged"), ctx.layout)
        check(False, f"after a drag by {DRAG} the window is at {found}, not at {keyboard.origin}")
    keyboard.close()
    folder, origin = keyboard.folder, keyboard.origin
    written = (str(origin[0]), str(origin[1]))
    check_equal((folder.setting("misc", "WINDOWX"), folder.setting("misc", "WINDOWY")), written,
                "position written, in screen pixels")
    ctx.launch(folder, origin)  # waits for the outlines at origin
    window = keyboard_window(ctx)
    check_equal((window.left, window.top, window.width, window.height), (*origin, *SIZE_AT_144),
                "the reopened window")
    ctx.keyboard.close()
    check_equal((folder.setting("misc", "WINDOWX"), folder.setting("misc", "WINDOWY")), written,
                "position written by the second run")
