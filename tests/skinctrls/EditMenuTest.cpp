// The context menu of the skinned edits on real offscreen windows: a right
// click or the menu key opens a skinned popup window (never a Qt menu) with
// the six commands, each enabled only when it can act; choosing one runs it
// through the clipboard; the skin's texts rename the items; the menu is freed
// after use and never outlives its edit.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinNumEdit.h"
#include "skinctrls/TbsSkinNumericEdit.h"
#include "skinctrls/TbsSkinSpinEdit.h"
#include "skinctrls/bsEditMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <memory>

using namespace rasp;

namespace {

bool WaitFor(const std::function<bool()>& cond, int ms = 3000)
{
    return QTest::qWaitFor(cond, ms);
}

// The root window of the menu the edit shows now, or null.
TbsSkinPopupWindow* OpenWindow(const QLineEdit& edit)
{
    TbsSkinPopupMenu* menu = bsEditMenuOf(edit);
    TbsSkinMenu* driver = menu ? menu->ShowingDriver() : nullptr;
    return driver ? driver->Windows().front() : nullptr;
}

std::vector<QString> Captions(TbsSkinPopupWindow& w)
{
    std::vector<QString> out;
    for (const auto& item : w.Items())
        out.push_back(item->Separator ? QStringLiteral("-") : item->PlainCaption());
    return out;
}

std::map<QString, bool> Enabled(TbsSkinPopupWindow& w)
{
    std::map<QString, bool> out;
    for (const auto& item : w.Items())
        if (!item->Separator)
            out[item->PlainCaption()] = item->Enabled;
    return out;
}

// Clicks the item with that caption as a user would: the pointer goes there,
// the window's hover poll selects it, the release runs it.
void Choose(TbsSkinPopupWindow* w, const QString& caption)
{
    ASSERT_NE(w, nullptr);
    for (const auto& item : w->Items()) {
        if (item->PlainCaption() != caption)
            continue;
        const QPoint at = item->ItemRect.center();
        QCursor::setPos(w->mapToGlobal(at));
        QTest::mouseMove(w, at);
        ASSERT_TRUE(WaitFor([&] { return w->ActiveIndex() >= 0 && w->Items()[std::size_t(w->ActiveIndex())]->PlainCaption() == caption; }));
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        return;
    }
    FAIL() << "no item " << caption.toStdString();
}

// A right click through the window system, which turns it into the
// context-menu request the widget receives.
void RightClick(QWidget* w, QPoint at = QPoint(5, 5))
{
    QWindow* window = w->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window, Qt::RightButton, {}, w->mapTo(w->window(), at));
}

class EditMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        TbsCompressedStoredSkin stored;
        bsAssignBuiltinSkin(stored);
        Skin = std::make_unique<TbsSkinData>();
        Skin->LoadStoredSkin(stored);
        Form = std::make_unique<QWidget>();
        Form->setGeometry(50, 50, 420, 200);
        QCursor::setPos(700, 500);
    }
    void TearDown() override
    {
        Form.reset();
        QTest::qWait(10);  // lets closed menu windows go
        QApplication::clipboard()->clear();
    }
    TbsSkinEdit* AddEdit(const QString& text)
    {
        auto* edit = new TbsSkinEdit(Form.get());
        edit->setGeometry(20, 20, 200, 20);
        edit->SetSkinData(Skin.get());
        edit->setText(text);
        return edit;
    }
    void Show()
    {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        QTest::qWait(10);
    }
    std::unique_ptr<TbsSkinData> Skin;
    std::unique_ptr<QWidget> Form;
};

TEST_F(EditMenu, ARightClickShowsTheSkinnedMenuWithItsItemsAndRules)
{
    TbsSkinEdit* edit = AddEdit("hello world");
    Show();
    edit->setSelection(0, 5);
    QApplication::clipboard()->setText("pasted");
    RightClick(edit, QPoint(30, 8));
    TbsSkinPopupWindow* w = OpenWindow(*edit);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // no Qt menu anywhere
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Skinned());
    EXPECT_EQ(w->geometry().topLeft(), edit->mapToGlobal(QPoint(30, 8)));
    EXPECT_EQ(Captions(*w), (std::vector<QString>{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
    auto on = Enabled(*w);
    EXPECT_FALSE(on.at("Undo"));
    EXPECT_TRUE(on.at("Cut"));
    EXPECT_TRUE(on.at("Copy"));
    EXPECT_TRUE(on.at("Paste"));
    EXPECT_TRUE(on.at("Delete"));
    EXPECT_TRUE(on.at("Select All"));
    EXPECT_EQ(bsEditMenuOf(*edit)->parent(), edit);  // owned by the edit
    // The first enabled item is active at once: Cut, not the disabled Undo.
    EXPECT_EQ(w->Items()[std::size_t(w->ActiveIndex())]->PlainCaption(), "Cut");

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(WaitFor([&] { return bsEditMenuOf(*edit) == nullptr; }));  // freed once closed

    // All selected, nothing to paste, nothing to undo.
    edit->selectAll();
    QApplication::clipboard()->clear();
    RightClick(edit);
    w = OpenWindow(*edit);
    ASSERT_NE(w, nullptr);
    on = Enabled(*w);
    EXPECT_FALSE(on.at("Select All"));
    EXPECT_FALSE(on.at("Paste"));
    EXPECT_FALSE(on.at("Undo"));
    EXPECT_TRUE(on.at("Copy"));
    // A second request builds a new menu in place of the open one.
    const QPointer<TbsSkinPopupMenu> first = bsEditMenuOf(*edit);
    RightClick(edit);
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(OpenWindow(*edit), nullptr);
    EXPECT_EQ(edit->findChildren<TbsSkinPopupMenu*>().size(), 1);
}

TEST_F(EditMenu, ChosenItemsActThroughTheClipboard)
{
    TbsSkinEdit* edit = AddEdit("abc def");
    Show();
    edit->setSelection(0, 3);
    RightClick(edit);
    Choose(OpenWindow(*edit), "Copy");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    EXPECT_TRUE(WaitFor([&] { return bsEditMenuOf(*edit) == nullptr; }));  // freed after the command

    RightClick(edit);
    Choose(OpenWindow(*edit), "Cut");
    EXPECT_EQ(edit->text(), " def");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");

    edit->setCursorPosition(edit->text().size());
    RightClick(edit);
    Choose(OpenWindow(*edit), "Paste");
    EXPECT_EQ(edit->text(), " defabc");

    RightClick(edit);
    Choose(OpenWindow(*edit), "Undo");
    EXPECT_EQ(edit->text(), " def");

    RightClick(edit);
    Choose(OpenWindow(*edit), "Select All");
    EXPECT_EQ(edit->selectedText(), " def");

    RightClick(edit);
    Choose(OpenWindow(*edit), "Delete");
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");  // Delete leaves the clipboard alone
    // A disabled item does nothing: Copy with no selection.
    RightClick(edit);
    TbsSkinPopupWindow* w = OpenWindow(*edit);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(Enabled(*w).at("Copy"));
}

TEST_F(EditMenu, TheMenuKeyOpensAtTheCentreAndKeysChoose)
{
    TbsSkinEdit* edit = AddEdit("one two");
    Show();
    edit->setFocus();
    edit->setSelection(0, 3);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, edit->rect().center(), edit->mapToGlobal(edit->rect().center()));
    QApplication::sendEvent(edit, &key);
    TbsSkinPopupWindow* w = OpenWindow(*edit);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry().topLeft(), edit->mapToGlobal(edit->rect().center()));
    // Down from Cut to Copy, Enter runs it; the keys never reach the edit.
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::clipboard()->text(), "one");
    EXPECT_EQ(edit->text(), "one two");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(EditMenu, TheFramesTextsNameTheItemsAndItsDriverShowsThem)
{
    auto texts = std::make_unique<TbsResourceStrData>();
    texts->SetResStr("EDIT_COPY", "Kopieren");
    texts->SetResStr("EDIT_SELECTALL", "Alles markieren");
    Skin->SetResourceStrData(texts.get());
    TbsSkinEdit* edit = AddEdit("text");
    auto* frame = new TbsSkinForm(Form.get());
    frame->SetSkinData(Skin.get());
    Show();
    edit->setSelection(0, 2);
    RightClick(edit);
    TbsSkinPopupWindow* w = OpenWindow(*edit);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(bsEditMenuOf(*edit)->ShowingDriver(), frame->SkinMenuDriver());
    EXPECT_EQ(Captions(*w),
              (std::vector<QString>{"Undo", "-", "Cut", "Kopieren", "Paste", "Delete", "-", "Alles markieren"}));
    Choose(w, "Alles markieren");
    EXPECT_EQ(edit->selectedText(), "text");

    // A read-only numeric edit offers Copy (with a selection) and Select All only.
    auto* number = new TbsSkinNumericEdit(Form.get());
    number->setGeometry(20, 60, 120, 20);
    number->show();
    number->SetValue(1234);
    number->setReadOnly(true);
    number->setSelection(0, 2);
    QApplication::clipboard()->setText("5");
    RightClick(number);
    w = OpenWindow(*number);
    ASSERT_NE(w, nullptr);
    const auto on = Enabled(*w);
    EXPECT_FALSE(on.at("Undo"));
    EXPECT_FALSE(on.at("Cut"));
    EXPECT_TRUE(on.at("Kopieren"));
    EXPECT_FALSE(on.at("Paste"));
    EXPECT_FALSE(on.at("Delete"));
    EXPECT_TRUE(on.at("Alles markieren"));
    QTest::keyClick(number, Qt::Key_Escape);
    // Every printable key is refused (with a beep) and changes nothing.
    QTest::keyClicks(number, "7a-");
    EXPECT_EQ(number->text(), "1234");
    Skin->SetResourceStrData(nullptr);
}

TEST_F(EditMenu, TheSpinEditsEditorHasTheMenuWithItsOwnRules)
{
    auto* spin = new TbsSkinSpinEdit(Form.get());
    spin->setGeometry(20, 20, 120, 20);
    spin->SetSkinData(Skin.get());
    Show();
    spin->SetValue(42);
    spin->SetEditorEnabled(false);
    TbsSkinNumEdit* editor = spin->Editor();
    editor->selectAll();
    QApplication::clipboard()->setText("7");
    RightClick(editor);
    TbsSkinPopupWindow* w = OpenWindow(*editor);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Skinned());  // the spin edit's skin, there being no frame
    const auto on = Enabled(*w);
    EXPECT_FALSE(on.at("Paste"));
    EXPECT_FALSE(on.at("Cut"));
    EXPECT_TRUE(on.at("Copy"));
    Choose(w, "Copy");
    EXPECT_EQ(QApplication::clipboard()->text(), "42");
}

TEST_F(EditMenu, AnEditFreedByItsCommandOrWhileItsMenuIsOpenIsNotTouched)
{
    // The change handling of Delete frees the edit (and its menu with it).
    TbsSkinEdit* edit = AddEdit("text to lose");
    Show();
    edit->selectAll();
    QPointer<TbsSkinEdit> guard(edit);
    QObject::connect(edit, &TbsSkinEdit::Change, Form.get(), [&] { delete guard.data(); });
    RightClick(edit);
    Choose(OpenWindow(*edit), "Delete");
    EXPECT_TRUE(guard.isNull());
    QTest::qWait(20);

    // The edit goes while its menu is open: the menu's windows go with it.
    TbsSkinEdit* other = AddEdit("more");
    other->show();
    RightClick(other);
    TbsSkinPopupWindow* w = OpenWindow(*other);
    ASSERT_NE(w, nullptr);
    const QPointer<TbsSkinPopupWindow> window(w);
    delete other;
    EXPECT_TRUE(WaitFor([&] { return window.isNull() || !window->isVisible(); }));
    QTest::qWait(20);
}

TEST_F(EditMenu, EnterNeverInsertsALineBreak)
{
    TbsSkinEdit* edit = AddEdit("");
    Show();
    QSignalSpy keys(edit, &TbsSkinEdit::KeyPress);
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "c");
    EXPECT_EQ(edit->text(), "abc");
    ASSERT_EQ(keys.count(), 4);
    EXPECT_EQ(keys.at(2).at(0).value<QChar>(), QChar(u'\r'));
}

TEST(EditMenuItems, CaptionsComeFromTheTextsElseTheBuiltIns)
{
    TbsResourceStrData texts;
    texts.SetResStr("EDIT_COPY", "Kopieren");
    const auto items = bsEditMenuItems({}, &texts);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[3].Caption, "Kopieren");
    EXPECT_EQ(items[4].Caption, "Paste");
    EXPECT_EQ(items[1].Command, ecNone);
    EXPECT_EQ(items[6].Command, ecNone);
}

}  // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
