#include "keyboard/word_prediction.h"

#include <algorithm>

#include "keyboard/word_text.h"
#include "output/named_keys.h"
#include "output/virtual_keys.h"

namespace tapkeys {
namespace {

constexpr std::size_t kKeptCharacters = 400;
// Between two readings a user types a word or two; a larger jump is the caret moved into older text,
// whose words are not learned again.
constexpr std::size_t kMostTypedBetweenReadings = 64;

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == 0xA0;
}
bool endsSentence(wchar_t c) {
    return c == L'.' || c == L'!' || c == L'?';
}
bool closesQuote(wchar_t c) {
    return c == L'"' || c == L'\'' || c == L')' || c == 0x201D || c == 0x2019;
}

std::size_t wordStart(std::wstring_view text, std::size_t end) {
    while (end > 0 && isWordCharacter(text[end - 1])) --end;
    return end;
}

}  // namespace

WordAtCaret wordAtCaret(std::wstring_view before) {
    WordAtCaret at;
    const std::size_t start = wordStart(before, before.size());
    at.typed = before.substr(start);
    // Back over the separators to the previous word; a sentence's end or the field's start cuts it off.
    std::size_t i = start;
    bool spaced = false;
    while (i > 0 && isSpace(before[i - 1])) --i, spaced = true;
    if (i == 0) return at.sentenceStart = true, at;
    std::size_t j = i;
    while (j > 0 && closesQuote(before[j - 1])) --j;
    if (j > 0 && endsSentence(before[j - 1])) return at.sentenceStart = spaced, at;
    while (i > 0 && !isWordCharacter(before[i - 1]) && !endsSentence(before[i - 1])) --i;
    if (i > 0 && isWordCharacter(before[i - 1]))
        at.previous = before.substr(wordStart(before, i), i - wordStart(before, i));
    return at;
}

std::wstring inTypedCase(std::wstring form, std::wstring_view typed, bool sentenceStart) {
    if (form.empty()) return form;
    const bool allCaps = typed.size() >= 2 &&
                         std::ranges::all_of(typed, [](wchar_t c) { return upperCase(c) == c; }) &&
                         std::ranges::any_of(typed, isUpperCase);
    if (allCaps) {
        for (wchar_t& c : form) c = upperCase(c);
    } else if (typed.empty() ? sentenceStart : isUpperCase(typed[0])) {
        form[0] = upperCase(form[0]);
    }
    return form;
}

void applyKeyString(CaretText& text, std::wstring_view keys) {
    std::wstring& t = text.before;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto named = keys[i] == L'{' ? matchNamedKey(keys.substr(i + 1)) : std::nullopt;
        if (!named) {
            t += keys[i];
            continue;
        }
        i += named->nameLength + 1;
        if (named->virtualKey == vk::back && !t.empty()) t.pop_back();
        if (named->virtualKey == vk::back && t.empty() && text.start > 0) --text.start;
        if (named->virtualKey == vk::enter) t += L'\n';
        if (named->virtualKey == vk::tab) t += L'\t';
    }
    if (t.size() > 2 * kKeptCharacters) {
        text.start += t.size() - kKeptCharacters;
        t.erase(0, t.size() - kKeptCharacters);
    }
}

bool WordPrediction::update(const CaretText& now, bool sameField) {
    if (sameField && learning_ && !now.password && !text_.password) learnFinishedWords(text_, now);
    text_ = now;
    std::vector<std::wstring> next;
    const WordAtCaret at = wordAtCaret(now.before);
    if (!now.password) {
        for (std::wstring& form : model_.rank(lowerCased(at.typed), lowerCased(at.previous), cells_))
            next.push_back(inTypedCase(std::move(form), at.typed, at.sentenceStart));
    }
    typedLength_ = at.typed.size();
    if (next == suggestions_) return false;
    suggestions_ = std::move(next);
    return true;
}

std::wstring WordPrediction::completion(std::size_t cell) const {
    if (cell >= suggestions_.size() || suggestions_[cell].size() < typedLength_) return {};
    return suggestions_[cell].substr(typedLength_) + L' ';
}

// Learns each word whose end (the character after it) lies in what changed between the two readings.
void WordPrediction::learnFinishedWords(const CaretText& was, const CaretText& now) {
    const std::size_t wasEnd = was.start + was.before.size(), nowEnd = now.start + now.before.size();
    if (nowEnd <= was.start || now.start > wasEnd) return;  // no text in common: another place in the field
    std::size_t same = std::max(was.start, now.start);
    while (same < std::min(wasEnd, nowEnd) && was.before[same - was.start] == now.before[same - now.start])
        ++same;
    if (nowEnd - same > kMostTypedBetweenReadings) return;
    const std::wstring_view text = now.before;
    for (std::size_t end = same - now.start; end < text.size(); ++end) {
        if (isWordCharacter(text[end]) || end == 0 || !isWordCharacter(text[end - 1])) continue;
        const WordAtCaret at = wordAtCaret(text.substr(0, end));
        // A word cut off by the start of what is known may be the tail of a longer one.
        if (at.typed.data() == text.data() && now.start > 0) continue;
        model_.learn(at.typed, at.previous, at.sentenceStart);
    }
}

}  // namespace tapkeys
