// The control base on real widgets: lookup by name at every paint, the
// default look without an entry, size fitting, skin replacement while shown,
// and entries whose geometry cannot be drawn.

#include "tests/skinctrls/SkinTestSkins.h"

#include "skin/bsBuiltinSkin.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinctrls/TbsSkinBevel.h"
#include "skinctrls/bsSysColors.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

// A horizontal "button" entry over rows 0..20 of the position picture.
std::unique_ptr<TbsDataSkinButtonControl> ButtonEntry(const char* name = "button")
{
    auto b = std::make_unique<TbsDataSkinButtonControl>(name);
    b->pictureindex = 0;
    b->skinrect = {0, 0, 40, 21};
    b->lefttoppoint = {5, 0};
    b->righttoppoint = {35, 0};
    b->clientrect = {5, 3, 35, 18};
    b->activeskinrect = {40, 0, 80, 21};
    b->downskinrect = {80, 0, 120, 21};
    b->disabledskinrect = {120, 0, 160, 21};
    b->fontcolor = 0x0000FF;
    return b;
}

std::unique_ptr<TbsDataSkinPanelControl> PanelEntry(const char* name = "panel")
{
    auto p = std::make_unique<TbsDataSkinPanelControl>(name);
    p->pictureindex = 0;
    p->skinrect = {10, 30, 40, 60};
    p->lefttoppoint = {4, 4};
    p->righttoppoint = {26, 4};
    p->leftbottompoint = {4, 26};
    p->rightbottompoint = {26, 26};
    p->clientrect = {4, 4, 26, 26};
    return p;
}

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb PicturePixel(int x, int y) { return PositionPicture(200, 100).pixel(x, y); }

class SkinControl : public ::testing::Test {
protected:
    TSkinForm form;
};

}  // namespace

TEST_F(SkinControl, ANameWithoutEntryDrawsTheDefaultLookUntilANameMatches)
{
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    controls.push_back(ButtonEntry("otherbutton"));
    TbsLoadedSkin skin = SkinWith(std::move(controls));
    LoadSkin(*form.Data, skin);
    auto* button = new TbsSkinButton(form.Form.get(), "");
    button->SetCanFocused(false);
    button->SetSkinData(form.Data);
    button->setGeometry(10, 10, 60, 21);
    form.Form->show();
    QApplication::processEvents();
    EXPECT_EQ(button->SkinIndex(), -1);
    EXPECT_FALSE(button->IsSkinned());
    // The default look: a button-shadow frame around the button face.
    EXPECT_NE(Grab(*button).pixel(20, 10), PicturePixel(20, 10));

    button->SetSkinDataName("otherbutton");
    button->update();
    QApplication::processEvents();
    EXPECT_EQ(button->SkinIndex(), 0);
    const QImage shot = Grab(*button);
    // Left end unchanged, right end moved to the control's right edge.
    EXPECT_EQ(shot.pixel(2, 1), PicturePixel(2, 1));
    EXPECT_EQ(shot.pixel(59, 20), PicturePixel(39, 20));
}

TEST_F(SkinControl, AHorizontalEntryKeepsItsHeightANinePieceOneAnySize)
{
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    controls.push_back(ButtonEntry());
    controls.push_back(PanelEntry());
    TbsLoadedSkin skin = SkinWith(std::move(controls));
    LoadSkin(*form.Data, skin);
    auto* button = new TbsSkinButton(form.Form.get(), "OK");
    auto* panel = new TbsSkinPanel(form.Form.get());
    bsBindSkinData(form.Form.get(), form.Data);
    form.Form->show();
    button->SetBounds(5, 5, 98, 40);
    EXPECT_EQ(button->size(), QSize(98, 21));
    button->setGeometry(5, 5, 120, 7);
    QApplication::processEvents();
    EXPECT_EQ(button->size(), QSize(120, 21));
    panel->setGeometry(0, 40, 333, 77);
    QApplication::processEvents();
    EXPECT_EQ(panel->size(), QSize(333, 77));
    // The panel's children go into its current client rectangle.
    EXPECT_EQ(panel->contentsRect(), QRect(4, 4, 333 - 8, 77 - 8));
}

TEST_F(SkinControl, TheBuiltInSkinSkinsTheWindowControls)
{
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    form.Data->LoadStoredSkin(stored);
    auto* button = new TbsSkinButton(form.Form.get(), "Compare");
    button->setGeometry(7, 6, 98, 20);
    auto* label = new TbsSkinStdLabel(form.Form.get(), "Contains");
    auto* bevel = new TbsSkinBevel(form.Form.get());
    bsBindSkinData(form.Form.get(), form.Data);
    form.Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(button->IsSkinned());
    EXPECT_EQ(button->height(), 21);
    EXPECT_TRUE(label->IsSkinned());
    EXPECT_NE(bevel->LightColor(), QColor());
}

TEST_F(SkinControl, ReplacingTheSkinWhileShownForgetsThenAppliesWithOnePaintEach)
{
    auto* button = new TbsSkinButton(form.Form.get(), "");
    button->SetCanFocused(false);
    button->setGeometry(10, 10, 60, 30);
    auto* panel = new TbsSkinPanel(form.Form.get());
    panel->setGeometry(0, 50, 100, 100);
    bsBindSkinData(form.Form.get(), form.Data);
    form.Form->show();
    QApplication::processEvents();
    ASSERT_FALSE(button->IsSkinned());

    // Observes the first message: every control has forgotten its entry then.
    struct TWatch : QObject {
        TbsSkinButton* Button;
        bool SawForgotten = false;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (int(e->type()) == SKN_CHANGE)
                SawForgotten = Button->SkinIndex() == -1;
            return false;
        }
    } watch;
    watch.Button = button;

    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    controls.push_back(ButtonEntry());
    controls.push_back(PanelEntry());
    TbsLoadedSkin skin = SkinWith(std::move(controls));
    LoadSkin(*form.Data, skin);
    QApplication::processEvents();
    EXPECT_TRUE(button->IsSkinned());
    EXPECT_EQ(button->height(), 21);
    EXPECT_TRUE(panel->IsSkinned());

    // A second skin, with the pixels shifted: each control repaints once.
    std::vector<std::unique_ptr<TbsDataSkinControl>> again;
    auto b = ButtonEntry();
    b->skinrect = {0, 21, 40, 42};
    again.push_back(std::move(b));
    again.push_back(PanelEntry());
    TbsLoadedSkin second = SkinWith(std::move(again));
    form.Form->installEventFilter(&watch);
    // Filters installed later run first: the watch sees SKN_CHANGE before the
    // relay does, right after the relay handled SKN_BEFORECHANGE.
    const int buttonPaints = button->PaintCount(), panelPaints = panel->PaintCount();
    LoadSkin(*form.Data, second);
    QApplication::processEvents();
    EXPECT_EQ(button->PaintCount() - buttonPaints, 1);
    EXPECT_EQ(panel->PaintCount() - panelPaints, 1);
    EXPECT_TRUE(watch.SawForgotten);
    EXPECT_EQ(Grab(*button).pixel(2, 1), PicturePixel(2, 22));
}

TEST_F(SkinControl, UnusableEntriesGiveTheDefaultLookAndRemovingTheSkinToo)
{
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    auto inverted = ButtonEntry("inverted");
    inverted->skinrect = {40, 21, 0, 0};
    controls.push_back(std::move(inverted));
    auto outside = ButtonEntry("outside");
    outside->righttoppoint = {90, 0};  // beyond the 40-pixel rectangle
    controls.push_back(std::move(outside));
    auto past = ButtonEntry("past");
    past->skinrect = {180, 90, 220, 111};  // runs off the picture
    controls.push_back(std::move(past));
    auto empty = ButtonEntry("empty");
    empty->skinrect = {0, 0, 0, 21};
    controls.push_back(std::move(empty));
    controls.push_back(ButtonEntry());
    TbsLoadedSkin skin = SkinWith(std::move(controls));
    LoadSkin(*form.Data, skin);
    auto* button = new TbsSkinButton(form.Form.get(), "");
    button->SetCanFocused(false);
    button->SetSkinData(form.Data);
    button->setGeometry(100, 100, 70, 30);
    form.Form->show();
    for (const char* name : {"inverted", "outside", "past", "empty"}) {
        button->SetSkinDataName(name);
        button->SetBounds(100, 100, 70, 30);
        QApplication::processEvents();
        EXPECT_FALSE(button->IsSkinned()) << name;
        EXPECT_EQ(button->size(), QSize(70, 30)) << name;
        EXPECT_EQ(Grab(*button).pixel(30, 15), clBtnFace().rgb()) << name;
    }
    button->SetSkinDataName("button");
    button->ApplySkin();
    EXPECT_TRUE(button->IsSkinned());
    EXPECT_EQ(button->height(), 21);
    // The skin data goes away: the plain look again.
    delete form.Data;
    form.Data = nullptr;
    button->update();
    QApplication::processEvents();
    EXPECT_EQ(button->SkinData(), nullptr);
    EXPECT_FALSE(button->IsSkinned());
}

TEST_F(SkinControl, AMaskShapesTheWindowFromItsBlackRunsAroundTheClient)
{
    // Picture 1: black except a white one-pixel notch in each top corner.
    QImage mask(40, 21, QImage::Format_RGB32);
    mask.fill(Qt::black);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(39, 0, qRgb(255, 255, 255));
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    auto b = ButtonEntry();
    b->maskpictureindex = 1;
    controls.push_back(std::move(b));
    TbsLoadedSkin skin = SkinWith(std::move(controls));
    skin.Content.SkinPictures.push_back(mask);
    skin.Content.SkinPictureNames.push_back("mask.bmp");
    LoadSkin(*form.Data, skin);
    auto* button = new TbsSkinButton(form.Form.get(), "");
    button->SetSkinData(form.Data);
    form.Form->show();
    button->SetBounds(0, 0, 100, 21);
    const QRegion shape = button->mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(99, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_TRUE(shape.contains(QPoint(50, 10)));
    EXPECT_TRUE(shape.contains(QPoint(99, 20)));
}

TEST_F(SkinControl, AMorphingButtonBlendsTowardsItsActiveLookAndBack)
{
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    form.Data->LoadStoredSkin(stored);
    auto* button = new TbsSkinButton(form.Form.get(), "Go");
    button->SetCanFocused(false);
    button->SetSkinData(form.Data);
    button->setGeometry(5, 5, 98, 21);
    form.Form->show();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->Hot());
    EXPECT_LT(button->MorphFactor(), 1.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->MorphFactor() >= 1.0; }, 2000));
    EXPECT_EQ(button->MorphFactor(), 1.0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->MorphFactor() <= 0.0; }, 2000));
    EXPECT_EQ(button->MorphFactor(), 0.0);
}
