#pragma once
// The numbers of the "More settings" dialog as text. Platform-free.

#include <string>
#include <string_view>

#include "settings/extras_settings.h"

namespace tapkeys {

// What a number box stands for: the nearest value the range allows (a value between off and the
// minimum asks for the minimum); text without a whole number keeps fallback.
int extrasValueFromText(std::wstring_view text, const ExtrasRange& range, int fallback);

// Where an arrow of a number box goes from position by delta: between off and the minimum it jumps to
// the other, and it stays within the range.
int steppedValue(const ExtrasRange& range, int position, int delta);

}  // namespace tapkeys
