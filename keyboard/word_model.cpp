#include "keyboard/word_model.h"

#include <algorithm>
#include <charconv>

#include "keyboard/word_text.h"

namespace tapkeys {
namespace {

constexpr double kLearnedWeight = 2.0;
constexpr double kPairWeight = 4.0;
constexpr double kLearnedPrior = 50.0;  // a first learned word weighs like one of the fifty most frequent
constexpr double kRecentWords = 30.0;   // a word typed this many words ago has lost half its recency boost

bool hasLetter(std::wstring_view word) {
    return std::ranges::any_of(word, [](wchar_t c) {
        return isWordCharacter(c) && c != L'\'' && c != L'-' && (c < L'0' || c > L'9');
    });
}

template <typename Number>
bool readNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
        out.push_back(line.substr(0, tab));
    out.push_back(line);
    return out;
}

}  // namespace

double WordModel::score(const std::wstring& key, std::uint32_t listCount, std::wstring_view previous) const {
    double s =
        list_.totalCount() ? static_cast<double>(listCount) / static_cast<double>(list_.totalCount()) : 0;
    if (const auto w = words_.find(key); w != words_.end()) {
        const double age = static_cast<double>(clock_ - w->second.lastUse);
        const double recency = 1.0 + kRecentWords / (kRecentWords + age);
        s +=
            kLearnedWeight * recency * w->second.count / (static_cast<double>(learnedTotal_) + kLearnedPrior);
    }
    if (!previous.empty()) {
        const auto p = pairs_.find({std::wstring(previous), key});
        const auto q = words_.find(std::wstring(previous));
        if (p != pairs_.end() && q != words_.end())
            s += kPairWeight * p->second.count / (static_cast<double>(q->second.count) + 1.0);
    }
    return s;
}

std::vector<std::wstring> WordModel::rank(std::wstring_view prefix, std::wstring_view previous,
                                          std::size_t limit) const {
    struct Candidate {
        std::wstring key, form;
        double score;
    };
    std::vector<Candidate> candidates;
    const auto consider = [&](std::wstring key, std::wstring form, std::uint32_t listCount) {
        if (key == prefix) return;
        const double s = score(key, listCount, previous);
        candidates.push_back({std::move(key), std::move(form), s});
    };
    for (WordList::Word& w : list_.mostFrequent(prefix, limit + 1)) {
        std::wstring key = lowerCased(w.form);
        const auto learned = words_.find(key);
        consider(std::move(key),
                 learned != words_.end() && !learned->second.form.empty() ? learned->second.form
                                                                          : std::move(w.form),
                 w.count);
    }
    const auto learnedForm = [](const std::wstring& key, const Learned& l) {
        return l.form.empty() ? key : l.form;
    };
    // Before any letter the words that follow the previous one and the most frequent ones are offered.
    for (auto it = words_.lower_bound(std::wstring(prefix));
         !prefix.empty() && it != words_.end() && it->first.starts_with(prefix); ++it)
        consider(it->first, learnedForm(it->first, it->second), list_.countOf(it->first));
    if (!previous.empty()) {
        const std::wstring prev(previous);
        for (auto it = pairs_.lower_bound({prev, std::wstring(prefix)});
             it != pairs_.end() && it->first.first == prev && it->first.second.starts_with(prefix); ++it) {
            const std::wstring& key = it->first.second;
            const auto w = words_.find(key);
            consider(key, w != words_.end() ? learnedForm(key, w->second) : key, list_.countOf(key));
        }
    }
    // A word found on two roads has one score: the first of its copies stays.
    std::ranges::stable_sort(candidates, {}, &Candidate::key);
    const auto sameKey = [](const Candidate& a, const Candidate& b) { return a.key == b.key; };
    candidates.erase(std::unique(candidates.begin(), candidates.end(), sameKey), candidates.end());
    std::ranges::stable_sort(candidates, std::ranges::greater{}, &Candidate::score);
    std::vector<std::wstring> forms;
    for (std::size_t i = 0; i < candidates.size() && i < limit; ++i)
        forms.push_back(std::move(candidates[i].form));
    return forms;
}

void WordModel::learn(std::wstring_view word, std::wstring_view previous, bool sentenceStart) {
    if (word.empty() || word.size() > 40 || !hasLetter(word)) return;
    ++clock_;
    const std::wstring key = lowerCased(word);
    Learned& w = words_[key];
    // A capital inside a sentence (a name) is kept; one that only opens a sentence keeps the form as it was.
    if (!sentenceStart) w.form = key == word ? std::wstring{} : std::wstring(word);
    ++w.count;
    w.lastUse = clock_;
    ++learnedTotal_;
    if (!previous.empty() && previous.size() <= 40) {
        Learned& pair = pairs_[{lowerCased(previous), key}];
        ++pair.count;
        pair.lastUse = clock_;
    }
    letGoOfOldest(words_, kMaxLearnedWords);
    letGoOfOldest(pairs_, kMaxLearnedPairs);
}

template <typename Map>
void WordModel::letGoOfOldest(Map& map, std::size_t limit) {
    if (map.size() <= limit) return;
    std::vector<std::uint64_t> uses;
    for (const auto& [key, value] : map) uses.push_back(value.lastUse);
    const auto cut = uses.begin() + static_cast<std::ptrdiff_t>(limit / 10);
    std::ranges::nth_element(uses, cut);
    std::erase_if(map, [&](const auto& entry) {
        if (entry.second.lastUse > *cut) return false;
        if constexpr (std::is_same_v<Map, std::map<std::wstring, Learned>>)
            learnedTotal_ -= entry.second.count;
        return true;
    });
}

void WordModel::forget() {
    words_.clear();
    pairs_.clear();
    learnedTotal_ = 0;
    clock_ = 0;
}

std::string WordModel::learnedText() const {
    std::string text =
        "# tapkeys: learned words (word, form, count, last use) and word pairs (previous, next, count, last "
        "use)\n";
    for (const auto& [key, w] : words_) {
        text += "word\t" + toUtf8(key) + '\t' + toUtf8(w.form.empty() ? key : w.form) + '\t' +
                std::to_string(w.count) + '\t' + std::to_string(w.lastUse) + '\n';
    }
    for (const auto& [key, p] : pairs_) {
        text += "pair\t" + toUtf8(key.first) + '\t' + toUtf8(key.second) + '\t' + std::to_string(p.count) +
                '\t' + std::to_string(p.lastUse) + '\n';
    }
    return text;
}

void WordModel::readLearned(std::string_view text) {
    forget();
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> f = fields(line);
        Learned value;
        if (f.size() != 5 || !readNumber(f[3], value.count) || !readNumber(f[4], value.lastUse) ||
            value.count == 0)
            continue;
        const std::wstring first = fromUtf8(f[1]), second = fromUtf8(f[2]);
        if (first.empty() || second.empty() || first != lowerCased(first)) continue;
        if (f[0] == "word" && lowerCased(second) == first) {
            value.form = second == first ? std::wstring{} : second;
            learnedTotal_ += value.count;
            words_[first] = std::move(value);
        } else if (f[0] == "pair" && second == lowerCased(second)) {
            pairs_[{first, second}] = value;
        } else {
            continue;
        }
        clock_ = std::max(clock_, value.lastUse);
    }
    letGoOfOldest(words_, kMaxLearnedWords);
    letGoOfOldest(pairs_, kMaxLearnedPairs);
}

}  // namespace tapkeys
