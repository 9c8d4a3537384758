#include "skinctrls/TbsSkinMessage.h"

#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rasp;

TEST(MessageBoxTest, ButtonSetsAreBitSets)
{
    EXPECT_EQ((TMsgDlgButtons{mbOK}).Bits(), 4);
    EXPECT_EQ((TMsgDlgButtons{mbOK, mbCancel}).Bits(), 12);
    EXPECT_EQ(TMsgDlgButtons::FromBits(12), (TMsgDlgButtons{mbCancel, mbOK}));
    EXPECT_EQ(TbsSkinMessage::ModalResultOf(mbYes), mrYes);
    EXPECT_EQ(TbsSkinMessage::ModalResultOf(mbHelp), mrNone);
    EXPECT_EQ(TbsSkinMessage::ButtonCaption(mbNoToAll), "N&oToAll");
    EXPECT_EQ(TbsSkinMessage::CaptionOf(mtConfirmation), "Confirm");
}

TEST(MessageBoxTest, AnswerHookReplacesTheDialog)
{
    TbsSkinMessage msg;
    std::vector<TMessageRequest> asked;
    msg.SetAnswerHook([&](const TMessageRequest& r) {
        asked.push_back(r);
        return mrCancel;
    });
    EXPECT_EQ(msg.MessageDlg("Go on?", mtInformation, {mbOK, mbCancel}, 0), mrCancel);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Text, "Go on?");
    EXPECT_EQ(asked[0].Caption, "Information");
    EXPECT_EQ(asked[0].Buttons.Bits(), 12);
}

namespace {

// Runs `act` on the dialog once it is up.
void WhenShown(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

int Ask(TMsgDlgButtons buttons, std::function<void(QDialog&)> act)
{
    TbsSkinMessage msg;
    WhenShown(std::move(act));
    return msg.MessageDlg("Text", mtInformation, buttons, 0);
}

}  // namespace

TEST(MessageBoxTest, OkCancelAnswersEnterAndEscape)
{
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QDialog& box) {
                  auto* ok = box.findChild<TbsSkinButton*>("OK");
                  auto* cancel = box.findChild<TbsSkinButton*>("Cancel");
                  ASSERT_TRUE(ok && cancel);
                  EXPECT_EQ(ok->text(), "OK");
                  EXPECT_EQ(box.windowTitle(), "Information");
                  QTest::keyClick(&box, Qt::Key_Return);
              }),
              mrOk);
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QDialog& box) { QTest::keyClick(&box, Qt::Key_Escape); }), mrCancel);
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QDialog& box) { box.close(); }), mrCancel);
}

TEST(MessageBoxTest, OkAloneAnswersOkToEscapeButCancelToClosing)
{
    EXPECT_EQ(Ask({mbOK}, [](QDialog& box) { QTest::keyClick(&box, Qt::Key_Escape); }), mrOk);
    EXPECT_EQ(Ask({mbOK}, [](QDialog& box) { QTest::keyClick(&box, Qt::Key_Return); }), mrOk);
    EXPECT_EQ(Ask({mbOK}, [](QDialog& box) { box.close(); }), mrCancel);
}

TEST(MessageBoxTest, YesNoButtonsGiveTheirResults)
{
    EXPECT_EQ(Ask({mbYes, mbNo}, [](QDialog& box) { box.findChild<TbsSkinButton*>("No")->click(); }), mrNo);
    EXPECT_EQ(Ask({mbYes, mbNo}, [](QDialog& box) { QTest::keyClick(&box, Qt::Key_Return); }), mrYes);
}

TEST(MessageBoxTest, HelpDoesNotClose)
{
    TbsSkinMessage msg;
    int helpContext = -1;
    QObject::connect(&msg, &TbsSkinMessage::HelpRequested, [&](int ctx) { helpContext = ctx; });
    WhenShown([](QDialog& box) {
        box.findChild<TbsSkinButton*>("Help")->click();
        EXPECT_TRUE(box.isVisible());
        box.findChild<TbsSkinButton*>("OK")->click();
    });
    EXPECT_EQ(msg.MessageDlg("Text", mtWarning, {mbOK, mbHelp}, 42), mrOk);
    EXPECT_EQ(helpContext, 42);
}

TEST(MessageBoxTest, EmptyButtonSetShowsNoButtonAndClosingCancels)
{
    EXPECT_EQ(Ask({}, [](QDialog& box) {
                  EXPECT_TRUE(box.findChildren<TbsSkinButton*>().isEmpty());
                  box.close();
              }),
              mrCancel);
}

TEST(MessageBoxTest, TheBoxIsBuiltFromSkinnedControlsOfItsSkin)
{
    TbsSkinMessage msg;
    TbsSkinData skin;
    msg.SetSkinData(&skin);
    WhenShown([&](QDialog& box) {
        auto* ok = box.findChild<TbsSkinButton*>("OK");
        auto* text = box.findChild<TbsSkinStdLabel*>("Text");
        ASSERT_TRUE(ok && text);
        EXPECT_EQ(ok->SkinData(), &skin);
        EXPECT_EQ(text->text(), "Two & three");
        EXPECT_FALSE(text->ShowAccelChar());
        EXPECT_TRUE(ok->Default());
        ok->click();
    });
    EXPECT_EQ(msg.MessageDlg("Two & three", mtError, {mbOK}, 0), mrOk);
}
