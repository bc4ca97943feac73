#pragma once
// A language's word list, read once from its UTF-8 file: one word a line, optionally a tab and how often
// it occurs. Words are kept folded to lower case in one sorted pool of UTF-8 bytes, so a list of tens of
// thousands of words costs well under a megabyte and every prefix is one binary search.

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tapkeys {

class WordList {
public:
    struct Word {
        std::wstring form;  // as the list writes it ("I", "Monday"), or folded where it has no capital
        std::uint32_t count = 0;
    };

    WordList() = default;
    // Lines without a count rank by their order: the first line is the most frequent. Blank lines,
    // lines whose word holds a blank or a character that ends words, and repeats of a word are skipped.
    static WordList parse(std::string_view utf8Text);
    // The same from a file as it is read, line by line; sizeHint: the file's size in bytes.
    static WordList read(std::istream& utf8Lines, std::size_t sizeHint);

    std::size_t size() const { return entries_.size(); }
    std::uint64_t totalCount() const { return total_; }
    // How often `folded` (a lower-case word) occurs; 0 when it is not in the list.
    std::uint32_t countOf(std::wstring_view folded) const;
    // The `limit` most frequent words that begin with `foldedPrefix`, most frequent first.
    std::vector<Word> mostFrequent(std::wstring_view foldedPrefix, std::size_t limit) const;

private:
    struct Entry {
        std::uint32_t offset;    // into pool_: the folded key, then the form when it differs
        std::uint8_t keyLength;  // bytes
        std::uint8_t formLength;
        std::uint32_t count;
    };
    std::string_view keyOf(const Entry& e) const {
        return std::string_view(pool_).substr(e.offset, e.keyLength);
    }
    std::wstring formOf(const Entry& e) const;
    std::pair<std::size_t, std::size_t> rangeOf(std::string_view utf8Prefix) const;
    void addLine(std::string_view row);
    void finish();

    std::string pool_;
    std::vector<Entry> entries_;  // sorted by key
    std::uint64_t total_ = 0;
    std::uint32_t lines_ = 0;
};

}  // namespace tapkeys
