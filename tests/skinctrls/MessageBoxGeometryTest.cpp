// The message box's layout with the program's own skin: button size and
// places, the box growing with the text, and the custom type's title.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skinctrls/TbsMessageForm.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinMessage.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

struct TShown {
    QSize Client;
    QSize Window;
    TbsMargins Borders;
    QString Title;
    std::vector<QRect> Buttons;
    QStringList Captions;
    bool HasIcon = false;
    QRect Icon;
    QRect Label;
    QFont LabelFont;  // the font the text is drawn in (the skin's or the default)
};

// Shows one box, records what it looks like, then answers with `key`.
int Show(TbsSkinMessage& msg, const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, TShown& shown,
         Qt::Key key = Qt::Key_Escape)
{
    QTimer::singleShot(0, [&shown, key] {
        auto* box = qobject_cast<TbsMessageForm*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.Client = box->Client()->size();
        shown.Window = box->size();
        if (const TbsSkinForm* frame = bsFindSkinForm(box))
            shown.Borders = frame->NonClient();
        shown.Title = box->windowTitle();
        for (auto* b : box->Client()->findChildren<TbsSkinButton*>()) {
            shown.Buttons.push_back(b->geometry());
            shown.Captions << b->text();
        }
        std::sort(shown.Buttons.begin(), shown.Buttons.end(), [](QRect a, QRect b) { return a.x() < b.x(); });
        if (auto* icon = box->findChild<QWidget*>("Image")) {
            shown.HasIcon = true;
            shown.Icon = icon->geometry();
        }
        shown.Label = box->findChild<TbsSkinStdLabel*>("Message")->geometry();
        shown.LabelFont = box->findChild<TbsSkinStdLabel*>("Message")->DrawFont();
        if (key == Qt::Key_unknown)
            box->close();
        else
            QTest::keyClick(box, key);
    });
    return msg.MessageDlg(text, type, buttons, 0);
}

struct TSkinned {
    TSkinned()
    {
        bsAssignBuiltinSkin(Stored);
        Skin.LoadStoredSkin(Stored);
        Msg.SetSkinData(&Skin);
    }
    TbsCompressedStoredSkin Stored;
    TbsSkinData Skin;
    TbsSkinMessage Msg;
};

}  // namespace

TEST(MessageBoxGeometry, OkCancelRowIsCentredWithTheSkinsButtonHeight)
{
    TSkinned s;
    ASSERT_FALSE(s.Skin.SkinEmpty);
    const int h = s.Msg.ButtonHeight();
    EXPECT_EQ(h, 21);  // the button entry of the program's skin
    TShown shown;
    EXPECT_EQ(Show(s.Msg, "Go on?", mtInformation, {mbOK, mbCancel}, shown, Qt::Key_Return), mrOk);
    ASSERT_EQ(shown.Buttons.size(), 2u);
    EXPECT_EQ(shown.Captions, (QStringList{"OK", "Cancel"}));
    for (QRect r : shown.Buttons) {
        EXPECT_EQ(r.size(), QSize(70, h));
        EXPECT_EQ(r.y(), shown.Client.height() - h - 10);
    }
    EXPECT_EQ(shown.Buttons[1].x() - shown.Buttons[0].right() - 1, 10);
    const int left = shown.Buttons[0].x(), right = shown.Client.width() - shown.Buttons[1].right() - 1;
    EXPECT_LE(std::abs(left - right), 1);
    EXPECT_EQ(shown.Client.height(), h + shown.Label.height() + 50);
    EXPECT_EQ(shown.Label.topLeft(), QPoint(50, 15));
    EXPECT_TRUE(shown.HasIcon);
    EXPECT_EQ(shown.Icon.size(), QSize(32, 32));
    EXPECT_EQ(shown.Icon.x(), 5);
    EXPECT_EQ(shown.Icon.y(), std::max(10, 15 + shown.Label.height() / 2 - 16));

    TShown again;
    EXPECT_EQ(Show(s.Msg, "Go on?", mtInformation, {mbOK, mbCancel}, again, Qt::Key_Escape), mrCancel);
    TShown closed;
    EXPECT_EQ(Show(s.Msg, "Go on?", mtInformation, {mbOK, mbCancel}, closed, Qt::Key_unknown), mrCancel);
}

TEST(MessageBoxGeometry, OkAloneAnswersOneToEnterAndEscape)
{
    TSkinned s;
    TShown shown;
    EXPECT_EQ(Show(s.Msg, "Done.", mtWarning, {mbOK}, shown, Qt::Key_Escape), mrOk);
    ASSERT_EQ(shown.Buttons.size(), 1u);
    EXPECT_EQ(shown.Buttons[0].x(), (shown.Client.width() - 70) / 2);
    EXPECT_EQ(shown.Title, "Warning");
    TShown enter;
    EXPECT_EQ(Show(s.Msg, "Done.", mtWarning, {mbOK}, enter, Qt::Key_Return), mrOk);
}

TEST(MessageBoxGeometry, UnskinnedButtonsAre25High)
{
    TbsSkinMessage msg;
    TShown shown;
    Show(msg, "x", mtError, {mbOK, mbCancel}, shown);
    ASSERT_EQ(shown.Buttons.size(), 2u);
    EXPECT_EQ(shown.Buttons[0].size(), QSize(70, 25));
    // Narrow text: the button row and the margins decide the width.
    EXPECT_EQ(shown.Client.width(), std::max(150, 50 + shown.Label.width()) + 40);
}

TEST(MessageBoxGeometry, TwoLinesMakeItOneLineTallerAndLongTextWider)
{
    TSkinned s;
    TShown one, two, wide, huge;
    Show(s.Msg, "A new version is out.", mtInformation, {mbOK}, one);
    Show(s.Msg, "A new version is out.\r\nGet it now?", mtInformation, {mbOK}, two);
    const int line = QFontMetrics(one.LabelFont).height();
    EXPECT_GT(two.Client.height(), one.Client.height());
    EXPECT_NEAR(two.Client.height() - one.Client.height(), line, 2);

    const QString longText(80, QLatin1Char('w'));
    Show(s.Msg, longText, mtInformation, {mbOK}, wide);
    EXPECT_EQ(wide.Client.width(), wide.Label.width() + 90);
    EXPECT_GT(wide.Label.width(), QFontMetrics(wide.LabelFont).horizontalAdvance(QString(70, 'w')));
    EXPECT_EQ(wide.Client.height(), one.Client.height());

    // The window, frame and all, is as wide as the work area.
    const int work = QGuiApplication::primaryScreen()->availableGeometry().width();
    Show(s.Msg, QString(2000, QLatin1Char('w')), mtInformation, {mbOK}, huge);
    EXPECT_EQ(huge.Window.width(), work);
    EXPECT_EQ(huge.Client.width(), work - huge.Borders.Left - huge.Borders.Right);
}

TEST(MessageBoxGeometry, CustomTypeShowsTheApplicationsTitleAndNoIcon)
{
    const QString before = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName("Tellivo Rasp");
    TbsSkinMessage msg;
    TShown shown;
    Show(msg, "Hello", mtCustom, {mbOK}, shown);
    EXPECT_EQ(shown.Title, "Tellivo Rasp");
    EXPECT_FALSE(shown.HasIcon);
    TShown confirm;
    Show(msg, "Hello", mtConfirmation, {mbYes, mbNo}, confirm);
    EXPECT_EQ(confirm.Title, "Confirm");
    EXPECT_TRUE(confirm.HasIcon);
    EXPECT_EQ(confirm.Captions, (QStringList{"&Yes", "&No"}));
    QGuiApplication::setApplicationDisplayName(before);
}

TEST(MessageBoxGeometry, SkinTextsReplaceCaptionsByKey)
{
    TSkinned s;
    TbsResourceStrData texts;
    texts.SetResStr("MSG_BTN_OK", "Fine");
    texts.SetResStr("MSG_CAP_ERROR", "Trouble");
    s.Skin.SetResourceStrData(&texts);
    TShown shown;
    Show(s.Msg, "x", mtError, {mbOK, mbCancel}, shown);
    EXPECT_EQ(shown.Title, "Trouble");
    EXPECT_EQ(shown.Captions, (QStringList{"Fine", "Cancel"}));
    s.Skin.SetResourceStrData(nullptr);
}
