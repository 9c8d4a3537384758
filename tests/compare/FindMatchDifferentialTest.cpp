// The indexed match search against the literal one, call by call: same
// result, same matched range, same resume position, same colour index, and
// at the end the same colour on every word of both articles.

#include <gtest/gtest.h>

#include "CompareTestSupport.h"
#include "LiteralComparer.h"
#include "RandomArticles.h"
#include "compare/HighlightRender.h"
#include "text/SplitArticle.h"
#include "text/TextTrim.h"

namespace rasp {
namespace {

using namespace rasp::testing;

struct TCall {
    int start, end;
    bool found;
    int m0, m1, resume, colorIndex;
    bool operator==(const TCall&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TCall& c) {
    return os << "[" << c.start << ".." << c.end << "] found=" << c.found << " m=" << c.m0 << ".."
              << c.m1 << " resume=" << c.resume << " colour=" << c.colorIndex;
}

std::string Describe(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) {
        if (c == u'\r') out += "\\r";
        else if (c == u'\n') out += "\\n";
        else if (c == u'\t') out += "\\t";
        else if (c < 128) out += static_cast<char>(c);
        else out += "\\u" + std::to_string(static_cast<int>(c));
    }
    return out;
}

// The literal search set up for a walk over the two texts.
reference::TLiteralComparer LiteralFor(const std::u16string& text1, const std::u16string& text2, int length,
                                       int kind) {
    reference::TLiteralComparer literal;
    literal.Text1 = text1;
    literal.Text2 = text2;
    TListSentences sentences2;
    TListParagraphs paragraphs2;
    SplitArticle(text1, literal.Words1, literal.Sentences1, literal.Paragraphs1);
    SplitArticle(text2, literal.Words2, sentences2, paragraphs2);
    literal.MinLength = length;
    literal.UnitKind = kind;
    return literal;
}

// The whole literal walk: the colours it leaves are the expected ones.
void WalkLiterally(reference::TLiteralComparer& literal) {
    int cursor = -1, start = 0, end = 0, resume = -1, m0 = 0, m1 = 0;
    while (literal.NextWindow(cursor, start, end)) literal.FindMatch(start, end, resume, m0, m1);
}

// hashed, eager: -1 lets the texts choose between hashed tables and the
// suffix array, and when the suffix array's tables are built.
// builtFor: the window the lookup is built for, when it is not the walk's own
// (a caller of single searches may ask any window).
void CheckPair(const std::u16string& text1, const std::u16string& text2, int length, int kind, int hashed = -1,
               int eager = -1, int builtFor = -1) {
    SCOPED_TRACE("article1='" + Describe(text1) + "' article2='" + Describe(text2) +
                 "' length=" + std::to_string(length) + " kind=" + std::to_string(kind));
    TArticleComparer engine;
    // Both ways of finding occurrences: suffix blocks, and per-length tables.
    engine.FSearch.EagerLookupTables = eager >= 0 ? eager != 0 : (text1.size() + text2.size()) % 2 == 0;
    // Word windows of a few words: hashed tables, or the suffix array alone.
    engine.FSearch.HashedLookupTables = hashed >= 0 ? hashed != 0 : (text1.size() * 7 + text2.size()) % 3 != 0;
    // The lookup is built for the walk's window and unit: set them first.
    engine.FMinLength = builtFor >= 1 ? builtFor : length;
    engine.FUnitKind = builtFor >= 1 ? ukWords : kind;
    Load(engine, text1, text2);
    engine.FMinLength = length;
    engine.FUnitKind = kind;

    reference::TLiteralComparer literal = LiteralFor(text1, text2, length, kind);

    int cursorE = -1, cursorL = -1, resumeE = -1, resumeL = -1;
    for (;;) {
        TCall e{}, l{};
        const bool moreE = engine.NextWindow(cursorE, e.start, e.end);
        const bool moreL = literal.NextWindow(cursorL, l.start, l.end);
        ASSERT_EQ(moreE, moreL);
        if (!moreE) break;
        e.m0 = e.m1 = l.m0 = l.m1 = -99;
        e.found = engine.FindMatch(e.start, e.end, resumeE, e.m0, e.m1);
        l.found = literal.FindMatch(l.start, l.end, resumeL, l.m0, l.m1);
        e.resume = resumeE;
        l.resume = resumeL;
        e.colorIndex = engine.FColorIndex;
        l.colorIndex = literal.ColorIndex;
        ASSERT_EQ(e, l);
    }
    ASSERT_EQ(Colors(engine.FWords1), Colors(literal.Words1));
    ASSERT_EQ(Colors(engine.FWords2), Colors(literal.Words2));
}

TEST(FindMatchDifferential, RandomArticlePairs) {
    TRandomArticles random(20261209);
    int highlightedPairs = 0;
    for (int round = 0; round < 10000; ++round) {
        const std::vector<std::u16string> vocabulary = random.Vocabulary();
        const std::u16string text1 = random.Article(vocabulary, 30);
        const std::u16string text2 =
            random.Below(2) == 0 ? random.Variant(text1, vocabulary) : random.Article(vocabulary, 30);
        const int length = 1 + random.Below(8);
        const int kind = random.Below(3);
        // Now and then the lookup is built for another window than the one asked.
        const int builtFor = round % 7 == 0 ? 1 + random.Below(8) : -1;
        ASSERT_NO_FATAL_FAILURE(CheckPair(text1, text2, length, kind, -1, -1, builtFor));
        highlightedPairs += text1 != text2 ? 1 : 0;
    }
    EXPECT_GT(highlightedPairs, 4000);
}

TEST(FindMatchDifferential, LongerArticlesWithLongWindows) {
    TRandomArticles random(7);
    for (int round = 0; round < 120; ++round) {
        const std::vector<std::u16string> vocabulary = random.Vocabulary();
        const std::u16string text1 = random.Article(vocabulary, 200);
        const std::u16string text2 = random.Variant(text1 + text1, vocabulary);
        ASSERT_NO_FATAL_FAILURE(CheckPair(text1, text2, 1 + random.Below(8), random.Below(3)));
    }
}

// Inputs on which a word-by-word search goes quadratic: the engine must still
// give the very same answers, for window lengths up to 64 and every unit.
TEST(FindMatchDifferential, AdversarialShapes) {
    TRandomArticles random(31337);
    for (int round = 0; round < 1200; ++round) {
        const std::u16string text1 = random.Adversarial(90);
        const std::u16string text2 = random.Below(3) == 0 ? random.Variant(text1, {u"a", u"b"})
                                                          : random.Adversarial(90);
        const int length = random.Below(4) == 0 ? 1 + random.Below(64) : 1 + random.Below(12);
        const int builtFor = round % 5 == 0 ? 1 + random.Below(6) : -1;
        ASSERT_NO_FATAL_FAILURE(CheckPair(text1, text2, length, random.Below(3), -1, -1, builtFor));
    }
}

// Found by the fuzz target: a new run recolours words of the run before it,
// and an occurrence that starts before the match (marked spoilt for the new
// colour long ago) becomes usable in that colour again.
TEST(FindMatchDifferential, RecolouringReachesOccurrencesStartingBeforeTheMatch) {
    const std::u16string text1 = u"a.b.b Ab.b a.b A b b b!b b b.b a a b b a b";
    const std::u16string text2 = u"b.b Ab.b a b b aa b b b a b aa";
    for (const int hashed : {1, 0}) {
        ASSERT_NO_FATAL_FAILURE(CheckPair(text1, text2, 3, ukWords, hashed));
        // The whole walk, the suffix search from the first window on.
        reference::TLiteralComparer literal = LiteralFor(text1, text2, 3, ukWords);
        WalkLiterally(literal);
        TArticleComparer walk;
        walk.FText1 = text1;
        walk.FText2 = text2;
        walk.FSearch.PairSearchBudget = 0;
        walk.FSearch.HashedLookupTables = hashed != 0;
        ASSERT_TRUE(walk.CompareStored(3, ukWords, 1.0).Ran);
        EXPECT_EQ(Colors(walk.FWords1), Colors(literal.Words1));
        EXPECT_EQ(Colors(walk.FWords2), Colors(literal.Words2));
    }
}

// Separate runs that colour article 2 in the six colours in turn, most of
// them holding a probe phrase, then the probe again and again in article 1:
// the searches before a restart pass the occurrences spoilt by other
// colours over and over, and colourings in between make some usable again.
TEST(FindMatchDifferential, OccurrencesSpoiltByOtherColours) {
    TRandomArticles random(60606);
    for (int round = 0; round < 240; ++round) {
        // Sentences and paragraphs: every run and every probe a unit of its own.
        const int kind = round % 4 == 3 ? 1 + random.Below(2) : ukWords;
        const std::u16string end = kind == ukSentences ? u"." : kind == ukParagraphs ? u"\r\n" : u"";
        const int runs = 6 * (1 + random.Below(8)) + (random.Below(3) == 0 ? random.Below(6) : 0);
        const int probeWords = 1 + random.Below(3);
        std::u16string probe;
        for (int k = 0; k < probeWords; ++k) probe += (k ? u" g" : u"g") + std::u16string(1, char16_t(u'0' + k));
        std::u16string text1, text2;
        auto word = [](char16_t prefix, int i) {
            std::u16string w(1, prefix);
            for (const char c : std::to_string(i)) w += static_cast<char16_t>(c);
            return w;
        };
        for (int i = 1; i <= runs; ++i) {
            // Runs of the sixth colour hold no probe; now and then a run is left out.
            const std::u16string middle = i % 6 == 0 || random.Below(10) == 0 ? u"h" : probe;
            const std::u16string run = word(u'u', i) + u" " + middle + u" " + word(u'v', i) + end;
            text1 += run + u" " + word(u's', i) + end + u" ";
            text2 += run + u" " + (random.Below(8) == 0 ? probe : word(u't', i)) + end + u" ";
        }
        text2 += probe + u" w" + end;
        for (int m = random.Below(40); m > 0; --m) text1 += probe + (random.Below(5) == 0 ? u" w" : u" z") + end + u" ";
        const int length = kind != ukWords ? 1 + random.Below(2)
                           : random.Below(3) == 0 ? 1 + random.Below(6)
                                                  : probeWords + 1;
        ASSERT_NO_FATAL_FAILURE(CheckPair(text1, text2, length, kind));
    }
}

// Found by the fuzz target: an occurrence marked spoilt for a colour by a
// word of the colour before it becomes usable once a new run gives that
// word this colour; the suffix array's table for the length lists it.
TEST(FindMatchDifferential, SpoiltMarkClearedWhenItsWordTakesTheColour) {
    ASSERT_NO_FATAL_FAILURE(CheckPair(u"a b!b a.b a \t b b a a b : b ab b?a b ba.b a a b b a b.b.a b.b a b b a",
                                      u"b b :?b a a a b.a.b a b b.b a,aa.b a b a a a b.a", 2, ukWords, 0, 1));
}

// The whole command against the literal walk followed by a literal,
// run-per-word rendering: the joined runs must look exactly the same.
TEST(FindMatchDifferential, WholeCommandRendersLikeTheLiteralRuns) {
    TRandomArticles random(99);
    for (int round = 0; round < 1500; ++round) {
        const std::vector<std::u16string> vocabulary = random.Vocabulary();
        const bool adversarial = round % 3 == 0;
        const std::u16string text1 = adversarial ? random.Adversarial(60) : random.Article(vocabulary, 25);
        std::u16string text2 = adversarial ? random.Adversarial(60) : random.Variant(text1, vocabulary);
        // Articles that match word for word, letter case aside, take a short cut.
        if (round % 20 == 7) text2 = text1;
        if (round % 20 == 17)
            for (char16_t& c : text2 = text1)
                if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        // Longer than either article now and then: the windows are clipped.
        const int length = adversarial ? (round % 30 == 0 ? 1000 : 1 + random.Below(20)) : 1 + random.Below(5);
        const int kind = random.Below(3);
        SCOPED_TRACE("article1='" + Describe(text1) + "' article2='" + Describe(text2) + "'");

        TComparePanes p(text1, text2);
        // The quick pair lookup hands over to the suffix search wherever its
        // budget runs out: at any window, or never.
        p.comparer.FSearch.PairSearchBudget = random.Below(3) == 0 ? -1 : random.Below(600);
        p.comparer.FSearch.EagerLookupTables = random.Below(2) == 0;
        p.comparer.FSearch.HashedLookupTables = random.Below(3) != 0;
        const TCompareOutcome outcome = p.Compare(length, kind);

        reference::TLiteralComparer literal = LiteralFor(text1, text2, length, kind);
        WalkLiterally(literal);

        const bool runs = !TrimBlanks(text1).empty() && !TrimBlanks(text2).empty();
        ASSERT_EQ(outcome.Ran, runs);
        if (!runs) continue;
        ASSERT_EQ(Colors(p.comparer.FWords1), Colors(literal.Words1));
        ASSERT_EQ(Colors(p.comparer.FWords2), Colors(literal.Words2));

        // Without panes (the command-line companion): the same colours and percentage.
        TArticleComparer stored;
        Load(stored, text1, text2);
        stored.FSearch.PairSearchBudget = random.Below(2) == 0 ? 0 : random.Below(600);
        const TCompareOutcome storedOutcome = stored.CompareStored(length, kind, stored.FWords2.Count());
        ASSERT_EQ(storedOutcome.Percentage, outcome.Percentage);
        ASSERT_EQ(Colors(stored.FWords1), Colors(literal.Words1));
        ASSERT_EQ(Colors(stored.FWords2), Colors(literal.Words2));
        int highlighted = 0;
        for (const TWord& w : literal.Words2) highlighted += w.Color != 0xFFFFFF ? 1 : 0;
        const double expected =
            literal.Words2.Count() > 0 ? highlighted / static_cast<double>(literal.Words2.Count()) * 100 : 0;
        ASSERT_EQ(outcome.Percentage, expected);

        for (int article = 1; article <= 2; ++article) {
            const TListWords& words = article == 1 ? literal.Words1 : literal.Words2;
            const std::u16string& text = article == 1 ? text1 : text2;
            TMemoryRichTextPane plain;
            // One AppendRun per gap and per word, as the window's pane receives them.
            long long previousEnd = 1;
            TColor previousColor = 0xFFFFFF;
            for (const TWord& w : words) {
                const auto gap = text.substr(static_cast<std::size_t>(previousEnd - 1),
                                             static_cast<std::size_t>(w.StartPos - previousEnd));
                if (!gap.empty()) AppendRun(plain, gap, w.Color == previousColor ? w.Color : 0xFFFFFF);
                AppendRun(plain, text.substr(static_cast<std::size_t>(w.StartPos - 1),
                                             static_cast<std::size_t>(w.EndPos - w.StartPos)),
                          w.Color);
                previousColor = w.Color;
                previousEnd = w.EndPos;
            }
            const auto trailing = text.substr(static_cast<std::size_t>(previousEnd - 1));
            if (!trailing.empty()) AppendRun(plain, trailing, previousColor);
            const TMemoryRichTextPane& rendered = article == 1 ? p.pane1 : p.pane2;
            ASSERT_EQ(rendered.Text(), plain.Text());
            ASSERT_EQ(rendered.Formats(), plain.Formats()) << "article " << article;
        }
    }
}

}  // namespace
}  // namespace rasp
