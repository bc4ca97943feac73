#include "output/send_keys.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "output/keystroke_plan.h"
#include "output/target_caps_lock.h"
#include "output/virtual_keys.h"
#include "win32/foreground_window.h"

namespace tapkeys {
namespace {

static_assert(keystroke_flags::extendedKey == KEYEVENTF_EXTENDEDKEY);
static_assert(keystroke_flags::keyUp == KEYEVENTF_KEYUP);
static_assert(keystroke_flags::unicode == KEYEVENTF_UNICODE);
static_assert(vk::cancel == VK_CANCEL && vk::back == VK_BACK && vk::tab == VK_TAB && vk::enter == VK_RETURN);
static_assert(vk::shift == VK_SHIFT && vk::control == VK_CONTROL && vk::menu == VK_MENU &&
              vk::pause == VK_PAUSE);
static_assert(vk::capsLock == VK_CAPITAL && vk::escape == VK_ESCAPE && vk::pageUp == VK_PRIOR &&
              vk::pageDown == VK_NEXT);
static_assert(vk::end == VK_END && vk::home == VK_HOME && vk::left == VK_LEFT && vk::up == VK_UP &&
              vk::right == VK_RIGHT && vk::down == VK_DOWN);
static_assert(vk::printScreen == VK_SNAPSHOT && vk::insert == VK_INSERT && vk::del == VK_DELETE &&
              vk::help == VK_HELP);
static_assert(vk::leftWin == VK_LWIN && vk::rightWin == VK_RWIN && vk::apps == VK_APPS &&
              vk::divide == VK_DIVIDE);
static_assert(vk::f(1) == VK_F1 && vk::f(9) == VK_F9 && vk::f(10) == VK_F10 && vk::f(16) == VK_F16);
static_assert(vk::numLock == VK_NUMLOCK && vk::scrollLock == VK_SCROLL && vk::rightControl == VK_RCONTROL &&
              vk::rightMenu == VK_RMENU);

// ToUnicodeEx flag (Windows 10 1607 and later): leave the keyboard state, dead keys included, alone.
constexpr UINT keepKeyboardState = 0x4;

// The layout of the thread that will receive the keystrokes, which need not be this thread's.
class ForegroundLayout final : public KeyboardLayout {
public:
    ForegroundLayout() : thread_(foregroundWindow().thread), layout_(::GetKeyboardLayout(thread_)) {}

    std::optional<LayoutKey> keyFor(wchar_t character) const override {
        return layoutKeyFromScanResult(::VkKeyScanExW(character, layout_));
    }

    // Asking ToUnicodeEx took a twentieth of a key's latency under Wine, and what a key types with given
    // modifiers and Caps Lock never changes while its layout is loaded (a changed layout is loaded under
    // a handle of its own), so each answer is kept.
    std::wstring typedBy(LayoutKey key) const override {
        if (!capsLockOn_) capsLockOn_ = capsLockOn();  // asked only when a key types
        thread_local std::map<std::tuple<HKL, std::uint8_t, std::uint8_t, bool>, std::wstring> known;
        const auto question = std::tuple{layout_, key.virtualKey, key.modifiers, *capsLockOn_};
        if (const auto answer = known.find(question); answer != known.end()) return answer->second;
        return known[question] = askTypedBy(key);
    }

    std::uint16_t scanCode(std::uint8_t virtualKey) const override {
        return static_cast<std::uint16_t>(::MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout_));
    }

    std::uint8_t virtualKey(std::uint16_t scanCode) const override {
        return static_cast<std::uint8_t>(::MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK_EX, layout_));
    }

private:
    std::wstring askTypedBy(LayoutKey key) const {
        BYTE state[256] = {};
        if (key.modifiers & modifier_bits::shift) state[VK_SHIFT] = 0x80;
        if (key.modifiers & modifier_bits::control) state[VK_CONTROL] = 0x80;
        if (key.modifiers & modifier_bits::alt) state[VK_MENU] = 0x80;
        if (*capsLockOn_) state[VK_CAPITAL] = 0x01;
        wchar_t typed[8];
        const int count = ::ToUnicodeEx(key.virtualKey, scanCode(key.virtualKey), state, typed, 8,
                                        keepKeyboardState, layout_);
        return count > 0 ? std::wstring(typed, static_cast<size_t>(count)) : std::wstring();
    }

    DWORD thread_;
    HKL layout_;
    mutable std::optional<bool> capsLockOn_;
};

// One SendInput call for the whole item, so no keystroke of the user's can fall between its
// modifiers and its key.
void send(const std::vector<KeyStroke>& strokes) {
    if (strokes.empty()) return;
    std::vector<INPUT> inputs(strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = strokes[i].virtualKey;
        inputs[i].ki.wScan = strokes[i].scanCode;
        inputs[i].ki.dwFlags = strokes[i].flags;
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void typeSendKeysItem(std::wstring_view item) {
    send(planSendKeysItem(item, ForegroundLayout()));
}

void typePositionKey(const PositionKey& key) {
    send(planPositionKey(key, ForegroundLayout()));
}

void sendKeyEvent(std::uint8_t virtualKey, bool keyUp) {
    send({planKeyEvent(virtualKey, keyUp, ForegroundLayout())});
}

}  // namespace tapkeys
