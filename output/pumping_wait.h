#pragma once

namespace tapkeys {

// Pauses for about `milliseconds` while the thread's window messages keep being processed, so the
// window keeps painting and reacting; any handler, another wait among them, may run inside. Every
// wait of every copy of the program blocks on one named timer, so a nested wait that re-arms it also
// ends the wait it interrupted.
void pumpingWait(int milliseconds);

}  // namespace tapkeys
