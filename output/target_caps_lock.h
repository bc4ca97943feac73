#pragma once

namespace tapkeys {

// Whether Caps Lock is on as the system applies it to the keystrokes that go out now.
bool capsLockOn();

// Starts following Caps Lock, at start-up, on the thread that will ask capsLockOn.
void prepareCapsLockReading();

}  // namespace tapkeys
