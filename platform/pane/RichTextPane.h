#pragma once
// The operations of an article pane that the comparison, the keyword density,
// the editing behaviour and the import rely on. The window's panes implement it
// on a QTextEdit; the tests and the command-line companion use the in-memory one.
//
// Text is UTF-16 code units with CR LF line breaks; positions are 0-based code
// unit offsets into that text.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rasp {

// 0x00BBGGRR, as the span records hold it. 0xFFFFFF means "not highlighted".
using TColor = std::uint32_t;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clYellow = 0x00FFFF;

// One run of a rebuilt pane: Length code units of black text on BackColor,
// bold unless BackColor is white.
struct THighlightRun {
    std::size_t Length = 0;
    TColor BackColor = clWhite;
};

class IRichTextPane {
public:
    virtual ~IRichTextPane() = default;

    // The whole text, line breaks as CR LF.
    virtual std::u16string GetText() const = 0;
    // Replaces the whole content; does nothing (no change notification) when
    // the new text equals the current one.
    virtual void SetText(const std::u16string& text) = 0;
    // Replaces the content by a text given as lines (each may end in CR, LF or
    // CR LF; the pane shows one line per entry).
    virtual void SetLinesText(const std::vector<std::u16string>& lines) = 0;
    // Length of the content as lines each followed by CR LF.
    virtual int LinesTextLength() const = 0;
    // Removes the whole content.
    virtual void Clear() = 0;

    virtual void Select(int start, int length) = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    // Text colour and bold style of the selection, or of the insertion point
    // when the selection is empty.
    virtual void SetSelAttributes(TColor textColor, bool bold) = 0;
    // Background colour of the selection, or of the insertion point.
    virtual void SetSelBackColor(TColor color) = 0;
    // Inserts text in place of the selection; the insertion point ends after
    // it and the inserted text takes the insertion point's format.
    virtual void ReplaceSelection(const std::u16string& text) = 0;

    // First occurrence of `what` in [start, end), letter case ignored as the
    // text control ignores it, not limited to whole words; -1 when absent.
    virtual int FindText(const std::u16string& what, int start, int end) const = 0;

    // Pastes the clipboard as plain text.
    virtual void PastePlainText() = 0;
    // Loads a file: as rich text first, then as plain text; throws
    // std::runtime_error("Failed to Load Stream") when both fail.
    virtual void LoadFromFile(const std::string& path) = 0;

    // Raised after every change of the content (typed, pasted, loaded or set
    // by the program).
    virtual void SetOnChange(std::function<void()> handler) = 0;

    // A rebuild that appends many runs may be wrapped in these so that a pane
    // can batch its edits (one undo step, one re-layout). Optional.
    virtual void BeginBulkEdit() {}
    virtual void EndBulkEdit() {}

    // The same for a batch that changes formatting only (no text): a pane may
    // then lay its text out again after the batch, the visible part first.
    // Optional; a plain bulk edit by default.
    virtual void BeginBulkFormat() { BeginBulkEdit(); }
    virtual void EndBulkFormat() { EndBulkEdit(); }

    // Replaces the whole content by `text` cut into `runs` (their lengths add
    // up to the text's), each formatted as its colour says; the insertion
    // point ends after the text with the last run's format. The default
    // clears the formatting, empties the pane and appends run by run with the
    // operations above, inside one bulk edit; a pane may do the same in one pass.
    virtual void ReplaceWithRuns(const std::u16string& text, const std::vector<THighlightRun>& runs);
};

inline void IRichTextPane::ReplaceWithRuns(const std::u16string& text, const std::vector<THighlightRun>& runs) {
    struct TBulk {
        IRichTextPane& Pane;
        explicit TBulk(IRichTextPane& pane) : Pane(pane) { Pane.BeginBulkEdit(); }
        ~TBulk() { Pane.EndBulkEdit(); }
        TBulk(const TBulk&) = delete;
        TBulk& operator=(const TBulk&) = delete;
    } bulk(*this);
    Select(0, static_cast<int>(GetText().size()));
    SetSelAttributes(clBlack, false);
    SetSelBackColor(clWhite);
    Select(0, 0);
    Clear();
    std::size_t at = 0;
    for (const THighlightRun& run : runs) {
        SetSelAttributes(clBlack, run.BackColor != clWhite);
        SetSelBackColor(run.BackColor);
        ReplaceSelection(text.substr(at, run.Length));
        at += run.Length;
    }
}

}  // namespace rasp
