#include "output/input_permission.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tapkeys {
namespace {

constexpr std::uint32_t medium = 0x2000, high = 0x3000;

// Process 2 runs above the keyboard's level; every other one at it.
class FakeProbe final : public IntegrityProbe {
public:
    mutable int queries = 0;
    std::optional<std::uint32_t> ownLevel() const override { return medium; }
    IntegrityAnswer levelOf(std::uint32_t processId) const override {
        return ++queries, IntegrityAnswer{processId == 2 ? high : medium};
    }
};

// A target above the keyboard's level, or one closed to its query, refuses input; the same level, a
// lower one, or a level that cannot be read does not. Each target window is asked about once.
TEST(InputPermission, OnlyAMorePrivilegedTargetRefusesAndEachTargetIsAskedOnce) {
    const IntegrityAnswer closed{std::nullopt, true}, unreadable{};
    const std::tuple<std::optional<std::uint32_t>, IntegrityAnswer, bool> cases[] = {
        {medium, {medium}, false}, {medium, {high}, true},      {high, {medium}, false},
        {medium, closed, true},    {medium, unreadable, false}, {std::nullopt, {high}, false}};
    for (const auto& [own, target, refused] : cases)
        EXPECT_EQ(refusesInput(target, own), refused) << own.value_or(0) << " " << target.level.value_or(0);
    FakeProbe probe;
    InputPermission permission(probe);
    const std::tuple<std::uintptr_t, std::uint32_t, bool> asks[] = {
        {10, 1, false}, {10, 1, false}, {20, 2, true}, {20, 2, true}, {10, 1, false}};
    for (const auto& [window, process, refused] : asks)
        EXPECT_EQ(permission.refuses(window, process), refused) << window;
    EXPECT_EQ(probe.queries, 3);
}

}  // namespace
}  // namespace tapkeys
