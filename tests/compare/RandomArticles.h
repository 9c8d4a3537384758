#pragma once
// Small random articles that make the match search work hard: tiny
// vocabularies with case variants, runs of punctuation, CR LF, blank and
// separator-only texts, and second articles copied from the first with edits.

#include <random>
#include <string>
#include <vector>

namespace rasp::testing {

class TRandomArticles {
public:
    explicit TRandomArticles(unsigned seed) : FRandom(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }

    std::vector<std::u16string> Vocabulary() {
        static const std::u16string kWords[] = {u"a",  u"A",   u"b",    u"B",   u"ab", u"aB",
                                                u"Ab", u"c",   u"\u00E9", u"\u00C9", u"end",
                                                u"end:", u"x-y", u"\t"};
        std::vector<std::u16string> out;
        const int size = 1 + Below(4);
        for (int i = 0; i < size; ++i) out.push_back(kWords[Below(std::size(kWords))]);
        return out;
    }

    std::u16string Separator() {
        static const std::u16string kSeparators[] = {u" ",   u" ",  u" ",    u", ", u". ",
                                                     u"! ",  u"?",  u"\r\n", u"\r\n\r\n", u";",
                                                     u" .", u"...", u" ,; "};
        return kSeparators[Below(std::size(kSeparators))];
    }

    std::u16string Article(const std::vector<std::u16string>& vocabulary, int maxWords) {
        switch (Below(20)) {
            case 0: return u"";
            case 1: return u" .,\r\n;!? ";
            default: break;
        }
        std::u16string text;
        if (Below(4) == 0) text += Separator();
        const int words = Below(maxWords + 1);
        for (int i = 0; i < words; ++i) {
            if (i > 0) text += Separator();
            text += vocabulary[static_cast<std::size_t>(Below(static_cast<int>(vocabulary.size())))];
        }
        if (Below(2) == 0) text += Separator();
        return text;
    }

    // A second article that shares stretches with the first.
    std::u16string Variant(const std::u16string& first, const std::vector<std::u16string>& vocabulary) {
        std::u16string text;
        std::size_t i = 0;
        while (i < first.size()) {
            const int action = Below(10);
            const std::size_t chunk = 1 + static_cast<std::size_t>(Below(12));
            if (action < 6) {
                text += first.substr(i, chunk);
                i += chunk;
            } else if (action < 8) {
                text += Separator();
                text += vocabulary[static_cast<std::size_t>(Below(static_cast<int>(vocabulary.size())))];
            } else {
                i += chunk;
            }
        }
        return text;
    }

    // Shapes that make a word-by-word search slow: one to three words,
    // periodic texts with a few faults, long runs of one word; separators
    // chosen so that sentences and paragraphs vary too.
    std::u16string Adversarial(int maxWords) {
        static const std::u16string kWords[] = {u"a", u"b", u"c", u"A"};
        const int words = Below(maxWords + 1);
        const int shape = Below(4);
        const int vocabulary = 1 + Below(3);
        const int period = 1 + Below(4);
        std::u16string text;
        int runWord = 0;
        for (int i = 0; i < words; ++i) {
            if (i > 0) text += Below(6) == 0 ? Separator() : u" ";
            int word = 0;
            switch (shape) {
                case 0: word = Below(vocabulary); break;                                      // tiny vocabulary
                case 1: word = Below(25) == 0 ? Below(3) : (i % period) % vocabulary; break;  // periodic
                case 2:                                                                       // long runs
                    if (Below(15) == 0) runWord = Below(vocabulary);
                    word = runWord;
                    break;
                default: word = Below(40) == 0 ? 3 : 0; break;                                // one word, rare faults
            }
            text += kWords[word];
        }
        return text;
    }

private:
    std::mt19937 FRandom;
};

}  // namespace rasp::testing
