#include "skinctrls/TbsSkinMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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
void WhenShown(std::function<void(QMessageBox&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

int Ask(TMsgDlgButtons buttons, std::function<void(QMessageBox&)> act)
{
    TbsSkinMessage msg;
    WhenShown(std::move(act));
    return msg.MessageDlg("Text", mtInformation, buttons, 0);
}

}  // namespace

TEST(MessageBoxTest, OkCancelAnswersEnterAndEscape)
{
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QMessageBox& box) {
                  auto* ok = box.findChild<QPushButton*>("OK");
                  auto* cancel = box.findChild<QPushButton*>("Cancel");
                  ASSERT_TRUE(ok && cancel);
                  EXPECT_EQ(ok->text(), "OK");
                  EXPECT_EQ(box.windowTitle(), "Information");
                  QTest::keyClick(&box, Qt::Key_Return);
              }),
              mrOk);
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }), mrCancel);
    EXPECT_EQ(Ask({mbOK, mbCancel}, [](QMessageBox& box) { box.close(); }), mrCancel);
}

TEST(MessageBoxTest, OkAloneAnswersOkToEscapeButCancelToClosing)
{
    EXPECT_EQ(Ask({mbOK}, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }), mrOk);
    EXPECT_EQ(Ask({mbOK}, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }), mrOk);
    EXPECT_EQ(Ask({mbOK}, [](QMessageBox& box) { box.close(); }), mrCancel);
}

TEST(MessageBoxTest, YesNoButtonsGiveTheirResults)
{
    EXPECT_EQ(Ask({mbYes, mbNo}, [](QMessageBox& box) { box.findChild<QPushButton*>("No")->click(); }), mrNo);
    EXPECT_EQ(Ask({mbYes, mbNo}, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }), mrYes);
}

TEST(MessageBoxTest, HelpDoesNotClose)
{
    TbsSkinMessage msg;
    int helpContext = -1;
    QObject::connect(&msg, &TbsSkinMessage::HelpRequested, [&](int ctx) { helpContext = ctx; });
    WhenShown([](QMessageBox& box) {
        box.findChild<QPushButton*>("Help")->click();
        EXPECT_TRUE(box.isVisible());
        box.findChild<QPushButton*>("OK")->click();
    });
    EXPECT_EQ(msg.MessageDlg("Text", mtWarning, {mbOK, mbHelp}, 42), mrOk);
    EXPECT_EQ(helpContext, 42);
}

TEST(MessageBoxTest, EmptyButtonSetShowsNoButtonAndClosingCancels)
{
    EXPECT_EQ(Ask({}, [](QMessageBox& box) {
                  int visible = 0;
                  for (QAbstractButton* b : box.buttons())
                      visible += b->isVisible();
                  EXPECT_EQ(visible, 0);
                  box.close();
              }),
              mrCancel);
}
