#include "skinctrls/TbsSkinMessage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <array>

namespace rasp {

namespace {

// Closing the box through its frame answers "cancel", whatever Escape would do.
class TCloseWatcher : public QObject {
public:
    bool Closed = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            Closed = true;
        return false;
    }
};

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

TbsSkinMessage::TbsSkinMessage(QObject* owner) : QObject(owner)
{
    DefaultFont = QFont(QStringLiteral("Arial"));
    DefaultFont.setPixelSize(15);
    DefaultButtonFont = DefaultFont;
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

    QMessageBox box(FParent);
    box.setWindowTitle(request.Caption);
    box.setText(msg);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(type));
    box.setFont(DefaultFont);

    QPushButton* byKind[mbHelp + 1] = {};
    for (int kind = mbYes; kind <= mbHelp; ++kind) {
        const auto b = static_cast<TMsgDlgBtn>(kind);
        if (!buttons.Contains(b))
            continue;
        auto* button = new QPushButton(ButtonCaption(b), &box);
        button->setFont(DefaultButtonFont);
        button->setMinimumSize(70, 25);
        button->setProperty("modalResult", ModalResultOf(b));
        button->setObjectName(QString::fromLatin1(
            std::array{"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
                       "NoToAll", "YesToAll", "Help"}[kind]));
        box.addButton(button, b == mbHelp ? QMessageBox::HelpRole : QMessageBox::AcceptRole);
        byKind[kind] = button;
    }
    if (buttons.Bits() == 0) {
        // No buttons: only closing the box ends it. The box would add an OK
        // button of its own to an empty row, so it gets an invisible one.
        auto* none = new QPushButton(&box);
        none->setProperty("modalResult", mrCancel);
        box.addButton(none, QMessageBox::RejectRole);
        none->hide();
    }
    if (QPushButton* help = byKind[mbHelp]) {
        // The help button asks for help and leaves the box open.
        QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
        connect(help, &QAbstractButton::clicked, this, [this, helpCtx] { emit HelpRequested(helpCtx); });
    }
    QPushButton* def = byKind[mbOK] ? byKind[mbOK] : byKind[mbYes] ? byKind[mbYes] : byKind[mbRetry];
    if (def)
        box.setDefaultButton(def);
    QPushButton* esc = byKind[mbCancel] ? byKind[mbCancel] : byKind[mbNo] ? byKind[mbNo] : byKind[mbOK];
    if (esc)
        box.setEscapeButton(esc);

    TCloseWatcher watcher;
    box.installEventFilter(&watcher);
    box.exec();
    if (watcher.Closed)
        return mrCancel;
    if (QAbstractButton* clicked = box.clickedButton())
        return clicked->property("modalResult").toInt();
    return mrCancel;
}

}  // namespace rasp
