#include "options/color_dialog.h"

#include <commdlg.h>

#include <array>

namespace tapkeys {

std::int32_t ShowColorDlg(HWND hWnd, bool bExtColors) {
    std::array<COLORREF, 16> customColors{};
    CHOOSECOLORA request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = hWnd;
    // Used only with a dialog template of our own, which there is not; the record names it anyway.
    request.hInstance = reinterpret_cast<HWND>(::GetModuleHandleW(nullptr));
    request.rgbResult = 0;
    request.lpCustColors = customColors.data();
    request.Flags = CC_SOLIDCOLOR | (bExtColors ? CC_FULLOPEN : 0);
    if (!::ChooseColorA(&request)) return -1;
    return static_cast<std::int32_t>(request.rgbResult);
}

}  // namespace tapkeys
