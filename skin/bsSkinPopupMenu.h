#pragma once
// TbsSkinPopupMenu: a QMenu whose Popup shows its items through the skinned
// menu driver of its form's frame. The frame makes itself findable by
// implementing TbsSkinMenuHost; a form without one shows nothing.

#include <QMenu>
#include <QPointer>

#include "skin/bsSkinData.h"
class TbsSkinMenu;

class TbsSkinMenuHost {
public:
  virtual ~TbsSkinMenuHost() = default;
  virtual TbsSkinMenu* SkinMenuDriver() = 0;
  // MenusSkinData, else SkinData; may be null.
  virtual TbsSkinData* MenusSkin() = 0;
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

  // The form whose frame shows the menu; when none, the owner (or the
  // owner's owner) that is a form.
  QPointer<QWidget> Form;
  // The skin; when none, the frame's.
  QPointer<TbsSkinData> SkinData;

  // Shows the items at the screen point; returns false when no frame was found.
  bool Popup(int x, int y);
  bool PopupAt(QPoint screen) { return Popup(screen.x(), screen.y()); }
};
