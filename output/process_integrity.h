#pragma once
// Integrity levels of processes, read from their access tokens.

#include "output/input_permission.h"

namespace tapkeys {

class SystemIntegrityProbe final : public IntegrityProbe {
public:
    std::optional<std::uint32_t> ownLevel() const override;
    IntegrityAnswer levelOf(std::uintptr_t window, std::uint32_t processId) const override;
};

}  // namespace tapkeys
