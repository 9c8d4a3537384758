#include "compare/KeywordDensity.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "compare/HighlightRender.h"
#include "text/TextTrim.h"

namespace rasp {

namespace {

struct TRange {
    int Start = 0;
    int End = 0;  // exclusive
};

// Every occurrence as the pane's own search finds it, from position 0, each
// next search starting one character after the previous occurrence (so
// overlapping occurrences count too); the range always ends one past the
// length of the text as lines.
std::vector<int> FindOccurrences(const IRichTextPane& pane, const std::u16string& keyword,
                                 const std::function<void()>& processMessages) {
    std::vector<int> found;
    const int searchEnd = pane.LinesTextLength();
    int position = pane.FindText(keyword, 0, searchEnd);
    while (position >= 0) {
        found.push_back(position);
        if (processMessages) processMessages();
        const int next = position + 1;
        if (next > searchEnd) break;
        position = pane.FindText(keyword, next, searchEnd + 1);
        if (position >= 0 && position < next) break;  // a pane must never go backwards
    }
    return found;
}

// The occurrences joined where they overlap or touch: highlighting each one
// on its own gives the same characters the same format, at far fewer edits.
std::vector<TRange> Union(const std::vector<int>& starts, int length) {
    std::vector<TRange> ranges;
    for (const int start : starts) {
        if (!ranges.empty() && start <= ranges.back().End)
            ranges.back().End = std::max(ranges.back().End, start + length);
        else
            ranges.push_back({start, start + length});
    }
    return ranges;
}

class TBulkFormat {
public:
    explicit TBulkFormat(IRichTextPane& pane) : FPane(pane) { FPane.BeginBulkFormat(); }
    ~TBulkFormat() { FPane.EndBulkFormat(); }
    TBulkFormat(const TBulkFormat&) = delete;
    TBulkFormat& operator=(const TBulkFormat&) = delete;

private:
    IRichTextPane& FPane;
};

}  // namespace

TDensityResult CalculateKwDensity(IRichTextPane& pane, const std::u16string& phrase,
                                  double wordCounter,
                                  const std::function<void()>& processMessages) {
    TDensityResult result;
    const std::u16string keyword(TrimBlanks(phrase));
    // Searching changes nothing in the pane, so all occurrences are found
    // first and the pane is then formatted in one batch: earlier highlighting
    // cleared, the occurrences black on yellow, the last one selected.
    std::vector<int> found;
    if (!keyword.empty()) found = FindOccurrences(pane, keyword, processMessages);
    const int keyLength = static_cast<int>(keyword.size());
    {
        TBulkFormat batch(pane);
        ClearFormatting(pane);
        for (const TRange& r : Union(found, keyLength)) {
            pane.Select(r.Start, r.End - r.Start);
            pane.SetSelAttributes(clBlack, false);
            SetSelBackColor(pane, clYellow);
        }
        if (!found.empty()) pane.Select(found.back(), keyLength);
    }
    result.Count = static_cast<int>(found.size());

    const std::u16string text = pane.GetText();
    const bool hasText = std::any_of(text.begin(), text.end(),
                                     [](char16_t c) { return c != u'\r' && c != u'\n'; });
    if (hasText && wordCounter > 0) result.Percentage = result.Count / wordCounter * 100;
    return result;
}

}  // namespace rasp
