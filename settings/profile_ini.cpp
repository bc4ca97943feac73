#include "settings/profile_ini.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/profile_quoting.h"
#include "win32/ansi_text.h"

namespace tapkeys {

namespace {

namespace fs = std::filesystem;

// The buffer holds 256 characters but the call is told 255, so a long value comes back as its first
// 254 characters plus the terminating NUL.
constexpr std::size_t kValueBufferChars = 256;
constexpr DWORD kValueBufferSizeArgument = kValueBufferChars - 1;

constexpr std::string_view kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF", kUtf8Mark = "\xEF\xBB\xBF";

// Writes out and drops the platform's cached copy, so the bytes on disk are the whole file and the
// next call reads it afresh.
void flushProfileCache(const std::wstring& path) {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

std::wstring fromUtf8(std::string_view text) {
    const int size = static_cast<int>(text.size());
    std::wstring result(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)),
                        L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), static_cast<int>(result.size()));
    return result;
}

// The profile functions keep a file in the encoding they find it in: an ANSI file stays ANSI and a
// character its code page lacks turns into "?", while a file that begins with the UTF-16 LE byte-order
// mark holds every character (Windows and Wine alike). So the first value that needs it rewrites the
// file as UTF-16 with every line it held; a file that never needs it stays ANSI, as older versions
// wrote and read it. The copy replaces the file in one step; if it cannot be made, the file stays as
// it was and the value goes in as before.
void makeUnicodeFile(const std::wstring& path) {
    flushProfileCache(path);
    std::string bytes;
    if (std::ifstream file{fs::path(path), std::ios::binary}) {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) return;
    // Wine reads a file that begins with the UTF-8 mark as UTF-8; keep what it saw.
    const std::wstring text = bytes.starts_with(kUtf8Mark)
                                  ? fromUtf8(std::string_view(bytes).substr(kUtf8Mark.size()))
                                  : fromAnsi(bytes);
    fs::path copy(path);
    copy += L".new";
    {
        std::ofstream out{copy, std::ios::binary | std::ios::trunc};
        out << kUtf16LeMark;
        out.write(reinterpret_cast<const char*>(text.data()),
                  static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
        if (out.flush()) {
            out.close();
            if (::MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
        }
    }
    std::error_code ignored;
    fs::remove(copy, ignored);
}

}  // namespace

std::wstring ProfileIni::readIni(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue, const std::wstring& path) {
    std::array<wchar_t, kValueBufferChars> buffer{};
    const DWORD count = ::GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                                   std::wstring(defaultValue).c_str(), buffer.data(),
                                                   kValueBufferSizeArgument, path.c_str());
    return std::wstring(buffer.data(), count);
}

void ProfileIni::writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                          const std::wstring& path) {
    const std::wstring sectionName(section), keyName(key), stored = quotedForProfile(value);
    if (!ansiCodePageHolds(sectionName + keyName + stored)) makeUnicodeFile(path);
    // A failed write (read-only folder, full disk) is not reported: the run goes on and only that
    // run's settings are lost.
    ::WritePrivateProfileStringW(sectionName.c_str(), keyName.c_str(), stored.c_str(), path.c_str());
}

}  // namespace tapkeys
