#pragma once
// A controller bound to one top-level window, its client: reads and changes the client's frame styles
// and its always-on-top state, and can pop up its system menu. It caches only the handle and the two
// reaction flags, so every property reads the live window style at the moment it is called. The handle
// is not owned and never checked: with no client, or a destroyed one, the getters read false and the
// setters change nothing.

#include <windows.h>

#include <cstdint>

#include "winstyle/mouse_button.h"

namespace tapkeys {

class clsStyle {
public:
    // Binds the controller to `client` (nullptr unbinds). The handle is copied now and not refreshed,
    // so a client whose window is re-created must be set again.
    void setClient(HWND client) { hWnd_ = client; }
    HWND client() const { return hWnd_; }
    HWND hWnd() const { return hWnd_; }

    // Gates of the drag and system-menu reactions below; nothing happens on a write.
    bool AutoDrag() const { return autoDrag_; }
    void setAutoDrag(bool value) { autoDrag_ = value; }
    bool AutoSysMenu() const { return autoSysMenu_; }
    void setAutoSysMenu(bool value) { autoSysMenu_ = value; }

    // Frame styles. Each setter writes the style and refreshes the frame, even when the bit is already
    // in the requested state.
    bool ControlBox() const;
    void setControlBox(bool value);
    bool MaxButton() const;
    void setMaxButton(bool value);
    bool MinButton() const;
    void setMinButton(bool value);
    bool Sizable() const;
    void setSizable(bool value);
    // Reads true when either half of the caption (border or dialog frame) is set; writes both halves.
    bool Titlebar() const;
    void setTitlebar(bool value);
    bool ToolWindow() const;
    void setToolWindow(bool value);
    bool WhatsThisButton() const;
    void setWhatsThisButton(bool value);

    // Reads the extended style the window manager keeps; writes by moving the window into or out of
    // the topmost band without activating it (the window typed into keeps the focus) and without a
    // frame refresh.
    bool TopMost() const;
    void setTopMost(bool value);

    // Makes the window manager take up changed frame styles without moving, sizing or re-ordering.
    void pRedraw() const;

    // Pops up the client's system menu at screen point (x, y) in pixels. Returns false, and sends
    // nothing, when a coordinate does not fit the 16 bits the message carries.
    [[nodiscard]] bool ShowSysMenu(std::int32_t x, std::int32_t y) const;

    // The client calls these from its own mouse handlers when it wants the reactions: a left press
    // drags the window as if by its title bar (with AutoDrag); a right release pops up the system menu
    // at the cursor (with AutoSysMenu).
    void onMouseDown(MouseButton button) const { pDragOnButton(button); }
    void onMouseUp(MouseButton button) const { pSysMenuOnButton(button); }

private:
    void pDragOnButton(MouseButton button) const;
    void pSysMenuOnButton(MouseButton button) const;
    static std::uint32_t pMakeLParam(std::int16_t x, std::int16_t y);
    // Given a non-zero value, writes it first; returns the style word as it then stands.
    std::uint32_t pStyle(std::uint32_t newValue = 0) const;
    std::uint32_t pExStyle(std::uint32_t newValue = 0) const;
    void pSetStyleBit(std::uint32_t mask, bool value) const;
    void pSetExStyleBit(std::uint32_t mask, bool value) const;

    HWND hWnd_ = nullptr;
    bool autoSysMenu_ = false;
    bool autoDrag_ = false;
};

}  // namespace tapkeys
