#include "output/target_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "keyboard/runtime/unique_handle.h"

namespace tapkeys {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Processes this thread's messages until `done` holds or `limit` has passed.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// A plain top-level window of the test thread: the keyboard, or its options dialog.
class OwnWindow {
public:
    OwnWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"tapkeysTargetTestOwn";
        ::RegisterClassW(&wc);  // a second registration fails harmlessly
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 300, 300,
                                  150, nullptr, nullptr, wc.hInstance, nullptr);
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;
    ~OwnWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// A top-level window with an edit field, run by a thread of its own: the application typed into.
// WM_APP makes its thread stop answering until unblock(), like a busy application.
class ForeignEditWindow {
public:
    ForeignEditWindow() : thread_([this] { run(); }) { ::WaitForSingleObject(ready_.get(), INFINITE); }
    ForeignEditWindow(const ForeignEditWindow&) = delete;
    ForeignEditWindow& operator=(const ForeignEditWindow&) = delete;
    ~ForeignEditWindow() {
        unblock();
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }

    HWND window() const { return window_; }
    std::wstring text() const {
        std::wstring text(textLength() + 1, L'\0');
        text.resize(::SendMessageW(edit_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
        return text;
    }
    std::size_t textLength() const { return ::SendMessageW(edit_, WM_GETTEXTLENGTH, 0, 0); }
    void clear() const { ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }

    void block() const {
        ::PostMessageW(window_, WM_APP, 0, 0);
        ::WaitForSingleObject(blocked_.get(), INFINITE);
    }
    void unblock() const { ::SetEvent(unblock_.get()); }

private:
    static constexpr int kEditId = 1;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_SETFOCUS: return ::SetFocus(::GetDlgItem(hwnd, kEditId)), 0;
            case WM_APP: return self(hwnd)->onBlock(), 0;
            case WM_DESTROY: return ::PostQuitMessage(0), 0;
            default: return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
    static ForeignEditWindow* self(HWND hwnd) {
        return reinterpret_cast<ForeignEditWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    void onBlock() const {
        ::ResetEvent(unblock_.get());
        ::SetEvent(blocked_.get());
        ::WaitForSingleObject(unblock_.get(), 10'000);
    }

    void run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"tapkeysTargetTestForeign";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, L"target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                    100, 300, 150, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 5, 5,
                                  280, 25, window_, reinterpret_cast<HMENU>(kEditId), wc.hInstance, nullptr);
        ::SetEvent(ready_.get());
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle blocked_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    KernelHandle unblock_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    std::thread thread_;  // last: the thread starts once every other member is set
};

// Puts a window in front and waits until its thread has activated it.
bool bringToFront(HWND window) {
    ::SetForegroundWindow(window);
    return pumpUntil([&] { return ::GetForegroundWindow() == window; }, 2s);
}

// Lets the own window take the foreground and the focus, as a touch on the keyboard does.
void activateOwn(const OwnWindow& own) {
    ::SetForegroundWindow(own.hwnd());
    if (!pumpUntil([&] { return ::GetForegroundWindow() == own.hwnd() && ::GetFocus() == own.hwnd(); }, 2s)) {
        ADD_FAILURE() << "the own window did not come to the front";
    }
}

void typeCharacter(wchar_t character) {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = character;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

wchar_t characterNumber(int i) {
    return L"abcdefghijklmnopqrstuvwxyz0123456789"[i % 36];
}

// The keyboard's round trip `count` times: own window in front, hand-back, one keystroke at once.
// Returns how many keystrokes reached the target's edit field.
int typeAfterHandBack(const OwnWindow& own, const ForeignEditWindow& target, int count,
                      const std::function<void(HWND)>& handBack, std::chrono::milliseconds patience) {
    int reached = 0;
    for (int i = 0; i < count; ++i) {
        activateOwn(own);
        const std::size_t before = target.textLength();
        handBack(target.window());
        typeCharacter(characterNumber(i));
        if (pumpUntil([&] { return target.textLength() > before; }, patience)) ++reached;
    }
    return reached;
}

TEST(ForeignForegroundWindow, IsNoneWhileAWindowOfTheOwnThreadIsInFront) {
    OwnWindow keyboard;
    OwnWindow dialog;
    ASSERT_TRUE(bringToFront(keyboard.hwnd()));
    EXPECT_EQ(getForeignForegroundWindow(keyboard.hwnd()), nullptr);
    ASSERT_TRUE(bringToFront(dialog.hwnd()));
    EXPECT_EQ(getForeignForegroundWindow(keyboard.hwnd()), nullptr);
}

TEST(ForeignForegroundWindow, IsTheWindowOfAnotherThreadInFront) {
    OwnWindow keyboard;
    ForeignEditWindow foreign;
    ASSERT_TRUE(bringToFront(foreign.window()));
    EXPECT_EQ(getForeignForegroundWindow(keyboard.hwnd()), foreign.window());
}

TEST(TargetTracker, KeepsTheLastForeignWindowWhileOwnWindowsAreInFront) {
    OwnWindow keyboard;
    ForeignEditWindow first;
    ForeignEditWindow second;
    TargetTracker tracker;

    ASSERT_TRUE(bringToFront(keyboard.hwnd()));
    tracker.tick(keyboard.hwnd());
    EXPECT_EQ(tracker.targetWindow(), nullptr);

    ASSERT_TRUE(bringToFront(first.window()));
    tracker.tick(keyboard.hwnd());
    EXPECT_EQ(tracker.targetWindow(), first.window());

    ASSERT_TRUE(bringToFront(keyboard.hwnd()));
    tracker.tick(keyboard.hwnd());
    EXPECT_EQ(tracker.targetWindow(), first.window());

    ASSERT_TRUE(bringToFront(second.window()));
    tracker.tick(keyboard.hwnd());
    ASSERT_TRUE(bringToFront(keyboard.hwnd()));
    tracker.tick(keyboard.hwnd());
    EXPECT_EQ(tracker.targetWindow(), second.window());
}

TEST(HandBack, EveryKeystrokeSentRightAfterTheHandBackReachesTheTarget) {
    OwnWindow keyboard;
    ForeignEditWindow target;

    // Not asserted: how many keystrokes the foreground switch alone lets through.
    constexpr int kUnwaited = 100;
    const int unwaited = typeAfterHandBack(
        keyboard, target, kUnwaited, [](HWND window) { ::SetForegroundWindow(window); }, 50ms);
    std::printf("without waiting for the focus, %d of %d keystrokes reached the target\n", unwaited,
                kUnwaited);
    target.clear();

    constexpr int kKeystrokes = 300;
    int ready = 0;
    const int reached = typeAfterHandBack(
        keyboard, target, kKeystrokes, [&](HWND window) { ready += giveForegroundTo(window) ? 1 : 0; },
        250ms);
    EXPECT_EQ(ready, kKeystrokes);
    EXPECT_EQ(reached, kKeystrokes);
    std::wstring expected;
    for (int i = 0; i < kKeystrokes; ++i) expected += characterNumber(i);
    EXPECT_EQ(target.text(), expected);
}

TEST(HandBack, ReturnsAtOnceWithoutALiveTarget) {
    EXPECT_FALSE(giveForegroundTo(nullptr));
    HWND closed = nullptr;
    {
        OwnWindow gone;
        closed = gone.hwnd();
    }
    EXPECT_FALSE(giveForegroundTo(closed));
}

TEST(HandBack, GivesUpWhenTheTargetDoesNotAnswer) {
    OwnWindow keyboard;
    ForeignEditWindow target;
    activateOwn(keyboard);
    target.block();
    EXPECT_FALSE(giveForegroundTo(target.window()));
    target.unblock();
}

TEST(HandBack, KeepsAQuitMessageForTheMessageLoop) {
    OwnWindow keyboard;
    ForeignEditWindow target;
    activateOwn(keyboard);
    target.block();
    ::PostQuitMessage(7);
    EXPECT_FALSE(giveForegroundTo(target.window()));
    target.unblock();

    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tapkeys
