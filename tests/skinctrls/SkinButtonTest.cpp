// Buttons, panels, labels, link labels and bevels on real widgets: the
// button's mouse rules, repeat clicks, groups and modal results; the panel's
// frameless look and folding; engraved disabled labels and links.

#include "tests/skinctrls/SkinTestSkins.h"

#include "skinctrls/TbsSkinBevel.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinGroupBox.h"
#include "skinctrls/TbsSkinLinkLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinctrls/bsSysColors.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
QRgb PicturePixel(int x, int y) { return PositionPicture(200, 100).pixel(x, y); }

std::unique_ptr<TbsDataSkinButtonControl> ButtonEntry()
{
    auto b = std::make_unique<TbsDataSkinButtonControl>("button");
    b->pictureindex = 0;
    b->skinrect = {0, 0, 40, 21};
    b->lefttoppoint = {5, 0};
    b->righttoppoint = {35, 0};
    b->clientrect = {5, 3, 35, 18};
    b->activeskinrect = {40, 0, 80, 21};
    b->downskinrect = {80, 0, 120, 21};
    b->disabledskinrect = {120, 0, 160, 21};
    return b;
}

class Buttons : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
        controls.push_back(ButtonEntry());
        auto panel = std::make_unique<TbsDataSkinPanelControl>("panel");
        panel->pictureindex = 0;
        panel->skinrect = {10, 30, 40, 60};
        panel->lefttoppoint = {4, 4};
        panel->righttoppoint = {26, 4};
        panel->leftbottompoint = {4, 26};
        panel->rightbottompoint = {26, 26};
        panel->clientrect = {4, 4, 26, 26};
        controls.push_back(std::move(panel));
        auto label = std::make_unique<TbsDataSkinStdLabelControl>("stdlabel");
        label->fontcolor = 0x0000FF;
        label->activefontcolor = 0xFF0000;
        controls.push_back(std::move(label));
        auto bevel = std::make_unique<TbsDataSkinBevel>("bevel");
        bevel->lightcolor = 0x00FF00;
        bevel->darkcolor = 0x000080;
        controls.push_back(std::move(bevel));
        skin = SkinWith(std::move(controls));
        LoadSkin(*form.Data, skin);
    }

    TbsSkinButton* MakeButton(QWidget* parent = nullptr)
    {
        auto* b = new TbsSkinButton(parent ? parent : form.Form.get(), "Go");
        b->SetSkinData(form.Data);
        b->setGeometry(10, 10, 60, 21);
        QObject::connect(b, &TbsSkinButton::clicked, [this] { ++clicks; });
        return b;
    }

    TSkinForm form;
    TbsLoadedSkin skin;
    int clicks = 0;
};

}  // namespace

TEST_F(Buttons, ReleasingOutsideGivesNoClickAndShowsTheButtonUp)
{
    TbsSkinButton* b = MakeButton();
    b->SetCanFocused(false);
    form.Form->show();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Grab(*b).pixel(2, 1), PicturePixel(82, 1)) << "pressed look";
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Grab(*b).pixel(2, 1), PicturePixel(2, 1)) << "normal look";
    // Released over it: one click.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Buttons, RepeatModeClicksAtEveryIntervalAndOnceAtTheRelease)
{
    TbsSkinButton* b = MakeButton();
    b->SetRepeatMode(true);
    b->SetRepeatInterval(100);
    std::vector<qint64> at;
    QElapsedTimer clock;
    QObject::connect(b, &TbsSkinButton::clicked, [&] { at.push_back(clock.elapsed()); });
    form.Form->show();
    clock.start();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(at.empty()) << "no click at the press";
    QTest::qWait(350);
    const std::size_t timerClicks = at.size();
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(b->Repeating());
    // About 100, 200 and 300 ms; a loaded machine may lose the last tick.
    EXPECT_GE(timerClicks, 2u);
    EXPECT_LE(timerClicks, 3u);
    for (std::size_t i = 0; i < timerClicks; ++i)
        EXPECT_GE(at[i], qint64(100 * (i + 1)) - 10) << "click " << i;
    EXPECT_EQ(at.size(), timerClicks + 1) << "one more at the release";
}

TEST_F(Buttons, GroupedButtonsStayDownUnlessAllUpIsAllowed)
{
    TbsSkinButton* a = MakeButton();
    TbsSkinButton* b = MakeButton();
    b->move(10, 40);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    EXPECT_FALSE(a->CanFocused()) << "a group index takes the focus away";
    form.Form->show();
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1) << "a grouped button clicks at the press";
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a->Down()) << "stays down without AllowAllUp";
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down()) << "the other one of the group is released";

    b->SetAllowAllUp(true);
    const int before = clicks;
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b->Down()) << "the second click releases it";
    EXPECT_EQ(clicks, before + 1);
}

TEST_F(Buttons, OnlyAFocusableButtonGivesItsModalResult)
{
    QDialog dialog;
    TbsSkinButton* b = MakeButton(&dialog);
    b->SetModalResult(1);
    b->SetCanFocused(false);
    dialog.show();
    b->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    b->SetCanFocused(true);
    b->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
}

TEST_F(Buttons, TheAcceleratorAndTheSpaceKeyClick)
{
    TbsSkinButton* b = MakeButton();
    b->setText("&Go");
    form.Form->show();
    QApplication::setActiveWindow(form.Form.get());
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Buttons, DisabledAndPictureOutOfRangeLooks)
{
    TbsSkinButton* b = MakeButton();
    b->SetCanFocused(false);
    b->setEnabled(false);
    form.Form->show();
    EXPECT_EQ(Grab(*b).pixel(2, 1), PicturePixel(122, 1)) << "disabled look";

    // A picture index past the end: the default look, no crash.
    static_cast<TbsDataSkinButtonControl*>(form.Data->SkinControls[0].get())->pictureindex = 7;
    b->update();
    QApplication::processEvents();
    EXPECT_FALSE(b->IsSkinned());
    EXPECT_EQ(Grab(*b).pixel(20, 10), clBtnFace().rgb());
}

TEST_F(Buttons, AFramelessPanelTilesItsInnerTextureOverItsWholeArea)
{
    auto* panel = new TbsSkinPanel(form.Form.get());
    panel->SetSkinData(form.Data);
    panel->SetBorderStyle(bvNone);
    panel->setGeometry(0, 0, 50, 50);
    auto* child = new QWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(child);
    form.Form->show();
    QApplication::processEvents();
    const QImage shot = Grab(*panel);
    // The client part of the skin, 22 × 22 from (14, 34), from the corner.
    EXPECT_EQ(shot.pixel(0, 0), PicturePixel(14, 34));
    EXPECT_EQ(shot.pixel(23, 1), PicturePixel(15, 35));
    EXPECT_EQ(child->geometry(), QRect(0, 0, 50, 50)) << "children use the whole area";
    panel->SetBorderStyle(bvFrame);
    QApplication::processEvents();
    EXPECT_EQ(child->geometry(), QRect(4, 4, 42, 42));
}

TEST_F(Buttons, ARolledUpPanelUnrollsToItsHeightWithItsChildren)
{
    auto* panel = new TbsSkinPanel(form.Form.get());
    panel->setGeometry(0, 0, 120, 90);
    auto* a = new QWidget(panel);
    auto* b = new QWidget(panel);
    panel->SetCaptionMode(true);
    panel->SetRollUpMode(true);
    int changes = 0;
    QObject::connect(panel, &TbsSkinPanel::OnChangeRollUpState, [&] { ++changes; });
    form.Form->show();
    // A click on the caption bar folds it.
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_TRUE(panel->RollUpState());
    EXPECT_EQ(panel->height(), 22 + 1);
    EXPECT_EQ(panel->RealHeight(), 90);
    EXPECT_FALSE(a->isVisible());
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_FALSE(panel->RollUpState());
    EXPECT_EQ(panel->height(), 90);
    EXPECT_EQ(panel->RealHeight(), -1);
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(changes, 2);
}

TEST_F(Buttons, ADisabledLabelIsEngraved)
{
    auto* label = new TbsSkinStdLabel(form.Form.get(), "WWWW");
    label->setEnabled(false);
    form.Form->show();
    const QImage shot = Grab(*label);
    bool shadow = false, highlight = false;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            shadow |= shot.pixel(x, y) == clBtnShadow().rgb();
            highlight |= shot.pixel(x, y) == clBtnHighlight().rgb();
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(highlight);
    // Skinned and enabled: the entry's colour.
    label->SetSkinData(form.Data);
    label->setEnabled(true);
    EXPECT_EQ(label->DrawColor(), QColor(255, 0, 0));
}

TEST_F(Buttons, ALinkWithAnEmptyURLStillClicksAndAsksTheLauncher)
{
    auto* link = new TbsSkinLinkLabel(form.Form.get(), "Home");
    link->SetSkinData(form.Data);
    std::vector<QString> opened;
    int clicked = 0;
    link->SetOpener([&](const QString& url) { opened.push_back(url); });
    QObject::connect(link, &TbsSkinLinkLabel::Click, [&] { ++clicked; });
    form.Form->show();
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(link->DrawFont().underline());
    EXPECT_EQ(link->DrawColor(), QColor(255, 0, 0));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->DrawColor(), QColor(0, 0, 255)) << "the active colour under the pointer";
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicked, 1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].isEmpty());
}

TEST_F(Buttons, BevelLinesTakeTheSkinColours)
{
    auto* bevel = new TbsSkinBevel(form.Form.get());
    bevel->setGeometry(0, 0, 40, 2);
    form.Form->show();
    EXPECT_EQ(Grab(*bevel).pixel(5, 0), clBtnShadow().rgb());
    bevel->SetSkinData(form.Data);
    const QImage shot = Grab(*bevel);
    EXPECT_EQ(shot.pixel(5, 0), qRgb(0x80, 0, 0)) << "lowered: dark line on top";
    EXPECT_EQ(shot.pixel(5, 1), qRgb(0, 0xFF, 0));
}
