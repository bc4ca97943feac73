#include "settings/keyboard_settings.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <limits>
#include <variant>

namespace tapkeys {

namespace {

// Where a row's value lives: a member of KeyboardSettings or of its extras.
template <typename T>
struct Field {
    T KeyboardSettings::*member = nullptr;
    T ExtrasSettings::*extra = nullptr;

    T& of(KeyboardSettings& settings) const { return member ? settings.*member : settings.extras.*extra; }
    const T& of(const KeyboardSettings& settings) const {
        return member ? settings.*member : settings.extras.*extra;
    }
};
template <typename T>
constexpr Field<T> field(T KeyboardSettings::*member) {
    return {member, nullptr};
}
template <typename T>
constexpr Field<T> field(T ExtrasSettings::*extra) {
    return {nullptr, extra};
}

// What a row holds. A missing key reads as the row's default; a number is read with readNumber and
// then follows the row's rule.
struct Flag {  // "1" or "0"; only a number equal to 1 switches it on
    Field<bool> value;
    bool defaultOn = false;
};
struct Text {  // taken as read
    Field<std::wstring> value;
    std::wstring_view defaultValue;
};
template <typename Int>
struct WholeNumber {  // a missing key reads as the rule's fallback
    Field<Int> value;
    WholeNumberRule<Int> rule;
};
enum class Axis { X, Y };
struct WindowEdge {  // screen pixels; the default centres the window
    Axis axis;
};
// The extras: a value without a digit, out of its range or not a whole number of 32 bits takes the
// default, never a neighbour or 0.
struct Switch {  // "1" on, "0" off
    Field<bool> value;
    bool defaultOn = false;
};
struct Ranged {  // a whole number the range allows, its off value included
    Field<int> value;
    ExtrasRange range;
    int defaultValue = 0;
};
struct ScanKey {  // a name of kScanKeys, in any case; any other the default
    Field<int> value;
    int defaultValue = 0;
};
using SettingValue = std::variant<Flag, Text, WholeNumber<std::int16_t>, WholeNumber<std::int32_t>,
                                  WindowEdge, Switch, Ranged, ScanKey>;

struct Setting {
    std::wstring_view section;
    std::wstring_view key;
    SettingValue value;
};

constexpr double kAnyNumber = std::numeric_limits<double>::infinity();

// The keys in the order the file holds them; load and save both walk this order.
constexpr std::array kSettings{
    Setting{L"misc", L"SAFEMODE", Flag{field(&KeyboardSettings::useSafeMode)}},
    Setting{L"misc", L"WINDOWX", WindowEdge{Axis::X}},
    Setting{L"misc", L"WINDOWY", WindowEdge{Axis::Y}},
    Setting{L"fonts", L"FONTFACE", Text{field(&KeyboardSettings::fontFace), L"Arial"}},
    Setting{L"fonts", L"FONTSTYLE", Text{field(&KeyboardSettings::fontStyle), L""}},
    Setting{L"fonts", L"FONTSIZE",
            WholeNumber<std::int16_t>{field(&KeyboardSettings::fontSze), kFontSizeRule}},
    // Only hand-edited files hold colours beyond 32 bits; black is the same answer an empty value gets.
    Setting{L"fonts", L"FONTCOLOR",
            WholeNumber<std::int32_t>{field(&KeyboardSettings::fontColor), {-kAnyNumber, kAnyNumber, 0}}},
    Setting{L"keymapping", L"KEYMAP", Text{field(&KeyboardSettings::keyMap), L"ini"}},
    Setting{L"keymapping", L"USERKEYMAPNORMAL", Text{field(&KeyboardSettings::keyMapUserLC), L""}},
    Setting{L"keymapping", L"USERKEYMAPSHIFT", Text{field(&KeyboardSettings::keyMapUserUC), L""}},
    Setting{L"extras", L"KEYFEEDBACK",
            Switch{field(&ExtrasSettings::keyFeedback), ExtrasSettings{}.keyFeedback}},
    Setting{L"extras", L"REPEATDELAY",
            Ranged{field(&ExtrasSettings::repeatDelay), kRepeatDelayRange, ExtrasSettings{}.repeatDelay}},
    Setting{L"extras", L"REPEATRATE",
            Ranged{field(&ExtrasSettings::repeatRate), kRepeatRateRange, ExtrasSettings{}.repeatRate}},
    Setting{L"extras", L"DWELLTIME",
            Ranged{field(&ExtrasSettings::dwellTime), kDwellTimeRange, ExtrasSettings{}.dwellTime}},
    Setting{L"extras", L"FOLLOWLAYOUT", Flag{field(&ExtrasSettings::followLayout)}},
    Setting{L"extras", L"PREDICTION",
            Switch{field(&ExtrasSettings::prediction), ExtrasSettings{}.prediction}},
    Setting{L"extras", L"LEARNWORDS",
            Switch{field(&ExtrasSettings::learnWords), ExtrasSettings{}.learnWords}},
    Setting{L"extras", L"SCANTIME",
            Ranged{field(&ExtrasSettings::scanTime), kScanTimeRange, ExtrasSettings{}.scanTime}},
    Setting{L"extras", L"SCANKEY", ScanKey{field(&ExtrasSettings::scanKey), ExtrasSettings{}.scanKey}},
    Setting{L"extras", L"KEYBOARDSIZE",
            Ranged{field(&ExtrasSettings::keyboardSize), kKeyboardSizeRange, ExtrasSettings{}.keyboardSize}},
};

// A stored edge must leave at least this many pixels of the window on the primary screen.
constexpr long long kMinVisiblePixels = 10;

class SettingsLoader {
public:
    SettingsLoader(IniAccess& ini, const std::wstring& path, const ScreenGeometry& screen,
                   LoadedSettings& loaded)
        : ini_(ini), path_(path), screen_(screen), loaded_(loaded) {}

    void load(const Setting& row) {
        std::visit([&](const auto& value) { load(row, value); }, row.value);
    }

    // With more than one monitor a stored position that lies on any of them is taken whole; any other
    // keeps the one-screen rule of each axis.
    void placeOnAMonitor() {
        if (screen_.monitors.size() < 2) return;
        const WindowBand band{screen_.windowWidth, screen_.titleHeight, screen_.dpi};
        if (const auto at = positionOnAMonitor(storedX_, storedY_, band, screen_.monitors)) {
            loaded_.windowX = at->x;
            loaded_.windowY = at->y;
        }
    }

private:
    std::wstring read(const Setting& row, std::wstring_view defaultValue) {
        return ini_.readIni(row.section, row.key, defaultValue, path_);
    }
    void load(const Setting& row, const Flag& flag) {
        flag.value.of(loaded_.settings) = readNumber(read(row, flag.defaultOn ? L"1" : L"0")) == 1.0;
    }
    void load(const Setting& row, const Text& text) {
        text.value.of(loaded_.settings) = read(row, text.defaultValue);
    }
    template <typename Int>
    void load(const Setting& row, const WholeNumber<Int>& number) {
        number.value.of(loaded_.settings) =
            number.rule.apply(readNumber(read(row, std::to_wstring(number.rule.fallback))));
    }
    void load(const Setting& row, const Switch& flag) {
        const std::optional<std::int32_t> value = storedWholeNumber(row);
        flag.value.of(loaded_.settings) = value == 1 || (value != 0 && flag.defaultOn);
    }
    void load(const Setting& row, const Ranged& number) {
        const std::optional<std::int32_t> value = storedWholeNumber(row);
        number.value.of(loaded_.settings) =
            value && number.range.allows(*value) ? *value : number.defaultValue;
    }
    void load(const Setting& row, const ScanKey& key) {
        std::wstring name = read(row, L"");
        std::erase_if(name, [](wchar_t c) { return c == L' ' || c == L'\t'; });
        for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
        const auto known = std::ranges::find(kScanKeys, std::wstring_view(name), &ScanKeyName::name);
        key.value.of(loaded_.settings) = known != kScanKeys.end() ? known->virtualKey : key.defaultValue;
    }
    // Empty when the key is missing or holds no digit at all: such a value is unreadable, not 0.
    std::optional<std::int32_t> storedWholeNumber(const Setting& row) {
        const std::wstring raw = read(row, L"");
        if (raw.find_first_of(L"0123456789") == std::wstring::npos) return std::nullopt;
        return roundToWhole<std::int32_t>(readNumber(raw));
    }
    // The default goes through the same range test as a stored value, so a window wider than the screen
    // keeps its layout position.
    void load(const Setting& row, const WindowEdge& edge) {
        const bool x = edge.axis == Axis::X;
        const int screenExtent = x ? screen_.screenWidth : screen_.screenHeight;
        const int windowExtent = x ? screen_.windowWidth : screen_.windowHeight;
        const long long centred = (static_cast<long long>(screenExtent) - windowExtent) / 2;
        const double value = readNumber(read(row, std::to_wstring(centred)));
        (x ? storedX_ : storedY_) = value;
        std::optional<int>& loaded = x ? loaded_.windowX : loaded_.windowY;
        loaded = std::nullopt;
        // In range of int by the test; fractions are truncated.
        if (value >= 0 && value < static_cast<double>(screenExtent - kMinVisiblePixels))
            loaded = static_cast<int>(value);
    }

    IniAccess& ini_;
    const std::wstring& path_;
    const ScreenGeometry& screen_;
    LoadedSettings& loaded_;
    double storedX_ = 0, storedY_ = 0;
};

// Numbers are written in decimal, a leading "-" when negative and nothing else.
std::wstring savedText(const Flag& flag, const KeyboardSettings& settings, WindowPosition) {
    return flag.value.of(settings) ? L"1" : L"0";
}
std::wstring savedText(const Text& text, const KeyboardSettings& settings, WindowPosition) {
    return text.value.of(settings);
}
template <typename Int>
std::wstring savedText(const WholeNumber<Int>& number, const KeyboardSettings& settings, WindowPosition) {
    return std::to_wstring(number.value.of(settings));
}
std::wstring savedText(const Switch& flag, const KeyboardSettings& settings, WindowPosition) {
    return flag.value.of(settings) ? L"1" : L"0";
}
std::wstring savedText(const Ranged& number, const KeyboardSettings& settings, WindowPosition) {
    return std::to_wstring(number.value.of(settings));
}
std::wstring savedText(const ScanKey& key, const KeyboardSettings& settings, WindowPosition) {
    const auto known = std::ranges::find(kScanKeys, key.value.of(settings), &ScanKeyName::virtualKey);
    return std::wstring(known != kScanKeys.end() ? known->name : kScanKeys.front().name);
}
std::wstring savedText(const WindowEdge& edge, const KeyboardSettings&, WindowPosition position) {
    return std::to_wstring(edge.axis == Axis::X ? position.x : position.y);
}

}  // namespace

std::wstring settingsPathFor(std::wstring_view folder, std::wstring_view exeBaseName) {
    std::wstring path(folder);
    path += L'\\';
    path += exeBaseName;
    path += L".ini";
    return path;
}

LoadedSettings loadSettings(IniAccess& ini, const std::wstring& settingsPath, const ScreenGeometry& screen) {
    LoadedSettings loaded;
    SettingsLoader loader(ini, settingsPath, screen, loaded);
    for (const Setting& row : kSettings) loader.load(row);
    loader.placeOnAMonitor();
    return loaded;
}

int storedKeyboardSize(IniAccess& ini, const std::wstring& settingsPath) {
    LoadedSettings loaded;
    const ScreenGeometry noScreen{};
    SettingsLoader loader(ini, settingsPath, noScreen, loaded);
    for (const Setting& row : kSettings) {
        if (row.key == L"KEYBOARDSIZE") loader.load(row);
    }
    return loaded.settings.extras.keyboardSize;
}

void saveSettings(IniAccess& ini, const std::wstring& settingsPath, const KeyboardSettings& settings,
                  WindowPosition position) {
    for (const Setting& row : kSettings) {
        const std::wstring text =
            std::visit([&](const auto& value) { return savedText(value, settings, position); }, row.value);
        ini.writeIni(row.section, row.key, text, settingsPath);
    }
}

}  // namespace tapkeys
