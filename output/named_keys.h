#pragma once
// The key names that may stand in braces inside a KeyString, and how a name is recognised.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tapkeys {

struct NamedKeyMatch {
    std::uint8_t virtualKey;
    std::size_t nameLength;
};

// Matches the start of `text` (what follows a "{") against the key names, ignoring ASCII case. Names
// that begin with another name are tried first, so "{DELETE}" is never read as DEL + "ETE}".
std::optional<NamedKeyMatch> matchNamedKey(std::wstring_view text);

}  // namespace tapkeys
