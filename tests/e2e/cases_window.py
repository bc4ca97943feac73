"""The keyboard window on the screen: what it draws, where it opens, dragging it, closing it."""

import time

from driver.keyboard import centred_origin, locate, missing_outlines
from driver.runner import CONTINUE, KEYBOARD, case
from driver.screen import is_red
from driver.waiting import check, check_equal, wait_for
from driver.wine_desktop import RIGHT
from key_sets import NO_SETTINGS, TYPING

DRAG = (-150, -220)  # from the centred place up and left, still clear of the target window


def names(labels):
    return ", ".join(f"{label.control}({label.index})" for label in labels)


@case(KEYBOARD, TYPING)
def outlines_and_captions_are_drawn_where_the_layout_puts_them(ctx):
    shot = ctx.screenshot("typing-window")
    layout, (ox, oy) = ctx.layout, ctx.keyboard.origin
    missing = missing_outlines(shot, layout, (ox, oy))
    check(not missing, f"no outline at: {names(missing)}")
    # FONTCOLOR 255 is red: every caption is red, and captions stay inside their labels.
    captions = [label for label in layout.labels if label.shows_caption]
    pale = [label for label in captions if shot.count(label.rect, is_red, (ox, oy)) < 2]
    check(not pale, f"no red caption in: {names(pale)}")
    stray = [(x, y) for y in range(layout.height) for x in range(layout.width)
             if is_red(shot.pixel(ox + x, oy + y)) and not layout.logo.contains(x, y)
             and not any(label.rect.contains(x, y) for label in captions)]
    check(not stray, f"{len(stray)} red pixels outside the caption labels, first at {stray[:3]}")


@case(KEYBOARD, NO_SETTINGS)
def opens_centred_without_a_settings_file(ctx):
    centre = centred_origin(ctx.layout, ctx.desktop.size)
    shot = ctx.screenshot("centred")
    missing = missing_outlines(shot, ctx.layout, centre)
    check(not missing,
          f"not centred at {centre} (found at {locate(shot, ctx.layout)}): no outline at {names(missing)}")
    check(not ctx.keyboard.folder.settings_path.exists(), "tapkeys.ini was written before the window closed")


@case(KEYBOARD, CONTINUE)
def drag_on_the_top_band_moves_the_window(ctx):
    keyboard = ctx.keyboard
    x, y = ctx.layout.background_point_in_top_band()
    grip = (keyboard.origin[0] + x, keyboard.origin[1] + y)
    ctx.desktop.drag(grip, (grip[0] + 60, grip[1]), button=RIGHT)
    time.sleep(0.3)
    check(keyboard.shown_at(keyboard.origin), "a right-button drag moved the window")
    keyboard.drag_background(DRAG)
    if not wait_for(lambda: keyboard.shown_at(keyboard.origin), timeout=3.0, interval=0.1):
        found = locate(ctx.screenshot("dragged"), ctx.layout)
        check(False, f"after a drag by {DRAG} the window is at {found}, not at {keyboard.origin}")


@case(KEYBOARD, CONTINUE)
def close_button_writes_the_settings_with_the_new_position(ctx):
    keyboard = ctx.keyboard
    keyboard.close()
    x, y = keyboard.origin
    check_equal(keyboard.folder.read_settings(), [
        ("misc", "SAFEMODE", "0"),
        ("misc", "WINDOWX", str(x)),
        ("misc", "WINDOWY", str(y)),
        ("fonts", "FONTFACE", "Arial"),
        ("fonts", "FONTSTYLE", ""),
        ("fonts", "FONTSIZE", "14"),
        ("fonts", "FONTCOLOR", "0"),
        ("keymapping", "KEYMAP", "ini"),
        ("keymapping", "USERKEYMAPNORMAL", ""),
        ("keymapping", "USERKEYMAPSHIFT", ""),
        ("extras", "KEYFEEDBACK", "1"),
        ("extras", "REPEATDELAY", "0"),
        ("extras", "REPEATRATE", "10"),
        ("extras", "DWELLTIME", "0"),
        ("extras", "FOLLOWLAYOUT", "0"),
    ], "tapkeys.ini after the first close")


@case(KEYBOARD, CONTINUE)
def restart_opens_where_it_was_closed(ctx):
    folder, origin = ctx.keyboard.folder, ctx.keyboard.origin
    keyboard = ctx.launch(folder, origin)  # waits for the window at origin
    # The close button lies above the options button where their frames overlap.
    seam = ctx.layout.seam(("Close", 1), ("Options", 1))
    check(seam is not None, "the close and options frames share no pixel")
    keyboard.close(at=seam)
    check_equal((folder.setting("misc", "WINDOWX"), folder.setting("misc", "WINDOWY")),
                (str(origin[0]), str(origin[1])), "position written by the second close")
