#include "keyboard/touch_router.h"

#include <algorithm>

namespace tapkeys {
namespace {

bool isButton(const Label& label) {
    return label.control == Control::Options || label.control == Control::Close;
}

}  // namespace

bool pressActivates(const HitTarget& hit) {
    return hit.kind != HitTarget::Kind::Label || isButton(*hit.label);
}

TouchRouter::Action TouchRouter::route(Message message, std::uint32_t pointerId, bool touch,
                                       const HitTarget& hit) {
    const auto taken = std::ranges::find(fingers_, pointerId, &Finger::pointerId);
    if (taken != fingers_.end() && message != Message::Down) {
        const bool stillOnKey = hit.kind == HitTarget::Kind::Label && keyOf(*hit.label) == taken->key;
        const bool lifted = message == Message::Up || message == Message::Lost;
        const bool lets = taken->onKey && (lifted || !stillOnKey);
        taken->onKey = taken->onKey && !lets;
        if (lifted) fingers_.erase(taken);
        return {lets ? Action::Kind::Release : Action::Kind::None, nullptr};
    }
    if (message != Message::Down || !touch || hit.kind != HitTarget::Kind::Label || isButton(*hit.label))
        return {};
    if (taken != fingers_.end()) fingers_.erase(taken);
    fingers_.push_back({pointerId, keyOf(*hit.label), true});
    return {Action::Kind::Press, hit.label};
}

}  // namespace tapkeys
