#include "compare/HighlightRender.h"

#include "compare/WordText.h"

namespace rasp {

namespace {

// Collects the runs of the rebuilt pane, joining neighbours of one colour:
// the format of a run follows from its colour alone, so the joined run looks
// the same and the pane gets far fewer edits.
class TRunWriter {
public:
    void Add(std::u16string_view text, TColor color) {
        if (text.empty()) return;
        if (!FRuns.empty() && FRuns.back().BackColor == color)
            FRuns.back().Length += text.size();
        else
            FRuns.push_back({text.size(), color});
        FText += text;
    }
    std::u16string FText;
    std::vector<THighlightRun> FRuns;
};

}  // namespace

void SetSelBackColor(IRichTextPane& pane, TColor color) { pane.SetSelBackColor(color); }

void ClearFormatting(IRichTextPane& pane) {
    pane.Select(0, static_cast<int>(pane.GetText().size()));
    pane.SetSelAttributes(clBlack, false);
    SetSelBackColor(pane, clWhite);
    pane.Select(0, 0);
}

void AppendRun(IRichTextPane& pane, std::u16string_view text, TColor color) {
    pane.SetSelAttributes(clBlack, color != clWhite);
    SetSelBackColor(pane, color);
    pane.ReplaceSelection(std::u16string(text));
}

void RenderHighlights(IRichTextPane& pane, const TListWords& words, const std::u16string& text) {
    TRunWriter writer;
    writer.FText.reserve(text.size());
    long long previousEnd = 1;
    TColor previousColor = clWhite;
    for (const TWord& word : words) {
        const std::u16string_view gap = CopyText(text, previousEnd, word.StartPos - previousEnd);
        writer.Add(gap, word.Color == previousColor ? word.Color : clWhite);
        writer.Add(WordText(text, word), word.Color);
        previousColor = word.Color;
        previousEnd = word.EndPos;
    }
    writer.Add(CopyText(text, previousEnd, static_cast<long long>(text.size()) - previousEnd + 1),
               previousColor);
    pane.ReplaceWithRuns(writer.FText, writer.FRuns);
}

}  // namespace rasp
