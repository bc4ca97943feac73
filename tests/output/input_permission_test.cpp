#include "output/input_permission.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace tapkeys {
namespace {

constexpr std::uint32_t low = 0x1000, medium = 0x2000, high = 0x3000, system = 0x4000;

class FakeProbe final : public IntegrityProbe {
public:
    std::map<std::uint32_t, IntegrityAnswer> processes;
    mutable int queries = 0;
    std::optional<std::uint32_t> ownLevel() const override { return medium; }
    IntegrityAnswer levelOf(std::uint32_t processId) const override {
        ++queries;
        const auto found = processes.find(processId);
        return found == processes.end() ? IntegrityAnswer{} : found->second;
    }
};

// A target above the keyboard's level, or one closed to its query, refuses input; the same level, a
// lower one, or a level that cannot be read does not. Each target window is asked about once.
TEST(InputPermission, OnlyAMorePrivilegedTargetRefusesAndEachTargetIsAskedOnce) {
    const IntegrityAnswer closed{std::nullopt, true}, unreadable{};
    const std::tuple<std::optional<std::uint32_t>, IntegrityAnswer, bool> cases[] = {
        {medium, {medium}, false}, {medium, {high}, true},      {medium, {system}, true},
        {high, {high}, false},     {high, {medium}, false},     {low, {medium}, true},
        {medium, closed, true},    {medium, unreadable, false}, {std::nullopt, {high}, false}};
    for (const auto& [own, target, refused] : cases) {
        EXPECT_EQ(refusesInput(target, own), refused) << own.value_or(0) << " " << target.level.value_or(0);
    }
    FakeProbe probe;
    probe.processes = {{1, {medium}}, {2, {high}}};
    InputPermission permission(probe);
    EXPECT_FALSE(permission.refuses(10, 1));
    EXPECT_FALSE(permission.refuses(10, 1));
    EXPECT_TRUE(permission.refuses(20, 2));
    EXPECT_TRUE(permission.refuses(20, 2));
    EXPECT_FALSE(permission.refuses(10, 1));
    EXPECT_EQ(probe.queries, 3);
}

}  // namespace
}  // namespace tapkeys
