"""The keyboard at run time: the system's Caps Lock, taps that overtake a hand-back, a console target."""

from driver.runner import KEYBOARD, case
from key_sets import TYPING, UK_NORMAL, UK_SHIFTED
from typing_steps import begin, expect_text, tap

E, ONE = UK_NORMAL.index("e"), UK_NORMAL.index("1")


@case(KEYBOARD, TYPING)
def keys_type_what_they_show_whatever_the_system_caps_lock(ctx):
    text = begin(ctx)
    for _ in range(2):  # the system's Caps Lock on, then off again
        ctx.desktop.press_keys("Caps_Lock")
        tap(ctx, "Key", E, "e")
        tap(ctx, "Key", ONE, "1")
        tap(ctx, "CapsLock")
        tap(ctx, "Key", E, "E")
        tap(ctx, "Key", ONE, UK_SHIFTED[ONE])
        tap(ctx, "CapsLock")
    expect_text(ctx, text + ("e1E" + UK_SHIFTED[ONE]) * 2)
