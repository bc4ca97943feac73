#include <windows.h>

#include "keyboard/main_window.h"
#include "win32/message_pump.h"

// The common controls are the options dialog's affair: it loads them when it is first shown.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    tapkeys::MainWindow keyboard{instance};
    if (!keyboard.create(showCommand)) return 1;
    return tapkeys::runMessageLoop();
}
