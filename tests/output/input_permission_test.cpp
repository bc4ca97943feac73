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
    IntegrityAnswer levelOf(std::uintptr_t, std::uint32_t processId) const override {
        return ++queries, IntegrityAnswer{processId == 2 ? high : medium};
    }
};

// Only a target known to be above the keyboard's level refuses input: by its level, or by turning a
// message away. The same level, a lower one, a level that cannot be read and a query refused (another
// account's process) do not. Each target window is asked about once.
TEST(InputPermission, OnlyAKnownMorePrivilegedTargetRefusesAndEachTargetIsAskedOnce) {
    const IntegrityAnswer denied{std::nullopt, true}, unreadable{}, turnsAway{std::nullopt, true, true};
    const std::tuple<std::optional<std::uint32_t>, IntegrityAnswer, bool> cases[] = {
        {medium, {medium}, false},     {medium, {high}, true},    {high, {medium}, false},
        {medium, denied, false},       {high, denied, false},     {medium, unreadable, false},
        {std::nullopt, {high}, false}, {medium, turnsAway, true}, {std::nullopt, turnsAway, true}};
    for (const auto& [own, target, refused] : cases)
        EXPECT_EQ(refusesInput(target, own), refused)
            << own.value_or(0) << " " << target.level.value_or(0) << " " << target.accessDenied;
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
