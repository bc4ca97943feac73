#include "output/key_string_sender.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace tapkeys {
namespace {

// What the walk sends, one token per event: an item as sendKeys got it, "v0D" / "^0D" for a press or a
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
        wchar_t token[8];
        std::swprintf(token, 8, L"%c%02X|", keyUp ? L'^' : L'v', virtualKey);
        events += token;
    }
    void pause(int milliseconds) override {
        events += L"p" + std::to_wstring(milliseconds) + L"|";
        if (duringPause) duringPause();
    }
    bool safeMode() const override { return safe; }
    void keyStringDone() override { events += L".|"; }
};

std::wstring walk(std::wstring_view keyString, bool safe = false) {
    RecordingOutput out;
    out.safe = safe;
    sendKeyString(keyString, out);
    return out.events;
}

const std::wstring charNudge = L"{LEFT}|p10|{RIGHT}|p10|", backspaceNudge = L"v25|^25|p10|v27|^27|p10|";

// The closing character of a name is skipped unseen and the first name that matches wins; a named key at
// the end needs no closing character; a brace that starts no name types itself. Safe mode nudges before
// every character, with raw arrows before a backspace, and not before other named keys.
TEST(KeyStringSender, WalksTheStringItemByItemAndEndsWithDoneOnce) {
    const std::wstring grin{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    // clang-format off
    const std::tuple<std::wstring, bool, std::wstring> cases[] = {
        {L"", false, L""}, {L"", true, L""},
        {L"ab{TAB}c", false, L"a|b|v09|^09|c|"}, {L"\u00e9 -<", false, L"\u00e9| |-|<|"},
        {L"{bksp}{BackSpace}{eNtEr}{f12}", false, L"v08|^08|v08|^08|v0D|^0D|v7B|^7B|"},
        {L"{BACKSPACE}x{TAB)y", false, L"v08|^08|x|v09|^09|y|"}, {L"{ESCAPE}", false, L"v1B|^1B|P|E|{}}|"},
        {L"{BS", false, L"v08|^08|"}, {L"{F1", false, L"v70|^70|"}, {L"{F10", false, L"v79|^79|"},
        {L"a{enter", false, L"a|v0D|^0D|"}, {L"{", false, L"{{}|"}, {L"{x", false, L"{{}|x|"},
        {L"{FOO}", false, L"{{}|F|O|O|{}}|"}, {L"{{ENTER}", false, L"{{}|v0D|^0D|"},
        {L"{", true, charNudge + L"{{}|"}, {L"+b", true, charNudge + L"{+}|" + charNudge + L"b|"},
        {L"{BKSP}{bs}", true, backspaceNudge + L"v08|^08|" + backspaceNudge + L"v08|^08|"},
        {L"{ENTER}{TAB}{ESC}{DEL}", true, L"v0D|^0D|v09|^09|v1B|^1B|v2E|^2E|"}, {grin, true, charNudge + grin + L"|"}};
    // clang-format on
    for (const auto& [keyString, safe, expected] : cases) {
        EXPECT_EQ(walk(keyString, safe), expected + L".|") << keyString << (safe ? L" in safe mode" : L"");
    }
    for (const wchar_t c : std::wstring_view(L"()[]}+^%~")) {
        EXPECT_EQ(walk(std::wstring(1, c)), L"{" + std::wstring(1, c) + L"}|.|")
            << std::wstring(1, c) << L" is reserved";
    }
}

TEST(KeyStringSender, PositionKeyIsNudgedInSafeModeAndEndsTheKeyString) {
    RecordingOutput out;
    sendPositionKey({0x0D, true, L"`"}, out);
    out.safe = true;
    sendPositionKey({0x1E, false, L"a"}, out);
    EXPECT_EQ(out.events, L"k13+`|.|" + charNudge + L"k30a|.|");
}

TEST(KeyStringSender, EveryKeyNameGivesItsVirtualKey) {
    // clang-format off
    std::vector<std::pair<std::wstring, int>> names{
        {L"BACKSPACE", 0x08}, {L"BS", 0x08}, {L"BKSP", 0x08}, {L"BREAK", 0x13}, {L"CAPSLOCK", 0x14},
        {L"DELETE", 0x2E}, {L"DEL", 0x2E}, {L"DOWN", 0x28}, {L"UP", 0x26}, {L"LEFT", 0x25}, {L"RIGHT", 0x27},
        {L"END", 0x23}, {L"ENTER", 0x0D}, {L"HOME", 0x24}, {L"ESC", 0x1B}, {L"HELP", 0x2F}, {L"INSERT", 0x2D},
        {L"INS", 0x2D}, {L"NUMLOCK", 0x90}, {L"PGUP", 0x21}, {L"PGDN", 0x22}, {L"TAB", 0x09},
        {L"SCROLLLOCK", 0x91}, {L"WIN", 0x5B}, {L"APPS", 0x5D}, {L"PRINT", 0x2C}};
    // clang-format on
    for (int n = 1; n <= 16; ++n) names.emplace_back(L"F" + std::to_wstring(n), 0x6F + n);
    for (const auto& [name, virtualKey] : names) {
        wchar_t expected[24];
        std::swprintf(expected, 24, L"v%02X|^%02X|.|", virtualKey, virtualKey);
        EXPECT_EQ(walk(L"{" + name + L"}"), expected) << name;
    }
}

// Handlers run inside the safe-mode pauses: they may change the setting, press another key, or change
// the string the walk was given.
TEST(KeyStringSender, WhatRunsDuringAPauseSeesAConsistentWalk) {
    RecordingOutput out;
    const auto walkWith = [&](std::wstring_view keyString, std::function<void()> duringPause) {
        out = {};
        out.safe = true;
        out.duringPause = std::move(duringPause);
        sendKeyString(keyString, out);
        return out.events;
    };
    // The nudge that had begun is finished; the next items see the new setting.
    EXPECT_EQ(walkWith(L"ab{BS}", [&] { out.safe = false; }), charNudge + L"a|b|v08|^08|.|");
    EXPECT_EQ(walkWith(L"{BS}{BS}", [&] { out.safe = false; }), backspaceNudge + L"v08|^08|v08|^08|.|");
    bool nested = false;
    EXPECT_EQ(walkWith(L"a",
                       [&] {
                           if (std::exchange(nested, true)) return;
                           out.safe = false;
                           sendKeyString(L"x", out);
                           out.safe = true;
                       }),
              L"{LEFT}|p10|x|.|{RIGHT}|p10|a|.|");
    std::wstring keyString = L"ab";
    EXPECT_EQ(walkWith(keyString, [&] { keyString.assign(1000, L'z'); }),
              charNudge + L"a|" + charNudge + L"b|.|");
}

}  // namespace
}  // namespace tapkeys
