#pragma once
// Functions of system DLLs that most runs never need, bound on first use so their DLLs (and what those
// pull in) stay out of the start-up.

#include <windows.h>

namespace tapkeys {

// The function `name` of `dll`, loaded once and kept for the rest of the run; nullptr when the DLL or
// the function is missing. Function is a pointer-to-function type.
template <typename Function>
Function systemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = ::GetModuleHandleW(dll);
    if (module == nullptr) module = ::LoadLibraryW(dll);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace tapkeys
