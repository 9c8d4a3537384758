#include "platform/qtpane/QtRichTextPane.h"

#include "platform/pane/MemoryRichTextPane.h"
#include "platform/textload/TextFileLoader.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace rasp {

namespace {

QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// Line and paragraph separators would be line breaks the CR LF text cannot
// tell from its own; they become ordinary breaks.
QString PlainForPane(QString text)
{
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

}  // namespace

QColor QtRichTextPane::ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor QtRichTextPane::FromQColor(const QColor& color)
{
    return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8) |
           (static_cast<TColor>(color.blue()) << 16);
}

QtRichTextPane::QtRichTextPane(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    document()->setDefaultFont(font);
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { ContentsChange(position, removed, added); });
    connect(this, &QTextEdit::textChanged, this, [this] { DocumentChanged(); });
    FCache.Rebuild(*document());
}

QtRichTextPane::~QtRichTextPane()
{
    // No notifications while the widget is half destroyed.
    FOnChange = nullptr;
    disconnect(document(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
}

const TPaneTextCache& QtRichTextPane::Cache() const
{
    if (!FCache.Valid())
        FCache.Rebuild(*document());
    return FCache;
}

// Formatting changes leave the text alone: only a real change of the text
// raises the change notification.
void QtRichTextPane::ContentsChange(int position, int removed, int added)
{
    // Within a formatting batch only the format changes; the text as the
    // cache holds it stays true (our own text edits invalidate it first).
    if (FFormatOnly && removed == added && FCache.Valid())
        return;
    if (removed == added && FCache.Valid()) {
        if (added <= 4096) {
            if (FCache.SameText(*document(), position, added))
                return;
        } else {
            const std::u16string before = FCache.Text();
            FCache.Rebuild(*document());
            if (FCache.Text() == before)
                return;
            FTextChanged = true;
            return;
        }
    }
    FCache.Invalidate();
    FTextChanged = true;
}

void QtRichTextPane::DocumentChanged()
{
    if (!FTextChanged || FBulkDepth > 0)
        return;
    FTextChanged = false;
    if (FOnChange)
        FOnChange();
}

std::u16string QtRichTextPane::GetText() const
{
    return Cache().Text();
}

QTextCursor QtRichTextPane::Cursor() const
{
    return FBulkDepth > 0 ? FBulk : textCursor();
}

void QtRichTextPane::Apply(const QTextCursor& cursor)
{
    if (FBulkDepth > 0)
        FBulk = cursor;
    else
        setTextCursor(cursor);
}

void QtRichTextPane::ReplaceAll(const std::u16string& text)
{
    QTextCursor c(document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockCharFormat(QTextCharFormat());
    c.setCharFormat(QTextCharFormat());
    c.insertText(ToQString(text), QTextCharFormat());
    c.endEditBlock();
    FCache.Invalidate();
    c.setPosition(0);
    Apply(c);
}

void QtRichTextPane::SetText(const std::u16string& text)
{
    const std::u16string& old = Cache().Text();
    if (old == text)
        return;
    // Only the stretch that differs is replaced, so the caret and the
    // formatting of the rest stay where they were.
    std::size_t prefix = 0;
    const std::size_t common = std::min(old.size(), text.size());
    while (prefix < common && old[prefix] == text[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < common - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    auto splitsBreak = [](const std::u16string& s, std::size_t at) {
        return at > 0 && at < s.size() && s[at - 1] == u'\r' && s[at] == u'\n';
    };
    while (splitsBreak(old, prefix) || splitsBreak(text, prefix))
        --prefix;
    while (suffix > 0 && (splitsBreak(old, old.size() - suffix) || splitsBreak(text, text.size() - suffix)))
        --suffix;
    if (prefix == 0 && suffix == 0) {
        ReplaceAll(text);
        return;
    }
    QTextCursor c(document());
    c.setPosition(FCache.ToDocument(static_cast<int>(prefix)));
    c.setPosition(FCache.ToDocument(static_cast<int>(old.size() - suffix)), QTextCursor::KeepAnchor);
    const QTextCharFormat format = c.charFormat();
    const std::u16string_view middle(text.data() + prefix, text.size() - prefix - suffix);
    FCache.Invalidate();
    c.insertText(ToQString(middle), format);
}

void QtRichTextPane::SetLinesText(const std::vector<std::u16string>& lines)
{
    QString joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QString line = ToQString(lines[i]);
        if (line.endsWith(QStringLiteral("\r\n")))
            line.chop(2);
        else if (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (i > 0)
            joined += QStringLiteral("\r\n");
        joined += PlainForPane(line);
    }
    if (FInputFilter)
        FInputFilter(joined);
    // The document turns every CR, LF and CR LF into one break; read it back
    // in CR LF form to see whether anything changes.
    QTextDocument probe;
    probe.setPlainText(joined);
    TPaneTextCache probed;
    probed.Rebuild(probe);
    if (probed.Text() == Cache().Text())
        return;
    ReplaceAll(probed.Text());
}

int QtRichTextPane::LinesTextLength() const
{
    const std::u16string& text = Cache().Text();
    std::size_t length = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        std::size_t lineEnd = i;
        while (lineEnd < n && text[lineEnd] != u'\r' && text[lineEnd] != u'\n')
            ++lineEnd;
        length += lineEnd - i + 2;
        i = lineEnd;
        if (i < n && text[i] == u'\r')
            ++i;
        if (i < n && text[i] == u'\n')
            ++i;
    }
    return static_cast<int>(std::min<std::size_t>(length, 0x7FFFFFFF));
}

void QtRichTextPane::Clear()
{
    if (Cache().Text().empty())
        return;
    ReplaceAll(std::u16string());
}

void QtRichTextPane::Select(int start, int length)
{
    const TPaneTextCache& cache = Cache();
    const int size = static_cast<int>(cache.Text().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    QTextCursor c = Cursor();
    const QTextCharFormat before = c.charFormat();
    c.setPosition(cache.ToDocument(start));
    c.setPosition(cache.ToDocument(start + length), QTextCursor::KeepAnchor);
    if (length == 0) {
        // A collapsed selection takes the format of the character before it
        // (the first one at the very start), as the rich text control does;
        // in an empty pane the insertion format stays as it was.
        if (size == 0)
            c.setCharFormat(before);
        else
            c.setCharFormat(DocumentFormat(start > 0 ? cache.ToDocument(start) - 1 : 0));
    }
    Apply(c);
}

QTextCharFormat QtRichTextPane::DocumentFormat(int docPosition) const
{
    const QTextBlock block = document()->findBlock(docPosition);
    if (!block.isValid())
        return {};
    if (docPosition == block.position() + block.length() - 1) {
        // A line break: its format is the one the next line starts with.
        const QTextBlock next = block.next();
        return next.isValid() ? next.charFormat() : block.charFormat();
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(docPosition))
            return fragment.charFormat();
    }
    return block.charFormat();
}

int QtRichTextPane::SelStart() const
{
    return Cache().FromDocument(Cursor().selectionStart());
}

int QtRichTextPane::SelLength() const
{
    const QTextCursor c = Cursor();
    const TPaneTextCache& cache = Cache();
    return cache.FromDocument(c.selectionEnd()) - cache.FromDocument(c.selectionStart());
}

void QtRichTextPane::SetSelAttributes(TColor textColor, bool bold)
{
    QTextCharFormat f;
    f.setForeground(ToQColor(textColor));
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(false);
    f.setFontUnderline(false);
    f.setFontStrikeOut(false);
    QTextCursor c = Cursor();
    c.mergeCharFormat(f);
    Apply(c);
}

void QtRichTextPane::SetSelBackColor(TColor color)
{
    QTextCharFormat f;
    f.setBackground(ToQColor(color));
    QTextCursor c = Cursor();
    c.mergeCharFormat(f);
    Apply(c);
}

void QtRichTextPane::ReplaceSelection(const std::u16string& text)
{
    QTextCursor c = Cursor();
    if (text.empty() && !c.hasSelection())
        return;
    QTextCharFormat format = c.charFormat();
    if (c.hasSelection())  // the inserted text takes the format of the first replaced character
        format = DocumentFormat(c.selectionStart());
    FCache.Invalidate();
    c.insertText(PlainForPane(ToQString(text)), format);
    c.setCharFormat(format);
    Apply(c);
}

int QtRichTextPane::FindText(const std::u16string& what, int start, int end) const
{
    const std::u16string& text = Cache().Text();
    const int size = static_cast<int>(text.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    if (what.empty() || static_cast<int>(what.size()) > end - start)
        return -1;
    const auto first = text.begin() + start;
    const auto last = text.begin() + end;
    const auto hit = std::search(first, last, what.begin(), what.end(),
                                 [](char16_t a, char16_t b) { return FoldPaneCase(a) == FoldPaneCase(b); });
    return hit == last ? -1 : static_cast<int>(hit - text.begin());
}

void QtRichTextPane::InsertPlain(QString text)
{
    if (FInputFilter)
        FInputFilter(text);
    QTextCursor c = Cursor();
    FCache.Invalidate();
    c.insertText(PlainForPane(std::move(text)));
    Apply(c);
    if (FBulkDepth == 0)
        ensureCursorVisible();
}

void QtRichTextPane::PastePlainText()
{
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty())
        InsertPlain(text);
}

void QtRichTextPane::LoadFromFile(const std::string& path)
{
    std::u16string text = LoadTextFile(path);
    if (FInputFilter) {
        QString filtered = ToQString(text);
        FInputFilter(filtered);
        text = filtered.toStdU16String();
    }
    if (text == Cache().Text())
        return;
    ReplaceAll(text);
}

bool QtRichTextPane::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void QtRichTextPane::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText())
        InsertPlain(source->text());
}

void QtRichTextPane::keyPressEvent(QKeyEvent* event)
{
    if (FInputFilter && !event->text().isEmpty()) {
        QString text = event->text();
        FInputFilter(text);
        if (text != event->text()) {
            QKeyEvent filtered(event->type(), event->key(), event->modifiers(), text, event->isAutoRepeat(),
                               static_cast<ushort>(event->count()));
            QTextEdit::keyPressEvent(&filtered);
            event->setAccepted(filtered.isAccepted());
            return;
        }
    }
    // Shift+Enter would insert a line separator; every line break is a
    // paragraph break here.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QTextEdit::keyPressEvent(&plain);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool QtRichTextPane::event(QEvent* event)
{
    // Ctrl+V is left to a paste action of the window when it has one, so that
    // the command goes through the window's own handler.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            for (QAction* action : actions()) {
                if (action->shortcut().matches(QKeySequence(QKeySequence::Paste)) == QKeySequence::ExactMatch &&
                    action->isEnabled()) {
                    event->ignore();
                    return false;
                }
            }
        }
    }
    return QTextEdit::event(event);
}

void QtRichTextPane::BeginBulkEdit()
{
    if (FBulkDepth++ == 0) {
        FBulkScroll = verticalScrollBar()->value();
        FBulk = textCursor();
        FBulk.beginEditBlock();
    }
}

void QtRichTextPane::EndBulkEdit()
{
    if (FBulkDepth == 0 || --FBulkDepth > 0)
        return;
    FBulk.endEditBlock();
    setTextCursor(FBulk);
    // A rebuild leaves the view where the reader was, not at the caret.
    verticalScrollBar()->setValue(FBulkScroll);
    FBulk = QTextCursor();
    DocumentChanged();
}

// Formatting a long article touches nearly every line, and the document
// would lay all of them out again at once when the batch ends. With the page
// size taken away the layout does nothing meanwhile; given back, it starts
// over lazily, as for a newly loaded text: the visible part now, the rest in
// the background while the window takes input.
void QtRichTextPane::BeginBulkFormat()
{
    const bool outer = FBulkDepth == 0;
    BeginBulkEdit();
    if (!outer)
        return;
    FFormatOnly = true;
    // The line at the top of the view, to find the view again afterwards.
    FBulkTop = cursorForPosition(QPoint(0, 0)).position();
    FHeldPageSize = document()->pageSize();
    FHoldingLayout = true;
    document()->setPageSize(QSizeF(0, 0));
}

void QtRichTextPane::EndBulkFormat()
{
    if (FBulkDepth != 1 || !FHoldingLayout) {
        EndBulkEdit();
        return;
    }
    --FBulkDepth;
    FBulk.endEditBlock();
    FFormatOnly = false;
    setTextCursor(FBulk);
    FHoldingLayout = false;
    document()->setPageSize(FHeldPageSize);
    // Lay out what the view showed (and a screen beyond) before scrolling
    // back there; the rest follows in the background.
    if (QAbstractTextDocumentLayout* layout = document()->documentLayout()) {
        const QTextBlock top = document()->findBlock(FBulkTop);
        if (top.isValid())
            layout->blockBoundingRect(top);
        layout->hitTest(QPointF(0, FBulkScroll + 2 * viewport()->height()), Qt::FuzzyHit);
    }
    verticalScrollBar()->setValue(FBulkScroll);
    FBulk = QTextCursor();
    DocumentChanged();
}

void QtRichTextPane::ReplaceWithRuns(const std::u16string& text, const std::vector<THighlightRun>& runs)
{
    if (runs.empty()) {
        // Nothing to insert: the run-by-run way is as cheap and sets the
        // insertion format exactly as it always has.
        IRichTextPane::ReplaceWithRuns(text, runs);
        return;
    }
    QTextDocument* doc = document();
    const int scroll = verticalScrollBar()->value();
    {
        // However it ends: undo as it was, change notifications held back
        // until the document is whole again.
        struct TScope {
            QtRichTextPane& Pane;
            bool Undo;
            explicit TScope(QtRichTextPane& pane) : Pane(pane), Undo(pane.document()->isUndoRedoEnabled())
            {
                ++Pane.FBulkDepth;
                Pane.document()->setUndoRedoEnabled(false);
            }
            ~TScope()
            {
                Pane.document()->setUndoRedoEnabled(Undo);
                --Pane.FBulkDepth;
            }
            TScope(const TScope&) = delete;
            TScope& operator=(const TScope&) = delete;
        } scope(*this);

        // A run's format is what the selection colour, style and background
        // make of the empty format of an emptied pane.
        auto runFormat = [](TColor color) {
            QTextCharFormat f;
            f.setForeground(ToQColor(clBlack));
            f.setFontWeight(color != clWhite ? QFont::Bold : QFont::Normal);
            f.setFontItalic(false);
            f.setFontUnderline(false);
            f.setFontStrikeOut(false);
            f.setBackground(ToQColor(color));
            return f;
        };
        QTextCursor c(doc);
        c.beginEditBlock();
        FCache.Invalidate();
        doc->clear();
        c.setBlockCharFormat(QTextCharFormat());
        c.setCharFormat(QTextCharFormat());
        std::size_t at = 0;
        QTextCharFormat format;
        for (const THighlightRun& run : runs) {
            format = runFormat(run.BackColor);
            c.insertText(PlainForPane(ToQString(std::u16string_view(text).substr(at, run.Length))), format);
            at += run.Length;
        }
        c.endEditBlock();
        FCache.Invalidate();
        c.setCharFormat(format);
        if (FBulkDepth > 1) {
            FBulk = c;
        } else if (textCursor().position() == c.position() && !textCursor().hasSelection()) {
            // The widget's caret went along with the inserted text: only its
            // format is set. Setting the caret itself would scroll to it and
            // lay out the whole document at once.
            setCurrentCharFormat(format);
        } else {
            setTextCursor(c);
        }
    }
    verticalScrollBar()->setValue(scroll);
    DocumentChanged();
}

QtRichTextPane::TFormatAt QtRichTextPane::FormatAt(int position) const
{
    const QTextCharFormat f = DocumentFormat(Cache().ToDocument(position));
    TFormatAt result;
    result.TextColor = f.hasProperty(QTextFormat::ForegroundBrush) ? FromQColor(f.foreground().color()) : clBlack;
    result.Bold = f.fontWeight() >= QFont::Bold;
    result.BackColor = f.hasProperty(QTextFormat::BackgroundBrush) ? FromQColor(f.background().color()) : clWhite;
    return result;
}

}  // namespace rasp
