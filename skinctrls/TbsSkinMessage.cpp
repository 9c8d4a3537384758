#include "skinctrls/TbsSkinMessage.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skinctrls/TbsMessageForm.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace rasp {

TbsSkinMessage::TbsSkinMessage(QObject* owner) : QObject(owner), FParent(qobject_cast<QWidget*>(owner))
{
    DefaultFont = QFont(QStringLiteral("Arial"));
    DefaultFont.setPixelSize(14);
    DefaultButtonFont = DefaultFont;
}

void TbsSkinMessage::SetSkinData(TbsSkinData* skinData)
{
    FSkinData = skinData;
    FCtrlSkinData = skinData;
}

TbsSkinData* TbsSkinMessage::SkinData() const { return static_cast<TbsSkinData*>(FSkinData.data()); }

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* skinData) { FCtrlSkinData = skinData; }

TbsSkinData* TbsSkinMessage::CtrlSkinData() const
{
    return static_cast<TbsSkinData*>(FCtrlSkinData.data());
}

QString TbsSkinMessage::CaptionOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    case mtCustom: break;
    }
    return QApplication::applicationDisplayName();
}

const char* TbsSkinMessage::CaptionKeyOf(TMsgDlgType type)
{
    static const char* const keys[] = {"MSG_CAP_WARNING", "MSG_CAP_ERROR", "MSG_CAP_INFORMATION",
                                       "MSG_CAP_CONFIRM", nullptr};
    return type <= mtCustom ? keys[type] : nullptr;
}

QString TbsSkinMessage::ButtonCaption(TMsgDlgBtn button)
{
    static const char* const captions[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry",
                                           "&Ignore", "&All", "N&oToAll", "&YesToAll", "&Help"};
    return QString::fromLatin1(captions[button]);
}

const char* TbsSkinMessage::ButtonKeyOf(TMsgDlgBtn button)
{
    static const char* const keys[] = {"MSG_BTN_YES", "MSG_BTN_NO", "MSG_BTN_OK", "MSG_BTN_CANCEL",
                                       "MSG_BTN_ABORT", "MSG_BTN_RETRY", "MSG_BTN_IGNORE", "MSG_BTN_ALL",
                                       "MSG_BTN_NOTOALL", "MSG_BTN_YESTOALL", "MSG_BTN_HELP"};
    return keys[button];
}

int TbsSkinMessage::ModalResultOf(TMsgDlgBtn button)
{
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry,
                                  mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
    return results[button];
}

namespace {

QString SkinText(const TbsSkinData* data, const char* key, const QString& builtIn)
{
    if (!key || !data || !data->ResourceStrData())
        return builtIn;
    const QString text = data->ResourceStrData()->GetResStr(QString::fromLatin1(key));
    return text.isEmpty() ? builtIn : text;
}

const char* const ButtonNames[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry",
                                   "Ignore", "All", "NoToAll", "YesToAll", "Help"};

}  // namespace

QString TbsSkinMessage::Caption(TMsgDlgType type) const
{
    return SkinText(CtrlSkinData(), CaptionKeyOf(type), CaptionOf(type));
}

QString TbsSkinMessage::ButtonText(TMsgDlgBtn button) const
{
    return SkinText(CtrlSkinData(), ButtonKeyOf(button), ButtonCaption(button));
}

int TbsSkinMessage::ButtonHeight() const { return ButtonHeight(CtrlSkinData()); }

int TbsSkinMessage::ButtonHeight(const TbsSkinData* data) const
{
    if (!data || data->SkinEmpty)
        return 25;
    const int index = data->IndexOfControl(ButtonSkinDataName.toStdString());
    if (index < 0)
        return 25;
    const auto* entry = dynamic_cast<const TbsDataSkinButtonControl*>(data->SkinControls[index].get());
    if (!entry || entry->skinrect.Height() <= 0)
        return 25;
    return entry->skinrect.Height();
}

int TbsSkinMessage::MessageDlg(const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                               int helpCtx)
{
    const TMessageRequest request{msg, Caption(type), type, buttons, helpCtx};
    if (FAnswerHook)
        return FAnswerHook(request);

    TbsSkinData* frameSkin = SkinData();
    TbsSkinData* ctrlSkin = CtrlSkinData();
    if (!frameSkin && !ctrlSkin) {
        // A box of no skin of its own speaks for the window it comes up over.
        const TbsSkinForm* owner = bsFindSkinForm(FParent ? FParent.data() : QApplication::activeWindow());
        if (owner && owner->SkinData()) {
            frameSkin = owner->SkinData();
            ctrlSkin = owner->MenusSkinData() ? owner->MenusSkinData() : frameSkin;
        }
    }
    const int buttonHeight = ButtonHeight(ctrlSkin);
    int count = 0;
    for (int kind = mbYes; kind <= mbHelp; ++kind)
        count += buttons.Contains(static_cast<TMsgDlgBtn>(kind)) ? 1 : 0;
    const int rowWidth = count == 0 ? 0 : count * ButtonWidth + (count - 1) * ButtonGap;

    // The form is freed on every way out, unless its parent took it along.
    QPointer<TbsMessageForm> box(new TbsMessageForm(FParent));
    struct TFree {
        QPointer<TbsMessageForm>& Box;
        ~TFree() { delete Box.data(); }
    } freeBox{box};
    box->setWindowTitle(SkinText(ctrlSkin, CaptionKeyOf(type), CaptionOf(type)));
    box->setWhatsThis(QString::number(helpCtx));
    // The box's own frame, caption and close button come from the skin; the
    // window system is asked for no decoration.
    auto* frame = new TbsSkinForm(box);
    frame->setObjectName(QStringLiteral("bsSkinForm"));
    frame->SetBorderIcons(0);
    frame->Sizeable = false;
    frame->AlphaBlend = AlphaBlend;
    frame->AlphaBlendAnimation = AlphaBlendAnimation;
    frame->AlphaBlendValue = std::clamp(AlphaBlendValue, 0, 255);
    frame->SetMenusSkinData(ctrlSkin);
    frame->SetSkinData(frameSkin);
    frame->OnCloseCommand = [form = box.data()] { form->CloseCommand(); };
    QWidget* client = box->Client();
    if (ctrlSkin)
        box->Client()->SetSkinData(ctrlSkin);

    auto* label = new TbsSkinStdLabel(client);
    label->setObjectName(QStringLiteral("Message"));
    label->SetShowAccelChar(false);
    label->SetDefaultFont(DefaultFont);
    label->SetUseSkinFont(UseSkinFont);
    label->SetSkinDataName(MessageLabelSkinDataName);
    label->SetAutoSize(true);
    label->SetCaption(msg);
    if (ctrlSkin)
        label->SetSkinData(ctrlSkin);
    label->adjustSize();
    label->move(50, 15);

    if (type != mtCustom) {
        auto* icon = new QLabel(client);
        icon->setObjectName(QStringLiteral("Image"));
        icon->setPixmap(QPixmap::fromImage(bsMessageIcon(type)));
        icon->setGeometry(5, std::max(10, label->y() + label->height() / 2 - 16), 32, 32);
    }

    // The window's width between the frame's limits: the work area of the
    // monitor that shows the box, and the frame's minimum.
    const QScreen* screen = FParent ? FParent->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const TbsMargins borders = frame->NonClient();
    const int sides = borders.Left + borders.Right;
    const int minWidth = frame->MinSize().Width;
    const int clientHeight = buttonHeight + label->height() + 50;
    const int clientWidth =
        std::clamp(std::max(rowWidth, 50 + label->width()) + 40 + sides, minWidth, std::max(minWidth, work.width()))
        - sides;
    box->SetClientSize(QSize(clientWidth, clientHeight));

    TbsSkinButton* byKind[mbHelp + 1] = {};
    int x = (clientWidth - rowWidth) / 2;
    for (int kind = mbYes; kind <= mbHelp; ++kind) {
        const auto b = static_cast<TMsgDlgBtn>(kind);
        if (!buttons.Contains(b))
            continue;
        auto* button = new TbsSkinButton(client, SkinText(ctrlSkin, ButtonKeyOf(b), ButtonCaption(b)));
        button->setObjectName(QString::fromLatin1(ButtonNames[kind]));
        button->SetCanFocused(true);
        button->SetDefaultFont(DefaultButtonFont);
        button->SetUseSkinFont(UseSkinFont);
        button->SetSkinDataName(ButtonSkinDataName);
        button->SetDefaultHeight(buttonHeight);
        // Help asks for help and leaves the box open.
        button->SetModalResult(b == mbHelp ? mrNone : ModalResultOf(b));
        if (b == mbHelp)
            connect(button, &TbsSkinButton::clicked, this, [this, helpCtx] { emit HelpRequested(helpCtx); });
        if (ctrlSkin)
            button->SetSkinData(ctrlSkin);
        button->setGeometry(x, clientHeight - buttonHeight - 10, ButtonWidth, buttonHeight);
        x += ButtonWidth + ButtonGap;
        byKind[kind] = button;
    }

    TbsSkinButton* enterButton = byKind[mbOK] ? byKind[mbOK] : byKind[mbYes] ? byKind[mbYes] : byKind[mbRetry];
    TbsSkinButton* escapeButton = byKind[mbCancel] ? byKind[mbCancel] : byKind[mbNo] ? byKind[mbNo] : byKind[mbOK];
    if (enterButton) {
        enterButton->SetDefault(true);
        enterButton->setFocus();
    }
    if (escapeButton)
        escapeButton->SetCancel(true);
    box->SetEscapeButton(escapeButton);

    box->move(work.center() - QPoint(box->width() / 2, box->height() / 2));
    const int result = box->exec();
    if (!box || box->Closed() || result <= 0)
        return mrCancel;
    return result;
}

}  // namespace rasp
