#include "keyboard/scan_rows.h"

#include <algorithm>

namespace tapkeys {
namespace {

ScanItem keyItem(Control control, int index = 0) {
    return {ScanItem::Kind::Key, {control, index}, 0};
}

ScanRow keyRow(Control first, int firstKey, int count, Control last) {
    ScanRow row{keyItem(first)};
    for (int i = firstKey; i < firstKey + count; ++i) row.push_back(keyItem(Control::Key, i));
    row.push_back(keyItem(last));
    return row;
}

}  // namespace

std::vector<ScanRow> scanRows(int stripCells) {
    std::vector<ScanRow> rows{
        keyRow(Control::Esc, 0, 12, Control::Backspace), keyRow(Control::Tab, 12, 12, Control::Return),
        keyRow(Control::CapsLock, 24, 12, Control::Return), keyRow(Control::Shift, 36, 11, Control::Space)};
    if (stripCells > 0) {
        ScanRow strip;
        for (int cell = 0; cell < stripCells; ++cell) strip.push_back({ScanItem::Kind::StripCell, {}, cell});
        rows.push_back(std::move(strip));
    }
    rows.push_back({keyItem(Control::Options)});
    return rows;
}

std::vector<TwipsRect> scanOutline(const ScanRow& row, int item) {
    std::vector<TwipsRect> rects;
    const auto framesOfItem = [&](const ScanItem& it) {
        if (it.kind != ScanItem::Kind::Key) return;
        const KeyFrames frames = framesOf(it.key);
        rects.insert(rects.end(), frames.rects.begin(), frames.rects.begin() + frames.count);
    };
    if (item >= 0) {
        if (item < static_cast<int>(row.size())) framesOfItem(row[static_cast<std::size_t>(item)]);
        return rects;
    }
    // A row is the band of its first item's frame, from the left of its first item to the right of its
    // last: Enter's other frame lies in the neighbouring row's band.
    for (const ScanItem& it : row) framesOfItem(it);
    if (rects.empty()) return rects;
    const TwipsRect band = rects.front();
    int left = band.left, right = band.right();
    for (const TwipsRect& r : rects) {
        if (r.top != band.top) continue;
        left = std::min(left, r.left);
        right = std::max(right, r.right());
    }
    return {{left, band.top, right - left, band.height}};
}

}  // namespace tapkeys
