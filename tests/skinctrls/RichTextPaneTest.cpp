#include "skinctrls/TbsSkinRichEdit.h"
#include "skinctrls/TbsSkinScrollBar.h"

#include <QScrollBar>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <fstream>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

struct TPaneFixture : ::testing::Test {
    TbsSkinRichEdit pane;
    int changes = 0;
    void SetUp() override { pane.SetOnChange([this] { ++changes; }); }
};

std::u16string U(const char* s)
{
    return QString::fromUtf8(s).toStdU16String();
}

}  // namespace

using RichTextPaneTest = TPaneFixture;

TEST_F(RichTextPaneTest, SpeaksCrLfAndNotifiesOnlyRealChanges)
{
    pane.SetText(u"ab\r\ncd\r\n\r\nef");
    EXPECT_EQ(pane.GetText(), u"ab\r\ncd\r\n\r\nef");
    EXPECT_EQ(pane.document()->blockCount(), 4);
    EXPECT_EQ(changes, 1);
    pane.SetText(u"ab\r\ncd\r\n\r\nef");
    EXPECT_EQ(changes, 1) << "setting the same text is no change";
    // Lone CR and LF become line breaks of their own.
    pane.SetText(u"x\ny\rz");
    EXPECT_EQ(pane.GetText(), u"x\r\ny\r\nz");
    EXPECT_EQ(changes, 2);
}

TEST_F(RichTextPaneTest, FormattingIsNoChangeOfTheText)
{
    pane.SetText(u"one two\r\nthree");
    changes = 0;
    pane.Select(0, 14);
    pane.SetSelAttributes(clBlack, true);
    pane.SetSelBackColor(0x00FFFF);
    pane.Select(4, 3);
    pane.SetSelBackColor(0xFF0000);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(pane.FormatAt(4).BackColor, 0xFF0000u);
    EXPECT_TRUE(pane.FormatAt(4).Bold);
    EXPECT_EQ(pane.FormatAt(10).BackColor, 0x00FFFFu);
}

TEST_F(RichTextPaneTest, PositionsCountCrLfAsTwo)
{
    pane.SetText(u"ab\r\ncd\r\nef");
    pane.Select(4, 2);  // "cd"
    EXPECT_EQ(pane.textCursor().selectedText(), "cd");
    EXPECT_EQ(pane.SelStart(), 4);
    EXPECT_EQ(pane.SelLength(), 2);
    pane.Select(2, 4);  // CR LF and "cd"
    EXPECT_EQ(pane.SelLength(), 4);
    pane.Select(8, 5);  // clipped at the end
    EXPECT_EQ(pane.SelStart(), 8);
    EXPECT_EQ(pane.SelLength(), 2);
    pane.Select(8, 0);
    pane.ReplaceSelection(u"X");
    EXPECT_EQ(pane.GetText(), u"ab\r\ncd\r\nXef");
    EXPECT_EQ(pane.SelStart(), 9);
}

TEST_F(RichTextPaneTest, ReplacingAtTheEndAppends)
{
    pane.SetText(u"start");
    pane.Select(5, 0);
    pane.SetSelAttributes(clBlack, true);
    pane.SetSelBackColor(0xFFFF00);
    pane.ReplaceSelection(u" one");
    pane.SetSelAttributes(clBlack, false);
    pane.SetSelBackColor(clWhite);
    pane.ReplaceSelection(u"\r\ntwo");
    EXPECT_EQ(pane.GetText(), u"start one\r\ntwo");
    EXPECT_FALSE(pane.FormatAt(4).Bold);
    EXPECT_TRUE(pane.FormatAt(6).Bold);
    EXPECT_EQ(pane.FormatAt(6).BackColor, 0xFFFF00u);
    EXPECT_FALSE(pane.FormatAt(12).Bold);
    EXPECT_EQ(pane.FormatAt(12).BackColor, clWhite);
}

TEST_F(RichTextPaneTest, FindIgnoresCaseAndKeepsToTheRange)
{
    pane.SetText(u"The theme\r\nof THE");
    EXPECT_EQ(pane.FindText(u"the", 0, 17), 0);
    EXPECT_EQ(pane.FindText(u"the", 1, 17), 4);
    EXPECT_EQ(pane.FindText(u"the", 5, 17), 14);
    EXPECT_EQ(pane.FindText(u"the", 5, 16), -1);
    EXPECT_EQ(pane.FindText(u"xyz", 0, 17), -1);
    EXPECT_EQ(pane.FindText(u"", 0, 17), -1);
    EXPECT_EQ(pane.LinesTextLength(), 19);
}

TEST_F(RichTextPaneTest, SetTextKeepsCaretAndFormattingOutsideTheChange)
{
    pane.SetText(u"aa\u00A0bb cc");
    pane.Select(0, 2);
    pane.SetSelBackColor(0xFFFF00);
    pane.Select(7, 0);
    pane.SetText(u"aa bb cc");
    EXPECT_EQ(pane.GetText(), u"aa bb cc");
    EXPECT_EQ(pane.SelStart(), 7);
    EXPECT_EQ(pane.FormatAt(0).BackColor, 0xFFFF00u);
}

TEST_F(RichTextPaneTest, TypingNotifiesAndShiftEnterIsALineBreak)
{
    pane.show();
    QTest::keyClicks(&pane, "hi");
    QTest::keyClick(&pane, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&pane, "yo");
    EXPECT_EQ(pane.GetText(), u"hi\r\nyo");
    EXPECT_EQ(changes, 5);
}

TEST_F(RichTextPaneTest, EveryPasteIsPlainText)
{
    pane.show();
    auto rich = [] {
        auto* mime = new QMimeData;
        mime->setHtml("<b style='background:red'>Bold</b> <i>words</i>");
        mime->setText("Bold words");
        return mime;
    };
    QApplication::clipboard()->setMimeData(rich());
    QTest::keyClick(&pane, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pane.GetText(), u"Bold words");
    EXPECT_FALSE(pane.FormatAt(0).Bold);
    EXPECT_EQ(pane.FormatAt(0).BackColor, clWhite);

    pane.PastePlainText();
    EXPECT_EQ(pane.GetText(), u"Bold wordsBold words");

    // The paste of the pane's own context menu.
    QApplication::clipboard()->setMimeData(rich());
    pane.Clear();
    pane.paste();
    EXPECT_EQ(pane.GetText(), u"Bold words");
    EXPECT_FALSE(pane.FormatAt(0).Bold);

    // Dropped text goes the same way.
    pane.Clear();
    std::unique_ptr<QMimeData> dropped(rich());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, dropped.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, dropped.get(), Qt::LeftButton, Qt::NoModifier);
    ASSERT_TRUE(pane.viewport()->acceptDrops());
    QApplication::sendEvent(pane.viewport(), &drop);
    EXPECT_EQ(pane.GetText(), u"Bold words");
    EXPECT_FALSE(pane.FormatAt(1).Bold);
    // Line and paragraph separators in pasted text become ordinary breaks.
    QApplication::clipboard()->setText(QString::fromUtf8("a\u2028b"));
    pane.Clear();
    pane.PastePlainText();
    EXPECT_EQ(pane.GetText(), u"a\r\nb");
}

TEST_F(RichTextPaneTest, LoadsFilesAndReportsFailure)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("article.txt").toStdString();
    std::ofstream(path, std::ios::binary) << "caf\xc3\xa9\nline two";
    pane.LoadFromFile(path);
    EXPECT_EQ(pane.GetText(), U("caf\xc3\xa9\r\nline two"));
    EXPECT_EQ(changes, 1);
    try {
        pane.LoadFromFile(dir.filePath("missing.txt").toStdString());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Failed to Load Stream");
    }
    EXPECT_EQ(pane.GetText(), U("caf\xc3\xa9\r\nline two"));
}

TEST_F(RichTextPaneTest, LinesTextAndClear)
{
    pane.SetLinesText({u"one\r\n", u"two", u"three\n"});
    EXPECT_EQ(pane.GetText(), u"one\r\ntwo\r\nthree");
    EXPECT_EQ(changes, 1);
    pane.SetLinesText({u"one", u"two", u"three"});
    EXPECT_EQ(changes, 1);
    pane.Clear();
    EXPECT_EQ(pane.GetText(), u"");
    EXPECT_EQ(changes, 2);
    pane.Clear();
    EXPECT_EQ(changes, 2);
}

TEST_F(RichTextPaneTest, ExternalScrollBarDrivesThePane)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    pane.SetVScrollBar(&bar);
    EXPECT_EQ(pane.VScrollBar(), &bar);
    EXPECT_FALSE(pane.verticalScrollBar()->isVisible());
    EXPECT_EQ(bar.width(), 19);
    pane.resize(200, 100);
    pane.show();
    std::u16string text;
    for (int i = 0; i < 100; ++i)
        text += u"line\r\n";
    pane.SetText(text);
    QApplication::processEvents();
    EXPECT_GT(bar.Max(), 0);
    EXPECT_TRUE(bar.isEnabled());
    bar.SetPosition(40);
    EXPECT_EQ(pane.verticalScrollBar()->value(), 40);
}

TEST_F(RichTextPaneTest, InputFilterRewritesTypedAndPastedText)
{
    pane.SetInputFilter([](QString& t) { t.replace(QChar(0x2019), u'\''); });
    pane.show();
    QApplication::clipboard()->setText(QString::fromUtf8("don\u2019t"));
    QTest::keyClick(&pane, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pane.GetText(), u"don't");
    // The paste is one undo step and never held the quotation mark.
    QTest::keyClick(&pane, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pane.GetText(), u"");
    for (QChar ch : QString::fromUtf8("it\u2019s")) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&pane, &key);
    }
    EXPECT_EQ(pane.GetText(), u"it's");
    pane.SetLinesText({U("a\u2019"), u"b"});
    EXPECT_EQ(pane.GetText(), u"a'\r\nb");
}
