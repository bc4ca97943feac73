#include "output/target_layout_reader.h"

#include <algorithm>

namespace tapkeys {

HKL targetKeyboardLayout(HWND target) {
    return ::GetKeyboardLayout(target ? ::GetWindowThreadProcessId(target, nullptr) : 0);
}

LayoutCharacter TargetLayoutReader::characterAt(std::uint16_t scanCode, bool shifted) const {
    const UINT virtualKey = ::MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK_EX, layout_);
    if (virtualKey == 0) return {};
    BYTE state[256] = {};
    if (shifted) state[VK_SHIFT] = 0x80;
    wchar_t typed[8] = {};
    const int count = ::ToUnicodeEx(virtualKey, scanCode, state, typed, 8, 0, layout_);
    if (count < 0) {
        // A dead key stays pending in this thread's keyboard state and would compose with the next key
        // read; pressing it again types the accent and ends it.
        wchar_t spent[8];
        for (int tries = 0; tries < 4 && ::ToUnicodeEx(virtualKey, scanCode, state, spent, 8, 0, layout_) < 0;
             ++tries) {
        }
        return {std::wstring(1, typed[0]), true};
    }
    const std::wstring text(typed, static_cast<std::size_t>(std::min(count, 8)));
    // Control characters (Ctrl combinations, Escape-like keys) are nothing to show on a key.
    if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; })) return {};
    return {text, false};
}

}  // namespace tapkeys
