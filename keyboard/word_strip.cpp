#include "keyboard/word_strip.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "output/focused_text.h"

namespace tapkeys {
namespace {

// A key of ours reaches the edit control a moment after it was sent; a reading within this time could
// still show the text before it, and would take back what the key did.
constexpr std::uint64_t kKeysInFlightMs = 150;

std::string readFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::wstring> kNoWords;

}  // namespace

void WordStrip::configure(const ExtrasSettings& extras, const std::wstring& wordList,
                          const std::wstring& learned) {
    shown_ = extras.prediction;
    learning_ = extras.learnWords;
    learnedPath_ = learned;
    if (!shown_) return;
    if (!prediction_) {
        prediction_.emplace();
        if (!wordList.empty()) {
            std::error_code unknown;
            const auto size = std::filesystem::file_size(std::filesystem::path(wordList), unknown);
            std::ifstream in(std::filesystem::path(wordList), std::ios::binary);
            prediction_->model().setList(WordList::read(in, unknown ? 0 : static_cast<std::size_t>(size)));
        }
        prediction_->model().readLearned(readFile(learnedPath_));
        prediction_->update(text_, false);
    }
    prediction_->setLearning(learning_);
}

bool WordStrip::poll(HWND target, std::uint64_t nowMs) {
    if (!shown_ || target == nullptr) return false;
    // Not even asked while keys of ours are on their way: the target is busy with them.
    if (target == target_ && nowMs - lastTypedMs_ < kKeysInFlightMs) return false;
    FocusedText read = readFocusedText(target);
    const bool sameField = target == target_ && read.focus == focus_;
    target_ = target;
    focus_ = read.focus;
    readingEdit_ = read.readable;
    if (read.readable || read.password) {
        const CaretText now{std::move(read.before), read.start, read.password};
        if (sameField && now == text_) return false;
        text_ = now;
    } else if (!sameField) {
        text_ = {};  // elsewhere: the letters typed through the keyboard from now on
    } else {
        return false;
    }
    return prediction_->update(text_, sameField);
}

bool WordStrip::typed(std::wstring_view keyString, std::uint64_t nowMs) {
    if (!shown_) return false;
    lastTypedMs_ = nowMs;
    if (text_.password) return false;
    applyKeyString(text_, keyString);
    return prediction_->update(text_, true);
}

const std::vector<std::wstring>& WordStrip::words() const {
    return prediction_ && shown_ ? prediction_->suggestions() : kNoWords;
}

std::wstring WordStrip::completion(int cell) const {
    return prediction_ && shown_ && cell >= 0 ? prediction_->completion(static_cast<std::size_t>(cell))
                                              : std::wstring{};
}

void WordStrip::save() const {
    if (!prediction_ || !learning_ || learnedPath_.empty()) return;
    std::ofstream out(std::filesystem::path(learnedPath_), std::ios::binary | std::ios::trunc);
    out << prediction_->model().learnedText();
}

void WordStrip::forget() {
    if (prediction_) prediction_->model().forget();
    if (learnedPath_.empty()) return;
    std::error_code ignored;
    // An empty file: a learned words file left by an earlier run is emptied too.
    if (std::filesystem::exists(std::filesystem::path(learnedPath_), ignored))
        std::ofstream(std::filesystem::path(learnedPath_), std::ios::binary | std::ios::trunc);
}

}  // namespace tapkeys
