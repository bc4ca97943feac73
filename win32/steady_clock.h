#pragma once
// Milliseconds of the steady clock (the performance counter on Windows): fine enough for repeat, dwell
// and scanning deadlines, which a 16 ms tick count would let slip by a timer period. Platform-free.

#include <chrono>
#include <cstdint>

namespace tapkeys {

inline std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tapkeys
