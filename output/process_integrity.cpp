#include "output/process_integrity.h"

#include <windows.h>

#include <vector>

#include "win32/kernel_handle.h"
#include "win32/system_function.h"

namespace tapkeys {
namespace {

// advapi32 is bound on the first target, so the start-up does not load it.
struct TokenFunctions {
    using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using TokenInformation = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    using SubAuthorityCount = PUCHAR(WINAPI*)(PSID);
    using SubAuthority = PDWORD(WINAPI*)(PSID, DWORD);
    OpenToken openToken = systemFunction<OpenToken>(L"advapi32.dll", "OpenProcessToken");
    TokenInformation information = systemFunction<TokenInformation>(L"advapi32.dll", "GetTokenInformation");
    SubAuthorityCount count = systemFunction<SubAuthorityCount>(L"advapi32.dll", "GetSidSubAuthorityCount");
    SubAuthority subAuthority = systemFunction<SubAuthority>(L"advapi32.dll", "GetSidSubAuthority");
    bool complete() const { return openToken && information && count && subAuthority; }
};

const TokenFunctions& tokenFunctions() {
    static const TokenFunctions functions;
    return functions;
}

IntegrityAnswer denied() {
    return {std::nullopt, true};
}

// Windows drops a message that a window of a higher integrity level would receive from a lower one, and
// PostMessage then fails with ERROR_ACCESS_DENIED; keystrokes meet the same barrier. The message is
// registered for this alone, so a window that does receive it has nothing to do with it.
bool turnsMessagesAway(HWND window) {
    static const UINT probe = ::RegisterWindowMessageW(L"tapkeysIntegrityProbe");
    return probe != 0 && !::PostMessageW(window, probe, 0, 0) && ::GetLastError() == ERROR_ACCESS_DENIED;
}

IntegrityAnswer integrityOf(HANDLE process) {
    const TokenFunctions& f = tokenFunctions();
    if (!f.complete()) return {};
    HANDLE rawToken = nullptr;
    if (!f.openToken(process, TOKEN_QUERY, &rawToken))
        return ::GetLastError() == ERROR_ACCESS_DENIED ? denied() : IntegrityAnswer{};
    const KernelHandle token(rawToken);
    DWORD size = 0;
    f.information(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !f.information(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return {};
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = *f.count(sid);
    if (count == 0) return {};
    return {*f.subAuthority(sid, count - 1u), false};
}

}  // namespace

std::optional<std::uint32_t> SystemIntegrityProbe::ownLevel() const {
    return integrityOf(::GetCurrentProcess()).level;
}

IntegrityAnswer SystemIntegrityProbe::levelOf(std::uintptr_t window, std::uint32_t processId) const {
    IntegrityAnswer answer;
    if (const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        process)
        answer = integrityOf(process.get());
    else
        answer.accessDenied = ::GetLastError() == ERROR_ACCESS_DENIED;
    if (!answer.level) answer.turnsMessagesAway = turnsMessagesAway(reinterpret_cast<HWND>(window));
    return answer;
}

}  // namespace tapkeys
