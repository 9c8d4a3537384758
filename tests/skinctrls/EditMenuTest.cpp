#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinNumericEdit.h"
#include "skinctrls/bsEditMenu.h"
#include "skin/bsResourceStrData.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <map>

using namespace rasp;

namespace {

// Opens the edit's context menu with a right click and hands the open menu
// to `inside`, which must close it.
void WithContextMenu(QLineEdit* edit, const std::function<void(QMenu&)>& inside)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ran = true;
        inside(*menu);
        if (QApplication::activePopupWidget() == menu)
            menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &event);
    EXPECT_TRUE(ran);
}

std::map<QString, bool> Enabled(QMenu& menu)
{
    std::map<QString, bool> out;
    for (QAction* a : menu.actions())
        if (!a->isSeparator())
            out[a->text()] = a->isEnabled();
    return out;
}

}  // namespace

TEST(EditMenuTest, ItemsAreEnabledOnlyWhenTheyCanAct)
{
    TbsSkinEdit edit;
    edit.show();
    edit.setText("hello world");
    edit.setSelection(0, 5);
    QApplication::clipboard()->setText("pasted");
    WithContextMenu(&edit, [](QMenu& menu) {
        const auto on = Enabled(menu);
        ASSERT_EQ(on.size(), 6u);
        EXPECT_TRUE(on.at("Cut"));
        EXPECT_TRUE(on.at("Copy"));
        EXPECT_TRUE(on.at("Paste"));
        EXPECT_TRUE(on.at("Delete"));
        EXPECT_TRUE(on.at("Select All"));
        EXPECT_EQ(menu.actions().size(), 8);  // two separators
    });
    edit.selectAll();
    QApplication::clipboard()->clear();
    WithContextMenu(&edit, [](QMenu& menu) {
        const auto on = Enabled(menu);
        EXPECT_FALSE(on.at("Select All"));
        EXPECT_FALSE(on.at("Paste"));
    });
}

TEST(EditMenuTest, AReadOnlyNumericEditOffersCopyAndSelectAllOnly)
{
    TbsSkinNumericEdit edit;
    edit.show();
    edit.SetValue(1234);
    edit.setReadOnly(true);
    edit.setSelection(0, 2);
    QApplication::clipboard()->setText("5");
    WithContextMenu(&edit, [](QMenu& menu) {
        const auto on = Enabled(menu);
        EXPECT_FALSE(on.at("Undo"));
        EXPECT_FALSE(on.at("Cut"));
        EXPECT_TRUE(on.at("Copy"));
        EXPECT_FALSE(on.at("Paste"));
        EXPECT_FALSE(on.at("Delete"));
        EXPECT_TRUE(on.at("Select All"));
    });
    // Every printable key is refused (with a beep) and changes nothing.
    QTest::keyClicks(&edit, "7a-");
    EXPECT_EQ(edit.text(), "1234");
}

TEST(EditMenuTest, CommandsRunAndCaptionsComeFromTheSkinTexts)
{
    TbsSkinEdit edit;
    edit.show();
    edit.setText("abc def");
    edit.setSelection(0, 4);
    WithContextMenu(&edit, [](QMenu& menu) {
        for (QAction* a : menu.actions())
            if (a->text() == "Delete")
                a->trigger();
    });
    EXPECT_EQ(edit.text(), "def");

    TbsResourceStrData texts;
    texts.SetResStr("EDIT_COPY", "Kopieren");
    const auto items = bsEditMenuItems({}, &texts);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[3].Caption, "Kopieren");
    EXPECT_EQ(items[4].Caption, "Paste");
    EXPECT_EQ(items[1].Command, ecNone);
}

TEST(EditMenuTest, AnEditFreedWhileItsMenuIsOpenIsNotTouched)
{
    auto* host = new QWidget;
    auto* edit = new TbsSkinEdit(host);
    host->show();
    edit->setText("text to lose");
    WithContextMenu(edit, [&](QMenu& menu) {
        // Something the menu's command sets off frees the edit (and its form).
        delete host;
        for (QAction* a : menu.actions())
            if (a->text() == "Select All")
                a->trigger();
    });
    SUCCEED();
}

TEST(EditMenuTest, EnterNeverInsertsALineBreak)
{
    TbsSkinEdit edit;
    edit.show();
    QSignalSpy keys(&edit, &TbsSkinEdit::KeyPress);
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "c");
    EXPECT_EQ(edit.text(), "abc");
    ASSERT_EQ(keys.count(), 4);
    EXPECT_EQ(keys.at(2).at(0).value<QChar>(), QChar(u'\r'));
}
