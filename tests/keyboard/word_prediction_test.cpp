#include "keyboard/word_prediction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/word_text.h"

namespace tapkeys {
namespace {

// A small list: counts after a tab, or ranked by line where there is none.
constexpr char kList[] =
    "the\t1000\nthat\t600\nthis\t500\nthey\t400\nthere\t300\nthen\t200\nthink\t100\nI\t900\nI'm\t50\n"
    "zebra\t1\nzero\t2\nwhat\t700\nwhen\t650\n\nbad word\t5\nthe\t3\n";

std::string joined(const std::vector<std::wstring>& words) {
    std::string out;
    for (const std::wstring& w : words) out.append(out.empty() ? "" : " ").append(toUtf8(w));
    return out;
}

WordPrediction predictionFor(const char* list = kList) {
    WordPrediction p(3);
    p.model().setList(WordList::parse(list));
    return p;
}

// Types a text key string by key string, updating as the window does after each key.
void type(WordPrediction& p, CaretText& text, std::wstring_view keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t length = keys[i] == L'{' ? keys.find(L'}', i) - i + 1 : 1;
        applyKeyString(text, keys.substr(i, length));
        i += length - 1;
        p.update(text, true);
    }
}

TEST(WordPrediction, RanksByListLearnedWordsRecencyAndPairs) {
    // typed first (learning), then the text before the caret, and the three cells offered there.
    const struct {
        const wchar_t* learned;
        const wchar_t* before;
        const char* offered;
    } cases[] = {
        {L"", L"th", "the that this"},  // list counts; the list's repeat of "the" and "bad word" are skipped
        {L"", L"", "the I what"},       // before any letter: the most frequent
        {L"", L"z", "zero zebra"},
        {L"", L"the", "they there then"},        // never the typed word itself
        {L"", L"i", "I'm"},                      // the list's own capital stays
        {L"zebra zebra ", L"ze", "zebra zero"},  // a word typed twice is offered first from two letters
        {L"think think think ", L"th", "think the that"},
        {L"thinks ", L"thi", "this thinks think"},  // a new word is learned; one use ranks it after this
        {L"zebra crossing and zebra crossing ", L"zebra ", "crossing the I"},  // pairs, before any letter
        {L"Zebra ", L"the z", "zebra zero"},  // a capital opening a sentence is not the word's form
        {L"we met Zoe and Zoe ", L"the z", "Zoe zero zebra"},  // a name inside a sentence keeps it
        {L"thank{BKSP}{BKSP}{BKSP}{BKSP}{BKSP}the ", L"tha",
         "that"},                                              // rubbed out before its end: not learned
        {L"zebra,zebra.zebra\nzebra\t", L"ze", "zebra zero"},  // any separator ends a word
    };
    for (const auto& c : cases) {
        WordPrediction p = predictionFor();
        CaretText text;
        type(p, text, c.learned);
        p.update({L"so " + std::wstring(c.before), 0, false}, false);  // inside a sentence
        EXPECT_EQ(joined(p.suggestions()), c.offered) << toUtf8(c.learned) << " | " << toUtf8(c.before);
    }
}

TEST(WordPrediction, OffersTheCaseTypedAndCompletesWithASpace) {
    const struct {
        const wchar_t* before;
        const char* offered;
        const char* firstCompletion;
    } cases[] = {
        {L"Th", "The That This", "e "},        {L"TH", "THE THAT THIS", "E "},
        {L"", "The I What", "The "},         // an empty field starts a sentence
        {L"it is. ", "The I What", "The "},  // so does . ! or ? and a space
        {L"Really?\n ", "The I What", "The "}, {L"he said \"no.\" ", "The I What", "The "},
        {L"it is. th", "the that this", "e "},  // the letters typed decide
        {L"e.g.th", "the that this", "e "},     // no space after the stop: the same sentence
        {L"ok, th", "the that this", "e "},
    };
    for (const auto& c : cases) {
        WordPrediction p = predictionFor();
        p.update({c.before, 0, false}, false);
        EXPECT_EQ(joined(p.suggestions()), c.offered) << toUtf8(c.before);
        EXPECT_EQ(toUtf8(p.completion(0)), c.firstCompletion) << toUtf8(c.before);
        EXPECT_EQ(p.completion(4), L"");  // an empty cell types nothing
    }
}

TEST(WordPrediction, APasswordFieldShowsNothingAndTeachesNothing) {
    WordPrediction p = predictionFor();
    CaretText text{L"", 0, true};
    type(p, text, L"zebra zebra zebra ze");
    EXPECT_EQ(joined(p.suggestions()), "");
    EXPECT_EQ(p.model().learnedWords(), 0u);
    // Learning off works the same way on an ordinary field.
    p.setLearning(false);
    text.password = false;
    type(p, text, L"zebra zebra ");
    EXPECT_EQ(p.model().learnedWords(), 0u);
}

TEST(WordPrediction, LearnsOnlyWhatWasTypedBetweenTwoReadings) {
    WordPrediction p = predictionFor();
    // A field already holding text: its words are not learned when it is first read, nor when the caret
    // jumps far; a word finished by the physical keyboard between two readings is.
    p.update({L"old words here", 0, false}, false);
    p.update({L"old words here and more", 0, false}, true);
    p.update({std::wstring(200, L'x') + L" jump ", 0, false}, true);
    EXPECT_EQ(p.model().learnedText().find("word\tjump"), std::string::npos);
    EXPECT_NE(p.model().learnedText().find("word\there\there\t1"), std::string::npos);
    EXPECT_NE(p.model().learnedText().find("word\tand\tand\t1"), std::string::npos);
    EXPECT_NE(p.model().learnedText().find("pair\there\tand\t1"), std::string::npos);
    // Two readings of a long line that start at different places line up by their position.
    p.update({L"zebra", 1000, false}, false);
    p.update({L"bra zebra ", 1002, false}, true);
    EXPECT_NE(p.model().learnedText().find("word\tzebra\tzebra\t1"), std::string::npos);
}

TEST(WordModel, LearnedWordsReadBackFromTheirTextAndSkipDamagedLines) {
    WordModel model;
    model.learn(L"Zoe", L"", false);
    model.learn(L"zebra", L"Zoe", false);
    model.learn(L"zebra", L"", true);
    const std::string text = model.learnedText();
    EXPECT_EQ(text.substr(text.find('\n') + 1),
              "word\tzebra\tzebra\t2\t3\nword\tzoe\tZoe\t1\t1\npair\tzoe\tzebra\t1\t2\n");
    WordModel back;
    back.readLearned(text + "word\tbad\n" + "word\tx\ty\t1\t1\n" + "pair\ta\tb\t0\t1\n" +
                     "word\tok\tok\t1\tlots\n");
    EXPECT_EQ(back.learnedText(), text);
    back.forget();
    EXPECT_EQ(back.learnedWords() + back.learnedPairs(), 0u);
}

TEST(WordModel, LetsGoOfTheLeastLatelyUsedAtItsCap) {
    WordModel model;
    for (std::size_t i = 0; i <= WordModel::kMaxLearnedWords; ++i)
        model.learn(L"w" + std::to_wstring(i), L"", false);
    // Word i was used at time i + 1: the tenth used least lately, w0 to w2000, went.
    EXPECT_EQ(model.learnedWords(), WordModel::kMaxLearnedWords * 9 / 10);
    EXPECT_EQ(joined(model.rank(L"w2000", L"", 5)), "w20000");
    EXPECT_NE(model.learnedText().find("word\tw2001\t"), std::string::npos);
}

TEST(WordText, FoldsCaseAndDecodesUtf8) {
    EXPECT_EQ(lowerCased(L"ÀÉÎÕÜ ĀĞŁŽ ΑΩ ДЯЁ Straße"), L"àéîõü āğłž αω дяё straße");
    for (wchar_t c : std::wstring_view(L"àéîõüāğłžαωдяё")) EXPECT_EQ(lowerCase(upperCase(c)), c);
    EXPECT_EQ(fromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF"),
              std::wstring(L"aé€") + fromUtf8("\xF0\x9F\x98\x80") + L"\xFFFD");
    EXPECT_EQ(toUtf8(fromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")),
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace tapkeys
