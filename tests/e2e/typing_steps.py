"""Steps the typing cases are written in: press a key, then see exactly what reached the target."""

import time

from driver.waiting import check, check_equal, wait_for
from driver.wine_desktop import LEFT

# A press that should type nothing (Shift, Caps Lock) is given this long to show a stray character.
QUIET_S = 0.15


def begin(ctx):
    """Gives the target the foreground; returns its text, which what a case types is appended to."""
    ctx.target.activate()
    return ctx.target.text()


def tap(ctx, control, index=0, expect="", button=LEFT, double=False):
    """Presses a label of the keyboard and checks that exactly `expect` arrives as WM_CHARs."""
    target = ctx.target
    mark = target.mark()
    if double:
        ctx.keyboard.double_click(control, index)
    else:
        ctx.keyboard.click(control, index, button)
    if expect:
        wait_for(lambda: len(target.chars_since(mark)) >= len(expect), timeout=3.0)
    else:
        time.sleep(QUIET_S)
    how = f"{'double click' if double else f'button {button}'} on {control}({index})"
    check_equal(target.chars_since(mark), expect, f"characters typed by a {how}")
    return mark


def tap_keys(ctx, indices, key_set):
    """Taps character keys one by one; each must type its character of key_set."""
    for index in indices:
        tap(ctx, "Key", index, key_set[index])


def expect_text(ctx, expected):
    ctx.target.wait_for_text(expected)
    check_equal(ctx.target.text(), expected, "the target's text")


def check_nudged(ctx, mark, what):
    """In safe mode every character and backspace comes after a Left press and then a Right press."""
    events = [e for e in ctx.target.since(mark) if e.kind in ("KEYDOWN", "CHAR")]
    first_char = next((i for i, e in enumerate(events) if e.kind == "CHAR"), len(events))
    presses = [e.vk for e in events[:first_char]]
    check(0x25 in presses and 0x27 in presses[presses.index(0x25):],
          f"{what}: expected Left then Right before it, key presses were {[hex(vk) for vk in presses]}")
