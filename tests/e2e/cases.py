"""Every end-to-end and fault case, one row each: Case(name, kind, setup, *actions).

kind: the desktop the case runs on (DESKTOPS).
setup: a driver.Setup, the app folder tapkeys.exe starts from. Consecutive rows naming the same Setup
    share one running keyboard while their cases pass.
actions: steps from steps.py (key(Q, "q") taps a character key expecting "q"), or lists of them, run in
    order after a click on the target; a case that needs code of its own is a function of the context.
"""

import json
import random
import time
from dataclasses import replace

from driver import (LEFT, MIDDLE, RIGHT, VK_BACK, VK_ESCAPE, VK_RETURN, VK_TAB, Rect, Setup, check, check_equal, end,
                    ini_bytes,
                    wait_for, windows_path)
from steps import (activate, captions_grew, clean_outlines, close, close_without_rights, dlg, dlg_click, dlg_close,
                   dlg_rest, dlg_type, drag, drawn, expect_dialog, hold, keyboard_ignores, keyboard_window, keys,
                   looks_as_before, open_dialog, picture, press, quiet, relaunch, remember_look, rest, saved, tap,
                   target_running, typed, x_keys, x_type)

KEYBOARD, DPI, FAULT, LAYOUT = "keyboard", "dpi", "fault", "layout"
# Each kind's screen size, density and X keyboard layout; 144 dpi needs a screen large enough for the
# scaled keyboard beside the target.
DESKTOPS = {KEYBOARD: ((1024, 768), 96, None), FAULT: ((1024, 768), 96, None), DPI: ((1600, 1000), 144, None),
            LAYOUT: ((1024, 768), 96, "de")}

# Key sets, one character per key in key order (row by row, left to right). The British shifted set
# holds every character SendKeys notation reserves (+ ^ % ~ ( ) { }, and [ ] in the normal set) and the
# pound sign; the German one characters of Windows-1252 a US keyboard cannot type (€ é ß).
UK_NORMAL = "1234567890-=" "qwertyuiop[]" "asdfghjkl;'#" "\\zxcvbnm,./"
UK_SHIFTED = "!\"£$%^&*()_+" "QWERTYUIOP{}" "ASDFGHJKL:@~" "|ZXCVBNM<>?"
DE_NORMAL = "1234567890ß´" "qwertzuiopü+" "asdfghjklöä#" "€yxcvbnm,.é"
DE_SHIFTED = "!\"§$%&/()=?`" "QWERTZUIOPÜ*" "ASDFGHJKLÖÄ'" "£YXCVBNM;:É"
ALL = range(47)
CORNERS = (0, 11, 12, 23, 24, 35, 36, 46)  # the first and last key of each row
BEYOND_ASCII = [i for i, c in enumerate(DE_SHIFTED) if ord(c) > 0x7E]
Q, W, A, P, E, ONE = (UK_NORMAL.index(c) for c in "qwape1")
# Keys by what a US board has at their places, for the German X keyboard layout.
SEVEN, MINUS, Y, BRACKET, SEMICOLON, QUOTE, ISO = 6, 10, 17, 22, 33, 34, 36
VK_CAPITAL = 0x14


def key(index, expect="", **how):
    return tap("Key", index, expect, **how)


# Clear of the target window (below y = 500) and of the centred place, so a keyboard that ignored
# WINDOWX / WINDOWY would not be found where the cases look.
PLACED = {"WINDOWX": "300", "WINDOWY": "40"}
# Above the options dialog, which opens centred (from y = 228), so presses under it reach the keyboard.
DIALOG_PLACE = {"WINDOWX": "300", "WINDOWY": "4"}
RED = "255"  # FONTCOLOR, 0x00BBGGRR
# "uk" is chosen by dax.ini, and "en", the language used without one, holds other characters.
UK_HOST = {"host_language": "uk", "languages": {"uk": (UK_NORMAL, UK_SHIFTED), "en": (DE_NORMAL, DE_SHIFTED)}}


def plain(name, safe="0", **settings):
    return Setup(name, **UK_HOST, settings={"misc": {"SAFEMODE": safe, **PLACED}, **settings})


def uk(name, misc=DIALOG_PLACE, **settings):
    return Setup(name, **UK_HOST, settings={"misc": misc, **settings})


TYPING = plain("typing", fonts={"FONTCOLOR": RED})
SAFE_MODE = plain("safe-mode", safe="1")
GERMAN = Setup("german", host_language="de", languages={"de": (DE_NORMAL, DE_SHIFTED)}, settings={"misc": PLACED})
NO_SETTINGS = Setup("no-settings", **UK_HOST)
CONFIRM, CANCEL = (uk(name, fonts={"FONTCOLOR": RED}) for name in ("options-ok", "options-cancel"))
SCALED = uk("dpi-144", PLACED, fonts={"FONTCOLOR": RED})
JUNK = bytes(random.Random(3).randrange(256) for _ in range(3000))
DAMAGED = Setup("damaged", host_language="xx", origin=(300, 40), files={
    "lang/xx.ini": b"[osk]\r\nKEYMAP_NORMAL=" + b"n" * 300 + b"\r\n" + JUNK,
    # Junk around the keys the keyboard needs to open where the case looks for it.
    "tapkeys.ini": JUNK[:500] + b"\r\n" + ini_bytes({"misc": PLACED}) + JUNK[500:1500]})
PATH_CODE = Setup("path-code", host_language="..\\secret", settings={"misc": PLACED},
                  files={"secret.ini": ini_bytes({"osk": {"KEYMAP_NORMAL": "leak", "KEYMAP_SHIFT": "LEAK"}})})
TOUCH_CLASSIC = plain("touch-classic")
REPEAT = plain("repeat", extras={"REPEATDELAY": "500", "REPEATRATE": "10"})
DWELL = plain("dwell", extras={"DWELLTIME": "600"})
SAFE_REPEAT = plain("safe-repeat", safe="1", extras={"REPEATDELAY": "250", "REPEATRATE": "30"})
SAFE_DWELL = plain("safe-dwell", safe="1", extras={"DWELLTIME": "600"})
MORE = uk("more-settings")
SCAN_MS = 600
SCAN, SCAN_DIALOG = (uk(name, extras={"SCANTIME": str(SCAN_MS)}) for name in ("scan", "scan-dialog"))
DWELL_DIALOG = uk("dwell-dialog", extras={"DWELLTIME": "600"})
QUOTED = plain("quoted-set", keymapping={"KEYMAP": "user", "USERKEYMAPNORMAL": '" ab{}"', "USERKEYMAPSHIFT": "X"})
# Word prediction with a short word list of the host's language, learning on or off.
WORDS = {"lang/uk-words.txt": b"the\t500\nthat\t400\nthis\t300\nwhat\t200\nwhen\t100\nzero\t1\n"}
PREDICTING, NOT_LEARNING = (Setup(name, **UK_HOST, files=WORDS, settings={
    "misc": PLACED, "extras": {"PREDICTION": "1", "LEARNWORDS": learn}}) for name, learn in
    (("predicting", "1"), ("not-learning", "0")))
T, H, Z, B, U = (UK_NORMAL.index(c) for c in "thzbu")
ZEBU = [key(Z, "z"), key(E, "e"), key(B, "b"), key(U, "u"), tap("Space", 0, " ")]
USER_SET = uk("user-set", fonts={"FONTCOLOR": RED}, keymapping={"KEYMAP": "user", "USERKEYMAPNORMAL": "qwer"})
LINKED_USER_SET = replace(USER_SET, name="user-set-linked", linked=True)
BEYOND_ANSI = "\u0151\u2713ab"  # o with double acute and a check mark: neither is in Windows-1252
UTF8_SETTINGS = Setup("utf8-settings", **UK_HOST, origin=(300, 40), files={"tapkeys.ini": (
    "\ufeff[host]\r\nNOTE=kept\r\n[misc]\r\nWINDOWX=300\r\nWINDOWY=40\r\n[keymapping]\r\nKEYMAP=user\r\n"
    f"USERKEYMAPNORMAL={BEYOND_ANSI}\r\n").encode("utf-8")})
FOLLOWING, NOT_FOLLOWING = (uk(name, PLACED, extras={"FOLLOWLAYOUT": on}) for name, on in
                            (("follow-layout", "1"), ("layout-off", "0")))
OFF_KEYS = (MINUS, 11, Y, BRACKET, QUOTE, ISO)
# 150 % at 96 dpi draws at 144 dpi: as large as the keyboard at 150 % scaling, clear of the target.
BIG = uk("size-150", {"WINDOWX": "40", "WINDOWY": "40"}, fonts={"FONTCOLOR": RED}, extras={"KEYBOARDSIZE": "150"})

NEW_NORMAL = "XYZ" + UK_NORMAL[3:]  # capitals no key of the normal layer types
STYLE_BOXES = ("IDC_CHK_FONT_BOLD", "IDC_CHK_FONT_ITALIC", "IDC_CHK_FONT_UNDERLINE", "IDC_CHK_FONT_STRIKE")
UNDER_THE_DIALOG = (("Key", Q), ("CapsLock", 0), ("Key", A))
SIZE_AT_144 = (948, 325)  # 632 x 217 times 1.5
HERE = {"misc/WINDOWX": "{x}", "misc/WINDOWY": "{y}"}
OPTIONS_SAVED = {"misc/SAFEMODE": "0", "misc/WINDOWX": "300", "misc/WINDOWY": "4", "fonts/FONTFACE": "Arial",
                 "fonts/FONTSTYLE": "", "fonts/FONTSIZE": "14", "fonts/FONTCOLOR": RED,
                 "keymapping/KEYMAP": "ini", "keymapping/USERKEYMAPNORMAL": "", "keymapping/USERKEYMAPSHIFT": ""}
USER_SAVED = {**OPTIONS_SAVED, "fonts/FONTSTYLE": "b", "fonts/FONTSIZE": "20", "keymapping/KEYMAP": "user",
              "keymapping/USERKEYMAPNORMAL": NEW_NORMAL, "keymapping/USERKEYMAPSHIFT": UK_SHIFTED}
FIRST_CLOSE = ("[misc] SAFEMODE=0 WINDOWX={x} WINDOWY={y} [fonts] FONTFACE=Arial FONTSTYLE= FONTSIZE=14 FONTCOLOR=0 "
               "[keymapping] KEYMAP=ini USERKEYMAPNORMAL= USERKEYMAPSHIFT= [extras] KEYFEEDBACK=1 REPEATDELAY=0 "
               "REPEATRATE=10 DWELLTIME=0 FOLLOWLAYOUT=0 PREDICTION=0 LEARNWORDS=1 SCANTIME=0 SCANKEY=SPACE "
               "KEYBOARDSIZE=100")
# Each named key's labels, the WM_CHAR and key press it produces and what it leaves in an edit control.
NAMED = (("Esc", 2, "\x1b", VK_ESCAPE, ""), ("Tab", 2, "\t", VK_TAB, "\t"), ("Backspace", 2, "\b", VK_BACK, ""),
         ("Return", 4, "\r", VK_RETURN, "\r\n"), ("Space", 2, " ", None, " "))


def hung_window(ctx):
    """A window that takes the foreground and then stops reading its messages: presses meant for it
    cost the keyboard a short wait each, and the next target gets its keys."""
    hung = ctx.desktop.launch(ctx.target.exe, windows_path(ctx.workdir / "hung.log"), 40, 400, 400, 200, 800)
    try:
        time.sleep(1.5)  # in front long enough to be taken as the target, then hung
        started = time.monotonic()
        for step in (press(5, 6, 7), activate(), key(8, UK_NORMAL[8])):
            step(ctx)
        check(time.monotonic() - started < 5, f"the keyboard took {time.monotonic() - started:.1f} s")
    finally:
        end(hung)


def presses_inside_pauses(ctx):
    """A press that arrives while safe mode pauses between a key's keystrokes is served at once, inside
    the pause, and neither it nor the interrupted key is lost; a Shift pressed there ends with the key
    string it interrupted, as every key string's end releases a pending Shift."""
    def pair(second, gap_s):  # Q, then second, each pressed for a millisecond
        mark, quick = ctx.target.mark(), ("mousedown", LEFT, "sleep", 0.001, "mouseup", LEFT)
        ctx.desktop.xdotool("mousemove", *ctx.keyboard.point("Key", Q), *quick, "sleep", gap_s,
                            "mousemove", *ctx.keyboard.point(*second), *quick)
        wait_for(lambda: ctx.target.chars_since(mark), 3.0, 0.005)
        return mark

    nested = 0
    for trial in range(16):
        mark = pair(("Key", P), 0.001 + 0.001 * trial)
        wait_for(lambda: len(ctx.target.chars_since(mark)) >= 2, 3.0, 0.005)
        time.sleep(0.1)
        got = ctx.target.chars_since(mark)
        check(sorted(got) == ["p", "q"], f"trial {trial}: expected q and p once each, got {got!r}")
        nested += got == "pq"
        time.sleep(0.6)  # no double click with the next trial
    check(nested > 0, "no press was served inside a safe-mode pause")
    mark = pair(("Shift", 0), 0.003)
    time.sleep(0.7)
    key(P, "p")(ctx)
    check(ctx.target.chars_since(mark) == "qp", f"a Shift pressed during a pause: expected 'qp', got "
                                                f"{ctx.target.chars_since(mark)!r}")


def brightness(ctx, shot, index):
    """The middle of a key's left outline line, R + G + B: about 640 at rest, near white when lit."""
    r = ctx.layout.label("KeyBG", index).rect
    return sum(shot.pixel(*ctx.keyboard.at(r.left + 1, r.top + r.height // 2)))


def quick_taps_type_once_and_let_go(ctx):
    """Safe mode with repeat: a quick tap on one key, then one on another inside the first one's pauses.
    Each types once, nothing repeats after them and no key stays lit."""
    quick = ("mousedown", LEFT, "sleep", 0.001, "mouseup", LEFT)
    for trial in range(6):
        mark = ctx.target.mark()
        ctx.desktop.xdotool("mousemove", *ctx.keyboard.point("Key", Q), *quick, "sleep", 0.002 * (trial + 1),
                            "mousemove", *ctx.keyboard.point("Key", P), *quick)
        time.sleep(0.8)  # three times the repeat delay
        got, shot = ctx.target.chars_since(mark), ctx.desktop.screenshot()
        check(sorted(got) == ["p", "q"], f"trial {trial}: expected q and p once each, got {got!r}")
        lit = [brightness(ctx, shot, i) for i in (Q, P)]
        check(max(lit) < 675, f"trial {trial}: outlines of q and p {lit} after the taps")
        ctx.desktop.xdotool("mousemove", *ctx.keyboard.at(*ctx.layout.top_band_point()), "sleep", 0.6)  # no double click


def click_as_the_dwell_completes_types_once(ctx):
    """Safe mode with dwell: a click that lands just before or while the dwell types the key (whose
    pauses run the click) types it once."""
    for trial, after_s in enumerate((0.56, 0.59, 0.6, 0.605, 0.61, 0.62)):
        mark = ctx.target.mark()
        ctx.desktop.xdotool("mousemove", *ctx.keyboard.at(*ctx.layout.top_band_point()), "sleep", 0.2,
                            "mousemove", *ctx.keyboard.point("Key", Q), "sleep", after_s, "click", LEFT)
        time.sleep(0.8)
        check(ctx.target.chars_since(mark) == "q", f"trial {trial}, click {after_s} s after arriving: expected "
                                                   f"'q', got {ctx.target.chars_since(mark)!r}")
    ctx.desktop.xdotool("mousemove", *ctx.keyboard.at(*ctx.layout.top_band_point()))  # the next case moves in


def held_key_lights_up(ctx):
    """While a key is held its outline is lit, clearly brighter than its neighbour's; after the release
    it goes dark again."""

    ctx.keyboard.press("Key", Q, "mousedown", LEFT, "sleep", 0.3)
    try:
        shot = ctx.desktop.screenshot()
        picture("feedback-held")(ctx)
    finally:
        ctx.desktop.xdotool("mouseup", LEFT)
    lit, neighbour = brightness(ctx, shot, Q), brightness(ctx, shot, W)
    check(lit >= 735 and neighbour < 675, f"held key's outline {lit}, its neighbour's {neighbour}")
    dark = wait_for(lambda: brightness(ctx, ctx.desktop.screenshot(), Q) < 675, 1.0, 0.05)
    check(dark, "the outline stays lit after the release")


def console_target(ctx):
    """A console window (conhost) as the target after the keyboard was activated: a burst of taps, the
    later ones arriving while the first waits for the console to take the focus, arrives in order, and
    the keyboard is on top again after the hand-back (Wine raises the console over it)."""
    console = ctx.desktop.launch("wineconsole", "cmd.exe", output=ctx.workdir / "console.out")
    try:
        window = ctx.probe.ask("window", "WineConsoleClass", wait_s=10)
        check(window is not None, "no console window")
        for point in (window["rect"].centre, ctx.keyboard.at(*ctx.layout.top_band_point())):  # the keyboard last
            ctx.desktop.click(point)
            time.sleep(0.25)
        ctx.desktop.xdotool(*[word for c in "exit" for word in ("mousemove", *ctx.keyboard.point(
            "Key", UK_NORMAL.index(c)), "click", LEFT)])
        time.sleep(0.3)
        check(ctx.keyboard.shown_at(ctx.keyboard.origin), "the console covers the keyboard")
        ctx.keyboard.press("Return")
        check(wait_for(lambda: console.poll() is not None, 5), "the console did not take 'exit' and Enter")
    finally:
        end(console)


def strip_picture(ctx):
    """The keyboard with its suggestion strip, for the README."""
    ctx.desktop.save_picture(ctx.workdir / "prediction.png",
                             Rect(*ctx.keyboard.origin, ctx.layout.width, ctx.layout.height_with_strip))


def learned(*words):
    """The learned words file beside the settings holds these words (none: there is no file)."""
    def step(ctx):
        path = ctx.keyboard.folder / "tapkeys-learned-words.txt"
        check(path.exists() == bool(words), f"{path.name} exists: {path.exists()}")
        text = path.read_text(encoding="utf-8") if words else ""
        check(all(f"word\t{w}\t" in text for w in words), f"{path.name} lacks one of {words}: {text!r}")
    return step


def switch_presses(*presses):
    """Switch presses on the X keyboard (Space) in one xdotool run, each (wait, held) a wait and how long
    the switch is then held down (0: a tap). The target must see neither a Space key nor its character."""
    def step(ctx):
        mark, words = ctx.target.mark(), []
        for wait, held in presses:
            tap = ("keydown", "space", "sleep", held, "keyup", "space") if held else ("key", "space")
            words += ["sleep", wait, *tap]
        ctx.desktop.xdotool(*words)
        time.sleep(0.3)
        leaked = [e for e in ctx.target.since(mark) if e.kind in ("KEYDOWN", "KEYUP", "CHAR") and e.vk == 0x20]
        check(not leaked, f"the target received the switch: {leaked[:4]}")
    return step


def scan(*picks):
    """Switch presses timed to the middle of the highlights: the first starts scanning at the first row at
    once, then for each (row, item) the row and its item; after each pick scanning starts again at once."""
    def at(steps):
        return (steps * SCAN_MS + SCAN_MS / 2) / 1000
    return [(0, 0)] + [(at(step), 0) for row, item in picks for step in (row, item)]


def resized(size, percent, strip=False):
    """The keyboard window has taken size (with the suggestion strip below it at that size: strip) at once,
    and lies wholly on the screen; later steps find its keys at that size where it now is."""
    def step(ctx):
        nonlocal size
        if strip:
            size = (size[0], ctx.layout_at(percent).height_with_strip)
        rect = lambda: ctx.probe.ask("window", "tapkeysKeyboard")["rect"]  # noqa: E731
        wait_for(lambda: (rect().width, rect().height) == size, 2.0, 0.1)
        r = rect()
        check_equal((r.width, r.height), size, "the keyboard's size")
        check(r.left >= 0 and r.left + r.width <= ctx.desktop.size[0], f"the keyboard reaches off the screen: {r}")
        ctx.layout = ctx.keyboard.layout = ctx.layout_at(percent)
        ctx.keyboard.origin = (r.left, r.top)
    return step


def keys_seen_by_a_client(ctx):
    """An accessibility client in another process finds the keyboard and lists a push button (Shift and
    Caps Lock: check buttons) per key and button, named by what it shows and lying where it is drawn;
    the default action of "q" types q into the target, which keeps the activation."""
    client = ctx.probe.exe.parent / "tapkeys_e2e_msaa_client.exe"
    answer = json.loads(ctx.desktop.run(client, "q"))
    check(answer["result"] == 0, f"AccessibleObjectFromWindow answered {answer['result'] & 0xFFFFFFFF:#x}")
    children = {c["name"]: c for c in answer["children"] if c["name"]}
    check(len(children) >= 54, f"{len(children)} named children: {sorted(children)}")
    checks = sorted(name for name, c in children.items() if c["role"] == 0x2C)  # ROLE_SYSTEM_CHECKBUTTON
    check(checks == ["Caps Lock", "Shift"] and all(c["role"] in (0x2B, 0x2C) for c in children.values()),
          f"check buttons {checks}, roles {sorted({c['role'] for c in children.values()})}")
    frame = ctx.layout.label("KeyBG", Q).rect
    check_equal(children["q"]["rect"], [*ctx.keyboard.at(frame.left, frame.top),
                                        *ctx.keyboard.at(frame.left + frame.width, frame.top + frame.height)],
                "q's rectangle on the screen")
    check(answer["pressed"] == children["q"]["id"], "q's default action failed")
    check(not ctx.probe.ask("window", "tapkeysKeyboard")["active"], "the keyboard took the activation")


def flat(actions):
    return [step for a in actions for step in (flat(a) if isinstance(a, list) else [a])]


def polled(vk, actions):
    """The actions while another program asks GetAsyncKeyState about the key vk every millisecond."""
    def step(ctx):
        poller = ctx.desktop.launch(ctx.probe.exe, "poll", vk)
        try:
            for action in flat(actions):
                action(ctx)
        finally:
            end(poller)
    return step


SYSTEM_CAPS_LOCK = [x_keys("Caps_Lock"), key(E, "e"), key(ONE, "1"), tap("CapsLock"), key(E, "E"),
                    key(ONE, UK_SHIFTED[ONE]), tap("CapsLock")] * 2


class Case:
    def __init__(self, name, kind, setup, *actions):
        self.name, self.kind, self.setup, self.steps = name, kind, setup, flat(actions)


CASES = [
    Case("outlines_and_captions_are_drawn_where_the_layout_puts_them", KEYBOARD, TYPING, drawn(), picture("window")),
    Case("both_layers_type_every_key_exactly", KEYBOARD, TYPING, keys(ALL, UK_NORMAL), tap("CapsLock"),
         keys(ALL, UK_SHIFTED), tap("CapsLock"), typed(UK_NORMAL + UK_SHIFTED)),
    Case("key_frames_type_like_their_captions", KEYBOARD, TYPING,
         [tap("KeyBG", i, UK_NORMAL[i]) for i in CORNERS], typed("".join(UK_NORMAL[i] for i in CORNERS))),
    # Shift twice (slower than a double click) is no Shift; named keys send themselves and end it too.
    Case("shift_holds_for_one_key_string", KEYBOARD, TYPING, tap("Shift"), key(Q, "Q"), key(Q, "q"), tap("Shift"),
         tap("Shift"), key(W, "w"), tap("Shift"), tap("Space", 0, " "), key(W, "w"), tap("Shift"),
         tap("Backspace", 0, "\b"), key(W, "w"), typed("Qqw w")),
    # Shift ends Caps Lock without a shift of its own; Caps Lock cancels a pending Shift and stays off.
    Case("caps_lock_holds_until_caps_lock_or_shift", KEYBOARD, TYPING, tap("CapsLock"), key(0, UK_SHIFTED[0]),
         tap("Space", 0, " "), key(0, UK_SHIFTED[0]), key(Q, "Q"), tap("Shift"), key(Q, "q"), tap("Shift"),
         tap("CapsLock"), key(Q, "q"), key(W, "w"), typed(UK_SHIFTED[0] + " " + UK_SHIFTED[0] + "Qqqw")),
    Case("named_keys_send_their_virtual_keys", KEYBOARD, TYPING,
         [[key(A, "a")] * (char == "\b") + [tap(control, i, char, vk=vk)]
          for control, labels, char, vk, _ in NAMED for i in range(labels)],
         typed("".join(left * labels for _, labels, _, _, left in NAMED))),
    Case("right_and_middle_buttons_press_keys_too", KEYBOARD, TYPING, key(0, UK_NORMAL[0], button=RIGHT),
         key(1, UK_NORMAL[1], button=MIDDLE), tap("Backspace", 1, "\b", button=RIGHT), tap("Shift", 0, button=MIDDLE),
         key(Q, "Q", button=RIGHT), tap("CapsLock", 0, button=RIGHT), key(Q, "Q", button=MIDDLE), key(W, "W"),
         tap("CapsLock", 1, button=MIDDLE), key(W, "w"), typed(UK_NORMAL[0] + "QQWw")),
    # A double tap on Caps Lock is on and off again; on Shift the second press completes a double click
    # and Shift stays on, unless the first press ended Caps Lock.
    Case("double_taps", KEYBOARD, TYPING, key(A, "aa", double=True), key(W, "w"),
         tap("Backspace", 0, "\b\b", double=True), key(A, "a"), tap("CapsLock", 0, double=True), key(Q, "q"),
         tap("Shift", 0, double=True), key(Q, "Q"), key(W, "w"), tap("CapsLock"), tap("Shift", 0, double=True),
         key(W, "w"), typed("aaqQww")),
    Case("safe_mode_nudges_before_characters_and_backspaces", KEYBOARD, SAFE_MODE,
         [key(i, UK_NORMAL[i], nudged=True) for i in (Q, 0, UK_NORMAL.index("["), UK_NORMAL.index("]"))],
         tap("Shift"), key(UK_SHIFTED.index("+"), "+", nudged=True), tap("Backspace", 0, "\b", nudged=True),
         tap("Return", 0, "\r", nudged=False), typed("q1[]\r\n")),
    Case("characters_outside_the_target_layout_arrive_as_typed", KEYBOARD, GERMAN, keys(ALL, DE_NORMAL),
         tap("CapsLock"), keys(BEYOND_ASCII, DE_SHIFTED), tap("CapsLock"),
         typed(DE_NORMAL + "".join(DE_SHIFTED[i] for i in BEYOND_ASCII))),
    # What a key shows arrives whatever the system's Caps Lock, switched on and off again on the X side,
    # also while another program asks for Caps Lock every millisecond (which clears the key's "pressed
    # since the last query" bit).
    Case("keys_type_what_they_show_whatever_the_system_caps_lock", KEYBOARD, TYPING, SYSTEM_CAPS_LOCK,
         typed(("e1E" + UK_SHIFTED[ONE]) * 2)),
    Case("keys_type_what_they_show_while_another_program_polls_caps_lock", KEYBOARD, TYPING,
         polled(VK_CAPITAL, SYSTEM_CAPS_LOCK), typed(("e1E" + UK_SHIFTED[ONE]) * 2)),
    Case("a_console_target_gets_taps_in_order_and_stays_below_the_keyboard", KEYBOARD, TYPING, console_target),
    Case("a_client_in_another_process_sees_every_key_and_presses_q", KEYBOARD, TYPING, keys_seen_by_a_client,
         typed("q")),
    # Opens centred without a settings file and writes none before it closes; a right-button drag on
    # the top band does not move it, a left one does; the close button writes every setting; the next
    # start opens there, and the close button wins where its frame overlaps the options button's.
    Case("opens_centred_drags_closes_and_reopens_where_it_was", KEYBOARD, NO_SETTINGS, saved(None),
         drag((60, 0), RIGHT), drag((-150, -220)), close(), saved(FIRST_CLOSE), relaunch(),
         close(seam=(("Close", 1), ("Options", 1))), saved(HERE)),
    # A pending Shift outlives the dialog. "user defined" with empty boxes fills them with the sets on
    # the keys; the box takes no 48th character; the size is typed and becomes "20pt" on leaving it.
    Case("options_ok_brings_user_key_sets_and_font_to_the_keys_and_the_file", KEYBOARD, CONFIRM,
         tap("Shift"), remember_look(), open_dialog(), dlg("IDC_OPT_MAP_LANGUAGE_FILE", checked=1),
         dlg("IDC_TXT_USERKEYMAP_LC", enabled=False, text=""), dlg("IDC_TXT_USERKEYMAP_UC", enabled=False, text=""),
         dlg("IDC_CBO_FONTFACE", text="Arial"), dlg("IDC_CBO_FONTSIZE", text="14pt"),
         keyboard_ignores(*UNDER_THE_DIALOG), dlg_click("IDC_OPT_MAP_USER"),
         dlg("IDC_TXT_USERKEYMAP_LC", enabled=True, text=UK_NORMAL), dlg("IDC_TXT_USERKEYMAP_UC", text=UK_SHIFTED),
         picture("options-dialog", of_dialog=True), dlg_type("IDC_TXT_USERKEYMAP_LC", NEW_NORMAL),
         dlg("IDC_TXT_USERKEYMAP_LC", text=NEW_NORMAL), x_type("!"), dlg("IDC_TXT_USERKEYMAP_LC", text=NEW_NORMAL),
         dlg_click("IDC_CHK_FONT_BOLD"), dlg_type("IDC_CBO_FONTSIZE", "20"), x_keys("Tab"),
         dlg("IDC_CBO_FONTSIZE", text="20pt"), dlg("IDC_CHK_FONT_BOLD", checked=1), dlg_close("IDOK"),
         captions_grew(), activate(), key(0, UK_SHIFTED[0]), keys(range(4), NEW_NORMAL),
         typed(UK_SHIFTED[0] + NEW_NORMAL[:4]), close(), saved(USER_SAVED), relaunch(), activate(),
         key(1, NEW_NORMAL[1]), close(), saved(USER_SAVED)),
    # Changes to every control, then Cancel: Caps Lock holds, the keys look as before, nothing is saved.
    Case("options_cancel_after_changing_everything_changes_nothing", KEYBOARD, CANCEL, tap("CapsLock"),
         remember_look(), open_dialog(), keyboard_ignores(*UNDER_THE_DIALOG), dlg_click("IDC_CHK_SAFE_MODE"),
         dlg_click("IDC_OPT_MAP_USER"), dlg("IDC_TXT_USERKEYMAP_LC", text=UK_NORMAL),
         dlg_type("IDC_TXT_USERKEYMAP_LC", "XYZ"), [dlg_click(box) for box in STYLE_BOXES],
         dlg_type("IDC_CBO_FONTFACE", "Courier New"), dlg_type("IDC_CBO_FONTSIZE", "300"), x_keys("Tab"),
         dlg("IDC_CBO_FONTSIZE", text="8pt"), [dlg(box, checked=1) for box in ("IDC_CHK_SAFE_MODE", *STYLE_BOXES)],
         dlg("IDC_CBO_FONTFACE", text="Courier New"), picture("options-dialog-changed", of_dialog=True),
         dlg_close("IDCANCEL"), looks_as_before(), keyboard_window(enabled=True), activate(),
         key(Q, "Q", nudged=False), key(0, UK_SHIFTED[0]), tap("CapsLock"), key(0, UK_NORMAL[0]),
         typed("Q" + UK_SHIFTED[0] + UK_NORMAL[0]), close(), saved(OPTIONS_SAVED)),
    # A key set with a blank end is stored in quotation marks; one beyond ANSI turns the file UTF-16 (its
    # mark read as Latin-1), written through a link that stays a link; both type the same after a restart.
    # The colour chooser's OK without a pick keeps the colour.
    Case("user_set_with_a_blank_end_survives_a_close_and_a_restart", KEYBOARD, QUOTED, keys(range(5), " ab{}"),
         close(), saved({"keymapping/USERKEYMAPNORMAL": '" ab{}"'}), relaunch(), activate(), keys(range(5), " ab{}")),
    Case("user_set_beyond_ansi_survives_a_close_and_a_restart", KEYBOARD, LINKED_USER_SET, open_dialog(),
         dlg_type("IDC_TXT_USERKEYMAP_LC", BEYOND_ANSI, delay_ms=300), dlg("IDC_TXT_USERKEYMAP_LC", text=BEYOND_ANSI),
         dlg_close("IDOK"), activate(), keys(range(4), BEYOND_ANSI), close(),
         saved({"keymapping/USERKEYMAPNORMAL": BEYOND_ANSI}, "\xff\xfe"),
         lambda ctx: check(ctx.keyboard.settings_path.is_symlink(), "tapkeys.ini is no longer a link"),
         relaunch(), activate(), keys(range(4), BEYOND_ANSI)),
    Case("colour_chooser_ok_without_a_pick_keeps_the_colour", KEYBOARD, USER_SET, open_dialog(),
         open_dialog("Color", "IDC_CMD_COLOR"), picture("colour-chooser", of_dialog=True), dlg_close("IDOK"),
         dlg_close("IDOK"), close(), saved({"fonts/FONTCOLOR": RED})),

    # Touch and access. Without [extras] a held key types once, as ever; repeat and dwell are settings.
    Case("a_held_key_lights_up_and_goes_dark_after_the_release", KEYBOARD, TOUCH_CLASSIC, held_key_lights_up),
    Case("without_extras_a_held_key_types_once", KEYBOARD, TOUCH_CLASSIC, hold("Key", Q, 1500, "q"), typed("q")),
    Case("a_held_key_repeats_at_the_rate_until_released", KEYBOARD, REPEAT,
         hold("Key", Q, 1500, lambda chars: set(chars) == {"q"} and 8 <= len(chars) <= 12), quiet(0.5)),
    Case("quick_taps_in_safe_mode_with_repeat_type_once_and_stay_dark", KEYBOARD, SAFE_REPEAT,
         quick_taps_type_once_and_let_go),
    Case("a_click_as_the_dwell_completes_types_once", KEYBOARD, SAFE_DWELL, click_as_the_dwell_completes_types_once),
    Case("resting_on_a_key_types_it_once_then_the_next_key", KEYBOARD, DWELL, rest("Key", Q, 1500, "q"),
         rest("Key", W, 1500, "w"), rest("Shift", 0, 1500), rest("Key", Q, 1500, "Q"), typed("qwQ")),
    # A box left below its minimum shows the minimum; the Settings dialog's OK stores what More kept.
    Case("more_settings_edits_the_values_and_the_settings_ok_stores_them", KEYBOARD, MORE, open_dialog(),
         open_dialog("More settings", "IDC_CMD_MORE"), dlg("IDC_TXT_REPEAT_DELAY", text="0"),
         dlg("IDC_TXT_REPEAT_RATE", text="10"), dlg("IDC_TXT_DWELL_TIME", text="0"),
         dlg("IDC_CHK_KEY_FEEDBACK", checked=1), dlg_click("IDC_CHK_KEY_FEEDBACK"),
         [[dlg_type(f"IDC_TXT_{box}", text), x_keys("Tab")]
          for box, text in (("REPEAT_DELAY", "500"), ("REPEAT_RATE", "12"), ("DWELL_TIME", "40"),
                            ("KEYBOARD_SIZE", "150"))],
         dlg("IDC_TXT_DWELL_TIME", text="300"), dlg("IDC_CHK_PREDICTION", checked=0),
         dlg("IDC_CHK_LEARN_WORDS", checked=1), dlg_click("IDC_CHK_PREDICTION"), dlg_click("IDC_CHK_LEARN_WORDS"),
         picture("more-settings", of_dialog=True), dlg_close("IDOK"), dlg_close("IDOK"),
         resized(SIZE_AT_144, "150", strip=True), close(),
         saved({"extras/KEYFEEDBACK": "0", "extras/REPEATDELAY": "500", "extras/REPEATRATE": "12",
                "extras/DWELLTIME": "300", "extras/FOLLOWLAYOUT": "0", "extras/PREDICTION": "1",
                "extras/LEARNWORDS": "0", "extras/KEYBOARDSIZE": "150"})),
    Case("keyboard_size_150_draws_every_key_half_as_large_again_and_types_right", KEYBOARD, BIG,
         keyboard_window(size=SIZE_AT_144), drawn(), clean_outlines(), picture("keyboard-size-150"),
         keys(ALL, UK_NORMAL), tap("Shift"), key(Q, "Q"), tap("Return", 2, "\r"), typed(UK_NORMAL + "Q\r\n")),
    # Word prediction: the strip below the keys completes the word before the caret, whether its letters
    # came through the keys or the physical keyboard, and learns what is typed.
    # The target keeps its text from case to case: a space first begins a word of the case's own.
    Case("prediction_t_h_and_the_first_cell_type_the_and_a_space", KEYBOARD, PREDICTING, tap("Space", 0, " "),
         key(T, "t"), key(H, "h"), strip_picture, tap("Suggestion", 0, "e "), typed(" the ")),
    Case("prediction_completes_letters_typed_on_the_physical_keyboard", KEYBOARD, PREDICTING, x_type(" wh"),
         quiet(0.4), tap("Suggestion", 0, "at "), typed(" what ")),
    Case("prediction_offers_a_word_typed_twice_from_its_first_two_letters", KEYBOARD, PREDICTING, ZEBU, ZEBU,
         key(Z, "z"), key(E, "e"), tap("Suggestion", 0, "bu "), typed("zebu zebu zebu ")),
    Case("prediction_learned_words_survive_a_restart", KEYBOARD, PREDICTING, close(), learned("zebu", "the"),
         relaunch(), activate(), key(Z, "z"), key(E, "e"), tap("Suggestion", 0, "bu "), typed("zebu ")),
    Case("prediction_with_learning_off_writes_nothing", KEYBOARD, NOT_LEARNING, ZEBU, ZEBU, close(), learned()),

    # One switch: row 0 holds Esc, keys 0 to 11 and Backspace; row 1 Tab, keys 12 to 23 and Enter; row 3
    # Shift first. A held switch counts once: held while row 0 shows, it picks the row alone, and the
    # press 1.5 s on lands on the third item.
    # One switch: row 0 holds Esc, keys 0 to 11 and Backspace; row 1 Tab, keys 12 to 23 and Enter; row 3
    # starts with Shift; row 4 is the options button. A switch held down while row 0 shows picks the row
    # alone: the press 1.5 s after it lands on the third item.
    Case("switch_presses_timed_to_the_highlight_type_into_the_target", KEYBOARD, SCAN,
         switch_presses(*scan((0, 2), (1, 1), (3, 0), (1, 1)), (0.3, 1.0), (0.5, 0)), typed("2qQ2")),
    # The Settings dialog's controls in tab order: the two key-map options, Safe mode, OK, Cancel...
    # Safe mode is the third, OK the fourth: scanning starts again at the first control after a pick.
    Case("switch_scans_the_settings_dialog_in_tab_order", KEYBOARD, SCAN_DIALOG, switch_presses(*scan((4, 0))),
         expect_dialog("Settings"), switch_presses((0, 0), (1.5, 0), (2.1, 0)), expect_dialog(None),
         switch_presses(*scan((0, 1))), typed(UK_NORMAL[0]), close(), saved({"misc/SAFEMODE": "1"})),
    # Dwell in the dialogs as on the keys: once per visit, and not on what lies under the pointer as a dialog
    # opens or comes back (here More's Cancel closes over Settings' Cancel: the pointer leaves it first).
    Case("resting_on_the_settings_dialog_clicks_its_controls", KEYBOARD, DWELL_DIALOG, rest("Options", 0, 1500),
         expect_dialog("Settings"), dlg_rest("IDC_CHK_SAFE_MODE", 1.5), dlg("IDC_CHK_SAFE_MODE", checked=1),
         dlg_rest("IDC_CMD_MORE", 1.5), expect_dialog("More settings"),
         dlg_rest("IDC_SPN_DWELL_TIME", 1.2, up=True), dlg("IDC_TXT_DWELL_TIME", text="700"),
         dlg_rest("IDCANCEL", 1.5), expect_dialog("Settings", closed="More settings"),
         dlg_rest("IDC_LBL_SAFE_MODE_HINT", 0.3), dlg_rest("IDCANCEL", 1.5), expect_dialog(None),
         rest("Key", Q, 1500, "q"), typed("q")),

    Case("window_is_one_and_a_half_times_as_large_at_144_dpi", DPI, SCALED, keyboard_window(size=SIZE_AT_144),
         drawn(), clean_outlines(), picture("keyboard-144")),
    Case("presses_at_the_scaled_key_centres_type_their_keys", DPI, SCALED, keys(ALL, UK_NORMAL), tap("Shift"),
         key(0, UK_SHIFTED[0]), tap("CapsLock"), keys(ALL[-3:], UK_SHIFTED), tap("CapsLock"), tap("Space", 0, " "),
         tap("Backspace", 0, "\b"), tap("KeyBG", 46, UK_NORMAL[46]),
         typed(UK_NORMAL + UK_SHIFTED[0] + UK_SHIFTED[-3:] + UK_NORMAL[46])),
    # The position is kept in screen pixels: down and right, clear of the target with 325 pixels' height.
    Case("position_saved_at_144_dpi_reopens_at_the_same_place", DPI, SCALED, drag((150, 90)), close(),
         saved(HERE), relaunch(), keyboard_window(size=SIZE_AT_144), close(), saved(HERE)),

    # Under a German X layout the keys type what the physical keys at their places give, in the layer
    # Shift and Caps Lock choose. Wine gives an X dead key no key of its own: the acute stays blank here.
    Case("keys_follow_the_targets_keyboard_layout", LAYOUT, FOLLOWING,
         [key(i, c) for i, c in zip((MINUS, Y, BRACKET, SEMICOLON, QUOTE, ISO), "ßzüöä<")],
         tap("Shift"), key(SEVEN, "/"), tap("CapsLock"), key(Y, "Z"), key(MINUS, "?"),
         picture("keyboard-german-shifted"), tap("CapsLock"), picture("keyboard-german"), typed("ßzüöä</Z?")),
    Case("without_following_the_host_language_file_rules", LAYOUT, NOT_FOLLOWING, keys(OFF_KEYS, UK_NORMAL),
         typed("".join(UK_NORMAL[i] for i in OFF_KEYS))),

    Case("target_closed_keys_go_nowhere_then_to_the_next_target", FAULT, plain("closed"), key(0, UK_NORMAL[0]),
         target_running(False), press(1, 2, 3), target_running(True), key(4, UK_NORMAL[4]), typed(UK_NORMAL[4]),
         close()),
    Case("hung_target_does_not_hang_the_keyboard", FAULT, plain("hung"), hung_window, typed(UK_NORMAL[8]), close()),
    Case("no_target_yet_then_the_first_target", FAULT, plain("no-target"), target_running(False), relaunch(),
         press(9, 10), target_running(True), key(11, UK_NORMAL[11]), typed(UK_NORMAL[11]), close()),
    # The junk stays where it was and the keys are written among it.
    Case("damaged_language_and_settings_files_start_type_and_save", FAULT, DAMAGED, key(0, "n"), key(46, "n"),
         typed("nn"), close(), saved({}, "[misc]", "[fonts]", "[keymapping]", "\nSAFEMODE=0", "\nFONTSIZE=14",
                                     "\nKEYMAP=ini", "\nUSERKEYMAPSHIFT=")),
    # The keys show the placeholder "default", not the file outside lang.
    Case("language_code_with_path_characters_reads_no_file_outside_lang", FAULT, PATH_CODE, key(0, "d"), key(7, ""),
         typed("d"), close()),
    Case("read_only_settings_file_at_close_stays_as_it_was", FAULT, plain("read-only"), close_without_rights()),
    Case("read_only_folder_at_close_gets_no_settings_file", FAULT, Setup("read-only-new", **UK_HOST),
         close_without_rights()),
    # A save that must turn the file UTF-16 (a key set read from UTF-8) while it cannot be read keeps it.
    Case("unreadable_settings_file_at_a_converting_save_stays_whole", FAULT, UTF8_SETTINGS,
         close_without_rights(0o755, 0o200)),
    Case("presses_during_safe_mode_pauses_are_served_first_and_none_is_lost", FAULT, plain("nested", safe="1"),
         presses_inside_pauses, close()),
]
