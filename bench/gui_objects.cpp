// Counts what a running GUI process holds, found by its window class:
//
//   bench_gui_objects.exe CLASS      prints {"pid": ..., "gdi": ..., "user": ...}
//
// gdi   GDI objects of the process that are not stock objects. Wine's GetGuiResources is a stub, so they
//       are counted in the process's own GDI handle table, which Windows and Wine both publish in the
//       PEB (GdiSharedHandleTable): a used entry has a non-zero type.
// user  USER objects as windows: top-level, child and message-only windows of the process.
// (Memory is read on the Linux side: Wine's GetProcessMemoryInfo reports no private bytes.)

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "win32/kernel_handle.h"

namespace tapkeys::bench {
namespace {

// One entry of the GDI handle table (64-bit layout).
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint8_t extType;  // bit 7: stock object
    std::uint8_t generation;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;
constexpr std::uint8_t kStockFlag = 0x80;

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

long countGdiObjects(HANDLE process) {
    const auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    std::uint64_t table = 0;
    const auto* tableField =
        static_cast<const BYTE*>(static_cast<void*>(basic.PebBaseAddress)) + kPebGdiSharedHandleTable;
    if (!::ReadProcessMemory(process, tableField, &table, sizeof table, nullptr) || table == 0) return -1;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                             entries.size() * sizeof(GdiHandleEntry), nullptr)) {
        return -1;
    }
    long count = 0;
    for (const GdiHandleEntry& entry : entries) {
        if (entry.type != 0 && (entry.extType & kStockFlag) == 0) ++count;
    }
    return count;
}

struct WindowCount {
    DWORD pid;
    long count = 0;
};

BOOL CALLBACK countChild(HWND window, LPARAM param) {
    auto* windows = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == windows->pid) ++windows->count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM param) {
    countChild(window, param);
    ::EnumChildWindows(window, countChild, param);
    return TRUE;
}

long countWindows(DWORD pid) {
    WindowCount windows{pid};
    ::EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND window = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = ::FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
        countTopLevel(window, reinterpret_cast<LPARAM>(&windows));
    }
    return windows.count;
}

}  // namespace
}  // namespace tapkeys::bench

int wmain(int argc, wchar_t** argv) {
    using namespace tapkeys::bench;
    if (argc != 2) {
        std::fputs("usage: bench_gui_objects CLASS\n", stderr);
        return 2;
    }
    const HWND window = ::FindWindowW(argv[1], nullptr);
    DWORD pid = 0;
    if (window == nullptr || ::GetWindowThreadProcessId(window, &pid) == 0) {
        std::fputs("no window of that class\n", stderr);
        return 3;
    }
    const tapkeys::KernelHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return 4;
    std::printf("{\"pid\": %lu, \"gdi\": %ld, \"user\": %ld}\n", pid, countGdiObjects(process.get()),
                countWindows(pid));
    return 0;
}
