#pragma once
// The suggestion strip's logic: from the text before the caret it finds the word being typed and the
// word before it, asks the model for completions in the case the user writes, learns each word as it is
// finished, and says what touching a cell types. Platform-free; the window hands it the text it read
// from the target's edit control or the keys it typed itself.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/word_model.h"

namespace tapkeys {

// The text before the caret as far back as it is known, and where in the field it starts, so that two
// readings of a long line can be lined up.
struct CaretText {
    std::wstring before;
    std::size_t start = 0;
    bool password = false;  // the field hides what is typed: nothing is shown or learned
    bool operator==(const CaretText&) const = default;
};

// What a KeyString does to the text before the caret: characters are added, Backspace takes the last
// one away, Enter and Tab add a line break and a tab. Keeps the last few hundred characters.
void applyKeyString(CaretText& text, std::wstring_view keyString);

class WordPrediction {
public:
    static constexpr std::size_t kCells = 5;

    explicit WordPrediction(std::size_t cells = kCells) : cells_(cells) {}
    WordModel& model() { return model_; }
    const WordModel& model() const { return model_; }
    void setLearning(bool on) { learning_ = on; }

    // The text before the caret as it is now. sameField: it comes from the field of the previous call,
    // so the words finished in between are learned; otherwise it only becomes the starting point. Returns
    // whether the suggestions changed.
    bool update(const CaretText& now, bool sameField);
    const CaretText& text() const { return text_; }
    const std::vector<std::wstring>& suggestions() const { return suggestions_; }
    // What touching a cell types: the rest of its word and a space; empty for an empty cell.
    std::wstring completion(std::size_t cell) const;

private:
    void learnFinishedWords(const CaretText& before, const CaretText& now);

    WordModel model_;
    std::size_t cells_;
    bool learning_ = true;
    CaretText text_;
    std::vector<std::wstring> suggestions_;
    std::size_t typedLength_ = 0;  // of the word being typed, which the suggestions complete
};

// The case rules, for the tests and the benchmark: the word being typed, the word before it (empty at a
// sentence's start or where there is none) and whether a sentence starts at the word.
struct WordAtCaret {
    std::wstring_view typed, previous;
    bool sentenceStart = false;
};
WordAtCaret wordAtCaret(std::wstring_view before);
// A suggestion as it is offered after `typed`: capitalised where the word was begun with a capital, or
// where a sentence starts and no letter of it was typed yet (a cell types only the rest of the word, so a
// lower-case beginning stays); in capitals where two or more were typed.
std::wstring inTypedCase(std::wstring form, std::wstring_view typed, bool sentenceStart);

}  // namespace tapkeys
