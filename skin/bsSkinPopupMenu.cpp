#include "skin/bsSkinPopupMenu.h"

#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"

TbsSkinMenuHost* bsFindSkinMenuHost(QObject* form) {
  if (!form) return nullptr;
  for (QObject* child : form->children())
    if (auto* host = dynamic_cast<TbsSkinMenuHost*>(child)) return host;
  return nullptr;
}

TbsSkinPopupMenu::TbsSkinPopupMenu(QWidget* owner) : QMenu(owner) {}

TbsSkinPopupMenu::~TbsSkinPopupMenu() {
  // Windows that still show the items would point at actions being freed.
  if (TbsSkinMenu* driver = ShowingDriver()) driver->CloseAll();
}

QWidget* TbsSkinPopupMenu::ResolvedForm() const {
  QWidget* form = Form;
  if (!form) {
    for (QWidget* w = parentWidget(); w && !form; w = w->parentWidget())
      if (w->isWindow()) form = w;
  }
  return form;
}

TbsSkinMenu* TbsSkinPopupMenu::ShowingDriver() const {
  if (!FDriver || !FDriver->Visible()) return nullptr;
  for (TbsSkinPopupWindow* w : FDriver->Windows())
    if (w->Level() == 0 && w->Menu() == this) return FDriver;
  return nullptr;
}

bool TbsSkinPopupMenu::Showing() const { return ShowingDriver() != nullptr; }

bool TbsSkinPopupMenu::Popup(int x, int y) { return PopupFor(nullptr, QRect(x, y, 0, 0)); }

bool TbsSkinPopupMenu::PopupFor(QWidget* requester, const QRect& anchor) {
  QWidget* form = ResolvedForm();
  TbsSkinMenuHost* host = bsFindSkinMenuHost(form);
  if (host && host->SkinMenuDriver()) {
    TbsSkinData* skin = SkinData ? SkinData.data() : host->MenusSkin();
    host->EndMenuState();
    host->BeginMenuState();
    FDriver = host->SkinMenuDriver();
    FDriver->Popup(requester ? requester : form, skin, this, anchor);
    return true;
  }
  if (!OwnDriverWithoutFrame || !form) return false;
  if (!FOwnDriver || FOwnDriver->Form() != form) {
    if (FOwnDriver) FOwnDriver->deleteLater();
    // Owned by this menu, not by the form: the menu outlives no driver of its own.
    FOwnDriver = new TbsSkinMenu(form);
    FOwnDriver->setParent(this);
  }
  FDriver = FOwnDriver;
  FDriver->Popup(requester ? requester : form, SkinData, this, anchor);
  return true;
}
