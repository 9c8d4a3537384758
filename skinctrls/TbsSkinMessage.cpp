#include "skinctrls/TbsSkinMessage.h"

#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinClient.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <array>

namespace rasp {

namespace {

QStyle::StandardPixmap IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QStyle::SP_MessageBoxWarning;
    case mtError: return QStyle::SP_MessageBoxCritical;
    case mtInformation: return QStyle::SP_MessageBoxInformation;
    case mtConfirmation: return QStyle::SP_MessageBoxQuestion;
    case mtCustom: break;
    }
    return QStyle::SP_CustomBase;
}

// The box: a skinned panel holding icon, text and the button row. Enter
// presses the default button, Escape the escape button; closing it through
// its frame answers "cancel".
class TMessageForm : public QDialog {
public:
    using QDialog::QDialog;
    TbsSkinButton* DefaultButton = nullptr;
    TbsSkinButton* EscapeButton = nullptr;
    bool Closed = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
            // A focused button answers Enter itself; otherwise the default one does.
            if (DefaultButton && DefaultButton->isEnabled())
                DefaultButton->click();
            return;
        }
        if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            if (EscapeButton)
                EscapeButton->click();
            else
                reject();
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        Closed = true;
        QDialog::closeEvent(event);
    }
};

}  // namespace

TbsSkinMessage::TbsSkinMessage(QObject* owner) : QObject(owner)
{
    DefaultFont = QFont(QStringLiteral("Arial"));
    DefaultFont.setPixelSize(15);
    DefaultButtonFont = DefaultFont;
}

void TbsSkinMessage::SetSkinData(TbsSkinData* skinData) { FSkinData = skinData; }

TbsSkinData* TbsSkinMessage::SkinData() const { return static_cast<TbsSkinData*>(FSkinData.data()); }

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

QString TbsSkinMessage::ButtonCaption(TMsgDlgBtn button)
{
    static const char* const captions[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry",
                                           "&Ignore", "&All", "N&oToAll", "&YesToAll", "&Help"};
    return QString::fromLatin1(captions[button]);
}

int TbsSkinMessage::ModalResultOf(TMsgDlgBtn button)
{
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry,
                                  mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
    return results[button];
}

int TbsSkinMessage::MessageDlg(const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                               int helpCtx)
{
    const TMessageRequest request{msg, CaptionOf(type), type, buttons, helpCtx};
    if (FAnswerHook)
        return FAnswerHook(request);

    TMessageForm box(FParent);
    box.setObjectName(QStringLiteral("TbsMessageForm"));
    box.setWindowTitle(request.Caption);
    auto* outer = new QVBoxLayout(&box);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new TbsSkinPanel(&box);
    panel->SetBorderStyle(bvNone);
    outer->addWidget(panel);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(16, 16, 16, 12);
    rows->setSpacing(14);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    if (type != mtCustom) {
        auto* icon = new QLabel(panel);
        icon->setPixmap(box.style()->standardIcon(IconOf(type)).pixmap(32, 32));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon, 0, Qt::AlignTop);
    }
    auto* text = new TbsSkinStdLabel(panel);
    text->setObjectName(QStringLiteral("Text"));
    text->SetShowAccelChar(false);
    text->setWordWrap(true);
    text->SetDefaultFont(DefaultFont);
    text->SetCaption(msg);
    text->setMinimumWidth(std::min(420, std::max(180, text->sizeHint().width())));
    top->addWidget(text, 1);
    rows->addLayout(top);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    TbsSkinButton* byKind[mbHelp + 1] = {};
    for (int kind = mbYes; kind <= mbHelp; ++kind) {
        const auto b = static_cast<TMsgDlgBtn>(kind);
        if (!buttons.Contains(b))
            continue;
        auto* button = new TbsSkinButton(panel, ButtonCaption(b));
        button->setObjectName(QString::fromLatin1(
            std::array{"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
                       "NoToAll", "YesToAll", "Help"}[kind]));
        button->SetDefaultFont(DefaultButtonFont);
        button->resize(std::max(75, QFontMetrics(DefaultButtonFont).horizontalAdvance(button->text()) + 24), 25);
        // Help asks for help and leaves the box open.
        button->SetModalResult(b == mbHelp ? mrNone : ModalResultOf(b));
        if (b == mbHelp)
            connect(button, &TbsSkinButton::clicked, this, [this, helpCtx] { emit HelpRequested(helpCtx); });
        row->addWidget(button);
        byKind[kind] = button;
    }
    row->addStretch(1);
    rows->addLayout(row);

    box.DefaultButton = byKind[mbOK] ? byKind[mbOK] : byKind[mbYes] ? byKind[mbYes] : byKind[mbRetry];
    box.EscapeButton = byKind[mbCancel] ? byKind[mbCancel] : byKind[mbNo] ? byKind[mbNo] : byKind[mbOK];
    if (box.DefaultButton) {
        box.DefaultButton->SetDefault(true);
        box.DefaultButton->setFocus();
    }
    if (TbsSkinData* data = SkinData())
        bsBindSkinData(&box, data);

    box.adjustSize();
    const QScreen* screen = FParent ? FParent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        box.move(screen->availableGeometry().center() - QPoint(box.width() / 2, box.height() / 2));
    const int result = box.exec();
    if (box.Closed || result <= 0)
        return mrCancel;
    return result;
}

}  // namespace rasp
