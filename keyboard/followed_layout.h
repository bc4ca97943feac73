#pragma once
// The character keys under the target window's own keyboard layout: each key shows and types what the
// physical key at its position gives there.

#include <array>
#include <cstdint>

#include "keyboard/layout.h"
#include "output/layout_reader.h"

namespace tapkeys {

// The scan codes of the physical keys at the character keys' positions, row by row as the keyboard
// shows them: 1 to the key left of Backspace; Q to the key left of the backslash key; A to the key left
// of Enter on ISO boards (the backslash key on ANSI ones); the ISO key left of Z, then Z to the key left
// of the right Shift.
// clang-format off
inline constexpr std::array<std::uint16_t, kCharacterKeyCount> kPositionScanCodes{
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,
    0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2B,
    0x56, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35,
};
// clang-format on

using FollowedLayer = std::array<LayoutCharacter, kCharacterKeyCount>;

struct FollowedLayout {
    FollowedLayer normal, shifted;
    bool operator==(const FollowedLayout&) const = default;
};

FollowedLayout readFollowedLayout(const LayoutReader& reader);

}  // namespace tapkeys
