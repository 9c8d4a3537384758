// The combo box's sorted items, item pictures and owner drawing, on real
// offscreen widgets: the order and the selection after sorting, the pictures
// in the field and in the open list (read back from the pixels), and the
// drawing events with their indexes, states and rectangles.

#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinComboBox.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QImage Solid(const QColor& c, int w = 8, int h = 8)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

const QColor kColours[] = {QColor(250, 10, 10), QColor(10, 250, 10), QColor(10, 10, 250)};

struct TBox {
    TBox()
    {
        Box = new TbsSkinComboBox(&Host);
        Box->setGeometry(10, 10, 145, 20);
        Host.resize(300, 100);
        Host.move(0, 0);
        Host.show();
        QApplication::processEvents();
    }
    QWidget Host;
    TbsSkinComboBox* Box;
};

// Whether any pixel of the rectangle has the colour.
bool Shows(const QImage& img, const QRect& r, const QColor& c)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.valid(x, y) && QColor(img.pixel(x, y)) == c)
                return true;
    return false;
}

}  // namespace

TEST(ComboItems, SortedOrdersTheItemsIgnoringCaseAndKeepsTheSelectedItem)
{
    TBox b;
    b.Box->addItems({"pear", "Apple", "banana", "apple"});
    b.Box->SetItemIndex(0);  // "pear"
    QSignalSpy changes(b.Box, &TbsSkinComboBox::Change);
    b.Box->SetSorted(true);
    EXPECT_EQ(b.Box->Items(), (QStringList{"Apple", "apple", "banana", "pear"}));
    EXPECT_EQ(b.Box->ItemIndex(), 3);
    EXPECT_EQ(b.Box->Text(), "pear");
    EXPECT_EQ(changes.count(), 0);

    // Items added later go to their places; the selection stays on its item.
    b.Box->addItems({"Cherry", "aardvark"});
    EXPECT_EQ(b.Box->Items(), (QStringList{"aardvark", "Apple", "apple", "banana", "Cherry", "pear"}));
    EXPECT_EQ(b.Box->ItemIndex(), 5);
    EXPECT_EQ(b.Box->itemText(b.Box->ItemIndex()), "pear");

    // Keys walk the sorted order.
    b.Box->setFocus();
    QTest::keyClick(b.Box, Qt::Key_Up);
    EXPECT_EQ(b.Box->Text(), "Cherry");
    QTest::keyClick(b.Box, Qt::Key_B);
    EXPECT_EQ(b.Box->Text(), "banana");

    // Turning it off keeps the present order.
    b.Box->SetSorted(false);
    b.Box->addItems({"Zebra", "ant"});
    EXPECT_EQ(b.Box->itemText(6), "Zebra");
    EXPECT_EQ(b.Box->itemText(7), "ant");
}

TEST(ComboItems, TheFieldShowsTheItemsPictureOrTheFixedOne)
{
    TBox b;
    b.Box->addItems({"one", "two", "three"});
    b.Box->SetImages({Solid(kColours[0]), Solid(kColours[1]), Solid(kColours[2])});
    b.Box->SetItemIndex(1);
    const QRect area = b.Box->ItemArea();
    // Two pixels from the area's left edge, vertically centred.
    const QRect picture(area.left() + 2, area.top() + (area.height() - 8) / 2, 8, 8);
    QImage shot = Grab(*b.Box);
    EXPECT_EQ(QColor(shot.pixel(picture.topLeft())), kColours[1]);
    EXPECT_EQ(QColor(shot.pixel(picture.bottomRight())), kColours[1]);
    EXPECT_NE(QColor(shot.pixel(picture.left() - 1, picture.top())), kColours[1]);

    b.Box->SetImageIndex(2);
    shot = Grab(*b.Box);
    EXPECT_EQ(QColor(shot.pixel(picture.center())), kColours[2]);
    // A picture the list does not have: none, and no crash.
    b.Box->SetImageIndex(40);
    shot = Grab(*b.Box);
    for (const QColor& c : kColours)
        EXPECT_FALSE(Shows(shot, b.Box->rect(), c));
    b.Box->SetImageIndex(-1);
    b.Box->SetItemIndex(2);
    b.Box->SetImages({Solid(kColours[0])});  // fewer pictures than items
    shot = Grab(*b.Box);
    EXPECT_FALSE(Shows(shot, b.Box->rect(), kColours[0]));
}

TEST(ComboItems, TheOpenListShowsEachItemsPicture)
{
    TBox b;
    b.Box->addItems({"one", "two", "three"});
    b.Box->SetImages({Solid(kColours[0]), Solid(kColours[1]), Solid(kColours[2])});
    b.Box->SetItemIndex(0);
    b.Box->DropDown();
    ASSERT_TRUE(b.Box->DroppedDown());
    TbsPopupListBox* list = b.Box->ListBox();
    const QImage shot = Grab(*list);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Shows(shot, list->ItemRect(i), kColours[i])) << i;
    EXPECT_FALSE(Shows(shot, list->ItemRect(0), kColours[1]));
    b.Box->CloseUp(false);
}

TEST(ComboItems, OwnerDrawingPaintsTheFieldAndTheListItems)
{
    TBox b;
    b.Box->addItems({"one", "two", "three", "four"});
    b.Box->SetItemIndex(2);
    std::vector<std::pair<int, int>> field;
    QRect fieldRect;
    b.Box->OnComboBoxDrawItem = [&](QPainter& p, int index, int state, const QRect& r) {
        field.emplace_back(index, state);
        fieldRect = r;
        p.fillRect(r, QColor(1, 2, 3));
    };
    b.Box->clearFocus();
    QApplication::processEvents();
    QImage shot = Grab(*b.Box);
    ASSERT_FALSE(field.empty());
    EXPECT_EQ(field.back(), std::make_pair(2, 0));
    EXPECT_EQ(QColor(shot.pixel(fieldRect.center())), QColor(1, 2, 3));

    b.Box->setFocus();
    QApplication::processEvents();
    Grab(*b.Box);
    EXPECT_EQ(field.back(), std::make_pair(2, int(odFocused)));

    std::map<int, int> rows;
    b.Box->SetOnListBoxDrawItem([&](QPainter& p, int index, int state, const QRect& r) {
        rows[index] = state;
        p.fillRect(r, QColor(10 * index, 5, 5));
    });
    b.Box->DropDown();
    ASSERT_TRUE(b.Box->DroppedDown());
    TbsPopupListBox* list = b.Box->ListBox();
    shot = Grab(*list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2], odSelected | odFocused);
    EXPECT_EQ(rows[0], 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(QColor(shot.pixel(list->ItemRect(i).center())), QColor(10 * i, 5, 5)) << i;
    // The field shows the saved item while the list is open.
    field.clear();
    QTest::keyClick(b.Box, Qt::Key_Down);
    Grab(*b.Box);
    ASSERT_FALSE(field.empty());
    EXPECT_EQ(field.back().first, 3);
    b.Box->CloseUp(false);
}
