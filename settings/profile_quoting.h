#pragma once
// The profile-string functions drop blanks around a value and one pair of enclosing quotation marks
// ("..." or '...') as they read it. A value that starts or ends with either is handed to them wrapped in
// double quotation marks, so a later read returns it exactly; every other value goes as it is, so a file
// holds what it held before.

#include <string>
#include <string_view>

namespace tapkeys {

std::wstring quotedForProfile(std::wstring_view value);

}  // namespace tapkeys
