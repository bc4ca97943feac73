#include <windows.h>

#include "keyboard/main_window.h"

// The common controls are the options dialog's affair: it loads them when it is first shown.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    tapkeys::MainWindow keyboard{instance};
    if (!keyboard.create(showCommand)) return 1;

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
