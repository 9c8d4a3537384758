#include "skinctrls/TbsSkinLinkLabel.h"

#include "skin/bsSkinControls.h"
#include "skinctrls/bsSkinFont.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace rasp {

TbsSkinLinkLabel::TbsSkinLinkLabel(QWidget* parent, const QString& caption) : TbsSkinStdLabel(parent)
{
    FAlwaysUnderline = true;
    FDefaultFont = bsSkinFont("Arial", -14, fsUnderline);
    setFont(FDefaultFont);
    setCursor(Qt::PointingHandCursor);
    SetCaption(caption);
}

void TbsSkinLinkLabel::SetCaption(const QString& caption)
{
    const int right = x() + width();
    TbsSkinStdLabel::SetCaption(caption);
    if (FRightJustify)
        move(right - width(), y());
}

void TbsSkinLinkLabel::ApplySkin() { update(); }

void TbsSkinLinkLabel::SetDefaultActiveFontColor(const QColor& c)
{
    FDefaultActiveFontColor = c;
    update();
}

QColor TbsSkinLinkLabel::SkinColor(const TbsDataSkinStdLabelControl& entry) const
{
    return bsColor(FMouseIn ? entry.activefontcolor : entry.fontcolor);
}

QColor TbsSkinLinkLabel::PlainColor() const
{
    return FMouseIn ? FDefaultActiveFontColor : TbsSkinStdLabel::PlainColor();
}

void TbsSkinLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit Click();
    // The shell is asked even for an empty URL; the launcher refuses it.
    if (FOpener)
        FOpener(FURL);
    else if (!FURL.isEmpty())
        QDesktopServices::openUrl(QUrl(FURL));
}

void TbsSkinLinkLabel::enterEvent(QEnterEvent* event)
{
    TbsSkinStdLabel::enterEvent(event);
    FMouseIn = true;
    update();
}

void TbsSkinLinkLabel::leaveEvent(QEvent* event)
{
    TbsSkinStdLabel::leaveEvent(event);
    FMouseIn = false;
    update();
}

}  // namespace rasp
