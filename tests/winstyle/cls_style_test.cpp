#include "winstyle/cls_style.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

// A controller bound to a fresh window that records what the controller makes the window manager send
// it: frame refreshes, re-orderings, system-menu pop-ups and caption presses. The last two are not passed
// on, so no menu pops up and no move loop starts.
class ClsStyleTest : public ::testing::Test {
protected:
    clsStyle bindTo(DWORD style, DWORD exStyle = 0) {
        window = std::make_unique<TestWindow>(style, exStyle);
        window->onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_WINDOWPOSCHANGING) {
                const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
                events += (flags & SWP_FRAMECHANGED) ? L"frame|" : L"";
                events += (flags & SWP_NOZORDER) ? L"" : L"reorder|";
                return 0;
            }
            if (message == 0x0313)
                return events += L"menu:" + std::to_wstring(lParam) + L"|", 0;  // WM_POPUPSYSTEMMENU
            if (message == WM_NCLBUTTONDOWN) return events += L"drag:" + std::to_wstring(wParam) + L"|", 0;
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
    // Unbound, every property reads false and nothing changes.
    const DWORD before = window->style() | WS_MAXIMIZEBOX;
    ::SetWindowLongPtrW(window->hwnd(), GWL_STYLE, before);
    style.setClient(nullptr);
    for (const auto& [get, set, extended, bits] : properties) EXPECT_FALSE((style.*get)()) << bits;
    style.setMaxButton(false);
    (void)style.ShowSysMenu(1, 1);
    EXPECT_EQ(window->style(), before);
    EXPECT_EQ(take(), L"");
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

// A left press drags with AutoDrag; a right release pops the system menu up at the cursor with
// AutoSysMenu, and not where a coordinate does not fit the message; nothing else reacts.
TEST_F(ClsStyleTest, MouseReactsOnlyToItsButtonAndOnlyWhenSwitchedOn) {
    clsStyle style = bindTo(WS_POPUP | WS_VISIBLE | WS_SYSMENU);
    ASSERT_TRUE(::SetCursorPos(123, 45));
    style.onMouseDown(MouseButton::Left);
    style.onMouseUp(MouseButton::Right);
    style.setAutoDrag(true);
    style.setAutoSysMenu(true);
    style.onMouseDown(MouseButton::Right);
    style.onMouseUp(MouseButton::Left);
    EXPECT_EQ(take(), L"");
    style.onMouseDown(MouseButton::Left);
    style.onMouseUp(MouseButton::Right);
    EXPECT_TRUE(style.ShowSysMenu(-5, 10));
    EXPECT_FALSE(style.ShowSysMenu(40000, 10) || style.ShowSysMenu(10, -32769));
    EXPECT_EQ(take(), L"drag:2|menu:" + std::to_wstring((45 << 16) | 123) + L"|menu:" +
                          std::to_wstring(0x000AFFFB) + L"|");
}

}  // namespace
}  // namespace tapkeys::test
