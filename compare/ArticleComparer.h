#pragma once
// The comparison state of the main window and the Compare command: windows of
// N units slide over article 1, each is searched for in article 2, matched
// words of both articles take a colour of the six-colour cycle, and both panes
// are rebuilt with coloured runs.

#include <memory>
#include <string>

#include "compare/HighlightColor.h"
#include "compare/WindowWalk.h"
#include "platform/pane/RichTextPane.h"
#include "text/SpanLists.h"

namespace rasp {

class TWindowSearch;

struct TCompareOutcome {
    bool Ran = false;         // false: an article was empty or blank, nothing changed
    double Percentage = 0.0;  // exact; the window shows it rounded
};

class TArticleComparer {
public:
    TArticleComparer();
    ~TArticleComparer();
    TArticleComparer(const TArticleComparer&) = delete;
    TArticleComparer& operator=(const TArticleComparer&) = delete;

    // Spans of the two articles. The window's change handling refills them.
    TListWords FWords1;
    TListSentences FSentences1;
    TListParagraphs FParagraphs1;
    TListWords FWords2;
    TListSentences FSentences2;
    TListParagraphs FParagraphs2;
    // Normalised texts as last stored by the change handling; word texts and
    // the rebuilt panes are taken from these.
    std::u16string FText1;
    std::u16string FText2;

    int FMinLength = 1;          // window length in units, 1 or more
    int FUnitKind = ukWords;     // 0 words, 1 sentences, 2 paragraphs
    int FColorIndex = 0;         // 0 before the first match, 1..6 afterwards
    // True while a comparison rebuilds the panes; the panes' change handling
    // must then return at once.
    bool Comparing = false;
    // Which ways the match search takes (tests reach each of them).
    TSearchOptions FSearch;

    // The Compare command. minNumWords is the spin edit's value, cbxTypeIndex
    // the combo box's item index, edtWords2Value the article-2 word counter.
    // Comparing is false again when this returns, whether normally or by an
    // exception.
    TCompareOutcome CompareEx(IRichTextPane& rchArticle1, IRichTextPane& rchArticle2,
                              double minNumWords, int cbxTypeIndex, double edtWords2Value);
    // The same comparison on the stored texts, without panes: the colours end
    // up in the word lists and nothing is rendered (for callers that print
    // the result instead of showing it).
    TCompareOutcome CompareStored(double minNumWords, int cbxTypeIndex, double edtWords2Value);

    // The next window of the walk over article 1: advances the unit cursor
    // (start it at -1) and gives the window as an inclusive range of word
    // indices of article 1.
    bool NextWindow(int& cursor, int& start, int& end) const;

    // Searches article 2 for the words A0..A1 of article 1, continuing after
    // the previous match (ResumePos, -1 at the start of a comparison), and
    // marks both ranges in the current colour. M0, M1 are written only when
    // found. The word lists and texts must not change between calls unless
    // PrepareFindMatch is called again.
    bool FindMatch(int A0, int A1, int& ResumePos, int& M0, int& M1);
    // (Re)builds the lookup that FindMatch uses from the current lists and
    // texts; FindMatch builds it on first use.
    void PrepareFindMatch();
    void DropFindMatch() noexcept;

    // Number of words of article 2 that carry a highlight.
    int HighlightedWords2() const noexcept;

    // Window length from the spin edit's value: truncated toward zero, at least 1.
    static int WindowLength(double minNumWords) noexcept;

private:
    // Segments both texts, walks the windows and leaves the colours in the
    // word lists.
    void RunComparison(const std::u16string& text1, const std::u16string& text2, double minNumWords,
                       int cbxTypeIndex);
    TCompareOutcome Outcome(double edtWords2Value) const;

    std::unique_ptr<TWindowSearch> FIndex;
};

}  // namespace rasp
