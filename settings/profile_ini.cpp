#include "settings/profile_ini.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

#include "settings/profile_quoting.h"
#include "win32/ansi_text.h"
#include "win32/kernel_handle.h"

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

// The whole content of an open file; nothing when a read fails part of the way.
std::optional<std::string> contentOf(HANDLE file) {
    std::string bytes;
    char chunk[4096];
    for (DWORD read = 0;; bytes.append(chunk, read)) {
        if (!::ReadFile(file, chunk, sizeof chunk, &read, nullptr)) return std::nullopt;
        if (read == 0) return bytes;
    }
}

// The file itself, a link followed: a link to the settings file stays a link and the file it points to
// is what changes.
fs::path finalPathOf(HANDLE file, const std::wstring& path) {
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length);
        length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (length == 0 || length >= final.size()) return path;
    final.resize(length);
    return final;
}

// The profile functions keep a file in the encoding they find it in: an ANSI file stays ANSI and a
// character its code page lacks turns into "?", while a file that begins with the UTF-16 LE byte-order
// mark holds every character (Windows and Wine alike). So the first value that needs it rewrites the
// file as UTF-16 with every line it held; a file that never needs it stays ANSI, as older versions
// wrote and read it. The copy replaces the file in one step; if it cannot be made, the file stays as
// it was and the value goes in as before. A file that is there but cannot be read (locked by an editor
// or a scanner, no right to read it) is not rewritten from what little was read: false, and the caller
// leaves it whole.
bool makeUnicodeFile(const std::wstring& path) {
    flushProfileCache(path);
    std::string bytes;
    fs::path target(path);
    if (const KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        file) {
        std::optional<std::string> content = contentOf(file.get());
        if (!content) return false;
        bytes = std::move(*content);
        target = finalPathOf(file.get(), path);
    } else if (const DWORD error = ::GetLastError();
               error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return false;
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) return true;
    // Wine reads a file that begins with the UTF-8 mark as UTF-8; keep what it saw.
    const std::wstring text = bytes.starts_with(kUtf8Mark)
                                  ? fromUtf8(std::string_view(bytes).substr(kUtf8Mark.size()))
                                  : fromAnsi(bytes);
    fs::path copy(target);
    copy += L".new";
    {
        std::ofstream out{copy, std::ios::binary | std::ios::trunc};
        out << kUtf16LeMark;
        out.write(reinterpret_cast<const char*>(text.data()),
                  static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
        if (out.flush()) {
            out.close();
            if (::MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        }
    }
    std::error_code ignored;
    fs::remove(copy, ignored);
    return true;
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
    if (!ansiCodePageHolds(sectionName + keyName + stored) && !makeUnicodeFile(path)) return;
    // A failed write (read-only folder, full disk, a file that cannot be read) is not reported: the run
    // goes on and only that run's settings are lost.
    ::WritePrivateProfileStringW(sectionName.c_str(), keyName.c_str(), stored.c_str(), path.c_str());
}

}  // namespace tapkeys
