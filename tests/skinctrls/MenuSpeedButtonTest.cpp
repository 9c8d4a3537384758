// The menu speed button on a real offscreen window: a left press opens its
// skinned menu below it and keeps it down; the menu's closing, by a command
// or by Escape, brings it up and reports the hidden menu; the track part.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinMenuSpeedButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace rasp;

namespace {

bool WaitUntil(const std::function<bool()>& cond, int ms = 3000)
{
    return QTest::qWaitFor(cond, ms);
}

class MenuSpeedButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        TbsCompressedStoredSkin stored;
        bsAssignBuiltinSkin(stored);
        Skin = std::make_unique<TbsSkinData>();
        Skin->LoadStoredSkin(stored);
        Form = std::make_unique<QWidget>();
        Form->setGeometry(60, 40, 300, 200);
        Button = new TbsSkinMenuSpeedButton(Form.get());
        Button->setGeometry(100, 10, 37, 25);
        Menu = new TbsSkinPopupMenu(Button);
        Menu->SkinData = Skin.get();
        Menu->OwnDriverWithoutFrame = true;
        for (const char* caption : {"First", "Second", "Third"})
            Menu->addAction(QString::fromLatin1(caption));
        Button->SetSkinPopupMenu(Menu);
        Form->show();
        QTest::qWait(10);
        QCursor::setPos(600, 500);
    }
    void TearDown() override
    {
        Form.reset();
        QTest::qWait(10);
    }
    TbsSkinPopupWindow* Top() const
    {
        TbsSkinMenu* driver = Menu ? Menu->ShowingDriver() : nullptr;
        return driver ? driver->TopWindow() : nullptr;
    }
    std::unique_ptr<TbsSkinData> Skin;
    std::unique_ptr<QWidget> Form;
    TbsSkinMenuSpeedButton* Button = nullptr;
    QPointer<TbsSkinPopupMenu> Menu;
};

TEST_F(MenuSpeedButton, APressOpensTheMenuBelowAndTheCommandBringsItUp)
{
    EXPECT_EQ(Button->SkinDataName(), "toolmenubutton");
    QSignalSpy shown(Button, &TbsSkinMenuSpeedButton::ShowTrackMenu);
    QSignalSpy hidden(Button, &TbsSkinMenuSpeedButton::HideTrackMenu);
    QSignalSpy clicked(Button, &TbsSkinButton::clicked);
    int ran = 0;
    QObject::connect(Menu->actions()[1], &QAction::triggered, [&] { ++ran; });

    QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(10, 10));
    TbsSkinPopupWindow* w = Top();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(Button->Down());
    EXPECT_TRUE(Button->MenuOpen());
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(w->Skinned());
    EXPECT_EQ(w->geometry().topLeft(), Button->mapToGlobal(QPoint(0, Button->height())));
    QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(w->isVisible());  // the release of the opening press is ignored
    EXPECT_EQ(clicked.count(), 0);

    const QPoint at = w->Items()[1]->ItemRect.center();
    QCursor::setPos(w->mapToGlobal(at));
    QTest::mouseMove(w, at);
    ASSERT_TRUE(WaitUntil([&] { return w->ActiveIndex() == 1; }));
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(WaitUntil([&] { return !Button->Down(); }));
    EXPECT_FALSE(Button->MenuOpen());
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_EQ(clicked.count(), 0);

    // Escape closes it too.
    QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_NE(Top(), nullptr);
    QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([&] { return !Button->Down(); }));
    EXPECT_EQ(hidden.count(), 2);
    EXPECT_EQ(shown.count(), 2);

    // A press elsewhere on the form closes it as well, without a click.
    QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Form.get(), Qt::LeftButton, {}, QPoint(5, 150));
    EXPECT_TRUE(WaitUntil([&] { return !Button->Down(); }));
    EXPECT_EQ(hidden.count(), 3);
    EXPECT_EQ(Top(), nullptr);
}

TEST_F(MenuSpeedButton, TrackModeOpensOnlyFromTheTrackPartAndAGoneMenuIsForgotten)
{
    Button->SetTrackButtonMode(true);
    QSignalSpy clicked(Button, &TbsSkinButton::clicked);
    const QRect track = Button->TrackButtonRect();
    EXPECT_EQ(track.right(), Button->width() - 1);
    EXPECT_LT(track.width(), Button->width());

    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(3, 10));  // the button part: a click
    EXPECT_EQ(Top(), nullptr);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mousePress(Button, Qt::LeftButton, {}, track.center());
    EXPECT_NE(Top(), nullptr);
    EXPECT_TRUE(Button->Down());
    QTest::mouseRelease(Button, Qt::LeftButton, {}, track.center());

    // The menu goes while it is open: its windows close, the button forgets it.
    delete Menu.data();
    EXPECT_EQ(Button->SkinPopupMenu(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !Button->Down(); }));
    QTest::mouseClick(Button, Qt::LeftButton, {}, track.center());  // no menu: an ordinary click
    EXPECT_EQ(clicked.count(), 2);
}

}  // namespace
