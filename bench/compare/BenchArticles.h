#pragma once
// Article-like texts for the benchmarks: words drawn from a skewed vocabulary
// (a few very common words, a long tail of rare ones), sentences of 6 to 20
// words with commas, paragraphs of 2 to 6 sentences separated by blank lines.

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace rasp::bench {

class TArticleMaker {
public:
    explicit TArticleMaker(unsigned seed, int vocabularySize = 6000) : FRandom(seed) {
        std::mt19937 names(42);  // the same vocabulary for every seed
        const std::u16string letters = u"etaoinshrdlucmfwypvbgkqjxz";
        for (int i = 0; i < vocabularySize; ++i) {
            std::u16string word;
            const int length = 2 + static_cast<int>(names() % 8);
            for (int k = 0; k < length; ++k) word.push_back(letters[names() % (k == 0 ? 20 : 26)]);
            FVocabulary.push_back(word);
        }
        // Zipf-like weights: the n-th word is about 1/n as frequent as the first.
        std::vector<double> weights;
        for (int i = 1; i <= vocabularySize; ++i) weights.push_back(1.0 / i);
        FPick = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    std::u16string Paragraph(int& words) {
        std::u16string text;
        const int sentences = 2 + static_cast<int>(FRandom() % 5);
        for (int s = 0; s < sentences; ++s) {
            if (s > 0) text += u' ';
            const int length = 6 + static_cast<int>(FRandom() % 15);
            for (int w = 0; w < length; ++w) {
                if (w > 0) text += (FRandom() % 12 == 0) ? u", " : u" ";
                std::u16string word = FVocabulary[static_cast<std::size_t>(FPick(FRandom))];
                if (w == 0) word[0] = static_cast<char16_t>(word[0] - 32);
                text += word;
            }
            text += (FRandom() % 10 == 0) ? u'?' : u'.';
            words += length;
        }
        return text;
    }

    // Paragraphs up to about `words` words.
    std::vector<std::u16string> Paragraphs(int words) {
        std::vector<std::u16string> out;
        int count = 0;
        while (count < words) out.push_back(Paragraph(count));
        return out;
    }

    std::mt19937& Random() { return FRandom; }

private:
    std::mt19937 FRandom;
    std::vector<std::u16string> FVocabulary;
    std::discrete_distribution<int> FPick;
};

inline std::u16string Join(const std::vector<std::u16string>& paragraphs) {
    std::u16string text;
    for (const std::u16string& p : paragraphs) {
        if (!text.empty()) text += u"\r\n\r\n";
        text += p;
    }
    return text;
}

struct TArticlePair {
    std::u16string First;
    std::u16string Second;
};

enum class TPairKind {
    Identical,
    HalfSharedShuffled,
    Unrelated,
    TinyVocabulary,
    Periodic,
    RunOfOneWord,
    SpoiltByOtherColours
};

// Separate three-word runs that colour article 2 in the six colours in turn,
// all but those of the sixth colour holding the word "g"; article 1 then asks
// for "g z" over and over. Each of those windows restarts, so the next one
// searches article 2 from the top, past every "g" of the other five colours.
inline TArticlePair SpoiltByOtherColoursPair(int words) {
    const int runs = std::max(6, words / 8 / 6 * 6);
    TArticlePair pair;
    auto add = [](std::u16string& text, const std::u16string& word) {
        if (!text.empty()) text += u' ';
        text += word;
    };
    auto numbered = [](char16_t prefix, int i) {
        std::u16string w(1, prefix);
        for (const char c : std::to_string(i)) w += static_cast<char16_t>(c);
        return w;
    };
    for (int i = 1; i <= runs; ++i) {
        const std::u16string middle = i % 6 == 0 ? u"h" : u"g";
        for (std::u16string* text : {&pair.First, &pair.Second}) {
            add(*text, numbered(u'u', i));
            add(*text, middle);
            add(*text, numbered(u'v', i));
        }
        add(pair.First, numbered(u's', i));
        add(pair.Second, numbered(u't', i));
    }
    add(pair.Second, u"g w");
    for (int m = 0; m < words / 4; ++m) add(pair.First, u"g z");
    return pair;
}

// Unrelated articles over the three words a, b, c, in sentences of 6 to 20
// words and paragraphs of 2 to 6 sentences.
inline std::u16string TinyVocabularyArticle(int words, unsigned seed) {
    std::mt19937 random(seed);
    std::u16string text;
    int inSentence = 0, sentences = 0;
    const int sentenceLength = 6 + static_cast<int>(random() % 15);
    for (int i = 0; i < words; ++i) {
        if (i > 0) text += u' ';
        text += static_cast<char16_t>(u'a' + random() % 3);
        if (++inSentence >= sentenceLength) {
            text += u'.';
            inSentence = 0;
            if (++sentences % (2 + static_cast<int>(random() % 5)) == 0) text += u"\r\n\r\n";
        }
    }
    return text;
}

inline TArticlePair MakePair(TPairKind kind, int words) {
    TArticleMaker maker(1);
    const std::vector<std::u16string> first = maker.Paragraphs(words);
    TArticlePair pair{Join(first), {}};
    switch (kind) {
        case TPairKind::Identical:
            pair.Second = pair.First;
            break;
        case TPairKind::HalfSharedShuffled: {
            // Every other paragraph of the first article, the rest new, all shuffled.
            std::vector<std::u16string> second;
            for (std::size_t i = 0; i < first.size(); i += 2) second.push_back(first[i]);
            TArticleMaker other(2);
            for (const std::u16string& p : other.Paragraphs(words / 2)) second.push_back(p);
            std::shuffle(second.begin(), second.end(), maker.Random());
            pair.Second = Join(second);
            break;
        }
        case TPairKind::Unrelated:
            pair.Second = Join(TArticleMaker(3).Paragraphs(words));
            break;
        case TPairKind::TinyVocabulary:
            pair = {TinyVocabularyArticle(words, 5), TinyVocabularyArticle(words, 6)};
            break;
        case TPairKind::SpoiltByOtherColours:
            pair = SpoiltByOtherColoursPair(words);
            break;
        case TPairKind::Periodic:  // "a b c a b c ..." against "a b a b ..."
        case TPairKind::RunOfOneWord:  // ("a" x 19, then "c") repeated against "a a a ..."
            pair = {};
            for (int i = 0; i < words; ++i) {
                if (i > 0) {
                    pair.First += u' ';
                    pair.Second += u' ';
                }
                if (kind == TPairKind::Periodic) {
                    pair.First += static_cast<char16_t>(u'a' + i % 3);
                    pair.Second += static_cast<char16_t>(u'a' + i % 2);
                } else {
                    pair.First += i % 20 == 19 ? u'c' : u'a';
                    pair.Second += u'a';
                }
            }
            break;
    }
    return pair;
}

}  // namespace rasp::bench
