#pragma once
// The suggestion strip's life in the window: the word list and the learned words are read the first
// time prediction is switched on (never with it off), the target's focused edit control is read on the
// focus timer's tick, the keyboard's own keys are followed as they go out, and the learned words are
// written when the keyboard closes.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keyboard/word_prediction.h"
#include "settings/extras_settings.h"

namespace tapkeys {

class WordStrip {
public:
    // wordList: the language's file (may be missing: learned words only); learned: the user's file.
    void configure(const ExtrasSettings& extras, const std::wstring& wordList, const std::wstring& learned);
    bool shown() const { return shown_; }

    // The focus timer's tick: a new target or focus starts afresh; an edit control is read unless a key
    // of ours may still be on its way to it. Returns whether the suggestions changed.
    bool poll(HWND target, std::uint64_t nowMs);
    // A key string of ours has been sent into the target. Returns whether the suggestions changed.
    bool typed(std::wstring_view keyString, std::uint64_t nowMs);

    const std::vector<std::wstring>& words() const;
    // The rest of a cell's word and a space, as a KeyString: words hold no braces (isWordCharacter) and
    // the sender braces every other reserved character itself.
    std::wstring completion(int cell) const;

    // Writes the learned words beside the settings when learning is on; called as the keyboard closes.
    void save() const;
    // Empties the learned words, in memory and in their file, at once.
    void forget();

private:
    std::optional<WordPrediction> prediction_;  // made when prediction is first switched on
    std::wstring learnedPath_;
    bool shown_ = false;
    bool learning_ = true;
    HWND target_ = nullptr, focus_ = nullptr;
    bool readingEdit_ = false;
    CaretText text_;  // as last read, with our keys since
    std::uint64_t lastTypedMs_ = 0;
};

}  // namespace tapkeys
