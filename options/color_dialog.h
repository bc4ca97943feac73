#pragma once
// The platform's colour chooser, opened afresh at each call.

#include <windows.h>

#include <cstdint>

namespace tapkeys {

// Opens the colour dialog modally over hWnd, expanded to its custom-colour part when bExtColors is true,
// with no colour preselected and 16 black custom colours. Returns the chosen colour as 0x00BBGGRR, or -1
// when the user cancels or the dialog cannot open. Custom colours set in the dialog are not kept.
std::int32_t ShowColorDlg(HWND hWnd, bool bExtColors);

}  // namespace tapkeys
