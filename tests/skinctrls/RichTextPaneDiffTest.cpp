// The QTextEdit pane against the in-memory pane: the same operations must
// leave the same text, selection and per-character formats.

#include "platform/pane/MemoryRichTextPane.h"
#include "skinctrls/TbsSkinRichEdit.h"

#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <random>

using namespace rasp;

namespace {

std::u16string RandomText(std::mt19937& rng, int maxLength)
{
    static const std::u16string pieces[] = {u"a", u"B", u" ", u"\r\n", u"word", u".", u"\u00E9"};
    std::u16string s;
    const int n = std::uniform_int_distribution<int>(0, maxLength)(rng);
    for (int i = 0; i < n; ++i)
        s += pieces[std::uniform_int_distribution<int>(0, 6)(rng)];
    return s;
}

// A position that does not fall between CR and LF.
int RandomPosition(std::mt19937& rng, const std::u16string& text)
{
    int p = std::uniform_int_distribution<int>(0, static_cast<int>(text.size()))(rng);
    if (p > 0 && p < static_cast<int>(text.size()) && text[p - 1] == u'\r' && text[p] == u'\n')
        --p;
    return p;
}

}  // namespace

TEST(RichTextPaneDiffTest, SameResultsAsTheMemoryPane)
{
    std::mt19937 rng(20261209);
    const TColor colours[] = {clWhite, 0xFFFF00, 0xC0DCC0, 0x00FFFF, 0x0000FF};
    for (int round = 0; round < 150; ++round) {
        TbsSkinRichEdit qt;
        TMemoryRichTextPane memory;
        int qtChanges = 0;
        int memoryChanges = 0;
        qt.SetOnChange([&] { ++qtChanges; });
        memory.SetOnChange([&] { ++memoryChanges; });
        const std::u16string initial = RandomText(rng, 30);
        qt.SetText(initial);
        memory.SetText(initial);
        std::string trace = "initial " + QString::fromStdU16String(initial).toStdString() + "\n";
        for (int step = 0; step < 30; ++step) {
            const std::u16string text = memory.GetText();
            switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
            case 0: {
                const int a = RandomPosition(rng, text);
                const int b = RandomPosition(rng, text);
                trace += "select " + std::to_string(std::min(a, b)) + " " + std::to_string(std::abs(a - b)) + "\n";
                qt.Select(std::min(a, b), std::abs(a - b));
                memory.Select(std::min(a, b), std::abs(a - b));
                break;
            }
            case 1: {
                const bool bold = rng() % 2;
                trace += bold ? "bold\n" : "plain\n";
                qt.SetSelAttributes(clBlack, bold);
                memory.SetSelAttributes(clBlack, bold);
                break;
            }
            case 2: {
                const TColor c = colours[rng() % 5];
                trace += "back " + std::to_string(c) + "\n";
                qt.SetSelBackColor(c);
                memory.SetSelBackColor(c);
                break;
            }
            case 3: {
                const std::u16string insert = RandomText(rng, 4);
                trace += "replace '" + QString::fromStdU16String(insert).toStdString() + "'\n";
                qt.ReplaceSelection(insert);
                memory.ReplaceSelection(insert);
                break;
            }
            case 4: {
                const std::u16string what = text.substr(0, std::min<std::size_t>(text.size(), 2));
                const int from = RandomPosition(rng, text);
                EXPECT_EQ(qt.FindText(what, from, static_cast<int>(text.size()) + 1),
                          memory.FindText(what, from, static_cast<int>(text.size()) + 1));
                break;
            }
            case 5:
                if (rng() % 4 == 0) {
                    trace += "clear\n";
                    qt.Clear();
                    memory.Clear();
                }
                break;
            }
            ASSERT_EQ(qt.GetText(), memory.GetText()) << "round " << round << " step " << step;
            ASSERT_EQ(qt.SelStart(), memory.SelStart());
            ASSERT_EQ(qt.SelLength(), memory.SelLength());
            ASSERT_EQ(qt.LinesTextLength(), memory.LinesTextLength());
        }
        const std::u16string text = memory.GetText();
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            if (text[i] == u'\n')
                continue;  // a line break is one character in the document
            const auto q = qt.FormatAt(i);
            const TCharFormat m = memory.CharFormat(i);
            ASSERT_EQ(q.Bold, m.Bold) << "round " << round << " position " << i << "\n" << trace;
            ASSERT_EQ(q.BackColor, m.BackColor) << "round " << round << " position " << i << "\n" << trace;
        }
        EXPECT_EQ(qtChanges, memoryChanges) << "round " << round;
    }
}

// Whatever the user does to the document, the pane's CR LF text is the
// document's text with every line break written as CR LF.
TEST(RichTextPaneDiffTest, TextStaysTrueToTheDocumentWhileTyping)
{
    TbsSkinRichEdit pane;
    pane.show();
    pane.setFocus();
    int changes = 0;
    pane.SetOnChange([&] { ++changes; });
    std::mt19937 rng(77);
    const Qt::Key keys[] = {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Backspace,
                            Qt::Key_Delete, Qt::Key_Left, Qt::Key_Up, Qt::Key_End, Qt::Key_Z};
    for (int i = 0; i < 600; ++i) {
        const Qt::Key key = keys[rng() % std::size(keys)];
        const Qt::KeyboardModifiers mods = key == Qt::Key_Z ? Qt::ControlModifier  // undo
                                           : (key == Qt::Key_Left && rng() % 2) ? Qt::ShiftModifier
                                                                                : Qt::NoModifier;
        const int before = changes;
        const std::u16string old = pane.GetText();
        QTest::keyClick(&pane, key, mods);
        if (rng() % 5 == 0) {
            // Formatting in between changes no text and announces nothing.
            const std::u16string typed = pane.GetText();
            const int announced = changes;
            pane.SetSelBackColor(0xFFFF00);
            EXPECT_EQ(pane.GetText(), typed);
            EXPECT_EQ(changes, announced);
        }
        QString expected = pane.document()->toRawText();
        expected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        ASSERT_EQ(QString::fromStdU16String(pane.GetText()), expected) << "key " << i;
        if (pane.GetText() != old) {
            EXPECT_GT(changes, before) << "a change of the text is announced";
        }
    }
}
