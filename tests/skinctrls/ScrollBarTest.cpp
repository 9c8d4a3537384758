#include "skinctrls/TbsSkinRichEdit.h"
#include "skinctrls/TbsSkinScrollBar.h"
#include "skinctrls/bsScrollGeometry.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

TEST(ScrollBarTest, PositionIsClampedByThePage)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    QSignalSpy changes(&bar, &TbsSkinScrollBar::Change);
    bar.SetRange(0, 99, 10, 0);
    bar.SetPosition(95);
    EXPECT_EQ(bar.Position(), 90);
    bar.SetRange(0, 99, 0, 0);
    bar.SetPosition(95);
    EXPECT_EQ(bar.Position(), 95);
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(changes.count(), 3);
    // Assigning the present position again changes nothing.
    bar.SetPosition(0);
    EXPECT_EQ(changes.count(), 3);
}

TEST(ScrollBarTest, RangeAssignmentsNeverFireChange)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    QSignalSpy changes(&bar, &TbsSkinScrollBar::Change);
    bar.SetRange(0, 500, 50, 480);
    EXPECT_EQ(bar.Position(), 451);
    bar.SetMax(100);
    EXPECT_EQ(bar.Position(), 51);
    bar.SetMin(60);
    EXPECT_EQ(bar.Position(), 60);
    // A page that does not fit the range at the present position is refused.
    bar.SetPageSize(90);
    EXPECT_EQ(bar.PageSize(), 50);
    bar.SetRange(0, 100, 10, 20);
    bar.SetPageSize(82);
    EXPECT_EQ(bar.PageSize(), 10);
    bar.SetPageSize(81);
    EXPECT_EQ(bar.PageSize(), 81);
    EXPECT_EQ(changes.count(), 0);
}

TEST(ScrollBarTest, ThumbArithmeticSurvivesEmptyTracksAndRanges)
{
    // Zero range, zero page, zero track, track shorter than the thumb.
    for (TbsScrollRange r : {TbsScrollRange{0, 0, 0}, TbsScrollRange{0, 0, 5}, TbsScrollRange{5, 5, 1},
                             TbsScrollRange{0, 10, 20}, TbsScrollRange{10, 0, 3}}) {
        for (int track : {0, 1, 10, 300}) {
            const int len = bsThumbLength(r, track, 16);
            EXPECT_GE(len, 16);
            const int off = bsThumbOffset(r, r.Min, track, len, false);
            EXPECT_GE(off, 0);
            EXPECT_LE(off, std::max(0, track - len));
            EXPECT_EQ(bsThumbPosition(r, 5000, 0, track, len) >= r.Min || r.Max < r.Min, true);
        }
    }
    // A horizontal bar whose page covers everything sits at the end.
    EXPECT_EQ(bsThumbOffset({0, 10, 20}, 0, 100, 16, true), 84);
    EXPECT_EQ(bsThumbOffset({0, 10, 20}, 0, 100, 16, false), 0);

    // The real control, squeezed until its track is gone, still paints.
    TbsSkinScrollBar bar(Qt::Vertical);
    bar.SetRange(0, 0, 0, 0);
    bar.resize(19, 20);
    bar.show();
    bar.repaint();
    bar.SetRange(0, 1000, 0, 500);
    bar.repaint();
    EXPECT_EQ(bar.ThumbRect().height(), 16);
}

TEST(ScrollBarTest, PageSizeZeroKeepsTheMinimumThumb)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    bar.resize(19, 300);
    for (int max : {1, 100, 1000000}) {
        bar.SetRange(0, max, 0, max / 2);
        EXPECT_EQ(bar.ThumbRect().height(), 16);
    }
    bar.SetRange(0, 1000000, 10, 0);
    EXPECT_EQ(bar.ThumbRect().height(), 16);  // tiny page: never thinner than the minimum
    bar.SetRange(0, 99, 50, 0);
    EXPECT_EQ(bar.ThumbRect().height(), (300 - 34) / 2);
}

TEST(ScrollBarTest, ArrowsStepTrackPagesAndThumbDrags)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    bar.resize(19, 200);
    bar.show();
    bar.SetRange(0, 99, 10, 0);
    QSignalSpy pages(&bar, &TbsSkinScrollBar::PageDown);
    QSignalSpy last(&bar, &TbsSkinScrollBar::LastChange);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.UpButtonRect().center());
    EXPECT_EQ(bar.Position(), 1);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.DownButtonRect().center());
    EXPECT_EQ(bar.Position(), 0);
    bar.SetLargeChange(10);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(9, bar.TrackRect().bottom() - 2));
    EXPECT_EQ(bar.Position(), 10);
    EXPECT_EQ(pages.count(), 1);
    EXPECT_FALSE(bar.Repeating());

    // Drag the thumb all the way down: the last position.
    const QPoint grip = bar.ThumbRect().center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip.x(), 400), QPointF(grip.x(), 400), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    EXPECT_TRUE(bar.Dragging());
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(grip.x(), 199));
    EXPECT_EQ(bar.Position(), 90);
    EXPECT_EQ(last.count(), 1);
}

TEST(ScrollBarTest, HeldArrowRepeatsAfterTheFirstDelay)
{
    TbsSkinScrollBar bar(Qt::Vertical);
    bar.resize(19, 200);
    bar.show();
    bar.SetRange(0, 1000, 0, 0);
    QTest::mousePress(&bar, Qt::LeftButton, {}, bar.UpButtonRect().center());
    EXPECT_EQ(bar.Position(), 1);
    QTest::qWait(300);
    EXPECT_EQ(bar.Position(), 1);
    QTest::qWait(500);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.UpButtonRect().center());
    EXPECT_GE(bar.Position(), 3);
    const int after = bar.Position();
    QTest::qWait(150);
    EXPECT_EQ(bar.Position(), after);
}

namespace {

// A pane with its bar beside it, as the window lays them out.
struct TPaneWithBar {
    TPaneWithBar()
    {
        Pane = new TbsSkinRichEdit(&Host);
        Bar = new TbsSkinScrollBar(Qt::Vertical, &Host);
        auto* row = new QHBoxLayout(&Host);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        row->addWidget(Pane, 1);
        row->addWidget(Bar);
        Pane->SetVScrollBar(Bar);
        Host.resize(300, 120);
        Host.show();
        QApplication::processEvents();
    }
    QWidget Host;
    TbsSkinRichEdit* Pane;
    TbsSkinScrollBar* Bar;
};

}  // namespace

TEST(RichEditBarTest, TypingPastTheLastLineEnablesTheBarAndDeletingAllDisablesIt)
{
    TPaneWithBar w;
    EXPECT_FALSE(w.Pane->verticalScrollBar()->isVisible());
    EXPECT_FALSE(w.Bar->isEnabled());
    w.Pane->setFocus();
    for (int line = 0; line < 20 && !w.Bar->isEnabled(); ++line) {
        QTest::keyClicks(w.Pane, "line");
        QTest::keyClick(w.Pane, Qt::Key_Return);
    }
    ASSERT_TRUE(w.Bar->isEnabled());
    for (int line = 0; line < 10; ++line) {
        QTest::keyClicks(w.Pane, "more");
        QTest::keyClick(w.Pane, Qt::Key_Return);
    }
    QTest::keyClicks(w.Pane, "last");
    // The caret is on the last line: the pane scrolled it into view (all but
    // the document's bottom margin) and the thumb went to the bottom with it.
    QScrollBar* own = w.Pane->verticalScrollBar();
    EXPECT_EQ(w.Bar->Position(), own->value());
    EXPECT_GE(own->value(), own->maximum() - int(w.Pane->document()->documentMargin()));
    EXPECT_EQ(w.Bar->Max() - w.Bar->PageSize() + 1, own->maximum());
    EXPECT_NEAR(w.Bar->ThumbRect().bottom(), w.Bar->TrackRect().bottom(), 2);

    w.Pane->selectAll();
    QTest::keyClick(w.Pane, Qt::Key_Delete);
    EXPECT_FALSE(w.Bar->isEnabled());
}

TEST(RichEditBarTest, TheIncreasingArrowScrollsOneLineAndTheThumbFollows)
{
    TPaneWithBar w;
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("line %1").arg(i);
    w.Pane->setPlainText(lines.join('\n'));
    QApplication::processEvents();
    ASSERT_TRUE(w.Bar->isEnabled());
    const int before = w.Pane->verticalScrollBar()->value();
    QSignalSpy changes(w.Bar, &TbsSkinScrollBar::Change);
    QTest::mouseClick(w.Bar, Qt::LeftButton, {}, w.Bar->UpButtonRect().center());
    EXPECT_EQ(w.Pane->verticalScrollBar()->value(), before + w.Pane->fontMetrics().lineSpacing());
    EXPECT_EQ(w.Bar->Position(), w.Pane->verticalScrollBar()->value());
    // The thumb followed without the bar sending a scroll back.
    EXPECT_EQ(changes.count(), 0);
    QTest::mouseClick(w.Bar, Qt::LeftButton, {}, w.Bar->DownButtonRect().center());
    EXPECT_EQ(w.Pane->verticalScrollBar()->value(), before);
}

TEST(RichEditBarTest, ALongArticleScrollsToItsEndThroughTheBar)
{
    TPaneWithBar w;
    QString text;
    text.reserve(200000 * 6);
    for (int i = 1; i <= 200000; ++i) {
        text += QStringLiteral("word");
        text += i % 40 == 0 ? QChar(u'\n') : QChar(u' ');
    }
    w.Pane->setPlainText(text);
    QScrollBar* own = w.Pane->verticalScrollBar();
    // The pane lays a long document out in the background; asking for its
    // size finishes the layout (the range then grows, and the bar with it).
    (void)w.Pane->document()->size();
    QApplication::processEvents();
    EXPECT_EQ(w.Bar->Max() - w.Bar->PageSize() + 1, own->maximum());
    ASSERT_GT(own->maximum(), 65535);  // beyond a 16-bit position
    w.Bar->SetPosition(w.Bar->Max());
    EXPECT_EQ(own->value(), own->maximum());
    EXPECT_EQ(w.Bar->Position(), own->maximum());
    // The last line is on screen.
    const QRect caretAtEnd = [&] {
        QTextCursor c(w.Pane->document());
        c.movePosition(QTextCursor::End);
        return w.Pane->cursorRect(c);
    }();
    EXPECT_LE(caretAtEnd.bottom(), w.Pane->viewport()->height());
    EXPECT_GE(caretAtEnd.top(), 0);
}
