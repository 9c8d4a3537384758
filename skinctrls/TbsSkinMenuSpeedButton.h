#pragma once
// Tool bar button that opens a skinned popup menu on a left press (with
// TrackButtonMode only on its track part at the right end). It stays down
// while the menu is open and comes up when the menu driver reports the menus
// closed (SKN_MENUCLOSED).

#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinButton.h"

#include <QPointer>

namespace rasp {

class TbsSkinMenuSpeedButton : public TbsSkinButton {
    Q_OBJECT
public:
    explicit TbsSkinMenuSpeedButton(QWidget* parent = nullptr);

    // Not owned; forgotten when the menu is destroyed.
    TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* menu) { FSkinPopupMenu = menu; }
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool on);
    // The part a press must hit to open the menu, in control coordinates.
    QRect TrackButtonRect() const;
    bool MenuOpen() const { return FMenuOpen; }

signals:
    void ShowTrackMenu();
    void HideTrackMenu();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OpenMenu();

    QPointer<TbsSkinPopupMenu> FSkinPopupMenu;
    bool FTrackButtonMode = false;
    bool FMenuOpen = false;
};

}  // namespace rasp
