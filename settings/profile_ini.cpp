#include "settings/profile_ini.h"

#include <windows.h>

#include <array>

#include "win32/ansi_text.h"

namespace tapkeys {

namespace {

// The buffer holds 256 characters but the call is told 255, so a long value comes back as its first
// 254 characters plus the terminating NUL.
constexpr std::size_t kValueBufferChars = 256;
constexpr DWORD kValueBufferSizeArgument = kValueBufferChars - 1;

}  // namespace

std::wstring ProfileIni::readIni(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue, const std::wstring& path) {
    std::array<char, kValueBufferChars> buffer{};
    const DWORD count =
        ::GetPrivateProfileStringA(toAnsi(section).c_str(), toAnsi(key).c_str(), toAnsi(defaultValue).c_str(),
                                   buffer.data(), kValueBufferSizeArgument, toAnsi(path).c_str());
    return fromAnsi(std::string_view(buffer.data(), count));
}

void ProfileIni::writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                          const std::wstring& path) {
    // A failed write (read-only folder, full disk) is not reported: the run goes on and only that
    // run's settings are lost.
    ::WritePrivateProfileStringA(toAnsi(section).c_str(), toAnsi(key).c_str(), toAnsi(value).c_str(),
                                 toAnsi(path).c_str());
}

}  // namespace tapkeys
