#include "keyboard/key_timing.h"

#include <algorithm>
#include <cstdlib>

namespace tapkeys {
namespace {

// The close button acts on the press alone; resting on it must never end the program.
bool takesDwell(KeyId key) {
    return key.control != Control::Close;
}

}  // namespace

void KeyTiming::configure(const ExtrasSettings& extras) {
    feedback_ = extras.keyFeedback;
    repeatDelayMs_ = extras.repeatDelay;
    repeatIntervalMs_ = 1000 / std::max(1, extras.repeatRate);
    dwellMs_ = extras.dwellTime;
    if (dwellMs_ == 0) dwell_.reset();
    if (repeatDelayMs_ == 0) {
        for (Hold& hold : holds_) hold.nextRepeat.reset();
    }
}

void KeyTiming::press(int pointer, KeyId key, bool repeatable, Ms now) {
    std::erase_if(holds_, [&](const Hold& h) { return h.pointer == pointer; });
    std::optional<Ms> nextRepeat;
    if (repeatable && repeatDelayMs_ > 0) nextRepeat = now + repeatDelayMs_;
    holds_.push_back({pointer, key, now, true, nextRepeat});
    // A pressed key has typed: resting on afterwards must not type it a second time.
    if (pointer == kMousePointer && dwell_ && dwell_->key == key) dwell_->done = true;
}

void KeyTiming::release(int pointer) {
    for (Hold& hold : holds_) {
        if (hold.pointer == pointer && hold.held) endHold(hold);
    }
}

void KeyTiming::endHold(Hold& hold) {
    hold.held = false;
    hold.nextRepeat.reset();
}

bool KeyTiming::mouseHeld() const {
    return std::ranges::any_of(holds_, [](const Hold& h) { return h.pointer == kMousePointer && h.held; });
}

void KeyTiming::move(std::optional<KeyId> under, Point at, Ms now) {
    for (Hold& hold : holds_) {
        if (hold.pointer == kMousePointer && hold.held && under != hold.key) endHold(hold);
    }
    if (dwellMs_ == 0 || !under || !takesDwell(*under)) {
        dwell_.reset();
        return;
    }
    if (!dwell_ || dwell_->key != *under) {
        dwell_ = Dwell{*under, at, now, mouseHeld()};
        return;
    }
    const bool tremor =
        std::abs(at.x - dwell_->anchor.x) <= kTremorPx && std::abs(at.y - dwell_->anchor.y) <= kTremorPx;
    if (!dwell_->done && !tremor) *dwell_ = Dwell{*under, at, now, false};
}

std::vector<KeyTiming::Fired> KeyTiming::tick(Ms now) {
    std::vector<Fired> fired;
    for (Hold& hold : holds_) {
        if (!hold.nextRepeat || now < *hold.nextRepeat) continue;
        fired.push_back({Action::Repeat, hold.key});
        // A late timer does not make up for lost repeats in a burst.
        *hold.nextRepeat += repeatIntervalMs_;
        if (*hold.nextRepeat <= now) *hold.nextRepeat = now + repeatIntervalMs_;
    }
    if (dwell_ && !dwell_->done && !mouseHeld() && now >= dwellStepAt(kFullLight)) {
        dwell_->done = true;
        fired.push_back({Action::Dwell, dwell_->key});
        // The typed key flashes like a press.
        if (feedback_) holds_.push_back({-1, dwell_->key, now, false, std::nullopt});
    }
    std::erase_if(holds_, [&](const Hold& h) { return !h.held && now >= h.pressedAt + kMinLitMs; });
    return fired;
}

std::optional<KeyTiming::Ms> KeyTiming::nextDeadline(Ms now) const {
    std::optional<Ms> next;
    const auto consider = [&](Ms at) { next = next ? std::min(*next, at) : at; };
    for (const Hold& hold : holds_) {
        if (hold.nextRepeat) consider(*hold.nextRepeat);
        if (!hold.held && hold.pressedAt + kMinLitMs > now) consider(hold.pressedAt + kMinLitMs);
    }
    if (dwell_ && !dwell_->done && !mouseHeld()) {
        // The next step of the progress; the last one types.
        int step = 1;
        while (step < kFullLight && dwellStepAt(step) <= now) ++step;
        consider(std::max(now, dwellStepAt(step)));
    }
    return next;
}

std::vector<KeyTiming::Light> KeyTiming::lights(Ms now) const {
    std::vector<Light> lit;
    const auto light = [&](KeyId key, int level) {
        const auto same = std::ranges::find_if(lit, [&](const Light& l) { return l.key == key; });
        if (same == lit.end()) return lit.push_back({key, level});
        same->level = std::max(same->level, level);
    };
    if (feedback_) {
        for (const Hold& hold : holds_) {
            if (hold.held || now < hold.pressedAt + kMinLitMs) light(hold.key, kFullLight);
        }
    }
    if (dwell_ && !dwell_->done && !mouseHeld()) {
        const int level = static_cast<int>((now - dwell_->since) * kFullLight / std::max<Ms>(1, dwellMs_));
        if (level > 0) light(dwell_->key, std::min(level, kFullLight));
    }
    return lit;
}

}  // namespace tapkeys
