"""Keys that follow the target's keyboard layout, on a display with a German X keyboard layout: the
physical keys at the keys' positions, Shift and Caps Lock over the followed layout, and the host's
language file as before when the option is off.

Dead keys are not among them: Wine gives an X dead key (the German acute left of Backspace) no scan code
of its own and reports none as dead, so under Wine that position stays blank."""

from driver.layout import Rect
from driver.runner import LAYOUT, Setup, case
from key_sets import PLACED, UK_HOST, UK_NORMAL
from typing_steps import begin, expect_text, tap

FOLLOWING = Setup("follow-layout", **UK_HOST, settings={"misc": PLACED, "extras": {"FOLLOWLAYOUT": "1"}})
NOT_FOLLOWING = Setup("layout-off", **UK_HOST, settings={"misc": PLACED, "extras": {"FOLLOWLAYOUT": "0"}})

# Keys by what a US board has at their positions.
SEVEN, MINUS, EQUALS, Y, BRACKET, SEMICOLON, QUOTE, ISO = 6, 10, 11, 17, 22, 33, 34, 36


@case(LAYOUT, FOLLOWING)
def keys_type_the_physical_keys_of_the_targets_layout(ctx):
    text = begin(ctx)
    for index, typed in ((MINUS, "ß"), (Y, "z"), (BRACKET, "ü"), (SEMICOLON, "ö"), (QUOTE, "ä"), (ISO, "<")):
        tap(ctx, "Key", index, typed)
    tap(ctx, "Shift")
    tap(ctx, "Key", SEVEN, "/")
    tap(ctx, "CapsLock")
    tap(ctx, "Key", Y, "Z")
    tap(ctx, "Key", MINUS, "?")
    ox, oy = ctx.keyboard.origin
    ctx.picture("keyboard-german-shifted", Rect(ox, oy, ctx.layout.width, ctx.layout.height))
    tap(ctx, "CapsLock")
    ctx.picture("keyboard-german", Rect(ox, oy, ctx.layout.width, ctx.layout.height))
    expect_text(ctx, text + "ßzüöä</Z?")


@case(LAYOUT, NOT_FOLLOWING)
def without_the_option_the_host_language_file_rules(ctx):
    text = begin(ctx)
    keys = (MINUS, EQUALS, Y, BRACKET, QUOTE, ISO)
    for index in keys:
        tap(ctx, "Key", index, UK_NORMAL[index])
    expect_text(ctx, text + "".join(UK_NORMAL[i] for i in keys))
