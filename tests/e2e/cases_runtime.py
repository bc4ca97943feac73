"""The keyboard at run time: the system's Caps Lock; a console target, taps in a burst, the stacking."""

import time

from driver.runner import KEYBOARD, case
from driver.target import FOREGROUND_SETTLE_S
from driver.waiting import check, wait_for
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


@case(KEYBOARD, TYPING)
def a_console_target_gets_taps_in_order_and_stays_below_the_keyboard(ctx):
    console = ctx.desktop.launch("wineconsole", "cmd.exe", output=ctx.workdir / "console.out")
    try:
        window = ctx.probe.window("WineConsoleClass", wait_s=10)
        check(window is not None, "no console window")
        ctx.desktop.click(window.rect.centre)
        time.sleep(FOREGROUND_SETTLE_S)
        keyboard = ctx.keyboard
        x, y = ctx.layout.background_point_in_top_band()
        ctx.desktop.click((keyboard.origin[0] + x, keyboard.origin[1] + y))  # the keyboard is activated
        time.sleep(FOREGROUND_SETTLE_S)
        # Tapped in one burst: the taps after the first arrive while it waits for the console to take
        # the focus, and must wait their turn.
        clicks = []
        for character in "exit":
            clicks += ["mousemove", *keyboard.point("Key", UK_NORMAL.index(character)), "click", 1]
        ctx.desktop.xdotool(*clicks)
        time.sleep(0.3)  # the raise that Wine gives the console comes a moment after the hand-back
        check(keyboard.shown_at(keyboard.origin), "the console covers the keyboard")
        keyboard.click("Return")
        check(wait_for(lambda: console.poll() is not None, 5), "the console did not take 'exit' and Enter")
    finally:
        if console.poll() is None:
            console.kill()
