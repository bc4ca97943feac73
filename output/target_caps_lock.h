#pragma once

#include <windows.h>

namespace tapkeys {

// Whether Caps Lock is on as `thread`, the thread that will receive the keystrokes, applies it.
bool capsLockOf(DWORD thread);

// Sets up what capsLockOf needs, at start-up: under Wine a thread of its own, which follows the
// system's key state from the moment it starts.
void prepareCapsLockReading();

}  // namespace tapkeys
