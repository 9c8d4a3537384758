#pragma once
// An article pane on a QTextEdit. The rest of the program speaks CR LF text
// and CR LF positions to it; the pane maps them onto the document. Whatever
// arrives through the clipboard or a drop is inserted as plain text.

#include "platform/pane/RichTextPane.h"
#include "platform/qtpane/PaneTextCache.h"

#include <QTextCursor>
#include <QTextEdit>

namespace rasp {

class QtRichTextPane : public QTextEdit, public IRichTextPane {
    Q_OBJECT
public:
    explicit QtRichTextPane(QWidget* parent = nullptr);
    ~QtRichTextPane() override;

    std::u16string GetText() const override;
    void SetText(const std::u16string& text) override;
    void SetLinesText(const std::vector<std::u16string>& lines) override;
    int LinesTextLength() const override;
    void Clear() override;

    void Select(int start, int length) override;
    int SelStart() const override;
    int SelLength() const override;
    void SetSelAttributes(TColor textColor, bool bold) override;
    void SetSelBackColor(TColor color) override;
    void ReplaceSelection(const std::u16string& text) override;

    int FindText(const std::u16string& what, int start, int end) const override;

    void PastePlainText() override;
    void LoadFromFile(const std::string& path) override;

    void SetOnChange(std::function<void()> handler) override { FOnChange = std::move(handler); }

    // Rewrites text as it is typed, pasted, dropped, loaded or given as
    // lines, before it reaches the document: what the window would replace anyway then never enters the
    // pane, and the edit stays one undo step.
    void SetInputFilter(std::function<void(QString&)> filter) { FInputFilter = std::move(filter); }

    void BeginBulkEdit() override;
    void EndBulkEdit() override;
    void BeginBulkFormat() override;
    void EndBulkFormat() override;
    // The rebuild in one pass: the same runs inserted into the emptied
    // document inside one edit block, with no undo record, so that the
    // document is laid out afresh from the visible part on rather than all of
    // it at once and twice over.
    void ReplaceWithRuns(const std::u16string& text, const std::vector<THighlightRun>& runs) override;

    // Text colour, bold flag and background of the character at a CR LF
    // position (what tests and screenshots check).
    struct TFormatAt {
        TColor TextColor = clBlack;
        bool Bold = false;
        TColor BackColor = clWhite;
    };
    TFormatAt FormatAt(int position) const;

    static QColor ToQColor(TColor color);
    static TColor FromQColor(const QColor& color);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    const TPaneTextCache& Cache() const;
    QTextCursor Cursor() const;
    // Format of the character at a document position, line breaks included.
    QTextCharFormat DocumentFormat(int docPosition) const;
    void Apply(const QTextCursor& cursor);
    void ReplaceAll(const std::u16string& text);
    void InsertPlain(QString text);
    void ContentsChange(int position, int removed, int added);
    void DocumentChanged();

    mutable TPaneTextCache FCache;
    std::function<void()> FOnChange;
    QTextCursor FBulk;
    int FBulkDepth = 0;
    int FBulkScroll = 0;
    // A formatting batch holds the document's page size here while the
    // layout is switched off.
    QSizeF FHeldPageSize;
    bool FHoldingLayout = false;
    bool FFormatOnly = false;
    int FBulkTop = 0;  // document position at the top of the view
    bool FTextChanged = false;
    std::function<void(QString&)> FInputFilter;
};

}  // namespace rasp
