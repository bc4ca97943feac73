#include "output/named_keys.h"

#include <array>

#include "output/virtual_keys.h"
#include "win32/ascii_case.h"

namespace tapkeys {
namespace {

struct NamedKey {
    std::wstring_view name;
    std::uint8_t virtualKey;
};

// The first match wins, so a name that begins with another name comes before it: DELETE before DEL,
// INSERT before INS, F10 to F16 before F1.
// clang-format off
constexpr std::array<NamedKey, 42> namedKeys{{
    {L"BACKSPACE", vk::back}, {L"BS", vk::back},       {L"BKSP", vk::back},            {L"BREAK", vk::pause},
    {L"CAPSLOCK", vk::capsLock}, {L"DELETE", vk::del}, {L"DEL", vk::del},              {L"DOWN", vk::down},
    {L"UP", vk::up},          {L"LEFT", vk::left},     {L"RIGHT", vk::right},          {L"END", vk::end},
    {L"ENTER", vk::enter},    {L"HOME", vk::home},     {L"ESC", vk::escape},           {L"HELP", vk::help},
    {L"INSERT", vk::insert},  {L"INS", vk::insert},    {L"NUMLOCK", vk::numLock},      {L"PGUP", vk::pageUp},
    {L"PGDN", vk::pageDown},  {L"SCROLLLOCK", vk::scrollLock}, {L"TAB", vk::tab},      {L"F10", vk::f(10)},
    {L"F11", vk::f(11)},      {L"F12", vk::f(12)},     {L"F13", vk::f(13)},            {L"F14", vk::f(14)},
    {L"F15", vk::f(15)},      {L"F16", vk::f(16)},     {L"F1", vk::f(1)},              {L"F2", vk::f(2)},
    {L"F3", vk::f(3)},        {L"F4", vk::f(4)},       {L"F5", vk::f(5)},              {L"F6", vk::f(6)},
    {L"F7", vk::f(7)},        {L"F8", vk::f(8)},       {L"F9", vk::f(9)},              {L"WIN", vk::leftWin},
    {L"APPS", vk::apps},      {L"PRINT", vk::printScreen},
}};
// clang-format on

bool startsWithName(std::wstring_view text, std::wstring_view name) {
    if (text.size() < name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (asciiUpper(text[i]) != name[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<NamedKeyMatch> matchNamedKey(std::wstring_view text) {
    for (const NamedKey& key : namedKeys) {
        if (startsWithName(text, key.name)) return NamedKeyMatch{key.virtualKey, key.name.size()};
    }
    return std::nullopt;
}

}  // namespace tapkeys
