#include "options/color_dialog.h"

#include <commdlg.h>

#include <array>

#include "win32/system_function.h"

namespace tapkeys {
namespace {

using ChooseColorFunction = BOOL(WINAPI*)(LPCHOOSECOLORA);

// comdlg32 brings the printing stack with it (winspool and, under Wine, the CUPS, TLS and Kerberos
// libraries): more memory than the rest of the keyboard and a tenth of its start-up, for a dialog that
// most runs never open. It is loaded when the colour chooser is first asked for, and stays.
ChooseColorFunction chooseColor() {
    static const auto function = systemFunction<ChooseColorFunction>(L"comdlg32.dll", "ChooseColorA");
    return function;
}

}  // namespace

std::int32_t ShowColorDlg(HWND hWnd, bool bExtColors, std::int32_t currentColor) {
    // Kept for the whole run, so a colour mixed once can be picked again at the next opening.
    static std::array<COLORREF, 16> customColors{};
    CHOOSECOLORA request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = hWnd;
    // Used only with a dialog template of our own, which there is not; the record names it anyway.
    request.hInstance = reinterpret_cast<HWND>(::GetModuleHandleW(nullptr));
    // Opening on the current colour makes OK without a pick keep it; the top byte is no part of the
    // colour the dialog shows.
    request.rgbResult = static_cast<COLORREF>(currentColor) & 0x00FFFFFF;
    request.lpCustColors = customColors.data();
    request.Flags = CC_SOLIDCOLOR | CC_RGBINIT | (bExtColors ? CC_FULLOPEN : 0);
    const ChooseColorFunction choose = chooseColor();
    if (choose == nullptr || !choose(&request)) return -1;
    return static_cast<std::int32_t>(request.rgbResult);
}

}  // namespace tapkeys
