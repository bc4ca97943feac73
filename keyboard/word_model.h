#pragma once
// What word prediction knows: the language's word list and, on top of it, the words and word pairs the
// user typed, with how often and how lately. Ranks the words that complete a prefix, and reads and
// writes the learned part as text.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "keyboard/word_list.h"

namespace tapkeys {

class WordModel {
public:
    // At these sizes the least lately used tenth is let go, so the file and the memory stay small.
    static constexpr std::size_t kMaxLearnedWords = 20000;
    static constexpr std::size_t kMaxLearnedPairs = 40000;

    void setList(WordList list) { list_ = std::move(list); }
    const WordList& list() const { return list_; }

    // Up to `limit` words that begin with `foldedPrefix` (lower case), best first, never the prefix itself:
    // by the list's frequency, the learned frequency and how lately each was typed, and, most of all,
    // how often it followed `foldedPrevious` (empty where no word comes before). Forms as the list or
    // the user writes them ("I", "Monday"), otherwise lower case.
    std::vector<std::wstring> rank(std::wstring_view foldedPrefix, std::wstring_view foldedPrevious,
                                   std::size_t limit) const;

    // The user typed `word` after `previous` (empty: none, or a sentence began). A capital that only
    // starts a sentence is not kept in the word's form.
    void learn(std::wstring_view word, std::wstring_view previous, bool sentenceStart);
    void forget();
    std::size_t learnedWords() const { return words_.size(); }
    std::size_t learnedPairs() const { return pairs_.size(); }

    // The learned words as UTF-8 text, one record a line: "word<TAB>form<TAB>count<TAB>last use" and
    // "pair<TAB>previous<TAB>next<TAB>count<TAB>last use". Reading skips lines it does not understand.
    std::string learnedText() const;
    void readLearned(std::string_view utf8Text);

private:
    struct Learned {
        std::wstring form;  // empty: the folded key is the form
        std::uint32_t count = 0;
        std::uint64_t lastUse = 0;
    };
    using PairKey = std::pair<std::wstring, std::wstring>;  // previous, next; folded
    double score(const std::wstring& key, std::uint32_t listCount, std::wstring_view foldedPrevious) const;
    template <typename Map>
    void letGoOfOldest(Map& map, std::size_t limit);

    WordList list_;
    std::map<std::wstring, Learned> words_;
    std::map<PairKey, Learned> pairs_;
    std::uint64_t learnedTotal_ = 0;
    std::uint64_t clock_ = 0;  // words learned so far: the age of a word is how many came after it
};

}  // namespace tapkeys
