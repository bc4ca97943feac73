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
    const auto taken = std::ranges::find(onKeys_, pointerId);
    if (message == Message::Up) {
        if (taken == onKeys_.end()) return {};
        onKeys_.erase(taken);
        return {Action::Kind::Release, nullptr};
    }
    if (!touch || hit.kind != HitTarget::Kind::Label || isButton(*hit.label)) return {};
    if (taken == onKeys_.end()) onKeys_.push_back(pointerId);
    return {Action::Kind::Press, hit.label};
}

}  // namespace tapkeys
