// An accessibility client in a process of its own, as a screen reader is: it finds the keyboard window,
// lists the children of its client area and, given a name, performs that child's default action.
//
//   msaa_client [NAME]
//
// Prints one JSON value: {"result": HRESULT of AccessibleObjectFromWindow, "children": [{"id", "name",
// "role", "state", "rect": [left, top, right, bottom]}...], "pressed": id or 0}.

#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/json_text.h"

namespace {

VARIANT child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::wstring press = argc > 1 ? argv[1] : L"";
    IAccessible* client = nullptr;
    const HRESULT result =
        ::AccessibleObjectFromWindow(::FindWindowW(L"tapkeysKeyboard", nullptr), OBJID_CLIENT,
                                     __uuidof(IAccessible), reinterpret_cast<void**>(&client));
    std::string out = "{\"result\": " + std::to_string(result) + ", \"children\": [";
    long count = 0, pressed = 0;
    if (client != nullptr) client->get_accChildCount(&count);
    for (long id = 1; id <= count; ++id) {
        BSTR name = nullptr;
        VARIANT role{}, state{};
        long left = 0, top = 0, width = 0, height = 0;
        client->get_accName(child(id), &name);
        client->get_accRole(child(id), &role);
        client->get_accState(child(id), &state);
        client->accLocation(&left, &top, &width, &height, child(id));
        const std::wstring text = name ? name : L"";
        ::SysFreeString(name);
        char fields[160];
        std::snprintf(fields, sizeof fields,
                      "\"id\": %ld, \"role\": %ld, \"state\": %ld, \"rect\": [%ld, %ld, %ld, %ld]", id,
                      role.lVal, state.lVal, left, top, left + width, top + height);
        out += std::string(id > 1 ? ",\n  " : "\n  ") + "{" + fields +
               ", \"name\": " + tapkeys::jsonString(text) + "}";
        if (!press.empty() && text == press && pressed == 0 &&
            SUCCEEDED(client->accDoDefaultAction(child(id))))
            pressed = id;
    }
    std::printf("%s], \"pressed\": %ld}\n", out.c_str(), pressed);
    if (client != nullptr) client->Release();
    return 0;
}
