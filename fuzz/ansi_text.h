#pragma once
// Raw bytes as the text the ANSI profile-string functions would hand back: each byte one character of
// Windows-1252, the code page of the files the keyboard reads.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tapkeys::fuzz {

std::wstring fromWindows1252(std::span<const std::uint8_t> bytes);

// Pairs of bytes as UTF-16 code units, low byte first: lone and paired surrogates included.
std::wstring fromUtf16Units(std::span<const std::uint8_t> bytes);

}  // namespace tapkeys::fuzz
