#include "options/screen_fonts.h"

#include <windows.h>

#include "win32/gdi.h"

namespace tapkeys {

namespace {

int CALLBACK collectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    auto& names = *reinterpret_cast<std::vector<std::wstring>*>(faces);
    // The character sets of one family arrive one after another.
    if (names.empty() || names.back() != font->lfFaceName) names.emplace_back(font->lfFaceName);
    return 1;
}

}  // namespace

std::vector<std::wstring> screenFontFaces() {
    const WindowDc screen(nullptr);
    LOGFONTW everyFamily{};
    everyFamily.lfCharSet = DEFAULT_CHARSET;
    std::vector<std::wstring> faces;
    ::EnumFontFamiliesExW(screen.get(), &everyFamily, collectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

}  // namespace tapkeys
