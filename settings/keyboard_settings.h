#pragma once
// The keyboard's own settings file: its keys, their defaults and the rules that load and save them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/extras_settings.h"
#include "settings/ini_access.h"
#include "settings/number_reading.h"
#include "settings/window_placement.h"

namespace tapkeys {

// A whole-number setting's rule: a number in [min, max] counts, rounded to the nearest whole number (a
// half to the even neighbour); anything else, a NaN included, gives the fallback.
template <typename Int>
struct WholeNumberRule {
    double min = 0, max = 0;
    Int fallback = 0;

    constexpr bool accepts(double value) const { return value >= min && value <= max; }
    Int apply(double value) const {
        if (!accepts(value)) return fallback;
        return roundToWhole<Int>(value).value_or(fallback);
    }
};

// The key font size in points. The settings file gives 14 for a size outside the range; the options
// dialog stores the smallest size instead.
inline constexpr WholeNumberRule<std::int16_t> kFontSizeRule{8, 255, 14};
inline constexpr WholeNumberRule<std::int16_t> kDialogFontSizeRule{
    kFontSizeRule.min, kFontSizeRule.max, static_cast<std::int16_t>(kFontSizeRule.min)};

// The keyboard window's public settings members (the key sets live in KeyMap). Each is one row of the
// settings table in keyboard_settings.cpp, which names its section, key, default and rule.
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

// Reads every key in file order; a missing file, section or key gives the key's default, and every
// value, however malformed, loads in range.
LoadedSettings loadSettings(IniAccess& ini, const std::wstring& settingsPath, const ScreenGeometry& screen);
// The keyboard's size alone, read as loadSettings reads it: the window's size, which the placement of a
// stored position depends on, must be known before the position is read.
int storedKeyboardSize(IniAccess& ini, const std::wstring& settingsPath);
// Writes every key in file order; the position is written as given, without a range test.
void saveSettings(IniAccess& ini, const std::wstring& settingsPath, const KeyboardSettings& settings,
                  WindowPosition position);

}  // namespace tapkeys
