#include "keyboard/key_palette.h"

#include "keyboard/key_font.h"

namespace tapkeys {
namespace {

constexpr std::uint32_t kTitleWhite = 0x00F6F0EC;
constexpr std::uint32_t kNoticeAmber = 0x0040C8FF;  // seen at once against the title

}  // namespace

KeyPalette choosePalette(const SystemContrast& system, std::uint32_t captionColour) {
    if (!system.highContrast) {
        return {.captions = captionColour,
                .title = kTitleWhite,
                .notice = kNoticeAmber,
                .halo = captionNeedsHalo(captionColour)};
    }
    // The user's colour gives way: in a high-contrast scheme only the scheme's pairs are known to be
    // readable against each other.
    return {.systemColours = true,
            .background = system.window,
            .captions = system.windowText,
            .title = system.windowText,
            .outlines = system.windowText,
            .light = system.highlight,
            .notice = system.highlight};
}

}  // namespace tapkeys
