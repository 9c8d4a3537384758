// The buttons of a form on real offscreen windows, driven with keys and the
// mouse: a button standing for an action shows the action's caption, state
// and hint and runs it once per click; Enter and Escape typed in an edit
// press the form's Default and Cancel buttons; the Default button's lit look
// follows the focus; a button's modal result closes its dialog with it.

#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/bsSysColors.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace rasp;

namespace {

// The fill colour in the middle of an unskinned button, as it is painted now.
QRgb Fill(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(3, w.height() / 2);
}
const QRgb HotFill = qRgb(182, 189, 210);

// A form as the windows build them: a panel holding an edit, a multi-line
// pane and three buttons, OK the Default one and Cancel the Cancel one.
class Form : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 420, 220);
        auto* panel = new TbsSkinPanel(Window.get());
        panel->setGeometry(0, 0, 420, 220);
        Edit = new TbsSkinEdit(panel);
        Edit->setGeometry(10, 10, 200, 21);
        Pane = new QTextEdit(panel);
        Pane->setGeometry(10, 40, 200, 100);
        Ok = Button(panel, "OK", 230, 10, okClicks);
        Cancel = Button(panel, "Cancel", 230, 45, cancelClicks);
        Other = Button(panel, "Other", 230, 80, otherClicks);
        Ok->SetDefault(true);
        Cancel->SetCancel(true);
    }
    TbsSkinButton* Button(QWidget* parent, const char* caption, int x, int y, int& counter)
    {
        auto* b = new TbsSkinButton(parent, caption);
        b->setGeometry(x, y, 75, 25);
        QObject::connect(b, &TbsSkinButton::clicked, [&counter] { ++counter; });
        return b;
    }
    void Show()
    {
        Window->show();
        QApplication::setActiveWindow(Window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    }
    void FocusOn(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    std::unique_ptr<QWidget> Window;
    TbsSkinEdit* Edit = nullptr;
    QTextEdit* Pane = nullptr;
    TbsSkinButton* Ok = nullptr;
    TbsSkinButton* Cancel = nullptr;
    TbsSkinButton* Other = nullptr;
    int okClicks = 0, cancelClicks = 0, otherClicks = 0;
};

TEST_F(Form, EnterAndEscapeInAnEditPressTheDefaultAndCancelButtons)
{
    Show();
    FocusOn(Edit);
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    QTest::keyClick(Edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okClicks, 2);
    QTest::keyClick(Edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), Edit) << "the press does not take the focus";

    // Escape with a shift key held is no cancel; a plain QLineEdit passes
    // the keys on as the skinned edit does.
    QTest::keyClick(Edit, Qt::Key_Escape, Qt::ShiftModifier);
    QTest::keyClick(Edit, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(cancelClicks, 1);
    auto* plain = new QLineEdit(Window.get());
    plain->setGeometry(10, 150, 100, 21);
    plain->show();
    FocusOn(plain);
    QTest::keyClick(plain, Qt::Key_Return);
    QTest::keyClick(plain, Qt::Key_Escape);
    EXPECT_EQ(okClicks, 3);
    EXPECT_EQ(cancelClicks, 2);

    // A multi-line pane keeps its Enter: a new line, no press.
    FocusOn(Pane);
    QTest::keyClick(Pane, Qt::Key_Return);
    EXPECT_EQ(okClicks, 3);
    EXPECT_EQ(Pane->toPlainText(), "\n");
    EXPECT_EQ(otherClicks, 0);
}

TEST_F(Form, AFocusedButtonIsTheOneEnterPressesAndEscapeStillCancels)
{
    Show();
    FocusOn(Other);
    EXPECT_TRUE(Other->DefaultActive());
    EXPECT_FALSE(Ok->DefaultActive());
    QTest::keyClick(Other, Qt::Key_Return);
    EXPECT_EQ(otherClicks, 1) << "once, not once by the key and once by the form";
    EXPECT_EQ(okClicks, 0);
    QTest::keyClick(Other, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(otherClicks, 1);

    // Back in the edit, Enter is the Default button's again.
    FocusOn(Edit);
    EXPECT_FALSE(Other->DefaultActive());
    EXPECT_TRUE(Ok->DefaultActive());
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(otherClicks, 1);
}

TEST_F(Form, DisabledHiddenOrUnfocusableButtonsAreNotPressedByTheKeys)
{
    Show();
    FocusOn(Edit);
    Ok->setEnabled(false);
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 0);
    Ok->setEnabled(true);
    Ok->hide();
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 0);
    Ok->show();
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);

    Cancel->SetCanFocused(false);
    QTest::keyClick(Edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0) << "the Cancel button must be focusable";
    Cancel->SetCanFocused(true);
    Cancel->setEnabled(false);
    QTest::keyClick(Edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);

    // Without a Default button Enter in the edit presses nothing.
    Ok->SetDefault(false);
    EXPECT_FALSE(Ok->DefaultActive());
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(okClicks + otherClicks, 1);
}

TEST_F(Form, TheKeysOfADialogOpenedFromTheFormStayThere)
{
    Show();
    QDialog child(Window.get());
    child.setGeometry(60, 60, 200, 100);
    auto* childEdit = new QLineEdit(&child);
    int childClicks = 0;
    TbsSkinButton* childOk = Button(&child, "Child", 100, 10, childClicks);
    childOk->SetDefault(true);
    child.show();
    QApplication::setActiveWindow(&child);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&child));
    FocusOn(childEdit);
    QTest::keyClick(childEdit, Qt::Key_Return);
    EXPECT_EQ(childClicks, 1);
    EXPECT_EQ(okClicks, 0);
    EXPECT_TRUE(Ok->DefaultActive()) << "the form's own focus did not move";
}

TEST_F(Form, TheDefaultLookFollowsTheFocus)
{
    Show();
    FocusOn(Edit);
    // Another kind of control has the focus: the Default button is lit.
    EXPECT_TRUE(Ok->Hot());
    EXPECT_EQ(Fill(*Ok), HotFill);
    EXPECT_EQ(Fill(*Other), clBtnFace().rgb());

    // A button takes the focus: it is lit and the Default button is not.
    FocusOn(Other);
    EXPECT_FALSE(Ok->Hot());
    EXPECT_EQ(Fill(*Ok), clBtnFace().rgb());
    EXPECT_EQ(Fill(*Other), HotFill);

    // The multi-line pane is another kind of control as well.
    FocusOn(Pane);
    EXPECT_TRUE(Ok->Hot());
    EXPECT_EQ(Fill(*Ok), HotFill);
    EXPECT_EQ(Fill(*Other), clBtnFace().rgb());

    // The pointer passing over the Default button and leaving it again keeps
    // the lit look while the focus is elsewhere; on another button it goes.
    QTest::mouseMove(Ok, QPoint(10, 10));
    QTest::mouseMove(Window.get(), QPoint(5, 200));
    QApplication::processEvents();
    EXPECT_TRUE(Ok->Hot());
    QTest::mouseMove(Other, QPoint(10, 10));
    QTest::mouseMove(Window.get(), QPoint(5, 200));
    QApplication::processEvents();
    EXPECT_FALSE(Other->Hot());

    // The Default button with the focus itself is lit as any focused button.
    FocusOn(Ok);
    EXPECT_EQ(Fill(*Ok), HotFill);
    EXPECT_TRUE(Ok->DefaultActive());

    // Making another button the Default one on a shown form re-reads the focus.
    FocusOn(Edit);
    Ok->SetDefault(false);
    EXPECT_FALSE(Ok->Hot());
    EXPECT_FALSE(Ok->DefaultActive());
    Other->SetDefault(true);
    EXPECT_TRUE(Other->Hot());
    EXPECT_TRUE(Other->DefaultActive());
    EXPECT_EQ(Fill(*Other), HotFill);
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(okClicks, 0);

    // A Default button that cannot take the focus never shows that look.
    Other->SetCanFocused(false);
    EXPECT_FALSE(Other->Hot());
}

TEST_F(Form, AButtonStandsForItsAction)
{
    QAction action("&Compare");
    action.setToolTip("Compare the two articles");
    int runs = 0;
    QObject::connect(&action, &QAction::triggered, [&runs] { ++runs; });
    auto* b = new TbsSkinButton(Window.get());
    b->setGeometry(320, 10, 75, 25);
    b->SetAction(&action);
    EXPECT_EQ(b->Action(), &action);
    EXPECT_EQ(b->text(), "&Compare");
    EXPECT_EQ(b->toolTip(), "Compare the two articles");
    EXPECT_TRUE(b->isEnabled());
    Show();

    // A click runs the action once; no OnClick of the button's own.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(runs, 1);
    b->click();
    EXPECT_EQ(runs, 2);

    // The button follows the action's changes.
    action.setText("Compare &again");
    action.setToolTip("Once more");
    EXPECT_EQ(b->text(), "Compare &again");
    EXPECT_EQ(b->toolTip(), "Once more");
    action.setEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(runs, 2) << "a disabled action's button does not click";
    action.setEnabled(true);
    EXPECT_TRUE(b->isEnabled());
    action.setVisible(false);
    EXPECT_TRUE(b->isHidden());
    action.setVisible(true);
    EXPECT_FALSE(b->isHidden());

    // Its accelerator comes from the action's caption too.
    FocusOn(Edit);
    QTest::keyClick(Window.get(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(runs, 3);

    // A caption given to the button itself no longer follows the action;
    // the other values still do.
    b->setText("Mine");
    action.setText("Theirs");
    action.setToolTip("New hint");
    EXPECT_EQ(b->text(), "Mine");
    EXPECT_EQ(b->toolTip(), "New hint");

    // An OnClick of the button's own runs instead of the action.
    int own = 0;
    QObject::connect(b, &TbsSkinButton::clicked, [&own] { ++own; });
    b->click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(runs, 3);
}

TEST_F(Form, TheDefaultButtonRunsItsActionOnEnterAndOutlivesIt)
{
    auto action = std::make_unique<QAction>("Go");
    int runs = 0;
    QObject::connect(action.get(), &QAction::triggered, [&runs] { ++runs; });
    auto* b = new TbsSkinButton(Window.get());
    b->setGeometry(320, 10, 75, 25);
    b->SetAction(action.get());
    Ok->SetDefault(false);
    b->SetDefault(true);
    Show();
    FocusOn(Edit);
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(runs, 1);

    // The action going away unlinks it: the button keeps what it showed.
    action.reset();
    EXPECT_EQ(b->Action(), nullptr);
    EXPECT_EQ(b->text(), "Go");
    int own = 0;
    QObject::connect(b, &TbsSkinButton::clicked, [&own] { ++own; });
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(own, 1);
}

// Shows the dialog modally, runs `action` once it is up (inside the modal
// loop) and returns what exec() returned; -1 when the dialog never came up
// or was still open after five seconds.
int ExecWith(QDialog& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, &dialog, [&dialog, action] {
        QApplication::setActiveWindow(&dialog);
        if (QTest::qWaitForWindowActive(&dialog))
            action();
        else
            dialog.done(-1);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    watchdog.start(5000);
    return dialog.exec();
}

TEST(ModalResult, TheButtonClosesItsDialogWithItsResult)
{
    QDialog dialog;
    dialog.resize(300, 120);
    auto* edit = new TbsSkinEdit(&dialog);
    edit->setGeometry(10, 10, 120, 21);
    auto* yes = new TbsSkinButton(&dialog, "Yes");
    yes->setGeometry(150, 10, 75, 25);
    yes->SetModalResult(6);
    yes->SetDefault(true);
    auto* no = new TbsSkinButton(&dialog, "No");
    no->setGeometry(150, 45, 75, 25);
    no->SetModalResult(7);
    no->SetCancel(true);
    int handlerSawResult = 0;
    QObject::connect(yes, &TbsSkinButton::clicked, [&] { handlerSawResult = dialog.result(); });

    EXPECT_EQ(ExecWith(dialog, [&] { QTest::mouseClick(yes, Qt::LeftButton, {}, QPoint(10, 10)); }), 6);
    EXPECT_EQ(handlerSawResult, 6) << "the result is set before OnClick runs";

    EXPECT_EQ(ExecWith(dialog, [&] {
                  edit->setFocus();
                  QTest::keyClick(edit, Qt::Key_Return);
              }),
              6);
    EXPECT_EQ(ExecWith(dialog, [&] {
                  edit->setFocus();
                  QTest::keyClick(edit, Qt::Key_Escape);
              }),
              7);
}

TEST(ModalResult, AHandlerThatClearsTheResultKeepsTheDialogOpen)
{
    QDialog dialog;
    dialog.resize(200, 80);
    auto* ok = new TbsSkinButton(&dialog, "OK");
    ok->SetModalResult(1);
    bool allowed = false;
    const auto guard = QObject::connect(ok, &TbsSkinButton::clicked, [&] {
        if (!allowed)
            dialog.setResult(0);
    });
    bool stillOpen = false;
    EXPECT_EQ(ExecWith(dialog, [&] {
                  ok->click();
                  stillOpen = dialog.isVisible();
                  allowed = true;
                  ok->click();
              }),
              1);
    EXPECT_TRUE(stillOpen);

    // A handler that closes the dialog itself is not overruled.
    int finished = 0;
    QObject::connect(&dialog, &QDialog::finished, [&finished] { ++finished; });
    QObject::disconnect(guard);
    QObject::connect(ok, &TbsSkinButton::clicked, [&] { dialog.done(3); });
    EXPECT_EQ(ExecWith(dialog, [&] { ok->click(); }), 3);
    EXPECT_EQ(finished, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
