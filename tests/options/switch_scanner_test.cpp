#include "options/switch_scanner.h"

#include "options/dwell_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tapkeys {
namespace {

// One step of a script: at a time, an input (P switch press, T tick, D the pick has been carried out)
// and what follows: the pick, the highlight ("r2" a row, "r2.5" an item, "-" none) and the next
// deadline ("-" none).
struct Step {
    SwitchScanner::Ms at;
    char op;
    const char* expected;
};

std::string run(SwitchScanner& scanner, const Step& step) {
    std::optional<SwitchScanner::Pick> pick;
    if (step.op == 'P') pick = scanner.press(step.at);
    if (step.op == 'D') pick = scanner.typed(step.at);
    if (step.op == 'T') scanner.tick(step.at);
    std::string out;
    if (pick)
        out.append("pick ")
            .append(std::to_string(pick->row))
            .append(".")
            .append(std::to_string(pick->item))
            .append(" ");
    const SwitchScanner::Highlight h = scanner.highlight();
    if (h.row < 0) out.append("-");
    if (h.row >= 0) out.append("r").append(std::to_string(h.row));
    if (h.row >= 0 && h.item >= 0) out.append(".").append(std::to_string(h.item));
    const auto next = scanner.nextDeadline();
    return out.append(" next:").append(next ? std::to_string(*next) : "-");
}

TEST(SwitchScanner, RowsItemsLoopsAndRestartOnTime) {
    // Rows of 3, 0 (passed over), 2 and 1 items at 100 ms a highlight.
    const std::vector<int> rows{3, 0, 2, 1};
    // clang-format off
    const std::tuple<const char*, std::vector<int>, bool, std::vector<Step>> scripts[] = {
        {"waits unlit; the first press starts the first row at once; rows, then items, then a pick", rows, false, {
            {0, 'T', "- next:-"}, {5000, 'P', "r0 next:5100"}, {5099, 'T', "r0 next:5100"},
            {5100, 'T', "r2 next:5200"}, {5250, 'P', "r2.0 next:5350"}, {5350, 'T', "r2.1 next:5450"},
            {5400, 'P', "pick 2.1 r2.1 next:-"}, {5900, 'T', "r2.1 next:-"}}},
        {"after a pick scanning starts again at the first row at once", rows, false, {
            {0, 'P', "r0 next:100"}, {10, 'P', "r0.0 next:110"}, {20, 'P', "pick 0.0 r0.0 next:-"},
            {700, 'D', "r0 next:800"}, {800, 'T', "r2 next:900"}}},
        {"a late tick moves on by every step that went by, on the steps' own times", rows, false, {
            {0, 'P', "r0 next:100"}, {250, 'T', "r3 next:300"}}},
        {"a row passed through twice goes back to the first row; two rounds of rows stop until a press", rows, false, {
            {0, 'P', "r0 next:100"}, {100, 'T', "r2 next:200"}, {150, 'P', "r2.0 next:250"},
            {549, 'T', "r2.1 next:550"}, {550, 'T', "r0 next:650"}, {849, 'T', "r3 next:850"},
            {850, 'T', "r0 next:950"}, {1149, 'T', "r3 next:1150"}, {1150, 'T', "- next:-"},
            {9000, 'T', "- next:-"}, {9001, 'P', "r0 next:9101"}}},
        {"presses during a pick wait for it and then count on the restarted rows, a second pick included", rows, false, {
            {0, 'P', "r0 next:100"}, {10, 'P', "r0.0 next:110"}, {20, 'P', "pick 0.0 r0.0 next:-"},
            {30, 'P', "r0.0 next:-"}, {40, 'P', "r0.0 next:-"}, {50, 'T', "r0.0 next:-"},
            {300, 'D', "pick 0.0 r0.0 next:-"}, {400, 'D', "r0 next:500"}}},
        {"flat: items from the first at once, two passes stop, a pick starts at the first again", {4}, true, {
            {0, 'P', "r0.0 next:100"}, {350, 'T', "r0.3 next:400"}, {360, 'P', "pick 0.3 r0.3 next:-"},
            {500, 'D', "r0.0 next:600"}, {1299, 'T', "r0.3 next:1300"}, {1300, 'T', "- next:-"},
            {1400, 'P', "r0.0 next:1500"}}},
        {"off without time or without items", {}, false, {{0, 'P', "- next:-"}, {100, 'T', "- next:-"}}},
    };
    // clang-format on
    for (const auto& [script, sizes, flat, steps] : scripts) {
        SwitchScanner scanner;
        scanner.configure(100, sizes, flat);
        for (const Step& step : steps)
            EXPECT_EQ(run(scanner, step), step.expected) << script << ", at " << step.at << " " << step.op;
    }
}

// A dialog's dwell: steps up, ignores tremor, clicks once, again only after leaving; a move restarts it.
TEST(DwellClock, ClicksOnceAfterRestingStillEnough) {
    // at, target, x, y: the fired target (0 none) and the level after.
    const std::tuple<DwellClock::Ms, DwellClock::Target, int, int, DwellClock::Target, int> steps[] = {
        {0, 7, 10, 10, 0, 0},    {150, 7, 13, 6, 0, 1},   {599, 7, 10, 10, 0, 3},  {600, 7, 12, 12, 7, 0},
        {2000, 7, 30, 30, 0, 0}, {2100, 0, 0, 0, 0, 0},   {2200, 7, 10, 10, 0, 0}, {2500, 7, 20, 10, 0, 0},
        {3099, 7, 20, 10, 0, 3}, {3100, 7, 20, 10, 7, 0}, {3200, 9, 20, 10, 0, 0}};
    DwellClock clock;
    clock.configure(600);
    for (const auto& [at, target, x, y, fired, level] : steps) {
        EXPECT_EQ(clock.update(target, x, y, at).value_or(0), fired) << at;
        EXPECT_EQ(clock.level(at), level) << at;
    }
    clock.hold(5, 0, 0);
    EXPECT_EQ(clock.update(5, 9, 9, 4000).value_or(0) + clock.update(5, 9, 9, 9000).value_or(0), 0u);
    EXPECT_EQ(clock.update(6, 9, 9, 9000).value_or(0) + clock.update(6, 9, 9, 9600).value_or(0), 6u);
}

}  // namespace
}  // namespace tapkeys
