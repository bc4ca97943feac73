#pragma once
// Characters as word prediction sees them: UTF-8 for the word files, case folding that does not depend
// on the C locale (the program never sets one), and which characters make up a word.

#include <string>
#include <string_view>

namespace tapkeys {

std::wstring fromUtf8(std::string_view text);
std::string toUtf8(std::wstring_view text);

// Simple one-to-one case mappings of Latin (Basic, Latin-1, Extended-A), Greek and Cyrillic letters;
// every other character maps to itself.
wchar_t lowerCase(wchar_t c);
wchar_t upperCase(wchar_t c);
bool isUpperCase(wchar_t c);
std::wstring lowerCased(std::wstring_view text);

// Letters, digits, the apostrophe and the hyphen inside a word; anything else ends it.
bool isWordCharacter(wchar_t c);

}  // namespace tapkeys
