#include "output/named_keys.h"

#include <array>

#include "win32/ascii_case.h"

namespace tapkeys {
namespace {

struct NamedKey {
    std::wstring_view name;
    std::uint8_t virtualKey;
};

// The first match wins, so a name that begins with another name comes before it: DELETE before DEL,
// INSERT before INS, F10 to F16 before F1.
constexpr std::array<NamedKey, 42> namedKeys{{
    {L"BACKSPACE", 0x08}, {L"BS", 0x08},         {L"BKSP", 0x08},  {L"BREAK", 0x13},   {L"CAPSLOCK", 0x14},
    {L"DELETE", 0x2E},    {L"DEL", 0x2E},        {L"DOWN", 0x28},  {L"UP", 0x26},      {L"LEFT", 0x25},
    {L"RIGHT", 0x27},     {L"END", 0x23},        {L"ENTER", 0x0D}, {L"HOME", 0x24},    {L"ESC", 0x1B},
    {L"HELP", 0x2F},      {L"INSERT", 0x2D},     {L"INS", 0x2D},   {L"NUMLOCK", 0x90}, {L"PGUP", 0x21},
    {L"PGDN", 0x22},      {L"SCROLLLOCK", 0x91}, {L"TAB", 0x09},   {L"F10", 0x79},     {L"F11", 0x7A},
    {L"F12", 0x7B},       {L"F13", 0x7C},        {L"F14", 0x7D},   {L"F15", 0x7E},     {L"F16", 0x7F},
    {L"F1", 0x70},        {L"F2", 0x71},         {L"F3", 0x72},    {L"F4", 0x73},      {L"F5", 0x74},
    {L"F6", 0x75},        {L"F7", 0x76},         {L"F8", 0x77},    {L"F9", 0x78},      {L"WIN", 0x5B},
    {L"APPS", 0x5D},      {L"PRINT", 0x2C},
}};

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
