// The language key map loader over arbitrary host files: the bytes before the first NUL are dax.ini,
// the rest the language file that dax.ini names. Properties: a language code with path characters
// never leads a read outside the "lang" folder; each layer is the value read (at most 254 characters)
// or the placeholder, never empty; and the choice of source follows "KEYMAP" exactly.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/ansi_text.h"
#include "fuzz/check.h"
#include "fuzz/ini_text.h"
#include "settings/language_key_map.h"

namespace tapkeys::fuzz {
namespace {

const std::wstring kFolder = L"C:\\Dax";
const std::wstring kHostFile = kFolder + L"\\dax.ini";
const std::wstring kLangFolder = kFolder + L"\\lang\\";

// A path that the loader may read: the host file, or a file directly inside the lang folder.
bool isAllowedPath(const std::wstring& path) {
    if (path == kHostFile) return true;
    if (!path.starts_with(kLangFolder)) return false;
    const std::wstring_view name = std::wstring_view(path).substr(kLangFolder.size());
    // One path component, so no ".." can climb out ("x..ini" is a plain name); no colon, so no drive
    // or alternate stream either.
    return name.find_first_of(L"\\/:") == std::wstring_view::npos && name != L"." && name != L"..";
}

void checkLayer(const std::wstring& layer) {
    FUZZ_CHECK(!layer.empty());
    FUZZ_CHECK(layer.size() <= 254);
}

void run(std::span<const std::uint8_t> bytes) {
    const auto split = std::ranges::find(bytes, std::uint8_t{0});
    const std::wstring hostText = fromWindows1252({bytes.begin(), split});
    const std::wstring languageText =
        fromWindows1252({split == bytes.end() ? split : split + 1, bytes.end()});

    IniText ini;
    ini.putFile(kHostFile, hostText);
    // The language file goes wherever the host file points, path characters and all, so a loader that
    // followed them would find something there.
    const std::wstring code = ini.readIni(L"general", L"USEDLANGUAGE", L"en", kHostFile);
    ini.putFile(kLangFolder + code + L".ini", languageText);

    KeyboardSettings settings;
    settings.keyMap = L"ini";
    const KeySets sets = loadKeyMap(ini, kFolder, settings);
    checkLayer(sets.normal);
    checkLayer(sets.shifted);
    FUZZ_CHECK(std::ranges::all_of(ini.pathsRead(), isAllowedPath));
    if (!isSafeLanguageCode(code)) FUZZ_CHECK(sets == (KeySets{L"default", L"default"}));

    // Anything but exactly "ini" takes the user's sets as they are, without touching a file.
    settings.keyMap = hostText.substr(0, 4);
    settings.keyMapUserLC = languageText.substr(0, 60);
    settings.keyMapUserUC = hostText;
    if (settings.keyMap != L"ini") {
        const std::size_t readsBefore = ini.pathsRead().size();
        FUZZ_CHECK(loadKeyMap(ini, kFolder, settings) ==
                   (KeySets{settings.keyMapUserLC, settings.keyMapUserUC}));
        FUZZ_CHECK(ini.pathsRead().size() == readsBefore);
    }
}

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapkeys::fuzz::run({data, size});
    return 0;
}
