#include "compare/HighlightRender.h"

#include "compare/WordText.h"

namespace rasp {

namespace {

// Appends runs at the end of the pane, joining neighbours of one colour: the
// format of a run follows from its colour alone, so the joined run looks the
// same and the pane gets far fewer edits.
class TRunWriter {
public:
    explicit TRunWriter(IRichTextPane& pane) : FPane(pane) {}
    void Add(std::u16string_view text, TColor color) {
        if (text.empty()) return;
        if (!FPending.empty() && color != FColor) Flush();
        FColor = color;
        FPending += text;
    }
    void Flush() {
        if (FPending.empty()) return;
        AppendRun(FPane, FPending, FColor);
        FPending.clear();
    }

private:
    IRichTextPane& FPane;
    std::u16string FPending;
    TColor FColor = clWhite;
};

class TBulkEdit {
public:
    explicit TBulkEdit(IRichTextPane& pane) : FPane(pane) { FPane.BeginBulkEdit(); }
    ~TBulkEdit() { FPane.EndBulkEdit(); }
    TBulkEdit(const TBulkEdit&) = delete;
    TBulkEdit& operator=(const TBulkEdit&) = delete;

private:
    IRichTextPane& FPane;
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
    TBulkEdit bulk(pane);
    ClearFormatting(pane);
    pane.Clear();

    TRunWriter writer(pane);
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
    writer.Flush();
}

}  // namespace rasp
