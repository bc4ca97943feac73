#pragma once
// The mouse buttons, numbered as a form's mouse events number them.

#include <cstdint>

namespace tapkeys {

enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4 };

}  // namespace tapkeys
