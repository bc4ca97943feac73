#include "keyboard/word_list.h"

#include <algorithm>
#include <charconv>

#include "keyboard/word_text.h"

namespace tapkeys {
namespace {

bool isPlainWord(std::wstring_view word) {
    return !word.empty() && std::ranges::all_of(word, isWordCharacter);
}

}  // namespace

// Lines go straight into the pool and the entries, which are then sorted where they lie, so reading
// needs little more memory than the list keeps: what a reading touches stays in the process.
WordList WordList::parse(std::string_view text) {
    WordList list;
    list.entries_.reserve(static_cast<std::size_t>(std::ranges::count(text, '\n')) + 1);
    list.pool_.reserve(text.size());
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        list.addLine(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    list.finish();
    return list;
}

WordList WordList::read(std::istream& in, std::size_t sizeHint) {
    WordList list;
    list.entries_.reserve(sizeHint / 10);
    list.pool_.reserve(sizeHint * 3 / 4);
    for (std::string row; std::getline(in, row);) list.addLine(row);
    list.finish();
    return list;
}

void WordList::addLine(std::string_view row) {
    if (lines_ == 0 && row.starts_with("\xEF\xBB\xBF")) row.remove_prefix(3);
    ++lines_;
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
    const std::size_t tab = row.find('\t');
    constexpr std::uint32_t kUnranked = 1'000'000;  // counts given to lines without one, falling by line
    std::uint32_t count = lines_ < kUnranked ? kUnranked - lines_ : 1;
    if (tab != std::string_view::npos) {
        const std::string_view number = row.substr(tab + 1);
        std::uint64_t value = 0;
        const auto [last, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc{} || last != number.data() + number.size() || value == 0) return;
        count = static_cast<std::uint32_t>(std::min<std::uint64_t>(value, UINT32_MAX));
        row = row.substr(0, tab);
    }
    const std::wstring form = fromUtf8(row);
    if (!isPlainWord(form)) return;
    const std::string key = toUtf8(lowerCased(form));
    if (key.size() > 255 || row.size() > 255) return;
    const bool sameForm = key == row;
    entries_.push_back({static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint8_t>(key.size()),
                        static_cast<std::uint8_t>(sameForm ? 0 : row.size()), count});
    pool_ += key;
    if (!sameForm) pool_ += row;
}

void WordList::finish() {
    // A word listed twice (in two cases, say) keeps its first line, which lies first in the pool.
    const auto byKeyThenLine = [&](const Entry& a, const Entry& b) {
        const int order = keyOf(a).compare(keyOf(b));
        return order != 0 ? order < 0 : a.offset < b.offset;
    };
    std::ranges::sort(entries_, byKeyThenLine);
    // The iterator form: clang 14 cannot take the subrange that the ranges form returns from libstdc++ 12.
    const auto sameKey = [&](const Entry& a, const Entry& b) { return keyOf(a) == keyOf(b); };
    entries_.erase(std::unique(entries_.begin(), entries_.end(), sameKey), entries_.end());
    entries_.shrink_to_fit();
    pool_.shrink_to_fit();
    for (const Entry& e : entries_) total_ += e.count;
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
