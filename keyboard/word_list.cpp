#include "keyboard/word_list.h"

#include <algorithm>
#include <charconv>

#include "keyboard/word_text.h"

namespace tapkeys {
namespace {

struct ParsedWord {
    std::string key, form;
    std::uint32_t count;
};

bool isPlainWord(std::wstring_view word) {
    return !word.empty() && std::ranges::all_of(word, isWordCharacter);
}

}  // namespace

WordList WordList::parse(std::string_view text) {
    std::vector<ParsedWord> words;
    std::uint32_t line = 0;
    constexpr std::uint32_t kUnranked = 1'000'000;  // counts given to lines without one, falling by line
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view row = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line == 0 && row.starts_with("\xEF\xBB\xBF")) row.remove_prefix(3);
        ++line;
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        const std::size_t tab = row.find('\t');
        std::uint32_t count = line < kUnranked ? kUnranked - line : 1;
        if (tab != std::string_view::npos) {
            const std::string_view number = row.substr(tab + 1);
            std::uint64_t value = 0;
            const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
            if (error != std::errc{} || value == 0) continue;
            count = static_cast<std::uint32_t>(std::min<std::uint64_t>(value, UINT32_MAX));
            row = row.substr(0, tab);
        }
        const std::wstring form = fromUtf8(row);
        if (!isPlainWord(form)) continue;
        std::string key = toUtf8(lowerCased(form)), utf8Form = std::string(row);
        if (key.size() > 255 || utf8Form.size() > 255) continue;
        if (utf8Form == key) utf8Form.clear();
        words.push_back({std::move(key), std::move(utf8Form), count});
    }
    // A word listed twice (in two cases, say) keeps its first, most frequent line.
    std::ranges::stable_sort(words, {}, &ParsedWord::key);
    const auto repeats = std::ranges::unique(words, {}, &ParsedWord::key);
    words.erase(repeats.begin(), repeats.end());

    WordList list;
    list.entries_.reserve(words.size());
    for (const ParsedWord& w : words) {
        list.entries_.push_back({static_cast<std::uint32_t>(list.pool_.size()),
                                 static_cast<std::uint8_t>(w.key.size()),
                                 static_cast<std::uint8_t>(w.form.size()), w.count});
        list.pool_ += w.key;
        list.pool_ += w.form;
        list.total_ += w.count;
    }
    list.pool_.shrink_to_fit();
    return list;
}

std::wstring WordList::formOf(const Entry& e) const {
    const std::size_t at = e.formLength != 0 ? e.offset + e.keyLength : e.offset;
    return fromUtf8(std::string_view(pool_).substr(at, e.formLength != 0 ? e.formLength : e.keyLength));
}

std::pair<std::size_t, std::size_t> WordList::rangeOf(std::string_view prefix) const {
    const auto first =
        std::ranges::lower_bound(entries_, prefix, {}, [&](const Entry& e) { return keyOf(e); });
    const auto last =
        std::find_if(first, entries_.end(), [&](const Entry& e) { return !keyOf(e).starts_with(prefix); });
    return {static_cast<std::size_t>(first - entries_.begin()),
            static_cast<std::size_t>(last - entries_.begin())};
}

std::uint32_t WordList::countOf(std::wstring_view folded) const {
    const std::string key = toUtf8(folded);
    const auto it = std::ranges::lower_bound(entries_, std::string_view(key), {},
                                             [&](const Entry& e) { return keyOf(e); });
    return it != entries_.end() && keyOf(*it) == key ? it->count : 0;
}

std::vector<WordList::Word> WordList::mostFrequent(std::wstring_view foldedPrefix, std::size_t limit) const {
    const auto [first, last] = rangeOf(toUtf8(foldedPrefix));
    std::vector<const Entry*> best;
    const auto moreFrequent = [](const Entry* a, const Entry* b) { return a->count > b->count; };
    for (std::size_t i = first; i < last; ++i) {
        const Entry& e = entries_[i];
        if (best.size() == limit && (limit == 0 || e.count <= best.back()->count)) continue;
        if (best.size() == limit) best.pop_back();
        best.insert(std::ranges::upper_bound(best, &e, moreFrequent), &e);
    }
    std::vector<Word> words;
    for (const Entry* e : best) words.push_back({formOf(*e), e->count});
    return words;
}

}  // namespace tapkeys
