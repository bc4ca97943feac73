// A window that hangs: it comes to the foreground, keeps serving messages for the given time, then
// stops reading its queue for good, as a program stuck in a long computation does.
//
//   tapkeys_faults_hung_target.exe MILLISECONDS [X Y]

#include <windows.h>
// shellapi.h builds on windows.h.
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || (argc != 2 && argc != 4)) return 2;
    const DWORD serveMs = std::wcstoul(argv[1], nullptr, 10);
    const int x = argc == 4 ? std::wcstol(argv[2], nullptr, 10) : 10;
    const int y = argc == 4 ? std::wcstol(argv[3], nullptr, 10) : 500;
    ::LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"tapkeysHungTarget";
    ::RegisterClassW(&wc);
    const HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"tapkeys hung target", WS_OVERLAPPEDWINDOW, x,
                                          y, 400, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 3;
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);
    const DWORD until = ::GetTickCount() + serveMs;
    MSG msg;
    while (static_cast<LONG>(until - ::GetTickCount()) > 0) {
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, until - ::GetTickCount(), QS_ALLINPUT) !=
            WAIT_OBJECT_0)
            continue;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::Sleep(INFINITE);
    return 0;
}
