#include "keyboard/press_tracker.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tapkeys {

PressTracker::Press PressTracker::press(int source, KeyId key, Kind kind, Ms now) {
    end(source, std::nullopt);
    presses_.push_back({source, key, kind});
    timing_.press(source, key, kind == Kind::Repeats, now);
    // A click that lands while resting on the key is typing it: the user meant that one character.
    const bool dwellTypesIt =
        source == kMouse && std::ranges::find(typing_, std::optional{key}) != typing_.end();
    return {!dwellTypesIt};
}

void PressTracker::typingBegins(std::optional<KeyId> dwellKey) {
    typing_.push_back(dwellKey);
}

void PressTracker::typingEnds() {
    if (!typing_.empty()) typing_.pop_back();
}

void PressTracker::release(int source, std::optional<KeyId> under) {
    end(source, under);
}

void PressTracker::lost(int source) {
    end(source, std::nullopt);
}

void PressTracker::end(int source, std::optional<KeyId> clickedOver) {
    const auto record = std::ranges::find(presses_, source, &Record::source);
    if (record == presses_.end()) return;
    if (record->kind == Kind::Clicks && clickedOver == record->key)
        clicks_.push_back({KeyTiming::Action::Click, record->key});
    presses_.erase(record);
    timing_.release(source);
}

void PressTracker::endAll(Ms now) {
    for (const Record& record : presses_) timing_.release(record.source);
    presses_.clear();
    clicks_.clear();
    timing_.leave(now);
}

bool PressTracker::holds(int source) const {
    return std::ranges::find(presses_, source, &Record::source) != presses_.end();
}

std::vector<PressTracker::Action> PressTracker::tick(Ms now) {
    armedFor_.reset();  // the window timer fires once
    tickWaits_ = true;
    return due(now);
}

std::vector<PressTracker::Action> PressTracker::due(Ms now) {
    if (typing()) return {};
    std::vector<Action> actions = std::exchange(clicks_, {});
    if (std::exchange(tickWaits_, false)) std::ranges::copy(timing_.tick(now), std::back_inserter(actions));
    return actions;
}

PressTracker::Timer PressTracker::timer(Ms now) {
    // A tick that waits for the typing runs when it ends; nothing to arm meanwhile.
    if (tickWaits_) return {};
    const std::optional<Ms> next = timing_.nextDeadline(now);
    if (next == armedFor_) return {};
    armedFor_ = next;
    if (!next) return {Timer::Change::Stop};
    return {Timer::Change::Arm, std::max<Ms>(*next - now, 0)};
}

}  // namespace tapkeys
