#include "output/input_permission.h"

namespace tapkeys {

bool refusesInput(const IntegrityAnswer& target, std::optional<std::uint32_t> ownLevel) {
    if (target.turnsMessagesAway) return true;
    return target.level && ownLevel && *target.level > *ownLevel;
}

bool InputPermission::refuses(std::uintptr_t window, std::uint32_t processId) {
    if (window == window_ && processId == processId_) return refused_;
    if (!ownLevel_) ownLevel_ = probe_.ownLevel();
    window_ = window;
    processId_ = processId;
    refused_ = processId != 0 && refusesInput(probe_.levelOf(window, processId), *ownLevel_);
    return refused_;
}

}  // namespace tapkeys
