#include "winstyle/cls_style.h"

#include <gtest/gtest.h>

#include <vector>

#include "keyboard/runtime/base_window.h"

namespace tapkeys {
namespace {

constexpr UINT kPopupSystemMenu = 0x0313;

// A real window that records what the controller makes the window manager send it. The system menu
// and the caption drag are recorded and not passed on, so no menu pops up and no move loop starts.
class RecordingWindow : public BaseWindow<RecordingWindow> {
public:
    RecordingWindow(DWORD style, DWORD exStyle) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"tapkeysStyleTestWindow";
        ::RegisterClassW(&wc);  // a second registration fails harmlessly
        ::CreateWindowExW(exStyle, wc.lpszClassName, L"style test", style, 100, 100, 300, 200, nullptr,
                          nullptr, wc.hInstance, this);
    }
    ~RecordingWindow() { ::DestroyWindow(hwnd()); }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_WINDOWPOSCHANGING: return onPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam)), 0;
            case kPopupSystemMenu: return sysMenuPoints.push_back(static_cast<DWORD>(lParam)), 0;
            case WM_NCLBUTTONDOWN: return captionPresses.push_back(wParam), 0;
            default: return defaultProc(message, wParam, lParam);
        }
    }

    DWORD style() const { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE)); }
    DWORD exStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)); }
    void forget() {
        frameRefreshes = 0;
        insertAfter.clear();
        sysMenuPoints.clear();
        captionPresses.clear();
    }

    int frameRefreshes = 0;
    std::vector<HWND> insertAfter;  // of every position change that re-orders the window
    std::vector<DWORD> sysMenuPoints;
    std::vector<WPARAM> captionPresses;

private:
    void onPosChanging(const WINDOWPOS& pos) {
        if (pos.flags & SWP_FRAMECHANGED) ++frameRefreshes;
        if (!(pos.flags & SWP_NOZORDER)) insertAfter.push_back(pos.hwndInsertAfter);
    }
};

clsStyle boundTo(const RecordingWindow& window) {
    clsStyle style;
    style.setClient(window.hwnd());
    return style;
}

TEST(ClsStyle, TitlebarReadsEitherHalfOfTheCaptionAndWritesBoth) {
    RecordingWindow window(WS_POPUP | WS_DLGFRAME, 0);
    clsStyle style = boundTo(window);
    EXPECT_TRUE(style.Titlebar());

    style.setTitlebar(false);
    EXPECT_EQ(window.style() & WS_CAPTION, 0u);
    EXPECT_FALSE(style.Titlebar());

    style.setTitlebar(true);
    EXPECT_EQ(window.style() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(style.Titlebar());

    ::SetWindowLongPtrW(window.hwnd(), GWL_STYLE, WS_POPUP | WS_BORDER);
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

TEST(ClsStyle, EachPropertyMovesOnlyItsOwnBitAndRefreshesTheFrame) {
    RecordingWindow window(WS_POPUP | WS_CAPTION, 0);
    clsStyle style = boundTo(window);
    for (const StyleProperty& property : kProperties) {
        SCOPED_TRACE(property.name);
        const auto word = [&] { return property.extended ? window.exStyle() : window.style(); };
        const DWORD others = word() & ~property.bit;
        window.forget();

        (style.*property.set)(true);
        EXPECT_TRUE((style.*property.get)());
        EXPECT_EQ(word(), others | property.bit);

        (style.*property.set)(false);
        EXPECT_FALSE((style.*property.get)());
        EXPECT_EQ(word(), others);
        EXPECT_EQ(window.frameRefreshes, 2);
        EXPECT_TRUE(window.insertAfter.empty()) << "a frame refresh must not re-order the window";
    }
}

TEST(ClsStyle, SetterRefreshesTheFrameEvenWhenTheBitIsAlreadySet) {
    RecordingWindow window(WS_POPUP | WS_CAPTION | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW);
    clsStyle style = boundTo(window);
    window.forget();

    style.setMaxButton(true);
    EXPECT_EQ(window.frameRefreshes, 1);
    style.setToolWindow(true);
    EXPECT_EQ(window.frameRefreshes, 2);
    EXPECT_TRUE(style.MaxButton());
    EXPECT_TRUE(style.ToolWindow());
}

TEST(ClsStyle, TopMostChangesOnlyTheZOrderAndReadsTheExtendedStyle) {
    RecordingWindow window(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0);
    clsStyle style = boundTo(window);
    ASSERT_FALSE(style.TopMost());
    window.forget();

    style.setTopMost(true);
    EXPECT_TRUE(style.TopMost());
    EXPECT_TRUE(window.exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(window.frameRefreshes, 0);
    EXPECT_FALSE(window.insertAfter.empty());

    style.setTopMost(false);
    EXPECT_FALSE(style.TopMost());
    EXPECT_FALSE(window.exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(window.frameRefreshes, 0);
}

TEST(ClsStyle, ShowSysMenuSendsThePackedPointOrRefusesOneThatDoesNotFit) {
    RecordingWindow window(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    clsStyle style = boundTo(window);

    EXPECT_TRUE(style.ShowSysMenu(-5, 10));
    EXPECT_EQ(window.sysMenuPoints, std::vector<DWORD>{0x000AFFFB});

    window.forget();
    EXPECT_FALSE(style.ShowSysMenu(40000, 10));
    EXPECT_FALSE(style.ShowSysMenu(10, -32769));
    EXPECT_TRUE(window.sysMenuPoints.empty());
}

TEST(ClsStyle, UnboundControllerReadsFalseAndChangesNothing) {
    RecordingWindow window(
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP | WS_EX_TOPMOST);
    clsStyle style = boundTo(window);
    ASSERT_TRUE(style.MaxButton());

    style.setClient(nullptr);
    EXPECT_EQ(style.hWnd(), nullptr);
    EXPECT_EQ(style.client(), nullptr);
    for (const StyleProperty& property : kProperties) EXPECT_FALSE((style.*property.get)()) << property.name;
    EXPECT_FALSE(style.Titlebar());
    EXPECT_FALSE(style.TopMost());

    const DWORD before = window.style();
    window.forget();
    style.setMaxButton(false);
    style.setTitlebar(false);
    (void)style.ShowSysMenu(1, 1);
    EXPECT_EQ(window.style(), before);
    EXPECT_EQ(window.frameRefreshes, 0);
    EXPECT_TRUE(window.sysMenuPoints.empty());
}

TEST(ClsStyle, DragReactsToTheLeftButtonOnlyWhenAutoDragIsOn) {
    RecordingWindow window(WS_POPUP | WS_VISIBLE, 0);
    clsStyle style = boundTo(window);

    style.onMouseDown(MouseButton::Left);
    EXPECT_TRUE(window.captionPresses.empty());

    style.setAutoDrag(true);
    style.onMouseDown(MouseButton::Right);
    style.onMouseUp(MouseButton::Left);
    EXPECT_TRUE(window.captionPresses.empty());
    style.onMouseDown(MouseButton::Left);
    EXPECT_EQ(window.captionPresses, std::vector<WPARAM>{HTCAPTION});
    EXPECT_TRUE(window.sysMenuPoints.empty());
}

TEST(ClsStyle, SystemMenuReactsToTheRightButtonAtTheCursorOnlyWhenAutoSysMenuIsOn) {
    RecordingWindow window(WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0);
    clsStyle style = boundTo(window);
    ASSERT_TRUE(::SetCursorPos(123, 45));

    style.onMouseUp(MouseButton::Right);
    EXPECT_TRUE(window.sysMenuPoints.empty());

    style.setAutoSysMenu(true);
    style.onMouseUp(MouseButton::Left);
    style.onMouseDown(MouseButton::Right);
    EXPECT_TRUE(window.sysMenuPoints.empty());
    style.onMouseUp(MouseButton::Right);
    EXPECT_EQ(window.sysMenuPoints, std::vector<DWORD>{(45u << 16) | 123u});
    EXPECT_TRUE(window.captionPresses.empty());
}

}  // namespace
}  // namespace tapkeys
