#pragma once
// Kernel object handles (events, timers, processes), closed with CloseHandle.

#include <windows.h>

#include "win32/unique_handle.h"

namespace tapkeys {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { ::CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

}  // namespace tapkeys
