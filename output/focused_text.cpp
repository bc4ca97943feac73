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

// The first `length` characters of a line; EM_GETLINE is copied across processes by the system. Wine
// copies back as many bytes as the buffer holds characters, so the buffer is made twice as long.
std::optional<std::wstring> lineStart(HWND control, std::size_t line, std::size_t length) {
    const std::size_t size = std::min<std::size_t>(2 * (length + 1), 0xFFFF);
    std::wstring buffer(size, L'\0');
    buffer[0] = static_cast<wchar_t>(size);
    const auto copied = ask(control, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data()));
    if (!copied) return std::nullopt;
    buffer.resize(std::min<std::size_t>({*copied, length, buffer.find(L'\0')}));
    return buffer;
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
    const auto line = ask(text.focus, EM_LINEFROMCHAR, caret, 0);
    const auto lineIndex = line ? ask(text.focus, EM_LINEINDEX, *line, 0) : std::nullopt;
    if (!lineIndex || *lineIndex > caret) return text;
    const std::size_t column = caret - *lineIndex;
    auto current = lineStart(text.focus, *line, column);
    if (!current) return text;
    text.before = std::move(*current);
    text.start = *lineIndex;
    // The line before, for the word before the first word of a line and the sentence it ends.
    if (*line > 0 && text.before.size() < kMostCharacters) {
        const auto previousIndex = ask(text.focus, EM_LINEINDEX, *line - 1, 0);
        const auto previousLength =
            previousIndex ? ask(text.focus, EM_LINELENGTH, *previousIndex, 0) : std::nullopt;
        if (previousLength) {
            if (auto previous = lineStart(text.focus, *line - 1, *previousLength)) {
                text.before = *previous + L"\n" + text.before;
                text.start = *lineIndex >= previous->size() + 1 ? *lineIndex - previous->size() - 1 : 0;
            }
        }
    }
    if (text.before.size() > kMostCharacters) {
        text.start += text.before.size() - kMostCharacters;
        text.before.erase(0, text.before.size() - kMostCharacters);
    }
    text.readable = true;
    return text;
}

}  // namespace tapkeys
