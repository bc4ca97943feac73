#pragma once
// Conversions between the program's UTF-16 strings and the system's ANSI code page.

#include <string>
#include <string_view>

namespace tapkeys {

std::string toAnsi(std::wstring_view text);
std::wstring fromAnsi(std::string_view text);
// True when text goes into the ANSI code page and comes back unchanged: no character missing, none
// replaced by a look-alike.
bool ansiCodePageHolds(std::wstring_view text);

}  // namespace tapkeys
