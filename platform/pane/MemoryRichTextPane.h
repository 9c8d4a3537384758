#pragma once
// An article pane held in memory: the text plus a text colour, bold flag and
// background colour per character. The tests and the command-line companion
// run the comparison, the highlighting and the keyword density against it.

#include <string>
#include <vector>

#include "platform/pane/RichTextPane.h"

namespace rasp {

struct TCharFormat {
    TColor TextColor = clBlack;
    bool Bold = false;
    TColor BackColor = clWhite;
    bool operator==(const TCharFormat&) const = default;
};

class TMemoryRichTextPane : public IRichTextPane {
public:
    std::u16string GetText() const override { return FText; }
    void SetText(const std::u16string& text) override;
    void SetLinesText(const std::vector<std::u16string>& lines) override;
    int LinesTextLength() const override;
    void Clear() override;

    void Select(int start, int length) override;
    int SelStart() const override { return FSelStart; }
    int SelLength() const override { return FSelLength; }
    void SetSelAttributes(TColor textColor, bool bold) override;
    void SetSelBackColor(TColor color) override;
    void ReplaceSelection(const std::u16string& text) override;

    int FindText(const std::u16string& what, int start, int end) const override;

    void PastePlainText() override;
    void LoadFromFile(const std::string& path) override;

    void SetOnChange(std::function<void()> handler) override { FOnChange = std::move(handler); }

    // What the tests look at.
    const std::u16string& Text() const { return FText; }
    int Length() const { return static_cast<int>(FText.size()); }
    TCharFormat CharFormat(int position) const { return FFormats.at(static_cast<std::size_t>(position)); }
    const std::vector<TCharFormat>& Formats() const { return FFormats; }
    TCharFormat InsertionFormat() const { return FInsertFormat; }
    // The text that PastePlainText inserts.
    void SetClipboardText(std::u16string text) { FClipboard = std::move(text); }
    int ChangeCount() const { return FChangeCount; }

private:
    void ReplaceContent(std::u16string text);
    void Changed();

    std::u16string FText;
    std::vector<TCharFormat> FFormats;  // one per code unit of FText
    TCharFormat FInsertFormat;
    int FSelStart = 0;
    int FSelLength = 0;
    std::u16string FClipboard;
    std::function<void()> FOnChange;
    int FChangeCount = 0;
};

// Letter case folding for the pane's search: ASCII, Latin-1, Greek and Cyrillic
// capitals map to their small letters.
char16_t FoldPaneCase(char16_t c) noexcept;

}  // namespace rasp
