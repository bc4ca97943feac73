#include "winstyle/cls_style.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

class ClsStyleTest : public ::testing::Test {
protected:
    // A controller bound to a fresh window that records what the controller makes the window manager
    // send it. The system menu and the caption drag are recorded and not passed on, so no menu pops up
    // and no move loop starts.
    clsStyle bindTo(DWORD style, DWORD exStyle = 0) {
        window = std::make_unique<TestWindow>(style, exStyle);
        window->onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_WINDOWPOSCHANGING) {
                const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
                frameRefreshes += (flags & SWP_FRAMECHANGED) ? 1 : 0;
                reorders += (flags & SWP_NOZORDER) ? 0 : 1;
                return 0;
            }
            if (message == 0x0313)
                return sysMenuPoints.push_back(static_cast<DWORD>(lParam)), 0;  // the popup
            if (message == WM_NCLBUTTONDOWN) return captionPresses.push_back(wParam), 0;
            return std::nullopt;
        };
        clsStyle controller;
        controller.setClient(window->hwnd());
        return controller;
    }
    void forget() {
        frameRefreshes = reorders = 0;
        sysMenuPoints.clear();
        captionPresses.clear();
    }

    std::unique_ptr<TestWindow> window;
    int frameRefreshes = 0, reorders = 0;
    std::vector<DWORD> sysMenuPoints;
    std::vector<WPARAM> captionPresses;
};

TEST_F(ClsStyleTest, TitlebarReadsEitherHalfOfTheCaptionAndWritesBoth) {
    clsStyle style = bindTo(WS_POPUP | WS_DLGFRAME);
    EXPECT_TRUE(style.Titlebar());
    style.setTitlebar(false);
    EXPECT_EQ(window->style() & WS_CAPTION, 0u);
    EXPECT_FALSE(style.Titlebar());
    style.setTitlebar(true);
    EXPECT_EQ(window->style() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    ::SetWindowLongPtrW(window->hwnd(), GWL_STYLE, WS_POPUP | WS_BORDER);
    EXPECT_TRUE(style.Titlebar());
}

struct StyleProperty {
    const char* name;
    bool (clsStyle::*get)() const;
    void (clsStyle::*set)(bool);
    bool extended;
    DWORD bit;
};
const StyleProperty kProperties[] = {
    {"ControlBox", &clsStyle::ControlBox, &clsStyle::setControlBox, false, WS_SYSMENU},
    {"MaxButton", &clsStyle::MaxButton, &clsStyle::setMaxButton, false, WS_MAXIMIZEBOX},
    {"MinButton", &clsStyle::MinButton, &clsStyle::setMinButton, false, WS_MINIMIZEBOX},
    {"Sizable", &clsStyle::Sizable, &clsStyle::setSizable, false, WS_THICKFRAME},
    {"ToolWindow", &clsStyle::ToolWindow, &clsStyle::setToolWindow, true, WS_EX_TOOLWINDOW},
    {"WhatsThisButton", &clsStyle::WhatsThisButton, &clsStyle::setWhatsThisButton, true, WS_EX_CONTEXTHELP},
};

// Each setter refreshes the frame, even when the bit is already in the requested state.
TEST_F(ClsStyleTest, EachPropertyMovesOnlyItsOwnBitAndRefreshesTheFrameWithoutReordering) {
    clsStyle style = bindTo(WS_POPUP | WS_CAPTION);
    for (const StyleProperty& property : kProperties) {
        SCOPED_TRACE(property.name);
        const auto word = [&] { return property.extended ? window->exStyle() : window->style(); };
        const DWORD others = word() & ~property.bit;
        forget();
        (style.*property.set)(true);
        EXPECT_TRUE((style.*property.get)());
        EXPECT_EQ(word(), others | property.bit);
        (style.*property.set)(true);
        (style.*property.set)(false);
        EXPECT_FALSE((style.*property.get)());
        EXPECT_EQ(word(), others);
        EXPECT_EQ(frameRefreshes, 3);
        EXPECT_EQ(reorders, 0);
    }
}

TEST_F(ClsStyleTest, TopMostChangesOnlyTheZOrderAndReadsTheExtendedStyle) {
    clsStyle style = bindTo(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    ASSERT_FALSE(style.TopMost());
    forget();
    style.setTopMost(true);
    EXPECT_TRUE(style.TopMost());
    EXPECT_TRUE(window->exStyle() & WS_EX_TOPMOST);
    EXPECT_GT(reorders, 0);
    style.setTopMost(false);
    EXPECT_FALSE(style.TopMost());
    EXPECT_FALSE(window->exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(frameRefreshes, 0);
}

TEST_F(ClsStyleTest, ShowSysMenuSendsThePackedPointOrRefusesOneThatDoesNotFit) {
    const clsStyle style = bindTo(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(style.ShowSysMenu(-5, 10));
    EXPECT_EQ(sysMenuPoints, std::vector<DWORD>{0x000AFFFB});
    forget();
    EXPECT_FALSE(style.ShowSysMenu(40000, 10));
    EXPECT_FALSE(style.ShowSysMenu(10, -32769));
    EXPECT_TRUE(sysMenuPoints.empty());
}

TEST_F(ClsStyleTest, UnboundControllerReadsFalseAndChangesNothing) {
    clsStyle style =
        bindTo(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
               WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP | WS_EX_TOPMOST);
    ASSERT_TRUE(style.MaxButton());
    style.setClient(nullptr);
    for (const StyleProperty& property : kProperties) EXPECT_FALSE((style.*property.get)()) << property.name;
    EXPECT_FALSE(style.Titlebar());
    EXPECT_FALSE(style.TopMost());
    const DWORD before = window->style();
    forget();
    style.setMaxButton(false);
    style.setTitlebar(false);
    (void)style.ShowSysMenu(1, 1);
    EXPECT_EQ(window->style(), before);
    EXPECT_EQ(frameRefreshes, 0);
    EXPECT_TRUE(sysMenuPoints.empty());
}

// A left press drags with AutoDrag; a right release pops the system menu up at the cursor with
// AutoSysMenu; nothing else reacts.
TEST_F(ClsStyleTest, MouseReactsOnlyToItsButtonAndOnlyWhenSwitchedOn) {
    clsStyle style = bindTo(WS_POPUP | WS_VISIBLE | WS_SYSMENU);
    ASSERT_TRUE(::SetCursorPos(123, 45));
    style.onMouseDown(MouseButton::Left);
    style.onMouseUp(MouseButton::Right);
    EXPECT_TRUE(captionPresses.empty());
    EXPECT_TRUE(sysMenuPoints.empty());
    style.setAutoDrag(true);
    style.setAutoSysMenu(true);
    style.onMouseDown(MouseButton::Right);
    style.onMouseUp(MouseButton::Left);
    EXPECT_TRUE(captionPresses.empty());
    EXPECT_TRUE(sysMenuPoints.empty());
    style.onMouseDown(MouseButton::Left);
    EXPECT_EQ(captionPresses, std::vector<WPARAM>{HTCAPTION});
    EXPECT_TRUE(sysMenuPoints.empty());
    style.onMouseUp(MouseButton::Right);
    EXPECT_EQ(sysMenuPoints, std::vector<DWORD>{(45u << 16) | 123u});
}

}  // namespace
}  // namespace tapkeys::test
