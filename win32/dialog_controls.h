#pragma once
// Reading and setting the values of standard dialog controls.

#include <windows.h>

#include <string>

namespace tapkeys {

std::wstring windowText(HWND control);
void setWindowText(HWND control, const std::wstring& text);
bool isChecked(HWND button);
void setChecked(HWND button, bool checked);
void addListEntry(HWND comboBox, const std::wstring& entry);

// The user's decimal separator, as the locale settings give it.
std::wstring userDecimalSeparator();

}  // namespace tapkeys
