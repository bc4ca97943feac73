#pragma once
// Little-endian fields of the Windows bitmap and icon file formats.

#include <cstdint>
#include <vector>

namespace tapkeys {

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Bitmap rows are padded to whole 32-bit words.
constexpr std::uint32_t bitmapRowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// BITMAPINFOHEADER, 40 bytes. height is the stored height (twice the image's for icons).
inline void writeInfoHeader(ByteWriter& out, int width, int height, int bitsPerPixel,
                            std::uint32_t imageBytes, std::uint32_t coloursUsed) {
    constexpr std::int32_t kPixelsPerMetreAt96Dpi = 3780;
    out.u32(40);
    out.i32(width);
    out.i32(height);  // positive: rows run bottom-up
    out.u16(1);       // planes
    out.u16(static_cast<std::uint16_t>(bitsPerPixel));
    out.u32(0);  // BI_RGB, uncompressed
    out.u32(imageBytes);
    out.i32(kPixelsPerMetreAt96Dpi);
    out.i32(kPixelsPerMetreAt96Dpi);
    out.u32(coloursUsed);
    out.u32(0);  // all colours important
}

}  // namespace tapkeys
