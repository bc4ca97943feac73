#pragma once
// What a keyboard layout gives for a physical key, asked by scan code so that a key's position, not its
// character, decides where it sits: AZERTY, QWERTZ, Cyrillic and Greek layouts all come out right.

#include <cstdint>
#include <string>

namespace tapkeys {

struct LayoutCharacter {
    std::wstring text;  // empty where the layout has no character on the key
    bool dead = false;  // a dead key: text is its accent, which composes with the next key
    bool operator==(const LayoutCharacter&) const = default;
};

class LayoutReader {
public:
    virtual ~LayoutReader() = default;
    // The key typed alone or with Shift, with no lock key on.
    virtual LayoutCharacter characterAt(std::uint16_t scanCode, bool shifted) const = 0;
};

}  // namespace tapkeys
