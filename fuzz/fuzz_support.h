#pragma once
// What the fuzz targets share: a broken property ends the run the way a sanitizer finding does, so
// libFuzzer keeps the input; raw bytes as the text the code under test reads.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#define FUZZ_CHECK(c) \
    ((c) ? void()     \
         : (std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #c), std::abort()))

namespace tapkeys::fuzz {

// One character per byte, as the ANSI profile functions hand back an 8-bit file.
inline std::wstring textOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// Pairs of bytes as UTF-16 code units, low byte first: lone and paired surrogates included.
inline std::wstring unitsOf(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
    return text;
}

}  // namespace tapkeys::fuzz
