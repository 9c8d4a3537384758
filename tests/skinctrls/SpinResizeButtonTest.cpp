// The spin edit stretched to a height of its own (UseSkinSize off): the
// field's picture stretched, the arrows sharing the height half and half and
// drawn from the "resizebutton" entry in its normal, active and down looks
// with the arrow in the look's font colour, compared with the skin picture.

#include "tests/skinctrls/SkinTestSkins.h"

#include "skinctrls/TbsSkinNumEdit.h"
#include "skinctrls/TbsSkinSpinEdit.h"
#include "skinctrls/bsSysColors.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb PicturePixel(int x, int y) { return PositionPicture(200, 100).pixel(x, y); }

// A 50 × 20 field at the picture's origin with its buttons at 34..49.
std::unique_ptr<TbsDataSkinSpinEditControl> SpinEntry()
{
    auto e = std::make_unique<TbsDataSkinSpinEditControl>("spinedit");
    e->pictureindex = 0;
    e->skinrect = {0, 0, 50, 20};
    e->lefttoppoint = {4, 0};
    e->righttoppoint = {33, 0};
    e->clientrect = {4, 2, 32, 18};
    e->upbuttonrect = {34, 1, 49, 10};
    e->downbuttonrect = {34, 10, 49, 19};
    e->activeupbuttonrect = {34, 21, 49, 30};
    e->activedownbuttonrect = {34, 30, 49, 39};
    return e;
}

// A nine-piece "resizebutton" with three looks side by side, each with a
// font colour of its own.
std::unique_ptr<TbsDataSkinButtonControl> ResizeButtonEntry()
{
    auto b = std::make_unique<TbsDataSkinButtonControl>("resizebutton");
    b->pictureindex = 0;
    b->skinrect = {60, 50, 100, 67};
    b->lefttoppoint = {4, 3};
    b->righttoppoint = {36, 3};
    b->leftbottompoint = {4, 14};
    b->rightbottompoint = {36, 14};
    b->clientrect = {4, 2, 36, 15};
    b->activeskinrect = {100, 50, 140, 67};
    b->downskinrect = {140, 50, 180, 67};
    b->fontcolor = 0x0000FF;        // red
    b->activefontcolor = 0x00FF00;  // green
    b->downfontcolor = 0xFF0000;    // blue
    return b;
}

struct TStretchedSpin {
    explicit TStretchedSpin(std::unique_ptr<TbsDataSkinButtonControl> resize = ResizeButtonEntry())
    {
        std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
        controls.push_back(SpinEntry());
        if (resize)
            controls.push_back(std::move(resize));
        TbsLoadedSkin skin = SkinWith(std::move(controls));
        LoadSkin(*Form.Data, skin);
        Spin = new TbsSkinSpinEdit(Form.Form.get());
        Spin->SetUseSkinSize(false);
        Spin->setGeometry(10, 10, 120, 40);
        Spin->SetSkinData(Form.Data);
        Form.Form->show();
        QApplication::processEvents();
    }
    TSkinForm Form;
    TbsSkinSpinEdit* Spin;
};

// The arrow's tip row pixel (the same place for both directions).
QPoint ArrowPixel(const QRect& r, bool pressed) { return r.center() + QPoint(0, 1) + (pressed ? QPoint(2, 2) : QPoint()); }

}  // namespace

TEST(SpinResizeButton, TheFieldKeepsItsHeightAndTheArrowsShareItHalfAndHalf)
{
    TStretchedSpin s;
    ASSERT_TRUE(s.Spin->IsSkinned());
    EXPECT_EQ(s.Spin->height(), 40);
    // Moved right by 120 - 50; from the up button's top to the down
    // button's bottom grown by 40 - 20, cut in two.
    EXPECT_EQ(s.Spin->UpButtonRect(), QRect(QPoint(104, 1), QPoint(118, 19)));
    EXPECT_EQ(s.Spin->DownButtonRect(), QRect(QPoint(104, 20), QPoint(118, 38)));
    // The editor sits in the stretched client area.
    const QRect editor = s.Spin->Editor()->geometry();
    EXPECT_EQ(editor.left(), 4);
    EXPECT_EQ(editor.width(), 28 + 70);
    EXPECT_NEAR(editor.center().y(), 20, 1);

    // With the skin's size again the height is the entry's.
    s.Spin->SetUseSkinSize(true);
    EXPECT_EQ(s.Spin->height(), 20);
    EXPECT_EQ(s.Spin->UpButtonRect(), QRect(QPoint(104, 1), QPoint(118, 9)));
}

TEST(SpinResizeButton, ArrowsShowTheResizeButtonsLooksAndFontColours)
{
    TStretchedSpin s;
    TbsSkinSpinEdit& spin = *s.Spin;
    const QRect up = spin.UpButtonRect();
    const QRect down = spin.DownButtonRect();

    // The nine-piece corners are the picture's own pixels.
    QImage shot = Grab(spin);
    EXPECT_EQ(shot.pixel(up.topLeft()), PicturePixel(60, 50));
    EXPECT_EQ(shot.pixel(up.bottomRight()), PicturePixel(99, 66));
    EXPECT_EQ(shot.pixel(down.topLeft()), PicturePixel(60, 50));
    EXPECT_EQ(QColor(shot.pixel(ArrowPixel(up, false))), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(ArrowPixel(down, false))), QColor(255, 0, 0));
    // The field's picture is stretched to the height: its bottom row at the bottom.
    EXPECT_EQ(shot.pixel(0, 39), PicturePixel(0, 19));
    EXPECT_EQ(shot.pixel(0, 0), PicturePixel(0, 0));

    QTest::mouseMove(&spin, up.center());
    shot = Grab(spin);
    EXPECT_EQ(shot.pixel(up.topLeft()), PicturePixel(100, 50));
    EXPECT_EQ(QColor(shot.pixel(ArrowPixel(up, false))), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixel(down.topLeft()), PicturePixel(60, 50));

    QTest::mousePress(&spin, Qt::LeftButton, {}, up.center());
    shot = Grab(spin);
    EXPECT_EQ(shot.pixel(up.topLeft()), PicturePixel(140, 50));
    EXPECT_EQ(QColor(shot.pixel(ArrowPixel(up, true))), QColor(0, 0, 255));
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(spin.Value(), 1);

    // The lower half steps down.
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down.center());
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down.center());
    EXPECT_EQ(spin.Value(), -1);
}

TEST(SpinResizeButton, WithoutAUsableResizeButtonEntryTheArrowsTakeTheDefaultLook)
{
    auto outside = ResizeButtonEntry();
    outside->skinrect = {180, 90, 400, 300};
    auto tiny = ResizeButtonEntry();
    tiny->skinrect = {60, 50, 61, 51};
    tiny->activeskinrect = {-5, -5, 0, 0};
    for (auto* entry : {static_cast<TbsDataSkinButtonControl*>(nullptr), outside.release(), tiny.release()}) {
        TStretchedSpin s{std::unique_ptr<TbsDataSkinButtonControl>(entry)};
        const QRect up = s.Spin->UpButtonRect();
        QTest::mouseMove(s.Spin, up.center());
        QTest::mouseClick(s.Spin, Qt::LeftButton, {}, up.center());
        EXPECT_EQ(s.Spin->Value(), 1);
        Grab(*s.Spin);
    }
    // No resize entry at all: button-face arrows with black arrows.
    TStretchedSpin plain{nullptr};
    const QImage shot = Grab(*plain.Spin);
    const QRect down = plain.Spin->DownButtonRect();
    EXPECT_EQ(shot.pixel(down.left() + 1, down.top() + 1), clBtnFace().rgb());
    EXPECT_EQ(QColor(shot.pixel(ArrowPixel(down, false) + QPoint(0, -1))), QColor(Qt::black));
}

TEST(SpinResizeButton, ArrowsSmallerThanTheEntrysCornersStillDraw)
{
    TStretchedSpin s;
    s.Spin->resize(60, 6);
    EXPECT_EQ(s.Spin->height(), 6);
    Grab(*s.Spin);
    s.Spin->resize(5, 1);
    Grab(*s.Spin);
    SUCCEED();
}
