#include "output/key_string_sender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tapkeys {
namespace {

using Events = std::vector<std::wstring>;

std::wstring hex(std::uint8_t virtualKey) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02X", virtualKey);
    return text;
}

Events keys(std::wstring_view item) {
    return {L"keys " + std::wstring(item)};
}
Events press(std::uint8_t virtualKey) {
    return {L"down " + hex(virtualKey), L"up " + hex(virtualKey)};
}
Events pause10() {
    return {L"pause 10"};
}
Events done() {
    return {L"done"};
}

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Events charNudge = keys(L"{LEFT}") + pause10() + keys(L"{RIGHT}") + pause10();
const Events backspaceNudge = press(0x25) + pause10() + press(0x27) + pause10();

class RecordingOutput final : public KeyOutput {
public:
    Events events;
    bool safe = false;
    // Runs inside every pause, as a handler dispatched during the wait would.
    std::function<void()> duringPause;

    void sendKeys(std::wstring_view item) override { events.push_back(L"keys " + std::wstring(item)); }
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override {
        events.push_back((keyUp ? L"up " : L"down ") + hex(virtualKey));
    }
    void pause(int milliseconds) override {
        events.push_back(L"pause " + std::to_wstring(milliseconds));
        if (duringPause) duringPause();
    }
    bool safeMode() const override { return safe; }
    void keyStringDone() override { events.push_back(L"done"); }
};

Events walk(std::wstring_view keyString, bool safe = false) {
    RecordingOutput out;
    out.safe = safe;
    sendKeyString(keyString, out);
    return out.events;
}

TEST(KeyStringSender, PlainCharactersGoOutOneByOneInOrder) {
    EXPECT_EQ(walk(L"a"), keys(L"a") + done());
    EXPECT_EQ(walk(L" "), keys(L" ") + done());
    EXPECT_EQ(walk(L"\u00e9"), keys(L"\u00e9") + done());
    EXPECT_EQ(walk(L"ab{TAB}c"), keys(L"a") + keys(L"b") + press(0x09) + keys(L"c") + done());
}

TEST(KeyStringSender, ReservedCharactersAreBracedAndOthersAreNot) {
    for (const wchar_t c : std::wstring_view(L"()[]}+^%~")) {
        const std::wstring character(1, c);
        EXPECT_EQ(walk(character), keys(L"{" + character + L"}") + done()) << "character " << character;
    }
    EXPECT_EQ(walk(L"-"), keys(L"-") + done());
    EXPECT_EQ(walk(L"<"), keys(L"<") + done());
}

TEST(KeyStringSender, EveryKeyNameGivesItsVirtualKey) {
    const std::vector<std::pair<std::wstring, std::uint8_t>> names{
        {L"BACKSPACE", 0x08}, {L"BS", 0x08},         {L"BKSP", 0x08},    {L"BREAK", 0x13},
        {L"CAPSLOCK", 0x14},  {L"DELETE", 0x2E},     {L"DEL", 0x2E},     {L"DOWN", 0x28},
        {L"UP", 0x26},        {L"LEFT", 0x25},       {L"RIGHT", 0x27},   {L"END", 0x23},
        {L"ENTER", 0x0D},     {L"HOME", 0x24},       {L"ESC", 0x1B},     {L"HELP", 0x2F},
        {L"INSERT", 0x2D},    {L"INS", 0x2D},        {L"NUMLOCK", 0x90}, {L"PGUP", 0x21},
        {L"PGDN", 0x22},      {L"SCROLLLOCK", 0x91}, {L"TAB", 0x09},     {L"WIN", 0x5B},
        {L"APPS", 0x5D},      {L"PRINT", 0x2C},
    };
    for (const auto& [name, virtualKey] : names) {
        EXPECT_EQ(walk(L"{" + name + L"}"), press(virtualKey) + done()) << name;
    }
    for (int n = 1; n <= 16; ++n) {
        const std::wstring name = L"F" + std::to_wstring(n);
        EXPECT_EQ(walk(L"{" + name + L"}"), press(static_cast<std::uint8_t>(0x6F + n)) + done()) << name;
    }
}

TEST(KeyStringSender, NamesIgnoreCase) {
    EXPECT_EQ(walk(L"{bksp}"), press(0x08) + done());
    EXPECT_EQ(walk(L"{BackSpace}"), press(0x08) + done());
    EXPECT_EQ(walk(L"{eNtEr}"), press(0x0D) + done());
    EXPECT_EQ(walk(L"{f12}"), press(0x7B) + done());
}

TEST(KeyStringSender, ClosingCharacterIsSkippedUnseen) {
    EXPECT_EQ(walk(L"{BACKSPACE}x"), press(0x08) + keys(L"x") + done());
    EXPECT_EQ(walk(L"{TAB)y"), press(0x09) + keys(L"y") + done());
    // The first name that matches wins, even inside a longer word.
    EXPECT_EQ(walk(L"{ESCAPE}"), press(0x1B) + keys(L"P") + keys(L"E") + keys(L"{}}") + done());
}

TEST(KeyStringSender, NamedKeyAtTheEndNeedsNoClosingCharacter) {
    EXPECT_EQ(walk(L"{BS"), press(0x08) + done());
    EXPECT_EQ(walk(L"{F1"), press(0x70) + done());
    EXPECT_EQ(walk(L"{F10"), press(0x79) + done());
    EXPECT_EQ(walk(L"a{enter"), keys(L"a") + press(0x0D) + done());
}

TEST(KeyStringSender, BraceThatStartsNoNameTypesItself) {
    EXPECT_EQ(walk(L"{"), keys(L"{{}") + done());
    EXPECT_EQ(walk(L"{x"), keys(L"{{}") + keys(L"x") + done());
    EXPECT_EQ(walk(L"{FOO}"), keys(L"{{}") + keys(L"F") + keys(L"O") + keys(L"O") + keys(L"{}}") + done());
    EXPECT_EQ(walk(L"{{ENTER}"), keys(L"{{}") + press(0x0D) + done());
    EXPECT_EQ(walk(L"{", true), charNudge + keys(L"{{}") + done());
}

TEST(KeyStringSender, SafeModeNudgesBeforeEveryCharacter) {
    EXPECT_EQ(walk(L"a", true), charNudge + keys(L"a") + done());
    EXPECT_EQ(walk(L"+b", true), charNudge + keys(L"{+}") + charNudge + keys(L"b") + done());
}

TEST(KeyStringSender, SafeModeNudgesBeforeBackspaceWithRawArrowKeys) {
    EXPECT_EQ(walk(L"{BKSP}", true), backspaceNudge + press(0x08) + done());
    EXPECT_EQ(walk(L"{bs}", true), backspaceNudge + press(0x08) + done());
}

TEST(KeyStringSender, OtherNamedKeysGoOutBareInSafeMode) {
    EXPECT_EQ(walk(L"{ENTER}", true), press(0x0D) + done());
    EXPECT_EQ(walk(L"{TAB}{ESC}{DEL}", true), press(0x09) + press(0x1B) + press(0x2E) + done());
}

TEST(KeyStringSender, DoneComesOnceAtTheEndEvenForAnEmptyString) {
    EXPECT_EQ(walk(L""), done());
    EXPECT_EQ(walk(L"", true), done());
    const Events events = walk(L"ab{BS}c", true);
    EXPECT_EQ(std::count(events.begin(), events.end(), L"done"), 1);
    EXPECT_EQ(events.back(), L"done");
}

TEST(KeyStringSender, SafeModeIsReadAfreshAfterEveryPause) {
    RecordingOutput out;
    out.safe = true;
    out.duringPause = [&] { out.safe = false; };
    sendKeyString(L"ab{BS}", out);
    // The nudge that had begun is finished; the next items see the new setting.
    EXPECT_EQ(out.events, charNudge + keys(L"a") + keys(L"b") + press(0x08) + done());

    RecordingOutput later;
    later.safe = true;
    later.duringPause = [&] { later.safe = false; };
    sendKeyString(L"{BS}{BS}", later);
    EXPECT_EQ(later.events, backspaceNudge + press(0x08) + press(0x08) + done());
}

TEST(KeyStringSender, KeyPressedDuringAPauseIsSentCompletelyInsideIt) {
    RecordingOutput out;
    out.safe = true;
    bool nested = false;
    out.duringPause = [&] {
        if (std::exchange(nested, true)) return;
        out.safe = false;
        sendKeyString(L"x", out);
        out.safe = true;
    };
    sendKeyString(L"a", out);
    EXPECT_EQ(out.events, keys(L"{LEFT}") + pause10() + keys(L"x") + done() + keys(L"{RIGHT}") + pause10() +
                              keys(L"a") + done());
}

TEST(KeyStringSender, WalkKeepsItsOwnCopyOfTheString) {
    std::wstring keyString = L"ab";
    RecordingOutput out;
    out.safe = true;
    out.duringPause = [&] { keyString.assign(1000, L'z'); };
    sendKeyString(keyString, out);
    EXPECT_EQ(out.events, charNudge + keys(L"a") + charNudge + keys(L"b") + done());
}

TEST(KeyStringSender, SurrogatePairIsOneCharacter) {
    const std::wstring grin{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(walk(grin, true), charNudge + keys(grin) + done());
}

}  // namespace
}  // namespace tapkeys
