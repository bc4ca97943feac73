#include "win32/ansi_text.h"
#include "win32/module_path.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

TEST(AnsiTextTest, RoundTripsWhatTheCodePageHolds) {
    EXPECT_EQ(fromAnsi(toAnsi(L"abc 123")), L"abc 123");
    EXPECT_TRUE(toAnsi(L"").empty());
}

// A look-alike must not become a path character on its way into a file name.
TEST(AnsiTextTest, LookAlikesDoNotBecomePathCharacters) {
    const std::string converted = toAnsi(L"\uFF0F\uFF3C\uFF1A");  // full-width / \ :
    EXPECT_EQ(converted.find_first_of("/\\:"), std::string::npos) << converted;
}

TEST(ExecutableTest, FolderAndBaseNameSplitThePath) {
    EXPECT_EQ(executableFolder() + L"\\" + executableBaseName() + L".exe", executablePath());
}

}  // namespace
}  // namespace tapkeys
