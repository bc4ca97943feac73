"""Touch and access: a held key lights up, holding repeats and resting types only when the settings say
so, and a settings file without [extras] behaves as before."""

import time

import cases_options as options
from driver.layout import Rect
from driver.probe import IDOK
from driver.runner import KEYBOARD, Setup, case
from driver.screen import brightness, is_outline
from driver.waiting import check, check_equal, wait_for
from driver.wine_desktop import LEFT
from key_sets import PLACED, RED, UK_HOST, UK_NORMAL
from typing_steps import begin

Q, W = UK_NORMAL.index("q"), UK_NORMAL.index("w")
HOLD_S = 1.5
SETTLE_S = 0.5  # for a last repeat or a light to go out
# The middle of the left outline line: about 640 at rest (RGB 185-212, 200-224, 220-242), near white lit.
LIT_BRIGHTNESS = 735

CLASSIC = Setup("touch-classic", **UK_HOST, settings={"misc": PLACED, "fonts": {"FONTCOLOR": RED}})
REPEAT = Setup("touch-repeat", **UK_HOST,
               settings={"misc": PLACED, "extras": {"REPEATDELAY": "500", "REPEATRATE": "10"}})
DWELL = Setup("touch-dwell", **UK_HOST, settings={"misc": PLACED, "extras": {"DWELLTIME": "600"}})


def outline_brightness(ctx, shot, index):
    frame = ctx.layout.label("KeyBG", index).rect
    ox, oy = ctx.keyboard.origin
    pixel = shot.pixel(ox + frame.left + 1, oy + frame.top + frame.height // 2)
    check(is_outline(pixel) or brightness(pixel) >= LIT_BRIGHTNESS, f"no outline on key {index}: {pixel}")
    return brightness(pixel)


def hold(ctx, index, seconds, then=None):
    """Presses key `index` with the left button, holds it, runs then() while it is down, releases it."""
    ctx.desktop.xdotool("mousemove", *ctx.keyboard.point("Key", index), "mousedown", LEFT)
    time.sleep(seconds)
    result = then() if then else None
    ctx.desktop.xdotool("mouseup", LEFT)
    return result


def rest_on(ctx, index, seconds):
    ctx.desktop.xdotool("mousemove", *ctx.keyboard.point("Key", index))
    time.sleep(seconds)


def park(ctx):
    """Moves the pointer to the keyboard's top band, where nothing types."""
    x, y = ctx.layout.background_point_in_top_band()
    ctx.desktop.xdotool("mousemove", ctx.keyboard.origin[0] + x, ctx.keyboard.origin[1] + y)


@case(KEYBOARD, CLASSIC)
def a_held_key_lights_up_and_goes_dark_after_the_release(ctx):
    begin(ctx)
    ox, oy = ctx.keyboard.origin
    window = Rect(ox, oy, ctx.layout.width, ctx.layout.height)
    shot = hold(ctx, Q, 0.3, lambda: (ctx.picture("feedback-held", window), ctx.desktop.screenshot())[1])
    lit, neighbour = outline_brightness(ctx, shot, Q), outline_brightness(ctx, shot, W)
    check(lit >= LIT_BRIGHTNESS and neighbour < LIT_BRIGHTNESS - 60,
          f"held key outline {lit}, its neighbour {neighbour}: the held key is not lit")
    time.sleep(SETTLE_S)
    after = outline_brightness(ctx, ctx.desktop.screenshot(), Q)
    check(after < LIT_BRIGHTNESS - 60, f"the outline stays lit ({after}) after the release")


@case(KEYBOARD, CLASSIC)
def without_extras_a_held_key_types_once(ctx):
    text = begin(ctx)
    mark = ctx.target.mark()
    hold(ctx, Q, HOLD_S)
    time.sleep(SETTLE_S)
    check_equal(ctx.target.chars_since(mark), "q", f"characters typed by holding a key {HOLD_S} s")
    check_equal(ctx.target.text(), text + "q", "the target's text")


@case(KEYBOARD, REPEAT)
def a_held_key_repeats_at_the_rate_until_released(ctx):
    begin(ctx)
    mark = ctx.target.mark()
    hold(ctx, Q, HOLD_S)
    held = ctx.target.chars_since(mark)
    time.sleep(SETTLE_S)
    after = ctx.target.chars_since(mark)
    check(set(after) == {"q"} and 8 <= len(after) <= 12,
          f"holding {HOLD_S} s with 500 ms delay and 10/s typed {after!r}; about ten q expected")
    check_equal(after, held, "characters typed after the release")


@case(KEYBOARD, DWELL)
def resting_on_a_key_types_it_once_then_the_next_key(ctx):
    begin(ctx)
    mark = ctx.target.mark()
    rest_on(ctx, Q, HOLD_S)
    check_equal(ctx.target.chars_since(mark), "q", f"resting {HOLD_S} s on a key with a 600 ms dwell")
    rest_on(ctx, W, HOLD_S)
    park(ctx)
    time.sleep(SETTLE_S)
    check_equal(ctx.target.chars_since(mark), "qw", "resting on the next key")


MORE = "More settings"
MORE_SETUP = Setup("touch-more", **UK_HOST, settings={"misc": options.PLACE})


def more_control(ctx, name):
    dialog = options.probe(ctx).dialog(MORE)
    check(dialog is not None, f"the {MORE!r} dialog has gone")
    return dialog.control(name if isinstance(name, int) else options.IDS[name])


def click_more(ctx, name):
    ctx.desktop.click(more_control(ctx, name).centre)


def type_into_more(ctx, name, text):
    click_more(ctx, name)
    ctx.desktop.press_keys("End", "shift+Home")
    ctx.desktop.type_keys(text)
    ctx.desktop.press_keys("Tab")


@case(KEYBOARD, MORE_SETUP)
def more_settings_edits_the_four_values_and_the_settings_ok_stores_them(ctx):
    options.open_dialog(ctx)
    options.click(ctx, "IDC_CMD_MORE")
    more = wait_for(lambda: options.probe(ctx).dialog(MORE, wait_s=options.OPEN_S), timeout=options.OPEN_S)
    check(more is not None and more.active, f"no active {MORE!r} dialog after a click on More...")
    shown = [more.control(options.IDS[n]).text
             for n in ("IDC_TXT_REPEAT_DELAY", "IDC_TXT_REPEAT_RATE", "IDC_TXT_DWELL_TIME")]
    check_equal(shown, ["0", "10", "0"], "the numbers shown for a file without [extras]")
    click_more(ctx, "IDC_CHK_KEY_FEEDBACK")
    type_into_more(ctx, "IDC_TXT_REPEAT_DELAY", "500")
    type_into_more(ctx, "IDC_TXT_REPEAT_RATE", "12")
    type_into_more(ctx, "IDC_TXT_DWELL_TIME", "40")  # below the minimum: shows 300 once left
    check(wait_for(lambda: more_control(ctx, "IDC_TXT_DWELL_TIME").text == "300", timeout=2.0),
          f"a dwell time of 40 shows as {more_control(ctx, 'IDC_TXT_DWELL_TIME').text!r}, not 300")
    ctx.picture("more-settings", options.probe(ctx).dialog(MORE).rect)
    click_more(ctx, IDOK)
    check(options.probe(ctx).closed(MORE, wait_s=options.OPEN_S), f"{MORE!r} is still open after OK")
    options.close_dialog(ctx, IDOK)
    keyboard = ctx.keyboard
    keyboard.close()
    options.check_settings(keyboard.folder, {
        ("extras", "KEYFEEDBACK"): "0", ("extras", "REPEATDELAY"): "500", ("extras", "REPEATRATE"): "12",
        ("extras", "DWELLTIME"): "300", ("extras", "FOLLOWLAYOUT"): "0"})
