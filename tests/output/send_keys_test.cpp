#include "output/send_keys.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "output/key_string_sender.h"
#include "output/system_key_output.h"

namespace tapkeys {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void pumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Pumps messages until `done` holds or the time is up; the answer is `done` at the end.
bool pumpUntil(const std::function<bool()>& done, milliseconds timeout = milliseconds(2000)) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!done() && Clock::now() < deadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pumpMessages();
    }
    return done();
}

struct KeyMessage {
    UINT message;
    WPARAM virtualKey;
    LPARAM lParam;
};

// A window of the test's own with a focused edit control in the foreground, as the target of a key
// press would be; the edit's key messages are recorded on their way in.
class TypingTarget : public ::testing::Test {
protected:
    void SetUp() override {
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = L"SendKeysTestWindow";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    100, 100, 400, 120, nullptr, nullptr, instance, nullptr);
        edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 360, 30,
                                  window_, nullptr, instance, nullptr);
        ::SetWindowSubclass(edit_, &TypingTarget::recordKeys, 1, reinterpret_cast<DWORD_PTR>(&keyMessages_));
        ::SetForegroundWindow(window_);
        ::SetFocus(edit_);
        ASSERT_TRUE(pumpUntil([&] { return ::GetForegroundWindow() == window_ && ::GetFocus() == edit_; }))
            << "the test window did not come to the foreground";
    }

    void TearDown() override {
        ::RemoveWindowSubclass(edit_, &TypingTarget::recordKeys, 1);
        ::DestroyWindow(window_);
        pumpMessages();
    }

    std::wstring text() const {
        std::wstring result(static_cast<size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
        result.resize(
            static_cast<size_t>(::GetWindowTextW(edit_, result.data(), static_cast<int>(result.size()))));
        return result;
    }

    void setText(const wchar_t* value) {
        ::SetWindowTextW(edit_, value);
        const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(edit_));
        ::SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    }

    // What one item types into an empty edit.
    std::wstring typed(std::wstring_view item) {
        setText(L"");
        typeSendKeysItem(item);
        pumpUntil([&] { return !text().empty(); });
        pumpUntil([] { return false; }, milliseconds(50));  // anything further that would arrive
        return text();
    }

    DWORD caret() const {
        DWORD start = 0;
        ::SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return start;
    }

    static LRESULT CALLBACK recordKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            reinterpret_cast<std::vector<KeyMessage>*>(data)->push_back({message, wParam, lParam});
        }
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    std::vector<KeyMessage> keyMessages_;
};

TEST_F(TypingTarget, ItemsTypeExactlyTheirCharacter) {
    EXPECT_EQ(typed(L"a"), L"a");
    EXPECT_EQ(typed(L"A"), L"A");
    EXPECT_EQ(typed(L"7"), L"7");
    EXPECT_EQ(typed(L" "), L" ");
    EXPECT_EQ(typed(L"{+}"), L"+");
    EXPECT_EQ(typed(L"{~}"), L"~");
    EXPECT_EQ(typed(L"{^}"), L"^");
    EXPECT_EQ(typed(L"{%}"), L"%");
    EXPECT_EQ(typed(L"{(}"), L"(");
    EXPECT_EQ(typed(L"{{}"), L"{");
    EXPECT_EQ(typed(L"{}}"), L"}");
}

TEST_F(TypingTarget, CharactersOffTheLayoutArriveAsUnicode) {
    EXPECT_EQ(typed(L"\u00e9"), L"\u00e9");
    EXPECT_EQ(typed(L"\u20ac"), L"\u20ac");
    EXPECT_EQ(typed(L"\u0436"), L"\u0436");
}

TEST_F(TypingTarget, CapsLockDoesNotChangeTheCharacter) {
    const auto toggleCapsLock = [] {
        sendKeyEvent(VK_CAPITAL, false);
        sendKeyEvent(VK_CAPITAL, true);
    };
    const bool wasOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    toggleCapsLock();
    ASSERT_TRUE(pumpUntil([&] { return ((::GetKeyState(VK_CAPITAL) & 1) != 0) != wasOn; }));
    const std::wstring lower = typed(L"q");
    const std::wstring upper = typed(L"Q");
    toggleCapsLock();
    pumpUntil([&] { return ((::GetKeyState(VK_CAPITAL) & 1) != 0) == wasOn; });
    EXPECT_EQ(lower, L"q");
    EXPECT_EQ(upper, L"Q");
}

TEST_F(TypingTarget, ArrowItemsMoveTheCaret) {
    setText(L"abc");
    typeSendKeysItem(L"{LEFT}");
    EXPECT_TRUE(pumpUntil([&] { return caret() == 2; }));
    typeSendKeysItem(L"x");
    EXPECT_TRUE(pumpUntil([&] { return text() == L"abxc"; })) << text().c_str();
    typeSendKeysItem(L"{RIGHT}");
    EXPECT_TRUE(pumpUntil([&] { return caret() == 4; }));
}

TEST_F(TypingTarget, KeyEventCarriesScanCodeAndExtendedBit) {
    setText(L"abc");
    sendKeyEvent(VK_LEFT, false);
    sendKeyEvent(VK_LEFT, true);
    sendKeyEvent(VK_BACK, false);
    sendKeyEvent(VK_BACK, true);
    ASSERT_TRUE(pumpUntil([&] { return keyMessages_.size() >= 4; }));
    const auto scanCode = [](LPARAM lParam) { return (static_cast<UINT>(lParam) >> 16) & 0xFF; };
    const auto extended = [](LPARAM lParam) { return (static_cast<UINT>(lParam) >> 24) & 1; };
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(keyMessages_[i].message, expected[i].first) << i;
        EXPECT_EQ(keyMessages_[i].virtualKey, expected[i].second) << i;
        EXPECT_EQ(scanCode(keyMessages_[i].lParam),
                  ::MapVirtualKeyW(static_cast<UINT>(expected[i].second), MAPVK_VK_TO_VSC))
            << i;
        EXPECT_NE(scanCode(keyMessages_[i].lParam), 0u) << i;
    }
    EXPECT_EQ(extended(keyMessages_[0].lParam), 1u);
    EXPECT_EQ(extended(keyMessages_[1].lParam), 1u);
    EXPECT_EQ(extended(keyMessages_[2].lParam), 0u);
    EXPECT_EQ(extended(keyMessages_[3].lParam), 0u);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac"; })) << text().c_str();
}

TEST_F(TypingTarget, KeyStringsTypeThroughTheSystemOutput) {
    bool useSafeMode = false;
    int doneCount = 0;
    SystemKeyOutput out(useSafeMode, [&] { ++doneCount; });
    setText(L"");
    sendKeyString(L"ab{BKSP}c+", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac+"; })) << text().c_str();
    EXPECT_EQ(doneCount, 1);

    useSafeMode = true;
    setText(L"xy");
    sendKeyString(L"{BKSP}z", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"xz"; })) << text().c_str();
    EXPECT_EQ(doneCount, 2);
}

}  // namespace
}  // namespace tapkeys
