#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinScrollBar.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

// The window's unit box: three items, the first selected.
struct TUnitBox {
    TUnitBox()
    {
        Box = new TbsSkinComboBox(&Host);
        Box->addItems({"Word(s)", "Sentence(s)", "Paragraph(s)"});
        Box->SetItemIndex(0);
        Box->setGeometry(10, 10, 145, 20);
        Host.resize(300, 100);
        Host.move(0, 0);
        Host.show();
        Box->setFocus();
        QApplication::processEvents();
    }
    QWidget Host;
    TbsSkinComboBox* Box;
};

}  // namespace

TEST(ComboBoxTest, ItemIndexFiresClickEveryTimeAndChangeOnlyWhenTheTextChanges)
{
    TUnitBox w;
    QSignalSpy clicks(w.Box, &TbsSkinComboBox::Click);
    QSignalSpy changes(w.Box, &TbsSkinComboBox::Change);
    w.Box->SetItemIndex(0);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    w.Box->SetItemIndex(2);
    EXPECT_EQ(w.Box->Text(), "Paragraph(s)");
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(changes.count(), 1);
    // Outside the items: the text stays.
    w.Box->SetItemIndex(7);
    EXPECT_EQ(w.Box->ItemIndex(), -1);
    EXPECT_EQ(w.Box->Text(), "Paragraph(s)");
}

TEST(ComboBoxTest, ArrowKeysStopAtTheEndsWithoutEvents)
{
    TUnitBox w;
    QSignalSpy clicks(w.Box, &TbsSkinComboBox::Click);
    QTest::keyClick(w.Box, Qt::Key_Up);
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyClick(w.Box, Qt::Key_Down);
    QTest::keyClick(w.Box, Qt::Key_Down);
    EXPECT_EQ(w.Box->ItemIndex(), 2);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(w.Box, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(w.Box->ItemIndex(), 2);
}

TEST(ComboBoxTest, TypeAheadCyclesThroughItemsOfOneLetter)
{
    TUnitBox w;
    QTest::keyClick(w.Box, Qt::Key_S);
    EXPECT_EQ(w.Box->ItemIndex(), 1);
    QTest::keyClick(w.Box, Qt::Key_S);
    EXPECT_EQ(w.Box->ItemIndex(), 1);
    QTest::qWait(600);
    QTest::keyClick(w.Box, Qt::Key_S);
    EXPECT_EQ(w.Box->ItemIndex(), 1);  // no other item begins with "s"
    QTest::qWait(600);
    QTest::keyClick(w.Box, Qt::Key_P);
    EXPECT_EQ(w.Box->ItemIndex(), 2);
    EXPECT_EQ(w.Box->Text(), "Paragraph(s)");
}

TEST(ComboBoxTest, ClickOpensAndASecondClickClosesWithoutAChange)
{
    TUnitBox w;
    QSignalSpy clicks(w.Box, &TbsSkinComboBox::Click);
    QTest::mouseClick(w.Box, Qt::LeftButton, {}, w.Box->ButtonRect().center());
    ASSERT_TRUE(w.Box->DroppedDown());
    // Three items, eight rows allowed: three rows, no scroll bar.
    EXPECT_EQ(w.Box->ListBox()->Rows(), 3);
    EXPECT_FALSE(w.Box->ListBox()->ScrollBar()->isVisible());
    EXPECT_EQ(w.Box->ListBox()->geometry().top(), w.Box->mapToGlobal(QPoint(0, w.Box->height())).y());
    QTest::mouseClick(w.Box, Qt::LeftButton, {}, w.Box->ButtonRect().center());
    EXPECT_FALSE(w.Box->DroppedDown());
    EXPECT_EQ(w.Box->ItemIndex(), 0);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(ComboBoxTest, PressDragReleaseSelectsTheItemUnderThePointer)
{
    TUnitBox w;
    QSignalSpy clicks(w.Box, &TbsSkinComboBox::Click);
    QTest::mousePress(w.Box, Qt::LeftButton, {}, w.Box->ItemArea().center());
    ASSERT_TRUE(w.Box->DroppedDown());
    TbsPopupListBox* list = w.Box->ListBox();
    const QPoint overThird = list->mapToGlobal(list->ItemRect(2).center());
    const QPoint local = w.Box->mapFromGlobal(overThird);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(overThird), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w.Box, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(overThird), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.Box, &release);
    EXPECT_FALSE(w.Box->DroppedDown());
    EXPECT_EQ(w.Box->ItemIndex(), 2);
    EXPECT_EQ(w.Box->Text(), "Paragraph(s)");
    EXPECT_EQ(clicks.count(), 1);
}

TEST(ComboBoxTest, EscapeKeepsTheLastItemMovedTo)
{
    TUnitBox w;
    QTest::keyClick(w.Box, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(w.Box->DroppedDown());
    QTest::keyClick(w.Box, Qt::Key_Down);
    QTest::keyClick(w.Box, Qt::Key_Down);
    QTest::keyClick(w.Box, Qt::Key_Escape);
    EXPECT_FALSE(w.Box->DroppedDown());
    EXPECT_EQ(w.Box->ItemIndex(), 2);
}

TEST(ComboBoxTest, PageKeysJumpByTheDropDownCount)
{
    TUnitBox w;
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("item %1").arg(i);
    w.Box->SetItems(many);
    w.Box->SetItemIndex(12);
    QTest::keyClick(w.Box, Qt::Key_PageUp);
    EXPECT_EQ(w.Box->ItemIndex(), 3);
    QTest::keyClick(w.Box, Qt::Key_PageDown);
    EXPECT_EQ(w.Box->ItemIndex(), 10);
    w.Box->SetDropDownCount(0);  // refused
    EXPECT_EQ(w.Box->DropDownCount(), 8);
    w.Box->DropDown();
    EXPECT_EQ(w.Box->ListBox()->Rows(), 8);
    EXPECT_TRUE(w.Box->ListBox()->ScrollBar()->isVisible());
    w.Box->CloseUp(false);
}

TEST(ComboBoxTest, NearTheBottomOfTheScreenTheListOpensAbove)
{
    TUnitBox w;
    const QRect work = w.Box->screen()->availableGeometry();
    w.Host.move(work.left(), work.bottom() - 60);
    QApplication::processEvents();
    w.Box->DropDown();
    ASSERT_TRUE(w.Box->DroppedDown());
    const QRect list = w.Box->ListBox()->geometry();
    EXPECT_EQ(list.bottom() + 1, w.Box->mapToGlobal(QPoint(0, 0)).y());
    w.Box->CloseUp(false);
}

TEST(ComboBoxTest, NoItemsNoList)
{
    TbsSkinComboBox box;
    box.show();
    box.DropDown();
    EXPECT_FALSE(box.DroppedDown());
}
