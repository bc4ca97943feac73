#!/usr/bin/env python3
"""Fault tests of the real tapkeys.exe in a private Wine desktop: the target window closed or hung, no
target yet, damaged language and settings files, a read-only settings folder at close, and presses that
arrive during safe-mode pauses.

    faults.py --exe tapkeys.exe --target tapkeys_e2e_target.exe --layout-tool tapkeys_e2e_layout_points.exe
              --hung-target tapkeys_faults_hung_target.exe [--state DIR] [-k TEXT] [--keep]

Run as root, it runs itself again without the right to override file permissions, so a read-only folder
is read-only for Wine too. Prints one line per case and a last line "N passed, M failed".
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "bench"))

from harness import ORIGIN, UK_NORMAL, CaseFailure, Session, keyboard_setup, wait_for  # noqa: E402
from driver.app_folder import AppFolder, ini_bytes  # noqa: E402
from driver.keyboard import Keyboard  # noqa: E402
from key_sets import PLACED, UK_SHIFTED  # noqa: E402

CAP_DAC_OVERRIDE = 1
CASES = []


def case(function):
    CASES.append(function)
    return function


def can_override_permissions():
    for line in Path("/proc/self/status").read_text().splitlines():
        if line.startswith("CapEff:"):
            return bool(int(line.split()[1], 16) >> CAP_DAC_OVERRIDE & 1)
    return False


def check(condition, message):
    if not condition:
        raise CaseFailure(message)


# Steps

def type_key(session, keyboard, index, expected, timeout=3.0):
    """Presses character key index and checks that exactly `expected` reaches the target."""
    target = session.target
    mark = target.mark()
    session.x.press(keyboard.point("Key", index))
    if expected:
        wait_for(lambda: len(target.chars_since(mark)) >= len(expected), timeout, 0.005)
    time.sleep(0.2)
    got = target.chars_since(mark)
    check(got == expected, f"key {index}: expected {expected!r} in the target, got {got!r}")


def start_keyboard(session, folder):
    keyboard = Keyboard(session.desktop, session.layout, folder, ORIGIN, folder.root / "tapkeys.out")
    keyboard.start()
    return keyboard


def new_folder(session, name, **setup_files):
    folder = AppFolder(session.work / name, Path(session.args.exe))
    folder.write_settings({"misc": PLACED})
    return folder


def typing_folder(session, name, safe_mode=False):
    return keyboard_setup(safe_mode).make_folder(session.work / name, Path(session.args.exe))


def close_normally(keyboard):
    keyboard.close()
    check(keyboard.process.returncode == 0, f"tapkeys.exe ended with exit code {keyboard.process.returncode}")


# Cases

@case
def target_closed_keys_go_nowhere_then_to_the_next_target(session):
    keyboard = start_keyboard(session, typing_folder(session, "closed"))
    session.target.activate()
    type_key(session, keyboard, 0, UK_NORMAL[0])
    session.target.stop()
    for index in (1, 2, 3):  # the stored target window no longer exists
        session.x.press(keyboard.point("Key", index))
        time.sleep(0.15)
    check(keyboard.alive(), "tapkeys.exe ended after presses for a closed target")
    session.target.start()
    session.target.activate()
    type_key(session, keyboard, 4, UK_NORMAL[4])
    close_normally(keyboard)


@case
def hung_target_does_not_hang_the_keyboard(session):
    keyboard = start_keyboard(session, typing_folder(session, "hung"))
    hung = session.desktop.launch(Path(session.args.hung_target).resolve(), 800, 40, 400,
                                  output=session.work / "hung.out")
    try:
        time.sleep(1.5)  # in front long enough for the keyboard to take it as its target, then hung
        started = time.monotonic()
        for index in (5, 6, 7):
            session.x.press(keyboard.point("Key", index))
            time.sleep(0.15)
        # Each press waits at most a short while for the hung window to take the focus.
        session.target.activate()
        type_key(session, keyboard, 8, UK_NORMAL[8])
        check(time.monotonic() - started < 5, f"the keyboard took {time.monotonic() - started:.1f} s")
    finally:
        hung.kill()
        hung.wait(timeout=10)
    close_normally(keyboard)


@case
def no_target_yet_then_the_first_target(session):
    session.target.stop()
    keyboard = start_keyboard(session, typing_folder(session, "no-target"))
    for index in (9, 10):
        session.x.press(keyboard.point("Key", index))
        time.sleep(0.15)
    check(keyboard.alive(), "tapkeys.exe ended after presses without a target")
    session.target.start()
    session.target.activate()
    type_key(session, keyboard, 11, UK_NORMAL[11])
    close_normally(keyboard)


@case
def damaged_language_and_settings_files_start_type_and_save(session):
    rng = random.Random(3)
    junk = bytes(rng.randrange(256) for _ in range(3000))
    folder = new_folder(session, "junk")
    folder.write_host_language("xx")
    (folder.root / "lang" / "xx.ini").write_bytes(b"[osk]\r\nKEYMAP_NORMAL=" + b"n" * 300 + b"\r\n" + junk)
    # Junk around the keys the keyboard needs to open where the cases look for it.
    folder.settings_path.write_bytes(junk[:500] + b"\r\n" + ini_bytes({"misc": PLACED}) + junk[500:1500])
    keyboard = start_keyboard(session, folder)
    session.target.activate()
    type_key(session, keyboard, 0, "n")
    type_key(session, keyboard, 46, "n")
    close_normally(keyboard)
    # The junk stays where it was; the keys are written among it.
    saved = folder.settings_path.read_bytes().decode("latin-1")
    for section in ("[misc]", "[fonts]", "[keymapping]"):
        check(section in saved, f"{section} missing from the saved file")
    for key in ("SAFEMODE=0", "FONTSIZE=14", "KEYMAP=ini", "USERKEYMAPSHIFT="):
        check(f"\n{key}" in saved, f"{key} missing from the saved file")


@case
def language_code_with_path_characters_reads_no_file_outside_lang(session):
    folder = new_folder(session, "path-code")
    folder.write_host_language("..\\secret")
    (folder.root / "secret.ini").write_bytes(ini_bytes({"osk": {"KEYMAP_NORMAL": "leak", "KEYMAP_SHIFT": "LEAK"}}))
    keyboard = start_keyboard(session, folder)
    session.target.activate()
    type_key(session, keyboard, 0, "d")  # the placeholder "default"
    type_key(session, keyboard, 7, "")
    close_normally(keyboard)


@case
def read_only_settings_folder_at_close_ends_normally_and_writes_nothing(session):
    for existing in (True, False):
        folder = typing_folder(session, f"read-only-{existing}")
        if not existing:
            # Opens centred without a settings file; it is the file that must not appear.
            folder.settings_path.unlink()
        before = folder.settings_path.read_bytes() if existing else None
        keyboard = Keyboard(session.desktop, session.layout, folder, ORIGIN if existing else centred(session),
                            folder.root / "tapkeys.out")
        keyboard.start()
        modes = [(folder.root, 0o555)] + ([(folder.settings_path, 0o444)] if existing else [])
        try:
            for path, mode in modes:
                path.chmod(mode)
            close_normally(keyboard)
            if existing:
                check(folder.settings_path.read_bytes() == before, "the read-only settings file changed")
            else:
                check(not folder.settings_path.exists(), "a settings file appeared in the read-only folder")
        finally:
            folder.root.chmod(0o755)


def centred(session):
    return ((1024 - session.layout.width) // 2, (768 - session.layout.height) // 2)


@case
def presses_during_safe_mode_pauses_are_served_first_and_none_is_lost(session):
    keyboard = start_keyboard(session, typing_folder(session, "nested", safe_mode=True))
    session.target.activate()
    first_key, second_key = UK_NORMAL.index("q"), UK_NORMAL.index("p")
    nested = 0
    for trial in range(16):
        mark = session.target.mark()
        pressed = time.monotonic()
        session.x.press(keyboard.point("Key", first_key), hold_s=0.001)
        time.sleep(max(0.0, pressed + 0.002 + 0.001 * trial - time.monotonic()))
        session.x.press(keyboard.point("Key", second_key), hold_s=0.001)
        wait_for(lambda: len(session.target.chars_since(mark)) >= 2, 3.0, 0.005)
        time.sleep(0.1)
        got = session.target.chars_since(mark)
        check(sorted(got) == ["p", "q"], f"trial {trial}: expected q and p once each, got {got!r}")
        nested += got == "pq"
        time.sleep(0.6)  # no double click with the next trial
    # The second press lands inside the first one's pauses in most trials: it is typed first.
    check(nested > 0, "no press was served inside a safe-mode pause")
    # Shift pressed inside a pause ends with the key string it interrupted, as every key string's end
    # releases a pending Shift.
    mark = session.target.mark()
    shift = next(label.index for label in session.layout.labels if label.control == "Shift")
    session.x.press(keyboard.point("Key", first_key), hold_s=0.001)
    time.sleep(0.004)
    session.x.press(keyboard.point("Shift", shift), hold_s=0.001)
    wait_for(lambda: session.target.chars_since(mark), 3.0, 0.005)
    time.sleep(0.7)
    type_key(session, keyboard, second_key, "p")
    got = session.target.chars_since(mark)
    check(got == "qp", f"a Shift pressed during a pause: expected 'qp', got {got!r}")
    close_normally(keyboard)


def arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("exe", "target", "layout-tool", "hung-target"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--state", default="build/windows/faults-wine")
    parser.add_argument("-k", dest="pattern", default="")
    parser.add_argument("--keep", action="store_true")
    return parser.parse_args()


def main():
    if os.geteuid() == 0 and can_override_permissions() and shutil.which("setpriv"):
        command = ["setpriv", "--bounding-set=-dac_override,-dac_read_search,-fowner", sys.executable, *sys.argv]
        return subprocess.run(command, check=False).returncode
    args = arguments()
    args.floor = args.gui_objects = None
    passed = failed = 0
    with Session(args) as session:
        for function in [c for c in CASES if args.pattern in c.__name__]:
            started = time.monotonic()
            try:
                session.ensure_target()
                function(session)
                passed += 1
                outcome = "PASS"
            except CaseFailure as failure:
                failed += 1
                outcome = f"FAIL ({failure})"
            except Exception:
                failed += 1
                outcome = "FAIL (error in the case)\n" + traceback.format_exc()
            finally:
                session.desktop.release_modifiers()
            print(f"{outcome.split(' ', 1)[0]:5} faults/{function.__name__} ({time.monotonic() - started:.1f} s)"
                  + (outcome[4:] if outcome != "PASS" else ""), flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
