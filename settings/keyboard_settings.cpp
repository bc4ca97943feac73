#include "settings/keyboard_settings.h"

#include <array>
#include <cstddef>

#include "settings/number_reading.h"

namespace tapkeys {

namespace {

// The keys in the order the file holds them; load and save both walk this order.
enum Setting : std::size_t {
    SafeMode,
    WindowX,
    WindowY,
    FontFace,
    FontStyle,
    FontSize,
    FontColor,
    KeyMapSource,
    UserKeyMapNormal,
    UserKeyMapShift,
    SettingCount
};

struct SettingName {
    std::wstring_view section;
    std::wstring_view key;
};

constexpr std::array<SettingName, SettingCount> kSettingNames{{
    {L"misc", L"SAFEMODE"},
    {L"misc", L"WINDOWX"},
    {L"misc", L"WINDOWY"},
    {L"fonts", L"FONTFACE"},
    {L"fonts", L"FONTSTYLE"},
    {L"fonts", L"FONTSIZE"},
    {L"fonts", L"FONTCOLOR"},
    {L"keymapping", L"KEYMAP"},
    {L"keymapping", L"USERKEYMAPNORMAL"},
    {L"keymapping", L"USERKEYMAPSHIFT"},
}};

constexpr std::int16_t kDefaultFontSize = 14;
constexpr double kMinFontSize = 8, kMaxFontSize = 255;
// A stored edge must leave at least this many pixels of the window on the primary screen.
constexpr long long kMinVisiblePixels = 10;

class SettingsReader {
public:
    SettingsReader(IniAccess& ini, const std::wstring& path) : ini_(ini), path_(path) {}

    std::wstring text(Setting setting, std::wstring_view defaultValue) {
        return ini_.readIni(kSettingNames[setting].section, kSettingNames[setting].key, defaultValue, path_);
    }
    double number(Setting setting, std::wstring_view defaultValue) {
        return readNumber(text(setting, defaultValue));
    }

private:
    IniAccess& ini_;
    const std::wstring& path_;
};

// The default centres the window; it goes through the same range test as a stored value, so a window
// wider than the screen keeps its layout position.
double readWindowEdge(SettingsReader& reader, Setting setting, int screenExtent, int windowExtent) {
    const long long centred = (static_cast<long long>(screenExtent) - windowExtent) / 2;
    return reader.number(setting, std::to_wstring(centred));
}

std::optional<int> edgeOnScreen(double edge, int screenExtent) {
    if (!(edge >= 0 && edge < static_cast<double>(screenExtent - kMinVisiblePixels))) return std::nullopt;
    return static_cast<int>(edge);  // in range of int by the test above; fractions are truncated
}

std::int16_t fontSizeFrom(double size) {
    if (!(size >= kMinFontSize && size <= kMaxFontSize)) return kDefaultFontSize;
    return roundToInt16(size).value_or(kDefaultFontSize);
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
    SettingsReader reader(ini, settingsPath);
    LoadedSettings loaded;
    KeyboardSettings& settings = loaded.settings;
    settings.useSafeMode = reader.number(SafeMode, L"0") == 1.0;
    const double x = readWindowEdge(reader, WindowX, screen.screenWidth, screen.windowWidth);
    const double y = readWindowEdge(reader, WindowY, screen.screenHeight, screen.windowHeight);
    const WindowBand band{screen.windowWidth, screen.titleHeight, screen.dpi};
    const std::optional<WindowPosition> onAMonitor =
        screen.monitors.size() > 1 ? positionOnAMonitor(x, y, band, screen.monitors) : std::nullopt;
    loaded.windowX = onAMonitor ? std::optional(onAMonitor->x) : edgeOnScreen(x, screen.screenWidth);
    loaded.windowY = onAMonitor ? std::optional(onAMonitor->y) : edgeOnScreen(y, screen.screenHeight);
    settings.fontFace = reader.text(FontFace, L"Arial");
    settings.fontStyle = reader.text(FontStyle, L"");
    settings.fontSze = fontSizeFrom(reader.number(FontSize, L"14"));
    // Only hand-edited files hold colours beyond 32 bits; black is the same answer an empty value gets.
    settings.fontColor = roundToInt32(reader.number(FontColor, L"")).value_or(0);
    settings.keyMap = reader.text(KeyMapSource, L"ini");
    settings.keyMapUserLC = reader.text(UserKeyMapNormal, L"");
    settings.keyMapUserUC = reader.text(UserKeyMapShift, L"");
    return loaded;
}

void saveSettings(IniAccess& ini, const std::wstring& settingsPath, const KeyboardSettings& settings,
                  WindowPosition position) {
    const std::array<std::wstring, SettingCount> values{
        settings.useSafeMode ? L"1" : L"0",
        std::to_wstring(position.x),
        std::to_wstring(position.y),
        settings.fontFace,
        settings.fontStyle,
        std::to_wstring(settings.fontSze),
        std::to_wstring(settings.fontColor),
        settings.keyMap,
        settings.keyMapUserLC,
        settings.keyMapUserUC,
    };
    for (std::size_t i = 0; i < SettingCount; ++i) {
        ini.writeIni(kSettingNames[i].section, kSettingNames[i].key, values[i], settingsPath);
    }
}

}  // namespace tapkeys
