#pragma once
// The platform's colour chooser.

#include <windows.h>

#include <cstdint>

namespace tapkeys {

// Opens the colour dialog modally over hWnd on currentColor, expanded to its custom-colour part when
// bExtColors is true. Returns the chosen colour as 0x00BBGGRR, or -1 when the user cancels or the dialog
// cannot open. The 16 custom colours start black and keep what the user sets in them until the program
// ends.
std::int32_t ShowColorDlg(HWND hWnd, bool bExtColors, std::int32_t currentColor);

}  // namespace tapkeys
