#pragma once
// The only access to INI files: readIni / writeIni over the platform's profile-string functions.
// Platform-free so the settings rules run natively against a fake store.

#include <string>
#include <string_view>

namespace tapkeys {

class IniAccess {
public:
    virtual ~IniAccess() = default;
    // The value of key in section of the file at path, or defaultValue when the file, the section or
    // the key is missing. The platform's rules hold: names match without regard to case, blanks around
    // a value are dropped, surrounding quotation marks are removed, at most 254 characters come back.
    virtual std::wstring readIni(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue, const std::wstring& path) = 0;
    // Stores value so that readIni gives it back unchanged (up to its 254 characters), blanks or
    // quotation marks at its ends and characters beyond the ANSI code page included.
    virtual void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                          const std::wstring& path) = 0;
};

}  // namespace tapkeys
