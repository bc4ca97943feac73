#pragma once
#include <string_view>

#include "output/key_output.h"

namespace tapkeys {

// Walks a KeyString (plain characters and braced key names such as "{ENTER}") from left to right and
// sends each item through `out`, then calls out.keyStringDone().
void sendKeyString(std::wstring_view keyString, KeyOutput& out);

// Sends one key of the target's layout the way a one-character KeyString goes (safe-mode nudge first),
// then calls out.keyStringDone().
void sendPositionKey(PositionKey key, KeyOutput& out);

}  // namespace tapkeys
