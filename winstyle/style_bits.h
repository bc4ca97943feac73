#pragma once
// The arithmetic of the window style controller, free of <windows.h> so it is tested natively: style
// masks, setting and testing bits of a style word, and packing a screen point into the 32-bit message
// parameter of WM_POPUPSYSTEMMENU.

#include <cstdint>
#include <optional>

namespace tapkeys {

// Style bits (GWL_STYLE) and extended style bits (GWL_EXSTYLE) that the controller maps to properties.
inline constexpr std::uint32_t kStyleBorder = 0x00800000;                         // WS_BORDER
inline constexpr std::uint32_t kStyleDialogFrame = 0x00400000;                    // WS_DLGFRAME
inline constexpr std::uint32_t kStyleCaption = kStyleBorder | kStyleDialogFrame;  // WS_CAPTION
inline constexpr std::uint32_t kStyleSysMenu = 0x00080000;                        // WS_SYSMENU
inline constexpr std::uint32_t kStyleThickFrame = 0x00040000;                     // WS_THICKFRAME
inline constexpr std::uint32_t kStyleMinimizeBox = 0x00020000;                    // WS_MINIMIZEBOX
inline constexpr std::uint32_t kStyleMaximizeBox = 0x00010000;                    // WS_MAXIMIZEBOX
inline constexpr std::uint32_t kExStyleTopMost = 0x00000008;                      // WS_EX_TOPMOST
inline constexpr std::uint32_t kExStyleToolWindow = 0x00000080;                   // WS_EX_TOOLWINDOW
inline constexpr std::uint32_t kExStyleContextHelp = 0x00000400;                  // WS_EX_CONTEXTHELP

// `style` with every bit of `mask` set (on) or cleared (off); the other bits unchanged.
constexpr std::uint32_t withStyleBits(std::uint32_t style, std::uint32_t mask, bool on) {
    return on ? (style | mask) : (style & ~mask);
}

// True when any bit of `mask` is set: a caption reads as present with either of its two bits.
constexpr bool hasAnyStyleBit(std::uint32_t style, std::uint32_t mask) {
    return (style & mask) != 0;
}

// y in the high word and x in the low word, each as a 16-bit two's-complement value, the way the
// window manager reads a screen point from a message parameter.
constexpr std::uint32_t packPointLParam(std::int16_t x, std::int16_t y) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) | static_cast<std::uint16_t>(x);
}

// A screen coordinate as the 16 bits a message parameter has room for; nothing when it does not fit,
// because a truncated coordinate would pop the menu up somewhere else.
constexpr std::optional<std::int16_t> narrowScreenCoordinate(std::int32_t value) {
    if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

}  // namespace tapkeys
