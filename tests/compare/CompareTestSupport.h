#pragma once
// Setting up a comparer from two texts the way the window leaves it after
// both panes' change handling, and reading word colours back.

#include <string>
#include <vector>

#include "compare/ArticleComparer.h"
#include "platform/pane/MemoryRichTextPane.h"
#include "text/SplitArticle.h"

namespace rasp::testing {

inline constexpr TColor kCyan = 0xFFFF00;
inline constexpr TColor kLightGreen = 0xC0DCC0;
inline constexpr TColor kYellow = 0x00FFFF;
inline constexpr TColor kRed = 0x0000FF;
inline constexpr TColor kOlive = 0x008080;
inline constexpr TColor kSilver = 0xC0C0C0;
inline constexpr TColor kWhite = 0xFFFFFF;

inline void Load(TArticleComparer& c, const std::u16string& text1, const std::u16string& text2) {
    c.FText1 = text1;
    c.FText2 = text2;
    SplitArticle(text1, c.FWords1, c.FSentences1, c.FParagraphs1);
    SplitArticle(text2, c.FWords2, c.FSentences2, c.FParagraphs2);
    c.PrepareFindMatch();
}

inline std::vector<TColor> Colors(const TListWords& words) {
    std::vector<TColor> out;
    for (const TWord& w : words) out.push_back(w.Color);
    return out;
}

// Both panes filled as the window fills them, the comparer loaded alike.
struct TComparePanes {
    TArticleComparer comparer;
    TMemoryRichTextPane pane1;
    TMemoryRichTextPane pane2;
    TComparePanes(const std::u16string& text1, const std::u16string& text2) {
        pane1.SetText(text1);
        pane2.SetText(text2);
        Load(comparer, text1, text2);
    }
    TCompareOutcome Compare(double minLength, int unitKind) {
        return comparer.CompareEx(pane1, pane2, minLength, unitKind, comparer.FWords2.Count());
    }
};

}  // namespace rasp::testing
