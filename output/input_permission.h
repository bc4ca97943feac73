#pragma once
// Windows keeps synthesized input out of a process that runs at a higher integrity level than the
// sender (an elevated program, an administrator console), and SendInput reports success all the same.
// The keyboard asks before typing, so it can say so instead of typing into nothing.

#include <cstdint>
#include <optional>

namespace tapkeys {

// A process's mandatory integrity level (0x2000 medium, 0x3000 high, 0x4000 system), as far as it could
// be read. A process that refuses to be queried at all is more privileged than the one asking.
struct IntegrityAnswer {
    std::optional<std::uint32_t> level;
    bool accessDenied = false;
};

class IntegrityProbe {
public:
    virtual ~IntegrityProbe() = default;
    virtual std::optional<std::uint32_t> ownLevel() const = 0;
    virtual IntegrityAnswer levelOf(std::uint32_t processId) const = 0;
};

// Whether a target answering `target` refuses input from a process at `ownLevel`. What cannot be read
// (a process that has gone, a system without levels) is not taken as a refusal.
bool refusesInput(const IntegrityAnswer& target, std::optional<std::uint32_t> ownLevel);

// The answer for the current target, asked once per target window and process: a process's level does
// not change while it runs, and the key path stays free of process queries.
class InputPermission {
public:
    explicit InputPermission(const IntegrityProbe& probe) : probe_(probe) {}
    bool refuses(std::uintptr_t window, std::uint32_t processId);

private:
    const IntegrityProbe& probe_;
    std::optional<std::optional<std::uint32_t>> ownLevel_;
    std::uintptr_t window_ = 0;
    std::uint32_t processId_ = 0;
    bool refused_ = false;
};

}  // namespace tapkeys
