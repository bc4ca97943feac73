#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/bitmap_writer.h"

namespace tapkeys {
namespace {

// The committed bitmap is what the window shows at 96 dpi, so it must be what the layout draws now. What
// the writer puts into the file is checked where the system's own decoder reads it: by the end-to-end
// drawing case.
TEST(BackgroundArtTest, CommittedBitmapIsWhatTheLayoutDraws) {
    std::ifstream in(TAPKEYS_ASSETS_DIR "/background.bmp", std::ios::binary);
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(encodeBmp8(renderBackground(96)) == committed)
        << "a changed drawing: look at it, then run tools/make_assets (target update_assets)";
}

}  // namespace
}  // namespace tapkeys
