#include "platform/pane/MemoryRichTextPane.h"

#include <algorithm>
#include <stdexcept>

#include "platform/textload/TextFileLoader.h"
#include "text/ArticleDecode.h"

namespace rasp {

char16_t FoldPaneCase(char16_t c) noexcept {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) ||  // Latin-1 capitals
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||  // Greek capitals
        (c >= 0x410 && c <= 0x42F))                  // Cyrillic capitals
        return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    return c;
}

void TMemoryRichTextPane::Changed() {
    ++FChangeCount;
    if (FOnChange) FOnChange();
}

void TMemoryRichTextPane::ReplaceContent(std::u16string text) {
    if (text == FText) return;
    FText = std::move(text);
    FFormats.assign(FText.size(), TCharFormat{});
    FInsertFormat = TCharFormat{};
    FSelStart = 0;
    FSelLength = 0;
    Changed();
}

void TMemoryRichTextPane::SetText(const std::u16string& text) { ReplaceContent(text); }

void TMemoryRichTextPane::SetLinesText(const std::vector<std::u16string>& lines) {
    std::u16string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::u16string_view line = lines[i];
        if (line.ends_with(u"\r\n")) {
            line.remove_suffix(2);
        } else if (line.ends_with(u'\n') || line.ends_with(u'\r')) {
            line.remove_suffix(1);
        }
        if (i > 0) joined += u"\r\n";
        joined += line;
    }
    ReplaceContent(NormaliseLineBreaks(joined));
}

int TMemoryRichTextPane::LinesTextLength() const {
    // Every line, the last one included, is followed by CR LF; a break at the
    // very end does not start another line.
    std::size_t length = 0;
    std::size_t i = 0;
    const std::size_t n = FText.size();
    while (i < n) {
        std::size_t lineEnd = i;
        while (lineEnd < n && FText[lineEnd] != u'\r' && FText[lineEnd] != u'\n') ++lineEnd;
        length += lineEnd - i + 2;
        i = lineEnd;
        if (i < n && FText[i] == u'\r') ++i;
        if (i < n && FText[i] == u'\n') ++i;
    }
    return static_cast<int>(std::min<std::size_t>(length, 0x7FFFFFFF));
}

void TMemoryRichTextPane::Clear() { ReplaceContent(std::u16string()); }

void TMemoryRichTextPane::Select(int start, int length) {
    const int size = Length();
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    FSelStart = start;
    FSelLength = length;
    if (length == 0 && size > 0) {
        // A collapsed selection takes the format of the character before it,
        // as a rich text control does.
        FInsertFormat = FFormats[static_cast<std::size_t>(start > 0 ? start - 1 : 0)];
    }
}

void TMemoryRichTextPane::SetSelAttributes(TColor textColor, bool bold) {
    if (FSelLength == 0) {
        FInsertFormat.TextColor = textColor;
        FInsertFormat.Bold = bold;
        return;
    }
    for (int i = FSelStart; i < FSelStart + FSelLength; ++i) {
        FFormats[static_cast<std::size_t>(i)].TextColor = textColor;
        FFormats[static_cast<std::size_t>(i)].Bold = bold;
    }
}

void TMemoryRichTextPane::SetSelBackColor(TColor color) {
    if (FSelLength == 0) {
        FInsertFormat.BackColor = color;
        return;
    }
    for (int i = FSelStart; i < FSelStart + FSelLength; ++i)
        FFormats[static_cast<std::size_t>(i)].BackColor = color;
}

void TMemoryRichTextPane::ReplaceSelection(const std::u16string& text) {
    if (text.empty() && FSelLength == 0) return;
    if (FText.size() + text.size() > 0x7FFFFFFE) throw std::length_error("pane text too long");
    const TCharFormat format =
        FSelLength > 0 ? FFormats[static_cast<std::size_t>(FSelStart)] : FInsertFormat;
    const auto start = static_cast<std::size_t>(FSelStart);
    const auto removed = static_cast<std::size_t>(FSelLength);
    FText.replace(start, removed, text);
    FFormats.erase(FFormats.begin() + static_cast<std::ptrdiff_t>(start),
                   FFormats.begin() + static_cast<std::ptrdiff_t>(start + removed));
    FFormats.insert(FFormats.begin() + static_cast<std::ptrdiff_t>(start), text.size(), format);
    FInsertFormat = format;
    FSelStart = static_cast<int>(start + text.size());
    FSelLength = 0;
    Changed();
}

int TMemoryRichTextPane::FindText(const std::u16string& what, int start, int end) const {
    const int size = Length();
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    if (what.empty() || static_cast<int>(what.size()) > end - start) return -1;
    const auto first = FText.begin() + start;
    const auto last = FText.begin() + end;
    const auto hit = std::search(first, last, what.begin(), what.end(), [](char16_t a, char16_t b) {
        return FoldPaneCase(a) == FoldPaneCase(b);
    });
    return hit == last ? -1 : static_cast<int>(hit - FText.begin());
}

void TMemoryRichTextPane::PastePlainText() {
    if (FClipboard.empty()) return;
    ReplaceSelection(NormaliseLineBreaks(FClipboard));
}

void TMemoryRichTextPane::LoadFromFile(const std::string& path) {
    // The window's own loader: rich text first, then plain text.
    ReplaceContent(LoadTextFile(path));
}

}  // namespace rasp
