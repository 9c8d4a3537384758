#pragma once
// TbsSkinPopupMenu: a QMenu whose Popup shows its items through the skinned
// menu driver of its form's frame. The frame makes itself findable by
// implementing TbsSkinMenuHost; a form without one shows nothing, unless the
// menu is told to bring a driver of its own.

#include <QMenu>
#include <QPointer>
#include <QRect>

#include "skin/bsSkinData.h"
class TbsSkinMenu;

class TbsSkinMenuHost {
public:
  virtual ~TbsSkinMenuHost() = default;
  virtual TbsSkinMenu* SkinMenuDriver() = 0;
  // MenusSkinData, else SkinData; may be null.
  virtual TbsSkinData* MenusSkin() = 0;
  // The frame's own skin (its texts name the items of the controls' menus).
  virtual TbsSkinData* FormSkin() { return MenusSkin(); }
  // Menu state: the frame hooks the keys and fires OnSkinMenuOpen; ending it
  // is what SKN_MENUCLOSED does.
  virtual void BeginMenuState() {}
  virtual void EndMenuState() {}
};

// The frame of a form: its first child object that is a TbsSkinMenuHost.
TbsSkinMenuHost* bsFindSkinMenuHost(QObject* form);

class TbsSkinPopupMenu : public QMenu {
public:
  explicit TbsSkinPopupMenu(QWidget* owner = nullptr);
  ~TbsSkinPopupMenu() override;

  // The form whose frame shows the menu; when none, the owner (or the
  // owner's owner) that is a form.
  QPointer<QWidget> Form;
  // The skin; when none, the frame's.
  QPointer<TbsSkinData> SkinData;
  // A form without a skinned frame still shows the menu, through a driver
  // that belongs to this menu (a control may sit in a plain window).
  bool OwnDriverWithoutFrame = false;

  // Shows the items at the screen point; returns false when no frame was found.
  bool Popup(int x, int y);
  bool PopupAt(QPoint screen) { return Popup(screen.x(), screen.y()); }
  // Shows the items below (or beside) an anchor rectangle in screen
  // coordinates; the requester gets SKN_MENUCLOSED and SKN_MENUCOMMANDDONE.
  // A null requester means the form.
  bool PopupFor(QWidget* requester, const QRect& anchor);

  // The form the menu shows on, by the rule above; may be null.
  QWidget* ResolvedForm() const;
  // The driver showing this menu now, or null.
  TbsSkinMenu* ShowingDriver() const;
  // Whether this menu's items are on screen.
  bool Showing() const;

private:
  QPointer<TbsSkinMenu> FDriver;     // the driver of the last popup
  QPointer<TbsSkinMenu> FOwnDriver;  // made on demand, a child of this menu
};
