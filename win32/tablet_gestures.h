#pragma once
// Turns off the pen and touch gestures Windows puts between a touch and a window: press-and-hold (which
// turns a held finger into a right click) and flicks. Through the documented tablet window property;
// it is taken off again with the object.

#include <windows.h>

namespace tapkeys {

class TabletGestures {
public:
    TabletGestures() = default;
    TabletGestures(const TabletGestures&) = delete;
    TabletGestures& operator=(const TabletGestures&) = delete;
    ~TabletGestures() { restore(); }

    void disable(HWND hwnd) {
        restore();
        // The property's name must be an atom for the tablet service to find it.
        atom_ = ::GlobalAddAtomW(kProperty);
        if (atom_ == 0) return;
        hwnd_ = hwnd;
        ::SetPropW(hwnd_, kProperty,
                   reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(kPressAndHoldOff | kFlicksOff)));
    }

private:
    static constexpr const wchar_t* kProperty = L"MicrosoftTabletPenServiceProperty";
    static constexpr DWORD kPressAndHoldOff = 0x00000001;  // TABLET_DISABLE_PRESSANDHOLD
    static constexpr DWORD kFlicksOff = 0x00010000;        // TABLET_DISABLE_FLICKS

    void restore() {
        if (atom_ == 0) return;
        if (::IsWindow(hwnd_)) ::RemovePropW(hwnd_, kProperty);
        ::GlobalDeleteAtom(atom_);
        atom_ = 0;
        hwnd_ = nullptr;
    }

    HWND hwnd_ = nullptr;
    ATOM atom_ = 0;
};

}  // namespace tapkeys
