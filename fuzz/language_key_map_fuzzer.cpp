// The language key map loader over arbitrary host files: the bytes before the first NUL are dax.ini,
// the rest the language file that dax.ini names, placed wherever its code points, path characters and
// all, so a loader that followed them would find it. Properties: no read outside the host file and the
// files directly inside the "lang" folder; each layer is the value read (at most 254 characters) or the
// placeholder, never empty; a code that is not a plain file name gives the placeholders.

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "settings/language_key_map.h"
#include "tests/support/fake_ini.h"

namespace tapkeys::fuzz {
namespace {

const std::wstring kFolder = L"C:\\Dax", kHostFile = kFolder + L"\\dax.ini",
                   kLangFolder = kFolder + L"\\lang\\";

// One path component, so no ".." can climb out ("x..ini" is a plain name), and no colon for a drive or
// a stream.
bool isAllowedPath(const std::wstring& path) {
    const std::wstring_view name = std::wstring_view(path).substr(std::min(path.size(), kLangFolder.size()));
    return path == kHostFile || (path.starts_with(kLangFolder) && name.find_first_of(L"\\/:") == name.npos);
}

void run(std::span<const std::uint8_t> bytes) {
    const auto split = std::ranges::find(bytes, std::uint8_t{0});
    testing::FakeIni ini;
    ini.putFile(kHostFile, textOf({bytes.begin(), split}));
    const std::wstring code = ini.readIni(L"general", L"USEDLANGUAGE", L"en", kHostFile);
    ini.putFile(kLangFolder + code + L".ini",
                textOf({split == bytes.end() ? split : split + 1, bytes.end()}));
    const KeySets sets = loadLanguageKeyMap(ini, kFolder);
    for (const std::wstring* layer : {&sets.normal, &sets.shifted})
        FUZZ_CHECK(!layer->empty() && layer->size() <= 254);
    FUZZ_CHECK(std::ranges::all_of(ini.pathsRead, isAllowedPath));
    FUZZ_CHECK(isSafeLanguageCode(code) || sets == (KeySets{L"default", L"default"}));
}

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tapkeys::fuzz::run({data, size});
    return 0;
}
