#pragma once
// The window in front and the thread and process that made it. Under Wine every question about another
// process's window is a round trip to the server, and every key and every focus tick ask who made the
// same window in front, so the maker of the last window seen in front is kept. A window in front is
// alive, a window keeps its maker for life, and a closed window's handle comes back only with another
// generation in its high bits: what is kept is never another window's.

#include <windows.h>

namespace tapkeys {

struct ForegroundWindow {
    HWND window = nullptr;  // nullptr while no window is in front (one is being activated)
    DWORD thread = 0;
    DWORD process = 0;
};

ForegroundWindow foregroundWindow();

}  // namespace tapkeys
