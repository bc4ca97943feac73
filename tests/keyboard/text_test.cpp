#include "win32/ansi_text.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

// A look-alike must not become a path character on its way into a file name (best-fit mapping would
// turn a full-width solidus into "/"), while what the code page holds survives.
TEST(AnsiTextTest, LookAlikesDoNotBecomePathCharacters) {
    const std::string converted = toAnsi(L"\uFF0F\uFF3C\uFF1A");  // full-width / \ :
    EXPECT_EQ(converted.find_first_of("/\\:"), std::string::npos) << converted;
    EXPECT_EQ(fromAnsi(toAnsi(L"abc 123")), L"abc 123");
}

}  // namespace
}  // namespace tapkeys
