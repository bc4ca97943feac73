"""A folder laid out like an installation: tapkeys.exe beside the host's dax.ini and lang folder.

Every INI file is written the way Windows tools write them: ANSI (Windows-1252) bytes with CRLF.
"""

import shutil
from pathlib import Path

ANSI = "cp1252"
UTF16_MARK = b"\xff\xfe"  # tapkeys.ini once it holds a character beyond ANSI


def ini_bytes(sections):
    """sections: {section: {key: value}} in file order."""
    lines = []
    for section, entries in sections.items():
        lines.append(f"[{section}]")
        lines.extend(f"{key}={value}" for key, value in entries.items())
    return ("\r\n".join(lines) + "\r\n").encode(ANSI)


def read_ini_entries(path):
    """The (section, key, value) triples of an INI file in file order; blank lines and comments skipped."""
    entries = []
    section = None
    data = Path(path).read_bytes()
    for raw in data.decode("utf-16" if data.startswith(UTF16_MARK) else ANSI).splitlines():
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line:
            key, value = line.split("=", 1)
            entries.append((section, key, value))
    return entries


class AppFolder:
    def __init__(self, root, exe):
        self.root = Path(root)
        if self.root.exists():
            shutil.rmtree(self.root)
        (self.root / "lang").mkdir(parents=True)
        self.exe = self.root / "tapkeys.exe"
        shutil.copyfile(exe, self.exe)

    @property
    def settings_path(self):
        return self.root / "tapkeys.ini"

    def write_host_language(self, code):
        (self.root / "dax.ini").write_bytes(ini_bytes({"general": {"USEDLANGUAGE": code}}))

    def write_language_file(self, code, normal, shifted):
        (self.root / "lang" / f"{code}.ini").write_bytes(
            ini_bytes({"osk": {"KEYMAP_NORMAL": normal, "KEYMAP_SHIFT": shifted}}))

    def write_settings(self, sections):
        self.settings_path.write_bytes(ini_bytes(sections))

    def read_settings(self):
        return read_ini_entries(self.settings_path)

    def setting(self, section, key):
        for entry_section, entry_key, value in self.read_settings():
            if entry_section.lower() == section.lower() and entry_key.lower() == key.lower():
                return value
        return None
