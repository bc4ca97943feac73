// The settings file loader over arbitrary bytes, read with the profile-string rules. Properties: every
// value loads in range (font size 8 to 255, the extras in theirs, a position only where the window stays on
// the screen, no text longer than the 254 characters a read returns), and what a save writes loads back
// exactly, texts with blank or quoted ends included.

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "settings/keyboard_settings.h"
#include "tests/support/fake_ini.h"

namespace tapkeys::fuzz {
namespace {

const std::wstring kPath = L"C:\\tapkeys\\tapkeys.ini";

void checkInRange(const LoadedSettings& loaded, const ScreenGeometry& screen) {
    const KeyboardSettings& s = loaded.settings;
    FUZZ_CHECK(s.fontSze >= 8 && s.fontSze <= 255);
    for (const std::wstring* text : {&s.fontFace, &s.fontStyle, &s.keyMap, &s.keyMapUserLC, &s.keyMapUserUC})
        FUZZ_CHECK(text->size() <= 254);
    FUZZ_CHECK(!loaded.windowX || (*loaded.windowX >= 0 && *loaded.windowX < screen.screenWidth - 10));
    FUZZ_CHECK(!loaded.windowY || (*loaded.windowY >= 0 && *loaded.windowY < screen.screenHeight - 10));
    FUZZ_CHECK(kRepeatDelayRange.allows(s.extras.repeatDelay) &&
               kRepeatRateRange.allows(s.extras.repeatRate) && kDwellTimeRange.allows(s.extras.dwellTime) &&
               kScanTimeRange.allows(s.extras.scanTime) && kKeyboardSizeRange.allows(s.extras.keyboardSize));
    FUZZ_CHECK(std::ranges::count(kScanKeys, s.extras.scanKey, &ScanKeyName::virtualKey) == 1);
}

void run(std::span<const std::uint8_t> bytes) {
    // The first byte picks the screen, so positions meet narrow, wide and degenerate screens.
    static constexpr ScreenGeometry kScreens[] = {
        {1024, 768, 632, 217}, {640, 200, 632, 217}, {3840, 2160, 1264, 434}, {0, 0, 632, 217}};
    const ScreenGeometry screen = kScreens[bytes.empty() ? 0 : bytes[0] % 4];
    testing::FakeIni ini, saved;
    ini.putFile(kPath, textOf(bytes));
    const LoadedSettings first = loadSettings(ini, kPath, screen);
    checkInRange(first, screen);
    saveSettings(saved, kPath, first.settings, {first.windowX.value_or(0), first.windowY.value_or(0)});
    const LoadedSettings second = loadSettings(saved, kPath, screen);
    checkInRange(second, screen);
    FUZZ_CHECK(second.settings == first.settings && second.windowX.value_or(0) == first.windowX.value_or(0) &&
               second.windowY.value_or(0) == first.windowY.value_or(0));
}

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapkeys::fuzz::run({data, size});
    return 0;
}
