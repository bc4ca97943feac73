"""The "Settings" dialog behind the options button: what it shows, what OK and Cancel do to the keys and
to tapkeys.ini, and that the keyboard takes no input while it is open.

The dialog's controls are found with win_probe by their resource ids from options/options_ids.h; the
clicks are real pointer clicks and the typing real key presses into the dialog, then the foreground."""

from pathlib import Path

from driver.layout import Rect
from driver.probe import IDCANCEL, IDOK, resource_ids
from driver.runner import KEYBOARD, Setup, case
from driver.screen import is_red
from driver.target import VK_LEFT, VK_RIGHT
from driver.waiting import check, check_equal, wait_for
from key_sets import RED, UK_HOST, UK_NORMAL, UK_SHIFTED
from typing_steps import begin, expect_text, tap

IDS = resource_ids(Path(__file__).resolve().parents[2] / "options" / "options_ids.h")
TITLE = "Settings"
OPEN_S = 5.0

Q, A = UK_NORMAL.index("q"), UK_NORMAL.index("a")

# Typed over the first three characters of the normal key set: capitals, which no key of that layer
# types, so a key that types one of them can only have it from the user's set.
NEW_START = "XYZ"
STYLE_BOXES = ("IDC_CHK_FONT_BOLD", "IDC_CHK_FONT_ITALIC", "IDC_CHK_FONT_UNDERLINE", "IDC_CHK_FONT_STRIKE")

# Above the dialog, which opens centred on the screen (from y = 228 on 1024 x 768), so that the presses
# under the dialog reach the keyboard's own pixels.
PLACE = {"WINDOWX": "300", "WINDOWY": "4"}
CONFIRM = Setup("options-ok", **UK_HOST, settings={"misc": PLACE, "fonts": {"FONTCOLOR": RED}})
CANCEL = Setup("options-cancel", **UK_HOST, settings={"misc": PLACE, "fonts": {"FONTCOLOR": RED}})


# Steps

def probe(ctx):
    check(ctx.probe is not None, "these cases need --probe tapkeys_e2e_win_probe.exe")
    return ctx.probe


def open_dialog(ctx):
    """Clicks the options button (press and release) and waits for the dialog to take the foreground."""
    ctx.keyboard.click("Options")
    dialog = wait_for(lambda: active_dialog(ctx), timeout=OPEN_S, interval=0.1)
    check(dialog is not None, f"no active {TITLE!r} dialog after a click on the options button")
    return dialog


def active_dialog(ctx):
    dialog = probe(ctx).dialog(TITLE, wait_s=OPEN_S)
    return dialog if dialog is not None and dialog.active else None


def dialog_now(ctx):
    dialog = probe(ctx).dialog(TITLE)
    check(dialog is not None, f"the {TITLE!r} dialog has gone")
    return dialog


def control(dialog, name):
    return dialog.control(IDS[name])


def click(ctx, name_or_id):
    """Clicks the middle of a control as the dialog shows it now, which must be enabled."""
    target = dialog_now(ctx).control(name_or_id if isinstance(name_or_id, int) else IDS[name_or_id])
    check(target.enabled, f"{name_or_id} is disabled")
    ctx.desktop.click(target.centre)


def replace_text(ctx, name, text):
    """Clicks into an edit box (or a combo box's edit part), selects its whole text and types text."""
    click(ctx, name)
    ctx.desktop.press_keys("End", "shift+Home")
    ctx.desktop.type_keys(text)


def wait_for_control(ctx, name, predicate, what):
    """Re-reads the dialog until its control satisfies predicate; fails with what when it does not."""
    found = wait_for(lambda: predicate(control(dialog_now(ctx), name)), timeout=2.0, interval=0.05)
    if not found:
        c = control(dialog_now(ctx), name)
        check(False, f"{name}: {what} (text {c.text!r}, checked {c.checked}, enabled {c.enabled})")


def close_dialog(ctx, button_id):
    click(ctx, button_id)
    check(probe(ctx).closed(TITLE, wait_s=OPEN_S), f"the dialog is still open after a click on {button_id}")


def keyboard_rect(keyboard):
    return Rect(keyboard.origin[0], keyboard.origin[1], keyboard.layout.width, keyboard.layout.height)


def window_pixels(ctx):
    """The keyboard window's pixels as they are on the screen now."""
    shot = ctx.desktop.screenshot()
    r = keyboard_rect(ctx.keyboard)
    return [shot.pixel(x, y) for y in range(r.top, r.top + r.height)
            for x in range(r.left, r.left + r.width)]


def caption_ink(ctx):
    """How many red caption pixels the character keys show: grows with a bold or larger key font."""
    shot, origin = ctx.desktop.screenshot(), ctx.keyboard.origin
    return sum(shot.count(label.rect, is_red, origin) for label in ctx.layout.character_keys())


def check_keyboard_ignores_presses(ctx, dialog):
    """While the dialog is open the keyboard window is disabled: neither a key nor Caps Lock does
    anything, and the dialog keeps the foreground."""
    mark = ctx.target.mark()
    for control_name, index in (("Key", Q), ("CapsLock", 0), ("Key", A)):
        check(not dialog.rect.contains(*ctx.keyboard.point(control_name, index)),
              f"the dialog covers {control_name}({index})")
        ctx.keyboard.click(control_name, index)
    wait_for(lambda: ctx.target.since(mark, "CHAR"), timeout=0.5)
    check_equal(ctx.target.chars_since(mark), "", "characters typed by presses under the dialog")
    check(dialog_now(ctx).active, "a press on the keyboard took the foreground from the dialog")
    keyboard = probe(ctx).window("tapkeysKeyboard")
    check(keyboard is not None and not keyboard.enabled, "the keyboard window is enabled under the dialog")


def check_settings(folder, expected):
    actual = {(section.lower(), key): value for section, key, value in folder.read_settings()}
    wrong = {k: (actual.get(k), v) for k, v in expected.items() if actual.get(k) != v}
    check(not wrong, "tapkeys.ini: " + ", ".join(f"{section}/{key} is {found!r}, expected {want!r}"
                                                 for (section, key), (found, want) in wrong.items()))


def saved(keymap="ini", normal="", shifted="", style="", size="14", safe="0"):
    """tapkeys.ini as a close writes it for these set-ups, with the given values."""
    return {("misc", "SAFEMODE"): safe, ("misc", "WINDOWX"): PLACE["WINDOWX"],
            ("misc", "WINDOWY"): PLACE["WINDOWY"], ("fonts", "FONTFACE"): "Arial",
            ("fonts", "FONTSTYLE"): style, ("fonts", "FONTSIZE"): size, ("fonts", "FONTCOLOR"): RED,
            ("keymapping", "KEYMAP"): keymap, ("keymapping", "USERKEYMAPNORMAL"): normal,
            ("keymapping", "USERKEYMAPSHIFT"): shifted}


# Cases

@case(KEYBOARD, CONFIRM)
def options_ok_brings_user_key_sets_and_font_to_the_keys_and_the_file(ctx):
    text = begin(ctx)
    tap(ctx, "Shift")  # a pending Shift outlives the dialog
    ink_before = caption_ink(ctx)
    dialog = open_dialog(ctx)
    check_equal(control(dialog, "IDC_OPT_MAP_LANGUAGE_FILE").checked, 1, "the language-file option")
    for box in ("IDC_TXT_USERKEYMAP_LC", "IDC_TXT_USERKEYMAP_UC"):
        check(not control(dialog, box).enabled and control(dialog, box).text == "",
              f"{box} is not empty and disabled with the language file chosen")
    check_equal((control(dialog, "IDC_CBO_FONTFACE").text, control(dialog, "IDC_CBO_FONTSIZE").text),
                ("Arial", "14pt"), "face and size shown")
    check_keyboard_ignores_presses(ctx, dialog)

    # "user defined" with empty boxes fills them with the sets on the keys.
    click(ctx, "IDC_OPT_MAP_USER")
    wait_for_control(ctx, "IDC_TXT_USERKEYMAP_LC", lambda c: c.enabled and c.text == UK_NORMAL,
                     "not filled with the normal set on the keys")
    check_equal(control(dialog_now(ctx), "IDC_TXT_USERKEYMAP_UC").text, UK_SHIFTED, "the shifted box")
    ctx.picture("options-dialog", dialog_now(ctx).rect)
    new_normal = NEW_START + UK_NORMAL[len(NEW_START):]
    replace_text(ctx, "IDC_TXT_USERKEYMAP_LC", new_normal)
    wait_for_control(ctx, "IDC_TXT_USERKEYMAP_LC", lambda c: c.text == new_normal, "not the text typed")
    ctx.desktop.type_keys("!")  # the box holds 47 characters already and takes no 48th
    wait_for_control(ctx, "IDC_TXT_USERKEYMAP_LC", lambda c: c.text == new_normal, "took a 48th character")

    click(ctx, "IDC_CHK_FONT_BOLD")
    replace_text(ctx, "IDC_CBO_FONTSIZE", "20")
    ctx.desktop.press_keys("Tab")
    wait_for_control(ctx, "IDC_CBO_FONTSIZE", lambda c: c.text == "20pt", "20 did not become 20pt")
    wait_for_control(ctx, "IDC_CHK_FONT_BOLD", lambda c: c.checked == 1, "Bold is not checked")
    close_dialog(ctx, IDOK)

    # The pending Shift shows the user's shifted set in bold 20 point, types one key, and goes.
    check(wait_for(lambda: caption_ink(ctx) > ink_before * 5 // 4, timeout=3.0),
          f"the captions did not grow with bold 20 point: {ink_before} red pixels, then {caption_ink(ctx)}")
    ctx.screenshot("options-after-ok")
    begin(ctx)
    tap(ctx, "Key", 0, UK_SHIFTED[0])
    for index in range(len(NEW_START) + 1):
        tap(ctx, "Key", index, new_normal[index])
    expect_text(ctx, text + UK_SHIFTED[0] + new_normal[:len(NEW_START) + 1])

    keyboard = ctx.keyboard
    keyboard.close()
    user = dict(keymap="user", normal=new_normal, shifted=UK_SHIFTED, style="b", size="20")
    check_settings(keyboard.folder, saved(**user))
    # The next run reads them back.
    ctx.launch(keyboard.folder, keyboard.origin)
    begin(ctx)
    tap(ctx, "Key", 1, new_normal[1])
    ctx.keyboard.close()
    check_settings(keyboard.folder, saved(**user))


@case(KEYBOARD, CANCEL)
def options_cancel_after_changing_everything_changes_nothing(ctx):
    text = begin(ctx)
    tap(ctx, "CapsLock")
    pixels_before = window_pixels(ctx)
    dialog = open_dialog(ctx)
    check_keyboard_ignores_presses(ctx, dialog)

    click(ctx, "IDC_CHK_SAFE_MODE")
    click(ctx, "IDC_OPT_MAP_USER")
    wait_for_control(ctx, "IDC_TXT_USERKEYMAP_LC", lambda c: c.text == UK_NORMAL, "not filled")
    replace_text(ctx, "IDC_TXT_USERKEYMAP_LC", NEW_START)
    for box in STYLE_BOXES:
        click(ctx, box)
    replace_text(ctx, "IDC_CBO_FONTFACE", "Courier New")
    replace_text(ctx, "IDC_CBO_FONTSIZE", "300")
    ctx.desktop.press_keys("Tab")
    wait_for_control(ctx, "IDC_CBO_FONTSIZE", lambda c: c.text == "8pt", "300 did not become 8pt on leaving")
    changed = dialog_now(ctx)
    unchecked = [box for box in ("IDC_CHK_SAFE_MODE", *STYLE_BOXES) if control(changed, box).checked != 1]
    check(not unchecked, f"not checked after a click: {unchecked}")
    check_equal(control(changed, "IDC_CBO_FONTFACE").text, "Courier New", "the face typed")
    ctx.picture("options-dialog-changed", changed.rect)
    close_dialog(ctx, IDCANCEL)

    # Caps Lock holds, the captions are the shifted ones they were, and nothing else changed.
    redrawn = wait_for(lambda: window_pixels(ctx) == pixels_before, timeout=3.0, interval=0.2)
    if not redrawn:
        ctx.screenshot("options-after-cancel")
        check(False, "after Cancel the keyboard looks other than before (see options-after-cancel.png)")
    keyboard = probe(ctx).window("tapkeysKeyboard")
    check(keyboard is not None and keyboard.enabled, "the keyboard window is not enabled after the dialog")
    begin(ctx)
    mark = tap(ctx, "Key", Q, "Q")
    check(not {VK_LEFT, VK_RIGHT} & set(ctx.target.keydowns_since(mark)), "safe mode nudged after Cancel")
    tap(ctx, "Key", 0, UK_SHIFTED[0])
    tap(ctx, "CapsLock")
    tap(ctx, "Key", 0, UK_NORMAL[0])
    expect_text(ctx, text + "Q" + UK_SHIFTED[0] + UK_NORMAL[0])
    folder = ctx.keyboard.folder
    ctx.keyboard.close()
    check_settings(folder, saved())

