#include "compare/KeywordDensity.h"

#include <algorithm>

#include "compare/HighlightRender.h"
#include "text/TextTrim.h"

namespace rasp {

TDensityResult CalculateKwDensity(IRichTextPane& pane, const std::u16string& phrase,
                                  double wordCounter,
                                  const std::function<void()>& processMessages) {
    ClearFormatting(pane);
    TDensityResult result;

    const std::u16string keyword(TrimBlanks(phrase));
    if (!keyword.empty()) {
        const int searchEnd = pane.LinesTextLength();
        const int keyLength = static_cast<int>(keyword.size());
        int position = pane.FindText(keyword, 0, searchEnd);
        while (position >= 0) {
            ++result.Count;
            pane.Select(position, keyLength);
            pane.SetSelAttributes(clBlack, false);
            SetSelBackColor(pane, clYellow);
            if (processMessages) processMessages();
            // The next search starts one character on, so overlapping
            // occurrences count too; the range always ends one past searchEnd.
            const int next = position + 1;
            if (next > searchEnd) break;
            position = pane.FindText(keyword, next, searchEnd + 1);
            if (position >= 0 && position < next) break;  // a pane must never go backwards
        }
    }

    const std::u16string text = pane.GetText();
    const bool hasText = std::any_of(text.begin(), text.end(),
                                     [](char16_t c) { return c != u'\r' && c != u'\n'; });
    if (hasText && wordCounter > 0) result.Percentage = result.Count / wordCounter * 100;
    return result;
}

}  // namespace rasp
