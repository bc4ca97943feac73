#pragma once
// The font faces available for the screen.

#include <string>
#include <vector>

namespace tapkeys {

// Every font family of the screen, in the order the platform reports them. A family is named once
// although the platform reports it once per character set; a name it reports for two separate
// families appears twice.
std::vector<std::wstring> screenFontFaces();

}  // namespace tapkeys
