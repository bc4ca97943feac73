#include "winstyle/cls_style.h"

#include <gtest/gtest.h>

#include <string>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

// The keyboard keeps itself on top through this: a move into and out of the topmost band that the
// window manager records, without a frame refresh. The frame-style properties, the system menu and the
// mouse reactions of the controller have no caller in the program and no test of their own.
TEST(ClsStyle, TopMostChangesOnlyTheZOrderAndReadsTheExtendedStyle) {
    TestWindow window(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    std::wstring events;
    window.onMessage = [&](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_WINDOWPOSCHANGING) return std::nullopt;
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        events += std::wstring((flags & SWP_FRAMECHANGED) ? L"frame|" : L"") +
                  ((flags & SWP_NOZORDER) ? L"" : L"reorder|");
        return 0;
    };
    clsStyle style;
    style.setClient(window.hwnd());
    style.setTopMost(true);
    EXPECT_TRUE(style.TopMost() && (window.exStyle() & WS_EX_TOPMOST));
    style.setTopMost(false);
    EXPECT_FALSE(style.TopMost() || (window.exStyle() & WS_EX_TOPMOST));
    EXPECT_TRUE(events.find(L"reorder") != events.npos && events.find(L"frame") == events.npos) << events;
}

}  // namespace
}  // namespace tapkeys::test
