#pragma once
// What switch scanning goes through on the keyboard, and how its highlight looks. Platform-free.

#include <cstdint>
#include <vector>

#include "keyboard/layout.h"
#include "options/switch_scanner.h"

namespace tapkeys {

// An item of a scanned row: a key, or a cell of the suggestion strip.
struct ScanItem {
    enum class Kind : std::uint8_t { Key, StripCell } kind = Kind::Key;
    KeyId key;
    int cell = 0;
    friend constexpr bool operator==(const ScanItem&, const ScanItem&) = default;
};
using ScanRow = std::vector<ScanItem>;

// The four key rows, each from its named key on the left to the one on its right (Enter, which spans
// the second and third rows, ends both), then the suggestion strip's cells when it has any, then the
// options button. The close button is never scanned.
std::vector<ScanRow> scanRows(int stripCells);

// The rectangles whose outer edge the highlight follows: the row's band from its first item to its
// last, or an item's frames (Enter's two). Strip cells are outlined by the strip's own painting.
std::vector<TwipsRect> scanOutline(const ScanRow& row, int item);

inline constexpr int kScanOutlineTwips = 90;  // 6 px at 96 dpi

}  // namespace tapkeys
