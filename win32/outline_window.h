#pragma once
// A frame of one colour around a rectangle of the screen, drawn by a window of its own above its owner
// (a dialog), so that no control has to paint it and none is painted over. It takes no input and
// never the activation.

#include <windows.h>

namespace tapkeys {

class OutlineWindow {
public:
    OutlineWindow() = default;
    OutlineWindow(const OutlineWindow&) = delete;
    OutlineWindow& operator=(const OutlineWindow&) = delete;
    ~OutlineWindow();

    // A frame `thickness` pixels wide whose inner edge lies `gap` pixels outside around (screen pixels).
    void show(HWND owner, const RECT& around, int gap, int thickness, COLORREF colour);
    void hide();
    // The window goes; an owner that is being destroyed has taken it already.
    void destroy();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace tapkeys
