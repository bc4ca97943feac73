// The real keyboard window in this process: its accessible objects as a client of the same process
// sees them, and its colours in high contrast, which Wine can neither switch on nor report.
#include "keyboard/main_window.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/win_test_support.h"
#include "tools/bitmap_writer.h"
#include "win32/gdi.h"
#include "win32/module_path.h"

namespace tapkeys::test {
namespace {

constexpr wchar_t kNormal[] = L"1234567890-=qwertyuiop[]asdfghjkl;'#\\zxcvbnm,./";
constexpr wchar_t kShifted[] = L"!\"#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:@~|ZXCVBNM<>?";
// Windows' "High Contrast White" scheme.
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kPurple = RGB(55, 0, 110);

class FakeContrast final : public ContrastSource {
public:
    SystemContrast read() const override { return state; }
    SystemContrast state;
};

class KeyboardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring ini = executableFolder() + L"\\" + executableBaseName() + L".ini";
        for (const auto& [section, key, value] : {std::tuple{L"misc", L"WINDOWX", L"300"},
                                                  {L"misc", L"WINDOWY", L"300"},
                                                  {L"keymapping", L"KEYMAP", L"user"},
                                                  {L"keymapping", L"USERKEYMAPNORMAL", kNormal},
                                                  {L"keymapping", L"USERKEYMAPSHIFT", kShifted}})
            ::WritePrivateProfileStringW(section, key, value, ini.c_str());
        ASSERT_TRUE(keyboard.create(SW_SHOWNOACTIVATE));
    }
    void TearDown() override { ::DestroyWindow(keyboard.hwnd()); }

    // With TAPKEYS_PICTURES set, the window as a BMP file in that folder, for a person to look at.
    void savePicture(const char* name) {
        const char* folder = std::getenv("TAPKEYS_PICTURES");
        if (folder == nullptr) return;
        RECT r{};
        ::GetClientRect(keyboard.hwnd(), &r);
        RgbImage image(r.right, r.bottom);
        const WindowDc window{keyboard.hwnd()};
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                const COLORREF c = ::GetPixel(window.get(), x, y);
                image.at(x, y) = {GetRValue(c), GetGValue(c), GetBValue(c)};
            }
        const std::vector<std::uint8_t> bmp = encodeBmp24(image);
        std::ofstream(std::string(folder) + "/" + name + ".bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    }

    // After a full repaint.
    COLORREF pixelAt(int x, int y) {
        ::RedrawWindow(keyboard.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pumpUntil([] { return false; }, 100ms);
        return pixelNow(x, y);
    }

    // As the window shows it this moment.
    COLORREF pixelNow(int x, int y) {
        const HDC dc = ::GetDC(keyboard.hwnd());
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(keyboard.hwnd(), dc);
        return colour;
    }

    FakeContrast contrast;
    MainWindow keyboard{::GetModuleHandleW(nullptr), contrast};
};

// The keys take the system's colours when high contrast comes on and their own when it goes, each on
// the message that reports the change; the key outlines are rings of the text colour on the window
// colour.
TEST_F(KeyboardWindowTest, HighContrastColoursFollowTheSystemWithoutARestart) {
    const PixelRect q = LayoutScale{}.toPixels(framesOf({Control::Key, 12}).rects[0]);
    const POINT background{300, 20}, ring{q.left + 3, (q.top + q.bottom) / 2};
    const COLORREF outline = pixelAt(ring.x, ring.y);
    EXPECT_EQ(pixelAt(background.x, background.y), kBlack);
    contrast.state = {true, kWhite, kBlack, kPurple};
    EXPECT_EQ(pixelAt(background.x, background.y), kBlack) << "changed before the system said so";
    ::SendMessageW(keyboard.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(pixelAt(background.x, background.y), kWhite);
    EXPECT_EQ(pixelAt(ring.x, ring.y), kBlack);
    EXPECT_EQ(pixelAt(q.left + 8, q.top + 8), kWhite);
    savePicture("keyboard-high-contrast");
    contrast.state = {};
    ::SendMessageW(keyboard.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(std::pair(pixelAt(background.x, background.y), pixelAt(ring.x, ring.y)),
              std::pair(kBlack, outline));
}

// A key let go outside the window while its keystrokes went out: the release went to another window,
// as the capture is taken only after them. The key lights and is let go at once, not held (lit, and
// repeating) until the pointer comes back.
TEST_F(KeyboardWindowTest, AKeyLetGoOutsideWhileItTypedIsNotHeld) {
    const PixelRect q = LayoutScale{}.toPixels(framesOf({Control::Key, 12}).rects[0]);
    const POINT ring{q.left + 3, (q.top + q.bottom) / 2};
    const COLORREF dark = pixelAt(ring.x, ring.y);
    // The button is up here, and no release is queued: the press alone, as it arrives.
    ::PostMessageW(keyboard.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM((q.left + q.right) / 2, (q.top + q.bottom) / 2));
    pumpUntil([] { return false; }, 30ms);
    EXPECT_NE(pixelNow(ring.x, ring.y), dark) << "the press shows its light for its first 80 ms";
    pumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(pixelAt(ring.x, ring.y), dark);
}

struct Bstr {
    BSTR text = nullptr;
    ~Bstr() { ::SysFreeString(text); }
    std::wstring str() const { return text ? text : L""; }
};

// The accessibility events raised in this process, as (event, child id).
std::vector<std::pair<DWORD, LONG>> events;
void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG childId, DWORD, DWORD) {
    if (object == OBJID_CLIENT) events.emplace_back(event, childId);
}

VARIANT child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// In this process as from another (the end-to-end row lists the keys and types q): a point on a key
// hits its child, and Shift pressed through its default action is checked, renames the keys and says
// so through the events.
TEST_F(KeyboardWindowTest, ShiftByItsDefaultActionIsCheckedAndRenamesTheKeys) {
    IAccessible* client = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(keyboard.hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    const long q = 18, shift = 44;  // in reading order
    long left = 0, top = 0, width = 0, height = 0;
    VARIANT hit{};
    ASSERT_EQ(client->accLocation(&left, &top, &width, &height, child(q)), S_OK);
    ASSERT_EQ(client->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, q);

    const HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, recordEvent,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    Bstr before, after;
    client->get_accName(child(q), &before.text);
    ASSERT_EQ(client->accDoDefaultAction(child(shift)), S_OK);
    pumpUntil([] { return false; }, 200ms);
    ::UnhookWinEvent(hook);
    for (const auto& expected :
         {std::pair{DWORD{EVENT_OBJECT_STATECHANGE}, shift}, {EVENT_OBJECT_NAMECHANGE, q}})
        EXPECT_NE(std::ranges::find(events, expected), events.end())
            << expected.first << " " << expected.second;
    VARIANT state{};
    client->get_accState(child(shift), &state);
    client->get_accName(child(q), &after.text);
    EXPECT_EQ(std::tuple(before.str(), after.str(), state.lVal & STATE_SYSTEM_CHECKED),
              std::tuple(L"q", L"Q", long{STATE_SYSTEM_CHECKED}));
    client->Release();
}

}  // namespace
}  // namespace tapkeys::test
