#include "output/key_string_sender.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace tapkeys {
namespace {

// What the walk sends, one token per event: an item as sendKeys got it, "v13" / "^13" for a press or a
// release of a virtual key, "p10" for a pause, "." for the end of the key string.
class RecordingOutput final : public KeyOutput {
public:
    std::wstring events;
    bool safe = false;
    std::function<void()> duringPause;  // as a handler dispatched during the wait would run

    void sendKeys(std::wstring_view item) override { events += std::wstring(item) + L"|"; }
    void positionKey(const PositionKey& key) override {
        events += L"k" + std::to_wstring(key.scanCode) + (key.shifted ? L"+" : L"") + key.shown + L"|";
    }
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override {
        events += (keyUp ? L"^" : L"v") + std::to_wstring(virtualKey) + L"|";
    }
    void pause(int milliseconds) override {
        events += L"p" + std::to_wstring(milliseconds) + L"|";
        if (duringPause) duringPause();
    }
    bool safeMode() const override { return safe; }
    void keyStringDone() override { events += L".|"; }
};

std::wstring walk(std::wstring_view keyString, bool safe = false,
                  std::function<void(RecordingOutput&)> duringPause = {}) {
    RecordingOutput out;
    out.safe = safe;
    if (duringPause) out.duringPause = [&] { duringPause(out); };
    sendKeyString(keyString, out);
    return out.events;
}

const std::wstring nudge = L"{LEFT}|p10|{RIGHT}|p10|", backspaceNudge = L"v37|^37|p10|v39|^39|p10|";
const std::wstring grin{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};

// Names match without regard to case, and a name that begins with another one wins over it; the closing
// character is skipped unseen and may be missing at the end; a brace that starts no name, and every
// reserved character, types itself in braces. Safe mode nudges before every character (a surrogate
// pair is one), with raw arrows before a backspace, and not before other named keys.
TEST(KeyStringSender, WalksTheStringItemByItemAndEndsWithDoneOnce) {
    // clang-format off
    const std::tuple<std::wstring, bool, std::wstring> cases[] = {
        {L"", false, L""}, {L"", true, L""}, {L"{bksp}{BackSpace}{bs}{eNtEr}", false, L"v8|^8|v8|^8|v8|^8|v13|^13|"},
        {L"{DELETE}{DEL}{INSERT}{INS}", false, L"v46|^46|v46|^46|v45|^45|v45|^45|"}, {L"{F1}{F10}{F16}", false, L"v112|^112|v121|^121|v127|^127|"},
        {L"{BACKSPACE}x{TAB)y", false, L"v8|^8|x|v9|^9|y|"}, {L"{ESCAPE}", false, L"v27|^27|P|E|{}}|"}, {L"{F1", false, L"v112|^112|"},
        {L"a{enter", false, L"a|v13|^13|"}, {L"{", false, L"{{}|"}, {L"{x", false, L"{{}|x|"}, {L"{FOO}", false, L"{{}|F|O|O|{}}|"},
        {L"{{ENTER}", false, L"{{}|v13|^13|"}, {L"{", true, nudge + L"{{}|"}, {L"+b", true, nudge + L"{+}|" + nudge + L"b|"},
        {L"{BKSP}{bs}", true, backspaceNudge + L"v8|^8|" + backspaceNudge + L"v8|^8|"},
        {L"{TAB}{DEL}", true, L"v9|^9|v46|^46|"}, {grin, true, nudge + grin + L"|"}};
    // clang-format on
    for (const auto& [keyString, safe, expected] : cases) {
        EXPECT_EQ(walk(keyString, safe), expected + L".|") << keyString << (safe ? L" in safe mode" : L"");
    }
    // A physical key is nudged before like a character, and ends its key string too.
    RecordingOutput out;
    sendPositionKey({0x0D, true, L"`"}, out);
    out.safe = true;
    sendPositionKey({0x1E, false, L"a"}, out);
    EXPECT_EQ(out.events, L"k13+`|.|" + nudge + L"k30a|.|");
}

// Handlers run inside the safe-mode pauses: they may change the setting or the string the walk was given.
TEST(KeyStringSender, WhatRunsDuringAPauseSeesAConsistentWalk) {
    EXPECT_EQ(walk(L"ab{BS}", true, [](RecordingOutput& out) { out.safe = false; }), nudge + L"a|b|v8|^8|.|");
    EXPECT_EQ(walk(L"{BS}{BS}", true, [](RecordingOutput& out) { out.safe = false; }),
              backspaceNudge + L"v8|^8|v8|^8|.|");
    std::wstring keyString = L"ab";
    EXPECT_EQ(walk(keyString, true, [&](RecordingOutput&) { keyString.assign(1000, L'z'); }),
              nudge + L"a|" + nudge + L"b|.|");
}

}  // namespace
}  // namespace tapkeys
