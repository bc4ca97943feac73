#pragma once
// The keyboard layout of the window that keystrokes go to, read key by key.

#include <windows.h>

#include "output/layout_reader.h"

namespace tapkeys {

// The layout of the input thread of `target`; of this thread when there is no target yet.
HKL targetKeyboardLayout(HWND target);

class TargetLayoutReader final : public LayoutReader {
public:
    explicit TargetLayoutReader(HKL layout) : layout_(layout) {}
    LayoutCharacter characterAt(std::uint16_t scanCode, bool shifted) const override;

private:
    HKL layout_;
};

}  // namespace tapkeys
