"""What the settings file keeps across a close and a restart: user key sets with blank or quoted ends,
characters beyond the ANSI code page, and the key colour after the colour chooser's OK."""

from cases_options import PLACE, click, close_dialog, open_dialog, probe, wait_for_control
from driver.probe import IDOK
from driver.runner import KEYBOARD, Setup, case
from driver.waiting import check, check_equal
from key_sets import RED, UK_HOST
from typing_steps import begin, tap_keys

QUOTED = Setup("quoted-set", **UK_HOST, settings={"misc": PLACE, "keymapping": {
    "KEYMAP": "user", "USERKEYMAPNORMAL": '" ab{}"', "USERKEYMAPSHIFT": "X"}})
UNICODE_SET = "\u0151\u2713ab"  # o double acute and a check mark: neither is in Windows-1252
USER = Setup("user-set", **UK_HOST, settings={"misc": PLACE, "fonts": {"FONTCOLOR": RED},
                                               "keymapping": {"KEYMAP": "user", "USERKEYMAPNORMAL": "qwer"}})


def restart_and_type(ctx, key_set):
    """Closes the keyboard, starts it again from its folder, and types every key of key_set."""
    folder, origin = ctx.keyboard.folder, ctx.keyboard.origin
    ctx.keyboard.close()
    ctx.launch(folder, origin)
    begin(ctx)
    tap_keys(ctx, range(len(key_set)), key_set)
    ctx.keyboard.close()
    return folder


@case(KEYBOARD, QUOTED)
def user_set_with_a_blank_end_survives_a_close_and_a_restart(ctx):
    begin(ctx)
    tap_keys(ctx, range(5), " ab{}")
    folder = restart_and_type(ctx, " ab{}")
    check_equal(folder.setting("keymapping", "USERKEYMAPNORMAL"), '" ab{}"', "the stored set")


@case(KEYBOARD, USER)
def user_set_beyond_ansi_survives_a_close_and_a_restart(ctx):
    open_dialog(ctx)
    click(ctx, "IDC_TXT_USERKEYMAP_LC")
    ctx.desktop.press_keys("End", "shift+Home")
    # xdotool maps a spare key for a character X has no key for; at its usual pace Wine misses some.
    ctx.desktop.xdotool("type", "--delay", 300, UNICODE_SET)
    wait_for_control(ctx, "IDC_TXT_USERKEYMAP_LC", lambda c: c.text == UNICODE_SET, "not the text typed")
    close_dialog(ctx, IDOK)
    begin(ctx)
    tap_keys(ctx, range(4), UNICODE_SET)
    folder = restart_and_type(ctx, UNICODE_SET)
    check(folder.settings_path.read_bytes().startswith(b"\xff\xfe"), "tapkeys.ini is not UTF-16")
    check_equal(folder.setting("keymapping", "USERKEYMAPNORMAL"), UNICODE_SET, "the stored set")


@case(KEYBOARD, USER)
def colour_chooser_ok_without_a_pick_keeps_the_colour(ctx):
    open_dialog(ctx)
    click(ctx, "IDC_CMD_COLOR")
    chooser = probe(ctx).dialog("Color", wait_s=5.0)
    check(chooser is not None, "no colour chooser after a click on the colour button")
    ctx.picture("colour-chooser", chooser.rect)
    ctx.desktop.click(chooser.control(IDOK).centre)
    check(probe(ctx).closed("Color", wait_s=5.0), "the colour chooser is still open after OK")
    close_dialog(ctx, IDOK)
    folder = ctx.keyboard.folder
    ctx.keyboard.close()
    check_equal(folder.setting("fonts", "FONTCOLOR"), RED, "FONTCOLOR after OK without a pick")
