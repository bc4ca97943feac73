#include "output/key_string_sender.h"

#include <string>

#include "output/named_keys.h"
#include "output/utf16.h"
#include "output/virtual_keys.h"

namespace tapkeys {
namespace {

constexpr int nudgePause = 10;

constexpr std::wstring_view reservedCharacters = L"()[]{}+^%~";

// One plain character as SendKeys notation: reserved characters stand in braces to type themselves.
std::wstring sendKeysItem(std::wstring_view character) {
    if (character.size() == 1 && reservedCharacters.find(character[0]) != std::wstring_view::npos) {
        return L"{" + std::wstring(character) + L"}";
    }
    return std::wstring(character);
}

// Safe mode serves text fields that mishandle the keyboard's input: a caret nudge, with time for the
// target to take it, before every character. It is read afresh each time because a pause runs other
// handlers, the options dialog among them.
void nudgeInSafeMode(KeyOutput& out) {
    if (!out.safeMode()) return;
    out.sendKeys(L"{LEFT}");
    out.pause(nudgePause);
    out.sendKeys(L"{RIGHT}");
    out.pause(nudgePause);
}

void typePlain(std::wstring_view character, KeyOutput& out) {
    nudgeInSafeMode(out);
    out.sendKeys(sendKeysItem(character));
}

void pressAndRelease(std::uint8_t virtualKey, KeyOutput& out) {
    out.keyEvent(virtualKey, false);
    out.keyEvent(virtualKey, true);
}

void pressNamedKey(std::uint8_t virtualKey, KeyOutput& out) {
    if (virtualKey == vk::back && out.safeMode()) {
        pressAndRelease(vk::left, out);
        out.pause(nudgePause);
        pressAndRelease(vk::right, out);
        out.pause(nudgePause);
    }
    pressAndRelease(virtualKey, out);
}

}  // namespace

void sendKeyString(std::wstring_view keyStringView, KeyOutput& out) {
    // A copy: the pauses run other handlers, which may replace the string the caller pointed into.
    const std::wstring keyString(keyStringView);
    const std::wstring_view text = keyString;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'{') {
            // A surrogate pair is one item: the safe-mode nudge must not come between its halves.
            const std::size_t length = characterLengthAt(text, i);
            typePlain(text.substr(i, length), out);
            i += length;
            continue;
        }
        const std::optional<NamedKeyMatch> named = matchNamedKey(text.substr(i + 1));
        if (!named) {
            // A brace that starts no key name types itself, like any other plain character.
            typePlain(L"{", out);
            ++i;
            continue;
        }
        pressNamedKey(named->virtualKey, out);
        // The closing character is skipped unseen, and may lie past the end.
        i += named->nameLength + 2;
    }
    out.keyStringDone();
}

void sendPositionKey(PositionKey key, KeyOutput& out) {
    nudgeInSafeMode(out);
    out.positionKey(key);
    out.keyStringDone();
}

}  // namespace tapkeys
