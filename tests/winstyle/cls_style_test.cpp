#include "winstyle/cls_style.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

// A controller bound to a fresh window that records the frame refreshes and re-orderings the controller
// makes the window manager send it.
class ClsStyleTest : public ::testing::Test {
protected:
    clsStyle bindTo(DWORD style, DWORD exStyle = 0) {
        window = std::make_unique<TestWindow>(style, exStyle);
        window->onMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_WINDOWPOSCHANGING) {
                const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
                events += (flags & SWP_FRAMECHANGED) ? L"frame|" : L"";
                events += (flags & SWP_NOZORDER) ? L"" : L"reorder|";
                return 0;
            }
            return std::nullopt;
        };
        clsStyle controller;
        controller.setClient(window->hwnd());
        return controller;
    }
    std::wstring take() { return std::exchange(events, {}); }

    std::unique_ptr<TestWindow> window;
    std::wstring events;
};

// Each setter refreshes the frame, even when the bit is already in the requested state; the caption
// reads as present with either half and is written whole.
TEST_F(ClsStyleTest, EachPropertyMovesOnlyItsOwnBitsAndRefreshesTheFrameWithoutReordering) {
    // clang-format off
    const std::tuple<bool (clsStyle::*)() const, void (clsStyle::*)(bool), bool, DWORD> properties[] = {
        {&clsStyle::ControlBox, &clsStyle::setControlBox, false, WS_SYSMENU},
        {&clsStyle::MaxButton, &clsStyle::setMaxButton, false, WS_MAXIMIZEBOX},
        {&clsStyle::MinButton, &clsStyle::setMinButton, false, WS_MINIMIZEBOX},
        {&clsStyle::Sizable, &clsStyle::setSizable, false, WS_THICKFRAME},
        {&clsStyle::Titlebar, &clsStyle::setTitlebar, false, WS_CAPTION},
        {&clsStyle::ToolWindow, &clsStyle::setToolWindow, true, WS_EX_TOOLWINDOW},
        {&clsStyle::WhatsThisButton, &clsStyle::setWhatsThisButton, true, WS_EX_CONTEXTHELP}};
    // clang-format on
    clsStyle style = bindTo(WS_POPUP | WS_DLGFRAME);
    EXPECT_TRUE(style.Titlebar());
    for (const auto& [get, set, extended, bits] : properties) {
        const auto word = [&, extended = extended] { return extended ? window->exStyle() : window->style(); };
        const DWORD others = word() & ~bits;
        take();
        (style.*set)(true);
        EXPECT_TRUE((style.*get)() && word() == (others | bits)) << bits;
        (style.*set)(true);
        (style.*set)(false);
        EXPECT_TRUE(!(style.*get)() && word() == others) << bits;
        EXPECT_EQ(take(), L"frame|frame|frame|") << bits;
    }
}

TEST_F(ClsStyleTest, TopMostChangesOnlyTheZOrderAndReadsTheExtendedStyle) {
    clsStyle style = bindTo(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    EXPECT_FALSE(style.TopMost());
    style.setTopMost(true);
    EXPECT_TRUE(style.TopMost() && (window->exStyle() & WS_EX_TOPMOST));
    style.setTopMost(false);
    EXPECT_FALSE(style.TopMost() || (window->exStyle() & WS_EX_TOPMOST));
    const std::wstring events = take();
    EXPECT_TRUE(events.find(L"reorder") != events.npos && events.find(L"frame") == events.npos) << events;
}

}  // namespace
}  // namespace tapkeys::test
