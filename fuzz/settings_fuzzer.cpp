// The settings file loader over arbitrary bytes, read with the profile-string rules. Properties: every
// value loads in range (font size 8 to 255, a position only where the window stays on the screen, no
// text longer than the 254 characters a read returns), and what a save writes loads back exactly, texts
// with blank or quoted ends included.

#include <cstdint>
#include <span>
#include <string>

#include "fuzz/ansi_text.h"
#include "fuzz/check.h"
#include "fuzz/ini_text.h"
#include "settings/keyboard_settings.h"

namespace tapkeys::fuzz {
namespace {

const std::wstring kPath = L"C:\\tapkeys\\tapkeys.ini";
constexpr std::size_t kMaxValue = 254;

bool withinReadLimit(const KeyboardSettings& s) {
    for (const std::wstring* text :
         {&s.fontFace, &s.fontStyle, &s.keyMap, &s.keyMapUserLC, &s.keyMapUserUC}) {
        if (text->size() > kMaxValue) return false;
    }
    return true;
}

void checkEdge(const std::optional<int>& edge, int screenExtent) {
    if (edge) FUZZ_CHECK(*edge >= 0 && *edge < screenExtent - 10);
}

void run(std::span<const std::uint8_t> bytes) {
    // The first byte picks the screen, so positions meet narrow, wide and degenerate screens.
    static constexpr ScreenGeometry kScreens[] = {
        {1024, 768, 632, 217}, {640, 200, 632, 217}, {3840, 2160, 1264, 434}, {0, 0, 632, 217}};
    const ScreenGeometry screen = bytes.empty() ? kScreens[0] : kScreens[bytes[0] % 4];

    IniText ini;
    ini.putFile(kPath, fromWindows1252(bytes));
    const LoadedSettings first = loadSettings(ini, kPath, screen);
    const KeyboardSettings& s = first.settings;
    FUZZ_CHECK(s.fontSze >= 8 && s.fontSze <= 255);
    FUZZ_CHECK(withinReadLimit(s));
    checkEdge(first.windowX, screen.screenWidth);
    checkEdge(first.windowY, screen.screenHeight);

    IniText saved;
    saveSettings(saved, kPath, s, WindowPosition{first.windowX.value_or(0), first.windowY.value_or(0)});
    FUZZ_CHECK(saved.writeCount() == 11);
    const LoadedSettings second = loadSettings(saved, kPath, screen);
    FUZZ_CHECK(second.settings == s);
    FUZZ_CHECK(second.windowX.value_or(0) == first.windowX.value_or(0));
    FUZZ_CHECK(second.windowY.value_or(0) == first.windowY.value_or(0));
    FUZZ_CHECK(withinReadLimit(second.settings));
}

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapkeys::fuzz::run({data, size});
    return 0;
}
