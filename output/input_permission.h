#pragma once
// Windows keeps synthesized input out of a process that runs at a higher integrity level than the
// sender (an elevated program, an administrator console), and SendInput reports success all the same.
// The keyboard asks before typing, so it can say so instead of typing into nothing.

#include <cstdint>
#include <optional>

namespace tapkeys {

// What is known of a target's privilege: its process's mandatory integrity level (0x2000 medium, 0x3000
// high, 0x4000 system) when it could be read, whether reading it was refused, and whether the window
// turned away a message as coming from a lower level (which is what input meets too).
struct IntegrityAnswer {
    std::optional<std::uint32_t> level;
    bool accessDenied = false;
    bool turnsMessagesAway = false;
};

class IntegrityProbe {
public:
    virtual ~IntegrityProbe() = default;
    virtual std::optional<std::uint32_t> ownLevel() const = 0;
    virtual IntegrityAnswer levelOf(std::uintptr_t window, std::uint32_t processId) const = 0;
};

// Whether a target answering `target` refuses input from a process at `ownLevel`: only one known to be
// more privileged does. A refused query is no such sign (a process of another account at the same level
// refuses it too, and takes the keys), nor is anything else that cannot be read.
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
