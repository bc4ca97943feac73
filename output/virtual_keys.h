#pragma once
// The platform's virtual-key codes that the platform-free keystroke rules name, copied so those rules
// build without <windows.h>; send_keys.cpp checks each against the real VK_* value.

#include <cstdint>

namespace tapkeys::vk {

inline constexpr std::uint8_t cancel = 0x03;  // Ctrl+Break
inline constexpr std::uint8_t back = 0x08;
inline constexpr std::uint8_t tab = 0x09;
inline constexpr std::uint8_t enter = 0x0D;
inline constexpr std::uint8_t shift = 0x10;
inline constexpr std::uint8_t control = 0x11;
inline constexpr std::uint8_t menu = 0x12;  // Alt
inline constexpr std::uint8_t pause = 0x13;
inline constexpr std::uint8_t capsLock = 0x14;
inline constexpr std::uint8_t escape = 0x1B;
inline constexpr std::uint8_t pageUp = 0x21;
inline constexpr std::uint8_t pageDown = 0x22;
inline constexpr std::uint8_t end = 0x23;
inline constexpr std::uint8_t home = 0x24;
inline constexpr std::uint8_t left = 0x25;
inline constexpr std::uint8_t up = 0x26;
inline constexpr std::uint8_t right = 0x27;
inline constexpr std::uint8_t down = 0x28;
inline constexpr std::uint8_t printScreen = 0x2C;
inline constexpr std::uint8_t insert = 0x2D;
inline constexpr std::uint8_t del = 0x2E;
inline constexpr std::uint8_t help = 0x2F;
inline constexpr std::uint8_t leftWin = 0x5B;
inline constexpr std::uint8_t rightWin = 0x5C;
inline constexpr std::uint8_t apps = 0x5D;
inline constexpr std::uint8_t divide = 0x6F;
inline constexpr std::uint8_t f1 = 0x70;  // F1 to F16 follow one another
inline constexpr std::uint8_t numLock = 0x90;
inline constexpr std::uint8_t scrollLock = 0x91;
inline constexpr std::uint8_t rightControl = 0xA3;
inline constexpr std::uint8_t rightMenu = 0xA5;

constexpr std::uint8_t f(int n) {
    return static_cast<std::uint8_t>(f1 + n - 1);
}

}  // namespace tapkeys::vk
