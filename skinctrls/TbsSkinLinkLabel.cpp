#include "skinctrls/TbsSkinLinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace rasp {

TbsSkinLinkLabel::TbsSkinLinkLabel(QWidget* parent, const QString& caption)
    : QLabel(parent), TbsSkinBinding(QStringLiteral("stdlabel"))
{
    setTextFormat(Qt::PlainText);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    SetCaption(caption);
}

void TbsSkinLinkLabel::SetCaption(const QString& caption)
{
    const int right = x() + width();
    setText(caption);
    adjustSize();
    if (FRightJustify)
        move(right - width(), y());
}

void TbsSkinLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit Click();
    if (FURL.isEmpty())
        return;
    if (FOpener)
        FOpener(FURL);
    else
        QDesktopServices::openUrl(QUrl(FURL));
}

// The link turns blue while the pointer is over it.
void TbsSkinLinkLabel::enterEvent(QEnterEvent*)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 0xFF));
    setPalette(p);
}

void TbsSkinLinkLabel::leaveEvent(QEvent*)
{
    setPalette(QPalette());
}

}  // namespace rasp
