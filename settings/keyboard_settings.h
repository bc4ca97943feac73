#pragma once
// The keyboard's own settings file: the ten keys, their defaults and the rules that load and save them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/extras_settings.h"
#include "settings/ini_access.h"
#include "settings/window_placement.h"

namespace tapkeys {

// The keyboard window's public settings members (the key sets live in KeyMap).
struct KeyboardSettings {
    bool useSafeMode = false;
    std::wstring fontFace;
    std::wstring fontStyle;  // style letters: b bold, i italic, s strikethrough, u underline
    std::int16_t fontSze = 0;
    std::int32_t fontColor = 0;  // 0x00BBGGRR
    std::wstring keyMap;         // "ini" selects the host's language file; anything else the user sets
    std::wstring keyMapUserLC;
    std::wstring keyMapUserUC;
    ExtrasSettings extras;  // the "extras" section
    bool operator==(const KeyboardSettings&) const = default;
};

// Sizes in screen pixels of the primary display and of the keyboard window; with more than one
// monitor, also the monitors and the window's title band, at the window's density `dpi`.
struct ScreenGeometry {
    int screenWidth = 0, screenHeight = 0;
    int windowWidth = 0, windowHeight = 0;
    int titleHeight = 0, dpi = 96;
    std::span<const MonitorArea> monitors{};
};

struct LoadedSettings {
    KeyboardSettings settings;
    // The stored or centred position, per axis; empty where the stored value is out of range and
    // the window keeps its layout position (0). With more than one monitor a position that lies on any
    // of them is taken whole; any other goes through the one-screen rule.
    std::optional<int> windowX, windowY;
};

// The settings file beside the executable: <folder>\<exeBaseName>.ini.
std::wstring settingsPathFor(std::wstring_view folder, std::wstring_view exeBaseName);

// Reads the ten keys in file order; a missing file, section or key gives the key's default, and every
// value, however malformed, loads in range.
LoadedSettings loadSettings(IniAccess& ini, const std::wstring& settingsPath, const ScreenGeometry& screen);
// Writes the ten keys in file order; the position is written as given, without a range test.
void saveSettings(IniAccess& ini, const std::wstring& settingsPath, const KeyboardSettings& settings,
                  WindowPosition position);

}  // namespace tapkeys
