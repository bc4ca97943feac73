#pragma once
// The keyboard window's side of Microsoft Active Accessibility: it answers WM_GETOBJECT for the client
// area with an IAccessible whose children are the keys (accessible_keys), and raises the events that
// keep clients' views of the names and states current. Nothing is loaded, made or kept until a client
// first asks; the libraries it needs are bound then.

#include <unknwn.h>
#include <windows.h>

#include <optional>
#include <vector>

#include "keyboard/accessible_keys.h"

namespace tapkeys {

class AccessibleHost {
public:
    virtual ~AccessibleHost() = default;
    virtual std::vector<AccessibleKey> accessibleKeys() const = 0;
    // A client's default action on a key: the key is to be pressed as a touch presses it, once the
    // client's call has returned.
    virtual void pressAccessibleKey(KeyId key) = 0;
};

class KeyboardAccessible;

class AccessibleWindow {
public:
    explicit AccessibleWindow(AccessibleHost& host) : host_(host) {}
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;
    // Clients may hold the object longer than the window lives: it answers that it is gone from then on.
    ~AccessibleWindow();

    // WM_GETOBJECT: the answer for the client area, or empty for the default handling.
    std::optional<LRESULT> onGetObject(HWND window, WPARAM wParam, LPARAM lParam);
    // The keys' captions or Shift and Caps Lock may have changed.
    void keysChanged(HWND window);

private:
    // The client area's object, with a reference for the caller.
    IUnknown* object(HWND window);

    AccessibleHost& host_;
    KeyboardAccessible* object_ = nullptr;  // one reference of ours while it exists
    std::vector<AccessibleKey> shown_;      // the keys as the last events left them
};

}  // namespace tapkeys
