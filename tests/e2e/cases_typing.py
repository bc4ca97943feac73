"""What the keyboard types into the target: both layers, Shift, Caps Lock, named keys, other mouse
buttons, double taps, safe mode and characters that are not on the target's keyboard layout."""

from driver.runner import KEYBOARD, case
from driver.target import VK_BACK, VK_ESCAPE, VK_LEFT, VK_RETURN, VK_RIGHT, VK_TAB
from driver.waiting import check
from driver.wine_desktop import MIDDLE, RIGHT
from key_sets import DE_NORMAL, DE_SHIFTED, GERMAN, SAFE_MODE, TYPING, UK_NORMAL, UK_SHIFTED
from typing_steps import begin, check_nudged, expect_text, tap, tap_keys

ALL_KEYS = range(len(UK_NORMAL))
Q, W, A = UK_NORMAL.index("q"), UK_NORMAL.index("w"), UK_NORMAL.index("a")

# Each named key's labels and the WM_CHAR it produces in an edit control.
NAMED_KEYS = {"Esc": "\x1b", "Tab": "\t", "Backspace": "\b", "Return": "\r", "Space": " "}


@case(KEYBOARD, TYPING)
def both_layers_type_every_key_exactly(ctx):
    text = begin(ctx)
    tap_keys(ctx, ALL_KEYS, UK_NORMAL)
    tap(ctx, "CapsLock")
    tap_keys(ctx, ALL_KEYS, UK_SHIFTED)
    tap(ctx, "CapsLock")
    expect_text(ctx, text + UK_NORMAL + UK_SHIFTED)


@case(KEYBOARD, TYPING)
def key_frames_type_like_their_captions(ctx):
    text = begin(ctx)
    corners = (0, 11, 12, 23, 24, 35, 36, len(UK_NORMAL) - 1)
    for index in corners:
        tap(ctx, "KeyBG", index, UK_NORMAL[index])
    expect_text(ctx, text + "".join(UK_NORMAL[i] for i in corners))


@case(KEYBOARD, TYPING)
def shift_holds_for_one_key_string(ctx):
    text = begin(ctx)
    tap(ctx, "Shift")
    tap(ctx, "Key", Q, "Q")
    tap(ctx, "Key", Q, "q")
    # Shift twice (slower than a double click) is no shift.
    tap(ctx, "Shift")
    tap(ctx, "Shift")
    tap(ctx, "Key", W, "w")
    # Named keys send themselves and release the Shift too.
    tap(ctx, "Shift")
    tap(ctx, "Space", 0, " ")
    tap(ctx, "Key", W, "w")
    tap(ctx, "Shift")
    tap(ctx, "Backspace", 0, "\b")
    tap(ctx, "Key", W, "w")
    expect_text(ctx, text + "Qqw w")


@case(KEYBOARD, TYPING)
def caps_lock_holds_until_caps_lock_or_shift(ctx):
    text = begin(ctx)
    tap(ctx, "CapsLock")
    tap(ctx, "Key", 0, UK_SHIFTED[0])
    tap(ctx, "Space", 0, " ")
    tap(ctx, "Key", 0, UK_SHIFTED[0])
    tap(ctx, "Key", Q, "Q")
    tap(ctx, "Shift")  # ends Caps Lock without a shift of its own
    tap(ctx, "Key", Q, "q")
    tap(ctx, "Shift")
    tap(ctx, "CapsLock")  # cancels the pending Shift and does not switch Caps Lock on
    tap(ctx, "Key", Q, "q")
    tap(ctx, "Key", W, "w")
    expect_text(ctx, text + UK_SHIFTED[0] + " " + UK_SHIFTED[0] + "Qqqw")


@case(KEYBOARD, TYPING)
def named_keys_send_their_virtual_keys(ctx):
    text = begin(ctx)
    expected = text
    for control, char in NAMED_KEYS.items():
        for label in (lb for lb in ctx.layout.labels if lb.control == control):
            if char == "\b":
                tap(ctx, "Key", A, "a")
            mark = tap(ctx, control, label.index, char)
            vk = {"\x1b": VK_ESCAPE, "\t": VK_TAB, "\b": VK_BACK, "\r": VK_RETURN}.get(char)
            if vk is not None:
                check(vk in ctx.target.keydowns_since(mark),
                      f"{control}({label.index}): no key press {vk:#04x}")
            expected += {"\x1b": "", "\b": "", "\r": "\r\n"}.get(char, char)
    expect_text(ctx, expected)


@case(KEYBOARD, TYPING)
def right_and_middle_buttons_press_keys_too(ctx):
    text = begin(ctx)
    tap(ctx, "Key", 0, UK_NORMAL[0], button=RIGHT)
    tap(ctx, "Key", 1, UK_NORMAL[1], button=MIDDLE)
    tap(ctx, "Backspace", 1, "\b", button=RIGHT)
    tap(ctx, "Shift", 0, button=MIDDLE)
    tap(ctx, "Key", Q, "Q", button=RIGHT)
    tap(ctx, "CapsLock", 0, button=RIGHT)
    tap(ctx, "Key", Q, "Q", button=MIDDLE)
    tap(ctx, "Key", W, "W")
    tap(ctx, "CapsLock", 1, button=MIDDLE)
    tap(ctx, "Key", W, "w")
    expect_text(ctx, text + UK_NORMAL[0] + "QQWw")


@case(KEYBOARD, TYPING)
def double_taps(ctx):
    text = begin(ctx)
    tap(ctx, "Key", A, "aa", double=True)
    tap(ctx, "Key", W, "w")
    tap(ctx, "Backspace", 0, "\b\b", double=True)
    tap(ctx, "Key", A, "a")
    tap(ctx, "CapsLock", 0, double=True)  # on and off again
    tap(ctx, "Key", Q, "q")
    tap(ctx, "Shift", 0, double=True)  # the second press completes a double click: Shift stays on
    tap(ctx, "Key", Q, "Q")
    tap(ctx, "Key", W, "w")
    tap(ctx, "CapsLock")
    tap(ctx, "Shift", 0, double=True)  # the first press ends Caps Lock, the second does nothing
    tap(ctx, "Key", W, "w")
    expect_text(ctx, text + "aaqQww")


@case(KEYBOARD, SAFE_MODE)
def safe_mode_nudges_before_characters_and_backspaces(ctx):
    text = begin(ctx)
    reserved = [i for i, c in enumerate(UK_NORMAL) if c in "[]"]
    for index in [Q, 0] + reserved:
        check_nudged(ctx, tap(ctx, "Key", index, UK_NORMAL[index]), f"key {UK_NORMAL[index]!r}")
    tap(ctx, "Shift")
    plus = UK_SHIFTED.index("+")
    check_nudged(ctx, tap(ctx, "Key", plus, "+"), "shifted key '+'")
    check_nudged(ctx, tap(ctx, "Backspace", 0, "\b"), "Backspace")
    mark = tap(ctx, "Return", 0, "\r")
    presses = ctx.target.keydowns_since(mark)
    check(VK_LEFT not in presses and VK_RIGHT not in presses, f"Enter was nudged: {presses}")
    typed = "".join(UK_NORMAL[i] for i in [Q, 0] + reserved)
    expect_text(ctx, text + typed + "\r\n")


@case(KEYBOARD, GERMAN)
def characters_outside_the_target_layout_arrive_as_typed(ctx):
    text = begin(ctx)
    tap_keys(ctx, range(len(DE_NORMAL)), DE_NORMAL)
    tap(ctx, "CapsLock")
    beyond_ascii = [i for i, c in enumerate(DE_SHIFTED) if ord(c) > 0x7E]
    tap_keys(ctx, beyond_ascii, DE_SHIFTED)
    tap(ctx, "CapsLock")
    expect_text(ctx, text + DE_NORMAL + "".join(DE_SHIFTED[i] for i in beyond_ascii))
