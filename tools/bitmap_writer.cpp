#include "tools/bitmap_writer.h"

#include <map>
#include <tuple>

#include "tools/byte_writer.h"

namespace tapkeys {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

void writeFileHeader(ByteWriter& out, std::uint32_t fileBytes, std::uint32_t pixelOffset) {
    out.u8('B');
    out.u8('M');
    out.u32(fileBytes);
    out.u32(0);  // reserved
    out.u32(pixelOffset);
}

auto key(Rgb c) {
    return std::make_tuple(c.r, c.g, c.b);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeBmp8(const RgbImage& image) {
    // Sorted, so the same picture always gives the same file.
    std::map<std::tuple<std::uint8_t, std::uint8_t, std::uint8_t>, std::uint8_t> palette;
    for (Rgb c : image.pixels) {
        palette.emplace(key(c), 0);
        if (palette.size() > 256) return std::nullopt;
    }
    std::uint8_t next = 0;
    for (auto& [colour, index] : palette) index = next++;

    const std::uint32_t rowBytes = bitmapRowBytes(image.width, 8);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    const auto paletteBytes = static_cast<std::uint32_t>(4 * palette.size());
    const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;

    ByteWriter out;
    writeFileHeader(out, offset + imageBytes, offset);
    writeInfoHeader(out, image.width, image.height, 8, imageBytes,
                    static_cast<std::uint32_t>(palette.size()));
    for (const auto& [colour, index] : palette) {
        const auto [r, g, b] = colour;
        out.u8(b);
        out.u8(g);
        out.u8(r);
        out.u8(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) out.u8(palette.at(key(image.at(x, y))));
        out.zeros(rowBytes - static_cast<std::uint32_t>(image.width));
    }
    return out.take();
}

std::vector<std::uint8_t> encodeBmp24(const RgbImage& image) {
    const std::uint32_t rowBytes = bitmapRowBytes(image.width, 24);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;

    ByteWriter out;
    writeFileHeader(out, offset + imageBytes, offset);
    writeInfoHeader(out, image.width, image.height, 24, imageBytes, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
        }
        out.zeros(rowBytes - 3 * static_cast<std::uint32_t>(image.width));
    }
    return out.take();
}

}  // namespace tapkeys
