#include "output/focused_text.h"

#include <algorithm>
#include <optional>

namespace tapkeys {
namespace {

constexpr UINT kAnswerMs = 50;
constexpr std::size_t kMostCharacters = 400;  // the part before the caret that prediction looks at

std::optional<DWORD_PTR> ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                               kAnswerMs, &result))
        return std::nullopt;
    return result;
}

bool isEditClass(HWND control) {
    wchar_t name[32]{};
    if (::GetClassNameW(control, name, 32) == 0) return false;
    const std::wstring_view n = name;
    const auto startsWith = [&](std::wstring_view prefix) {
        return n.size() >= prefix.size() &&
               ::CompareStringOrdinal(n.data(), static_cast<int>(prefix.size()), prefix.data(),
                                      static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
    };
    return (n.size() == 4 && startsWith(L"Edit")) || startsWith(L"RichEdit");
}

}  // namespace

FocusedText readFocusedText(HWND target) {
    FocusedText text;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(target, nullptr);
    text.focus = thread != 0 && ::GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : target;
    if (text.focus == nullptr || !isEditClass(text.focus)) return text;
    if ((::GetWindowLongPtrW(text.focus, GWL_STYLE) & ES_PASSWORD) != 0) {
        text.password = true;
        return text;
    }
    // The selection's start as a 16-bit word: a caret past 65,534 reads as unknown.
    const auto selection = ask(text.focus, EM_GETSEL, 0, 0);
    if (!selection || LOWORD(*selection) == 0xFFFF) return text;
    const std::size_t caret = LOWORD(*selection);
    // WM_GETTEXT, which every system copies across processes alike, up to the caret (EM_GETLINE, which
    // reads one line, comes back short under Wine and overruns the target's buffer there).
    std::wstring before(caret + 1, L'\0');
    const auto copied = ask(text.focus, WM_GETTEXT, before.size(), reinterpret_cast<LPARAM>(before.data()));
    if (!copied) return text;
    before.resize(std::min<std::size_t>({*copied, caret, before.find(L'\0')}));
    text.start = before.size() > kMostCharacters ? before.size() - kMostCharacters : 0;
    text.before = before.substr(text.start);
    text.readable = true;
    return text;
}

}  // namespace tapkeys
