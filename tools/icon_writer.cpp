#include "tools/icon_writer.h"

#include "tools/byte_writer.h"

namespace tapkeys {
namespace {

constexpr std::uint32_t kDirectoryBytes = 6;
constexpr std::uint32_t kEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint32_t colourBytes(const RgbaImage& image) {
    return bitmapRowBytes(image.width, 32) * static_cast<std::uint32_t>(image.height);
}
std::uint32_t maskBytes(const RgbaImage& image) {
    return bitmapRowBytes(image.width, 1) * static_cast<std::uint32_t>(image.height);
}
std::uint32_t entryBytes(const RgbaImage& image) {
    return kInfoHeaderBytes + colourBytes(image) + maskBytes(image);
}

// A width or height of 256 is stored as 0.
std::uint8_t dimension(int pixels) {
    return static_cast<std::uint8_t>(pixels & 0xFF);
}

void writeImage(ByteWriter& out, const RgbaImage& image) {
    // The stored height counts the colour rows and the mask rows together.
    writeInfoHeader(out, image.width, 2 * image.height, 32, colourBytes(image) + maskBytes(image), 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba p = image.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
            out.u8(p.a);
        }
    }
    // The AND mask still matters where alpha is ignored (old shells, some scalers): set = transparent.
    const std::uint32_t rowBytes = bitmapRowBytes(image.width, 1);
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y).a == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        for (std::uint8_t b : row) out.u8(b);
    }
}

}  // namespace

std::vector<std::uint8_t> encodeIco(std::span<const RgbaImage> images) {
    ByteWriter out;
    out.u16(0);  // reserved
    out.u16(1);  // icon, not cursor
    out.u16(static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = kDirectoryBytes + kEntryBytes * static_cast<std::uint32_t>(images.size());
    for (const RgbaImage& image : images) {
        out.u8(dimension(image.width));
        out.u8(dimension(image.height));
        out.u8(0);    // no palette
        out.u8(0);    // reserved
        out.u16(1);   // planes
        out.u16(32);  // bits per pixel
        out.u32(entryBytes(image));
        out.u32(offset);
        offset += entryBytes(image);
    }
    for (const RgbaImage& image : images) writeImage(out, image);
    return out.take();
}

}  // namespace tapkeys
