// Writes the keyboard window's artwork into the given folder: background.bmp (from the layout
// table), logo.bmp and tapkeys.ico. Run it after changing the layout or the art and commit the files.

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>
#include <vector>

#include "keyboard/background_art.h"
#include "tools/bitmap_writer.h"
#include "tools/emblem_art.h"
#include "tools/icon_writer.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::cerr << "make_assets: cannot write " << path << "\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_assets <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ignored;  // a folder that cannot be made shows up as a file that cannot be written
    std::filesystem::create_directories(folder, ignored);

    // The window draws the background unscaled, in 256 colours.
    const auto background = tapkeys::encodeBmp8(tapkeys::renderBackground(tapkeys::kLayoutDpi));
    if (!background) {
        std::cerr << "make_assets: the background uses more than 256 colours\n";
        return 1;
    }
    const std::array icons{tapkeys::drawIcon(32), tapkeys::drawIcon(16)};

    const bool ok = writeFile(folder / "background.bmp", *background) &&
                    writeFile(folder / "logo.bmp", tapkeys::encodeBmp24(tapkeys::drawLogo())) &&
                    writeFile(folder / "tapkeys.ico", tapkeys::encodeIco(icons));
    return ok ? 0 : 1;
}
