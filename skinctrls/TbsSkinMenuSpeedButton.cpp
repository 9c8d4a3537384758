#include "skinctrls/TbsSkinMenuSpeedButton.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"

#include <QMouseEvent>

namespace rasp {

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(QWidget* parent) : TbsSkinButton(parent)
{
    SetSkinDataName(QStringLiteral("toolmenubutton"));
    SetCanFocused(false);
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool on)
{
    FTrackButtonMode = on;
    update();
}

QRect TbsSkinMenuSpeedButton::TrackButtonRect() const
{
    if (!FTrackButtonMode)
        return rect();
    const auto* entry =
        IsSkinned() ? dynamic_cast<const TbsDataSkinMenuButtonControl*>(SkinEntry()) : nullptr;
    if (entry && !entry->trackbuttonrect.IsEmpty()) {
        const TbsRect r = MapSkinRect(entry->trackbuttonrect);
        return QRect(r.Left, r.Top, r.Width(), r.Height());
    }
    return QRect(width() - 15, 0, 15, height());
}

void TbsSkinMenuSpeedButton::OpenMenu()
{
    if (!FSkinPopupMenu)
        return;
    SetDown(true);
    FMenuOpen = true;
    const QRect anchor(mapToGlobal(QPoint(0, 0)), size());
    if (!FSkinPopupMenu->PopupFor(this, anchor)) {
        FMenuOpen = false;
        SetDown(false);
        return;
    }
    emit ShowTrackMenu();
}

void TbsSkinMenuSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled() && !FMenuOpen && FSkinPopupMenu &&
        TrackButtonRect().contains(event->position().toPoint())) {
        OpenMenu();
        event->accept();
        return;
    }
    if (FMenuOpen)
        return;
    TbsSkinButton::mousePressEvent(event);
}

void TbsSkinMenuSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The release of the press that opened the menu is not a click.
    if (FMenuOpen)
        return;
    TbsSkinButton::mouseReleaseEvent(event);
}

bool TbsSkinMenuSpeedButton::event(QEvent* event)
{
    if (event->type() == QEvent::Type(SKN_MENUCLOSED)) {
        if (FMenuOpen) {
            FMenuOpen = false;
            SetDown(false);
            emit HideTrackMenu();
        }
        return true;
    }
    return TbsSkinButton::event(event);
}

}  // namespace rasp
