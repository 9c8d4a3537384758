#include "tests/app/WindowFixture.h"

#include "skin/bsSkinForm.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinNumEdit.h"
#include "skinctrls/bsEditMenu.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QMenu>
#include <QFocusEvent>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace rasp;

namespace {

struct TCounters {
    double Words, Sentences, Paragraphs;
    bool operator==(const TCounters&) const = default;
};

TCounters Counters1(TfrmMain& w)
{
    return {w.edtWords1->Value(), w.edtSenten1->Value(), w.edtParag1->Value()};
}

TCounters Counters2(TfrmMain& w)
{
    return {w.edtWords2->Value(), w.edtSenten2->Value(), w.edtParag2->Value()};
}

}  // namespace

TEST_F(WindowTest, TypingKeepsTheCountersLive)
{
    window->rchArticle1->setFocus();
    QTest::keyClicks(window->rchArticle1, "Hello world. Second one");
    EXPECT_EQ(Counters1(*window), (TCounters{4, 2, 1}));
    EXPECT_EQ(window->edtWords1->text(), "4");
    QTest::keyClick(window->rchArticle1, Qt::Key_Return);
    QTest::keyClicks(window->rchArticle1, "Next");
    EXPECT_EQ(Counters1(*window), (TCounters{5, 3, 2}));
    EXPECT_EQ(window->FText1, u"Hello world. Second one\r\nNext");
    QTest::keyClick(window->rchArticle1, Qt::Key_Backspace);
    QTest::keyClick(window->rchArticle1, Qt::Key_Backspace);
    QTest::keyClick(window->rchArticle1, Qt::Key_Backspace);
    QTest::keyClick(window->rchArticle1, Qt::Key_Backspace);
    EXPECT_EQ(window->FText1, u"Hello world. Second one\r\n");
    EXPECT_EQ(window->edtWords1->Value(), 4);
    // Article 2 has its own counters.
    EXPECT_EQ(Counters2(*window), (TCounters{0, 0, 0}));
}

TEST_F(WindowTest, TypographicCharactersAreReplacedInPaneAndStoredText)
{
    window->rchArticle1->setFocus();
    QTest::keyClicks(window->rchArticle1, QString::fromUtf8("a\u00A0b"));
    EXPECT_EQ(window->rchArticle1->GetText(), u"a b");
    EXPECT_EQ(window->FText1, u"a b");
    EXPECT_EQ(window->edtWords1->Value(), 2);
    // The caret stays after the replaced character: typing goes on there.
    QTest::keyClicks(window->rchArticle1, "c");
    EXPECT_EQ(window->FText1, u"a bc");

    // A pasted right single quotation mark becomes an apostrophe, an en dash
    // between spaces a hyphen: "don't" is one word and " - " counts as one.
    QApplication::clipboard()->setText(QString::fromUtf8("don\u2019t \u2013 stop"));
    window->rchArticle2->setFocus();
    QTest::keyClick(window->rchArticle2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window->rchArticle2->GetText(), u"don't - stop");
    EXPECT_EQ(window->FText2, u"don't - stop");
    EXPECT_EQ(window->edtWords2->Value(), 3);
    // Undo takes the whole paste back in one step.
    QTest::keyClick(window->rchArticle2, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->rchArticle2->GetText(), u"");
    EXPECT_EQ(window->edtWords2->Value(), 0);

    // Text set by the program is normalised by the change handling itself.
    window->rchArticle2->SetText(U("en\u2013dash"));
    EXPECT_EQ(window->FText2, u"en-dash");
    EXPECT_EQ(window->rchArticle2->GetText(), u"en-dash");
}

TEST_F(WindowTest, RichClipboardContentPastesAsPlainText)
{
    auto* mime = new QMimeData;
    mime->setHtml("<p><b><font color='red' style='background:yellow'>Loud</font></b> words</p>");
    mime->setText("Loud words");
    QApplication::clipboard()->setMimeData(mime);
    window->rchArticle1->setFocus();
    int pastes = 0;
    QObject::connect(window->mnuPaste, &QAction::triggered, [&] { ++pastes; });
    QTest::keyClick(window->rchArticle1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pastes, 1) << "Ctrl+V goes through the pane's hidden menu item";
    EXPECT_EQ(window->rchArticle1->GetText(), u"Loud words");
    const auto f = window->rchArticle1->FormatAt(1);
    EXPECT_FALSE(f.Bold);
    EXPECT_EQ(f.TextColor, clBlack);
    EXPECT_EQ(f.BackColor, clWhite);
    EXPECT_EQ(window->edtWords1->Value(), 2);
}

TEST_F(WindowTest, ARightClickInAPaneOpensNoMenu)
{
    // A menu left open would block the event below: close whatever pops up,
    // and count it.
    int popups = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++popups;
            popup->close();
        }
    });
    closer.start(50);
    for (TbsSkinRichEdit* pane : {window->rchArticle1, window->rchArticle2}) {
        const QPoint at(20, 20);
        QContextMenuEvent mouse(QContextMenuEvent::Mouse, at, pane->viewport()->mapToGlobal(at));
        QApplication::sendEvent(pane->viewport(), &mouse);
        QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, at, pane->viewport()->mapToGlobal(at));
        QApplication::sendEvent(pane->viewport(), &keyboard);
        QTest::qWait(120);
    }
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(WindowTest, TheKeywordBoxMenuIsTheFramesSkinnedMenuAndThePanesKeepTheirPaste)
{
    QApplication::clipboard()->setText("keyword phrase");
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QWindow* handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);
    const QPoint at = window->edtKw1->mapTo(window.get(), QPoint(10, 5));
    QTest::mouseClick(handle, Qt::RightButton, {}, at);
    TbsSkinPopupMenu* menu = bsEditMenuOf(*window->edtKw1);
    ASSERT_NE(menu, nullptr);
    TbsSkinMenu* driver = window->bsSkinForm1->SkinMenuDriver();
    ASSERT_EQ(menu->ShowingDriver(), driver);
    TbsSkinPopupWindow* w = driver->TopWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Skinned());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QStringList captions;
    for (const auto& item : w->Items()) captions << (item->Separator ? QStringLiteral("-") : item->PlainCaption());
    EXPECT_EQ(captions, (QStringList{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
    // Chosen with the keys: Enter runs the active item.
    int paste = -1;
    for (std::size_t i = 0; i < w->Items().size(); ++i)
        if (w->Items()[i]->PlainCaption() == "Paste") paste = int(i);
    ASSERT_EQ(w->ActiveIndex(), paste);  // nothing selected: Paste is the first enabled item
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(window->edtKw1->text(), "keyword phrase");
    EXPECT_FALSE(driver->Visible());

    // The panes' Ctrl+V still goes through their hidden item, as plain text.
    QApplication::processEvents();
    auto* mime = new QMimeData;
    mime->setHtml("<p><b>Bold</b> text</p>");
    mime->setText("Bold text");
    QApplication::clipboard()->setMimeData(mime);
    // The offscreen platform activates every window it shows, the menu's too,
    // and leaves none active when it goes; under X the window stays active
    // (menu_screenshot reports it).
    QApplication::setActiveWindow(window.get());
    window->rchArticle2->setFocus();
    int pastes = 0;
    QObject::connect(window->MenuItem1, &QAction::triggered, [&] { ++pastes; });
    QTest::keyClick(window->rchArticle2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(window->rchArticle2->GetText(), u"Bold text");
    EXPECT_FALSE(window->rchArticle2->FormatAt(1).Bold);
}

TEST_F(WindowTest, DeleteAllEmptiesThePaneAndZeroesItsCounters)
{
    window->rchArticle1->SetText(u"One two three.\r\nFour.");
    window->rchArticle2->SetText(u"Other words");
    EXPECT_EQ(Counters1(*window), (TCounters{4, 2, 2}));
    QTest::mouseClick(window->btnClear1, Qt::LeftButton);
    EXPECT_EQ(window->rchArticle1->GetText(), u"");
    EXPECT_EQ(window->FText1, u"");
    EXPECT_EQ(Counters1(*window), (TCounters{0, 0, 0}));
    EXPECT_EQ(window->edtWords1->text(), "0");
    EXPECT_EQ(Counters2(*window), (TCounters{2, 1, 1}));
}

TEST_F(WindowTest, WindowLengthNeverDropsBelowOne)
{
    window->minNumWords->Editor()->selectAll();
    QTest::keyClicks(window->minNumWords->Editor(), "0");
    EXPECT_EQ(window->minNumWords->Value(), 1);
    EXPECT_EQ(window->minNumWords->Text(), "1");
    QTest::keyClick(window->minNumWords->Editor(), Qt::Key_Down);
    EXPECT_EQ(window->minNumWords->Value(), 1);
    QTest::keyClick(window->minNumWords->Editor(), Qt::Key_Up);
    EXPECT_EQ(window->minNumWords->Value(), 2);
    window->minNumWords->SetValue(0);
    EXPECT_EQ(window->minNumWords->Value(), 1);
    window->minNumWords->SetValue(-5);
    EXPECT_EQ(window->minNumWords->Value(), 1);
}

// The box always shows the length Compare uses: a number past the range is
// held to it, and an emptied box shows its value again when it is left or
// when Compare runs.
TEST_F(WindowTest, TheLengthBoxShowsTheValueCompareUses)
{
    TbsSkinNumEdit* editor = window->minNumWords->Editor();
    editor->selectAll();
    QTest::keyClicks(editor, "99999999999");
    EXPECT_EQ(window->minNumWords->Value(), 2147483647.0);
    EXPECT_EQ(window->minNumWords->Text(), "2147483647");

    window->minNumWords->SetValue(3);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(window->minNumWords->Text(), "");
    QTest::mouseClick(window->btnCompareEx, Qt::LeftButton);
    EXPECT_EQ(window->minNumWords->Text(), "3");

    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor, &leave);
    EXPECT_EQ(window->minNumWords->Text(), "3");
    EXPECT_EQ(window->minNumWords->Value(), 3);
}
