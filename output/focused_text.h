#pragma once
// Reads what word prediction needs from the control that has the focus in the target's thread: whether
// it is a standard edit or rich edit control, whether it hides its text, and the text before its caret.

#include <windows.h>

#include <cstddef>
#include <string>

namespace tapkeys {

struct FocusedText {
    HWND focus = nullptr;   // the focus in the target's thread, or the target itself when it has none
    bool readable = false;  // an edit or rich edit control that answered in time
    bool password = false;  // ES_PASSWORD: nothing of it is read
    std::wstring before;    // the last few hundred characters before the caret
    std::size_t start = 0;  // where `before` starts in the control's text
};

// Sends the control a few messages, each given up after a short time, so a hung target costs little.
FocusedText readFocusedText(HWND target);

}  // namespace tapkeys
