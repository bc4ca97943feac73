#pragma once
// Where the program lies: its settings and the host's files are found beside it.

#include <string>

namespace tapkeys {

// The executable's full path, its folder (no trailing backslash) and its base name (no extension).
std::wstring executablePath();
std::wstring executableFolder();
std::wstring executableBaseName();

}  // namespace tapkeys
