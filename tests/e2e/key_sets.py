"""The key sets the cases install as the host's language files, and the set-ups that use them.

Each set has exactly one character per key (47), in key order: row by row, left to right.
"""

from driver.runner import Setup

# A British layout. The shifted set holds every character that SendKeys notation reserves: + ^ % ~ ( )
# { } in the shifted layer, [ ] in the normal one; and the pound sign, outside ASCII.
UK_NORMAL = "1234567890-=" "qwertyuiop[]" "asdfghjkl;'#" "\\zxcvbnm,./"
UK_SHIFTED = "!\"£$%^&*()_+" "QWERTYUIOP{}" "ASDFGHJKL:@~" "|ZXCVBNM<>?"

# A German layout with € and é on the bottom row: Windows-1252 characters a US keyboard cannot type.
DE_NORMAL = "1234567890ß´" "qwertzuiopü+" "asdfghjklöä#" "€yxcvbnm,.é"
DE_SHIFTED = "!\"§$%&/()=?`" "QWERTZUIOPÜ*" "ASDFGHJKLÖÄ'" "£YXCVBNM;:É"

for _set in (UK_NORMAL, UK_SHIFTED, DE_NORMAL, DE_SHIFTED):
    assert len(_set) == 47, _set
    _set.encode("cp1252")

# Placed clear of the target window (below y = 500) and away from the centred place, so a keyboard that
# ignored WINDOWX / WINDOWY would not be found where the cases look.
PLACED = {"WINDOWX": "300", "WINDOWY": "40"}
RED = "255"  # FONTCOLOR, 0x00BBGGRR

# "uk" is chosen by dax.ini and "en", the language used without one, holds other characters: a key set
# that did not come through USEDLANGUAGE shows up as wrong characters.
UK_HOST = {"host_language": "uk", "languages": {"uk": (UK_NORMAL, UK_SHIFTED), "en": (DE_NORMAL, DE_SHIFTED)}}

TYPING = Setup("typing", **UK_HOST, settings={"misc": PLACED, "fonts": {"FONTCOLOR": RED}})
SAFE_MODE = Setup("safe-mode", **UK_HOST, settings={"misc": {"SAFEMODE": "1", **PLACED}})
GERMAN = Setup("german", host_language="de", languages={"de": (DE_NORMAL, DE_SHIFTED)},
               settings={"misc": PLACED})
NO_SETTINGS = Setup("no-settings", **UK_HOST)
