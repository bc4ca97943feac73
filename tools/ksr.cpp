// tapkeys-ksr: how many touches word prediction saves on a text read from standard input. Each character
// costs a touch as on the keyboard (a capital or a shifted symbol two: Shift and the key; a line break one,
// Enter). With prediction a word is chosen from the strip as soon as it is offered and costs one touch,
// which types the rest of the word and a space; where no space follows the word, a Backspace takes the
// space back. Learning is on, from the word list alone at the start.
//
//   tapkeys-ksr [--suggestions N] [--words FILE] [--timing] < text
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "keyboard/word_prediction.h"
#include "keyboard/word_text.h"

namespace {

using namespace tapkeys;

constexpr std::wstring_view kShiftedSymbols = L"!@#$%^&*()_+{}:\"|~<>?";

int touches(wchar_t c) {
    return isUpperCase(c) || kShiftedSymbols.find(c) != std::wstring_view::npos ? 2 : 1;
}

int touches(std::wstring_view text) {
    int n = 0;
    for (wchar_t c : text) n += touches(c);
    return n;
}

std::string readAll(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Options {
    std::size_t suggestions = WordPrediction::kCells;
    std::string wordsFile = TAPKEYS_ENGLISH_WORDS;
    bool timing = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--timing") {
            options.timing = true;
        } else if (arg == "--suggestions" && i + 1 < argc) {
            options.suggestions = static_cast<std::size_t>(std::stoul(argv[++i]));
        } else if (arg == "--words" && i + 1 < argc) {
            options.wordsFile = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "usage: tapkeys-ksr [--suggestions N] [--words FILE] [--timing] < text\n";
        return 2;
    }
    std::ifstream wordsFile(options.wordsFile, std::ios::binary);
    if (!wordsFile) {
        std::cerr << "tapkeys-ksr: cannot read " << options.wordsFile << '\n';
        return 1;
    }
    WordPrediction prediction(options.suggestions);
    prediction.model().setList(WordList::parse(readAll(wordsFile)));

    std::wstring text = fromUtf8(readAll(std::cin));
    std::erase(text, L'\r');
    CaretText typed;
    long long plain = touches(text), withPrediction = 0;
    std::vector<double> updateMs;
    const auto update = [&] {
        const auto begin = std::chrono::steady_clock::now();
        prediction.update(typed, true);
        updateMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
    };
    update();
    for (std::size_t i = 0; i < text.size();) {
        // The word of the text that the caret is in, and the touches it still costs with its space.
        std::size_t end = i;
        while (end < text.size() && isWordCharacter(text[end])) ++end;
        const std::wstring_view typedWord = wordAtCaret(typed.before).typed;
        const std::wstring word = std::wstring(typedWord) + text.substr(i, end - i);
        const bool spaceFollows = end < text.size() && text[end] == L' ';
        const auto offered = std::ranges::find(prediction.suggestions(), word);
        const int choosing = spaceFollows ? 1 : 2;  // the cell, and a Backspace for the space it adds
        if (end > i && offered != prediction.suggestions().end() &&
            choosing < touches(text.substr(i, end - i)) + (spaceFollows ? 1 : 0)) {
            applyKeyString(typed, prediction.completion(
                                      static_cast<std::size_t>(offered - prediction.suggestions().begin())));
            if (!spaceFollows) applyKeyString(typed, L"{BKSP}");
            withPrediction += choosing;
            i = spaceFollows ? end + 1 : end;
        } else {
            applyKeyString(typed, text[i] == L'{' ? std::wstring(L"{{}") : std::wstring(1, text[i]));
            withPrediction += touches(text[i]);
            ++i;
        }
        update();
    }
    const double saved =
        plain > 0 ? 100.0 * static_cast<double>(plain - withPrediction) / static_cast<double>(plain) : 0;
    std::printf("characters %zu keystrokes %lld saved %.1f%%\n", text.size(), withPrediction, saved);
    if (options.timing && !updateMs.empty()) {
        std::ranges::sort(updateMs);
        const auto at = [&](double q) {
            return updateMs[static_cast<std::size_t>(q * static_cast<double>(updateMs.size() - 1))];
        };
        std::fprintf(
            stderr,
            "updates %zu median %.3f ms p95 %.3f ms max %.3f ms (keystrokes without prediction %lld)\n",
            updateMs.size(), at(0.5), at(0.95), updateMs.back(), plain);
    }
    return 0;
}
