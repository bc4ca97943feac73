#include "output/focused_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

// The focused edit control of a window in front, read as word prediction reads its target: the text
// before the caret (its last 400 characters and where they start), or, in a password field, nothing.
TEST(FocusedText, ReadsTheTextBeforeTheCaretAndNothingOfAPassword) {
    const std::wstring longText = std::wstring(450, L'a') + L" tail";
    const struct {
        const wchar_t* text;
        int caret;
        bool password;
        std::wstring before;
        std::size_t start;
    } cases[] = {
        {L"hello world", 5, false, L"hello", 0},
        {L"hello world", 0, false, L"", 0},
        {L"one\r\ntwo th", 11, false, L"one\r\ntwo th", 0},
        {longText.c_str(), 455, false, longText.substr(55), 55},
        {L"secret word", 6, true, L"", 0},
    };
    for (const auto& c : cases) {
        const TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true);
        ASSERT_TRUE(bringToFront(window.hwnd()));
        const HWND edit = window.edit();
        ::SetFocus(edit);
        ::SetWindowTextW(edit, c.text);
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.caret), c.caret);
        if (c.password)
            ::SetWindowLongPtrW(edit, GWL_STYLE, ::GetWindowLongPtrW(edit, GWL_STYLE) | ES_PASSWORD);
        const FocusedText read = readFocusedText(window.hwnd());
        EXPECT_EQ(read.focus, edit) << c.text;
        EXPECT_EQ(read.readable, !c.password) << c.text;
        EXPECT_EQ(read.password, c.password) << c.text;
        EXPECT_EQ(read.before, c.before) << c.text;
        EXPECT_EQ(read.start, c.start) << c.text;
    }
}

}  // namespace
}  // namespace tapkeys::test
