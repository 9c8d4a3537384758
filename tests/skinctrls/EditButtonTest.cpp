// The edit with a button at its right end, on real offscreen widgets: where
// the button lies with and without a skin, which picture it shows for each
// state (compared pixel for pixel with the skin's picture), the click, the
// hit test, entries with unusable rectangles, and the text alignment.

#include "tests/skinctrls/SkinTestSkins.h"

#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/bsSysColors.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb PicturePixel(int x, int y) { return PositionPicture(200, 100).pixel(x, y); }

// A 60 × 18 field over the top left of the position picture, its button at
// 42..59, the button's other looks in column 100 and beyond.
std::unique_ptr<TbsDataSkinEditControl> ButtonEditEntry()
{
    auto e = std::make_unique<TbsDataSkinEditControl>("buttonedit");
    e->pictureindex = 0;
    e->skinrect = {0, 0, 60, 18};
    e->lefttoppoint = {4, 0};
    e->righttoppoint = {41, 0};
    e->clientrect = {4, 2, 39, 16};
    e->activeskinrect = {0, 18, 60, 36};
    e->buttonrect = {42, 1, 59, 17};
    e->activebuttonrect = {100, 20, 117, 36};
    e->downbuttonrect = {100, 40, 117, 56};
    e->unenabledbuttonrect = {100, 60, 117, 76};
    e->fontcolor = 0x000000;
    e->activefontcolor = 0x000000;
    return e;
}

struct TSkinnedField {
    explicit TSkinnedField(std::unique_ptr<TbsDataSkinEditControl> entry = ButtonEditEntry())
    {
        QCursor::setPos(700, 500);
        // Something else holds the focus: the field shows its normal frame until hot.
        (new QLineEdit(Form.Form.get()))->setGeometry(10, 40, 50, 20);
        std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
        controls.push_back(std::move(entry));
        TbsLoadedSkin skin = SkinWith(std::move(controls));
        LoadSkin(*Form.Data, skin);
        Edit = new TbsSkinEdit(Form.Form.get());
        Edit->SetButtonMode(true);
        Edit->setGeometry(10, 10, 200, 18);
        Edit->SetSkinData(Form.Data);
        Form.Form->show();
        QApplication::processEvents();
    }
    TSkinForm Form;
    TbsSkinEdit* Edit;
};

// The button's place in the frame's picture of the present state.
constexpr int kNormalRow = 1, kHotRow = 19;

// Every pixel of the button shows the picture's rectangle with its top left at (sx, sy).
void ExpectButtonShows(TbsSkinEdit& edit, int sx, int sy)
{
    const QImage shot = Grab(edit);
    const QRect b = edit.ButtonRect();
    int wrong = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            wrong += shot.pixel(b.left() + x, b.top() + y) != PicturePixel(sx + x, sy + y);
    EXPECT_EQ(wrong, 0) << "picture at " << sx << "," << sy;
}

// The middle of the columns where the text's dark pixels are.
int TextCentre(TbsSkinEdit& edit)
{
    const QImage shot = Grab(edit);
    int lo = shot.width(), hi = -1;
    for (int y = 3; y < shot.height() - 3; ++y)
        for (int x = 3; x < shot.width() - 3; ++x)
            if (qGray(shot.pixel(x, y)) < 100) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return hi < 0 ? -1 : (lo + hi) / 2;
}

}  // namespace

TEST(EditButton, TheModeSwitchesTheEntryNameOnlyBetweenTheTwoDefaults)
{
    TbsSkinEdit edit;
    EXPECT_EQ(edit.SkinDataName(), "edit");
    edit.SetButtonMode(true);
    EXPECT_EQ(edit.SkinDataName(), "buttonedit");
    edit.SetButtonMode(false);
    EXPECT_EQ(edit.SkinDataName(), "edit");
    edit.SetSkinDataName("browseedit");
    edit.SetButtonMode(true);
    EXPECT_EQ(edit.SkinDataName(), "browseedit");
    EXPECT_TRUE(edit.ButtonRect().isValid());
    edit.SetButtonMode(false);
    EXPECT_TRUE(edit.ButtonRect().isEmpty());
}

TEST(EditButton, UnskinnedTheButtonIsASquareAtTheRightEndDrawnInTheDefaultLook)
{
    QWidget host;
    host.resize(300, 60);
    auto* edit = new TbsSkinEdit(&host);
    edit->SetButtonMode(true);
    edit->setGeometry(10, 10, 150, 22);
    host.show();
    QApplication::processEvents();
    EXPECT_EQ(edit->ButtonRect(), QRect(128, 0, 22, 22));
    // The text ends two pixels before the button.
    EXPECT_EQ(edit->textMargins().right(), 24);
    EXPECT_EQ(edit->HitTest(QPoint(130, 10)), TbsSkinEdit::htButton);
    EXPECT_EQ(edit->HitTest(QPoint(20, 10)), TbsSkinEdit::htText);
    EXPECT_EQ(edit->HitTest(QPoint(1, 1)), TbsSkinEdit::htFrame);

    const QPoint inside(139, 11);
    EXPECT_EQ(Grab(*edit).pixel(inside), clBtnFace().rgb());
    EXPECT_EQ(Grab(*edit).pixel(128, 5), clBtnShadow().rgb());
    QTest::mouseMove(edit, inside);
    EXPECT_TRUE(edit->ButtonHot());
    EXPECT_EQ(QColor(Grab(*edit).pixel(inside)), QColor(182, 189, 210));
    EXPECT_EQ(QColor(Grab(*edit).pixel(128, 5)), QColor(0, 0, 0x80));
    QTest::mousePress(edit, Qt::LeftButton, {}, inside);
    EXPECT_EQ(QColor(Grab(*edit).pixel(inside)), QColor(133, 147, 181));
    QTest::mouseRelease(edit, Qt::LeftButton, {}, inside);
}

TEST(EditButton, AClickIsAPressAndAReleaseOverTheButtonAndFocusesTheField)
{
    QWidget host;
    host.resize(300, 60);
    auto* other = new TbsSkinEdit(&host);
    other->setGeometry(10, 35, 100, 20);
    auto* edit = new TbsSkinEdit(&host);
    edit->SetButtonMode(true);
    edit->setGeometry(10, 10, 150, 20);
    edit->setText("abc");
    host.show();
    QApplication::setActiveWindow(&host);
    other->setFocus();
    QApplication::processEvents();
    QSignalSpy clicks(edit, &TbsSkinEdit::ButtonClick);

    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(140, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "abc");

    // Released away from the button: no click.
    QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(140, 10));
    QTest::mouseMove(edit, QPoint(40, 10));
    EXPECT_FALSE(edit->ButtonHot());
    QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(edit->ButtonDown());

    // A click in the text is no button click.
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    // Without the mode nothing is a button.
    edit->SetButtonMode(false);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(140, 10));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(EditButton, SkinnedTheButtonMovesWithTheRightEndAndShowsEachStatesPicture)
{
    TSkinnedField f;
    TbsSkinEdit& edit = *f.Edit;
    ASSERT_TRUE(edit.IsSkinned());
    EXPECT_EQ(edit.height(), 18);
    // 42..59 lies in the right end piece: moved by 200 - 60.
    EXPECT_EQ(edit.ButtonRect(), QRect(182, 1, 17, 16));
    EXPECT_EQ(edit.HitTest(QPoint(190, 8)), TbsSkinEdit::htButton);
    EXPECT_EQ(edit.HitTest(QPoint(180, 8)), TbsSkinEdit::htFrame);
    EXPECT_EQ(edit.HitTest(QPoint(100, 8)), TbsSkinEdit::htText);

    // Normal: the frame's own picture (its right end piece).
    EXPECT_FALSE(edit.Hot());
    ExpectButtonShows(edit, 42, kNormalRow);
    QTest::mouseMove(&edit, QPoint(190, 8));
    ExpectButtonShows(edit, 100, 20);
    QTest::mousePress(&edit, Qt::LeftButton, {}, QPoint(190, 8));
    ExpectButtonShows(edit, 100, 40);
    // Pressed but off the button: the pressed picture goes.
    QTest::mouseMove(&edit, QPoint(100, 8));
    EXPECT_FALSE(edit.ButtonHot());
    QTest::mouseRelease(&edit, Qt::LeftButton, {}, QPoint(100, 8));
    edit.setEnabled(false);
    ExpectButtonShows(edit, 100, 60);
}

TEST(EditButton, WithoutADownPictureThePressedButtonShowsTheActiveOne)
{
    auto entry = ButtonEditEntry();
    entry->downbuttonrect = {};
    TSkinnedField f(std::move(entry));
    QTest::mouseMove(f.Edit, QPoint(190, 8));
    QTest::mousePress(f.Edit, Qt::LeftButton, {}, QPoint(190, 8));
    ExpectButtonShows(*f.Edit, 100, 20);
    QSignalSpy clicks(f.Edit, &TbsSkinEdit::ButtonClick);
    QTest::mouseRelease(f.Edit, Qt::LeftButton, {}, QPoint(190, 8));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(EditButton, UnusableButtonRectanglesNeverCrashAndLeaveTheFramesPicture)
{
    // State pictures outside the picture or upside down: the frame's own look stays.
    auto entry = ButtonEditEntry();
    entry->activebuttonrect = {190, 90, 400, 300};
    entry->downbuttonrect = {-50, -50, -10, -10};
    entry->unenabledbuttonrect = {120, 70, 100, 60};
    TSkinnedField f(std::move(entry));
    QTest::mouseMove(f.Edit, QPoint(190, 8));
    ASSERT_TRUE(f.Edit->Hot());
    ExpectButtonShows(*f.Edit, 42, kHotRow);
    QTest::mousePress(f.Edit, Qt::LeftButton, {}, QPoint(190, 8));
    ExpectButtonShows(*f.Edit, 42, kHotRow);
    QTest::mouseRelease(f.Edit, Qt::LeftButton, {}, QPoint(190, 8));
    f.Edit->setEnabled(false);
    ExpectButtonShows(*f.Edit, 42, f.Edit->Hot() ? kHotRow : kNormalRow);

    // A button far outside the field is cut to it; an empty one is no button.
    for (TbsRect place : {TbsRect{-1000, -1000, 100000, 100000}, TbsRect{}, TbsRect{70, 5, 30, 2},
                          TbsRect{2147483000, 0, 2147483600, 10}}) {
        auto e = ButtonEditEntry();
        e->buttonrect = place;
        TSkinnedField g(std::move(e));
        EXPECT_TRUE(g.Edit->rect().contains(g.Edit->ButtonRect()) || g.Edit->ButtonRect().isEmpty());
        QTest::mouseClick(g.Edit, Qt::LeftButton, {}, QPoint(190, 8));
        Grab(*g.Edit);
    }
}

TEST(EditButton, AlignmentPlacesTheText)
{
    QWidget host;
    host.resize(300, 60);
    auto* edit = new TbsSkinEdit(&host);
    edit->setGeometry(10, 10, 200, 20);
    edit->setText("12");
    host.show();
    QApplication::processEvents();
    EXPECT_EQ(edit->Alignment(), TbsAlignment::taLeftJustify);
    const int left = TextCentre(*edit);
    edit->SetAlignment(TbsAlignment::taRightJustify);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
    const int right = TextCentre(*edit);
    edit->SetAlignment(TbsAlignment::taCenter);
    EXPECT_TRUE(edit->alignment() & Qt::AlignHCenter);
    const int centre = TextCentre(*edit);
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 40);
    EXPECT_GT(right, 170);
    EXPECT_GT(centre, 90);
    EXPECT_LT(centre, 120);
    EXPECT_EQ(edit->text(), "12");
}
