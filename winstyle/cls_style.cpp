#include "winstyle/cls_style.h"

#include "winstyle/style_bits.h"

namespace tapkeys {

namespace {

static_assert(kStyleBorder == WS_BORDER && kStyleDialogFrame == WS_DLGFRAME && kStyleCaption == WS_CAPTION);
static_assert(kStyleSysMenu == WS_SYSMENU && kStyleThickFrame == WS_THICKFRAME);
static_assert(kStyleMinimizeBox == WS_MINIMIZEBOX && kStyleMaximizeBox == WS_MAXIMIZEBOX);
static_assert(kExStyleTopMost == WS_EX_TOPMOST && kExStyleToolWindow == WS_EX_TOOLWINDOW &&
              kExStyleContextHelp == WS_EX_CONTEXTHELP);

constexpr UINT kPopupSystemMenu = 0x0313;  // WM_POPUPSYSTEMMENU: lParam is the screen point

}  // namespace

bool clsStyle::ControlBox() const {
    return hasAnyStyleBit(pStyle(), kStyleSysMenu);
}
void clsStyle::setControlBox(bool value) {
    pSetStyleBit(kStyleSysMenu, value);
}
bool clsStyle::MaxButton() const {
    return hasAnyStyleBit(pStyle(), kStyleMaximizeBox);
}
void clsStyle::setMaxButton(bool value) {
    pSetStyleBit(kStyleMaximizeBox, value);
}
bool clsStyle::MinButton() const {
    return hasAnyStyleBit(pStyle(), kStyleMinimizeBox);
}
void clsStyle::setMinButton(bool value) {
    pSetStyleBit(kStyleMinimizeBox, value);
}
bool clsStyle::Sizable() const {
    return hasAnyStyleBit(pStyle(), kStyleThickFrame);
}
void clsStyle::setSizable(bool value) {
    pSetStyleBit(kStyleThickFrame, value);
}
bool clsStyle::Titlebar() const {
    return hasAnyStyleBit(pStyle(), kStyleCaption);
}
void clsStyle::setTitlebar(bool value) {
    pSetStyleBit(kStyleCaption, value);
}
bool clsStyle::ToolWindow() const {
    return hasAnyStyleBit(pExStyle(), kExStyleToolWindow);
}
void clsStyle::setToolWindow(bool value) {
    pSetExStyleBit(kExStyleToolWindow, value);
}
bool clsStyle::WhatsThisButton() const {
    return hasAnyStyleBit(pExStyle(), kExStyleContextHelp);
}
void clsStyle::setWhatsThisButton(bool value) {
    pSetExStyleBit(kExStyleContextHelp, value);
}
bool clsStyle::TopMost() const {
    return hasAnyStyleBit(pExStyle(), kExStyleTopMost);
}

// Only the Z-order changes: without SWP_NOACTIVATE the call would also activate the window, taking the
// focus from the window the keyboard types into (at start-up, before the first key).
void clsStyle::setTopMost(bool value) {
    ::SetWindowPos(hWnd_, value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void clsStyle::pRedraw() const {
    ::SetWindowPos(hWnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

bool clsStyle::ShowSysMenu(std::int32_t x, std::int32_t y) const {
    const auto narrowX = narrowScreenCoordinate(x);
    const auto narrowY = narrowScreenCoordinate(y);
    if (!narrowX || !narrowY) return false;
    ::SendMessageW(hWnd_, kPopupSystemMenu, 0, static_cast<LPARAM>(pMakeLParam(*narrowX, *narrowY)));
    return true;
}

void clsStyle::pDragOnButton(MouseButton button) const {
    if (button != MouseButton::Left || !autoDrag_) return;
    // A press on the caption starts the window manager's own move loop, which needs the capture that
    // the client's button press took.
    ::ReleaseCapture();
    ::SendMessageW(hWnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void clsStyle::pSysMenuOnButton(MouseButton button) const {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (button != MouseButton::Right || !autoSysMenu_) return;
    // The cursor is always on a screen, so its coordinates fit the message.
    (void)ShowSysMenu(cursor.x, cursor.y);
}

std::uint32_t clsStyle::pMakeLParam(std::int16_t x, std::int16_t y) {
    return packPointLParam(x, y);
}

std::uint32_t clsStyle::pStyle(std::uint32_t newValue) const {
    if (newValue != 0) ::SetWindowLongPtrW(hWnd_, GWL_STYLE, static_cast<LONG_PTR>(newValue));
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(hWnd_, GWL_STYLE));
}

std::uint32_t clsStyle::pExStyle(std::uint32_t newValue) const {
    if (newValue != 0) ::SetWindowLongPtrW(hWnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(newValue));
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(hWnd_, GWL_EXSTYLE));
}

void clsStyle::pSetStyleBit(std::uint32_t mask, bool value) const {
    const std::uint32_t style = withStyleBits(pStyle(), mask, value);
    ::SetWindowLongPtrW(hWnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
    pRedraw();
}

void clsStyle::pSetExStyleBit(std::uint32_t mask, bool value) const {
    const std::uint32_t style = withStyleBits(pExStyle(), mask, value);
    ::SetWindowLongPtrW(hWnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(style));
    pRedraw();
}

}  // namespace tapkeys
