#include "fuzz/ansi_text.h"

#include <array>

namespace tapkeys::fuzz {
namespace {

// 0x80 to 0x9F; the five unassigned bytes map to themselves, as MultiByteToWideChar does.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::wstring fromWindows1252(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (const std::uint8_t byte : bytes) {
        text += byte >= 0x80 && byte <= 0x9F ? static_cast<wchar_t>(kHighControls[byte - 0x80])
                                             : static_cast<wchar_t>(byte);
    }
    return text;
}

std::wstring fromUtf16Units(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
}

}  // namespace tapkeys::fuzz
