#include "skin/bsSkinPopupMenu.h"

#include "skin/bsSkinData.h"
#include "skin/bsSkinMenus.h"

TbsSkinMenuHost* bsFindSkinMenuHost(QObject* form) {
  if (!form) return nullptr;
  for (QObject* child : form->children())
    if (auto* host = dynamic_cast<TbsSkinMenuHost*>(child)) return host;
  return nullptr;
}

TbsSkinPopupMenu::TbsSkinPopupMenu(QWidget* owner) : QMenu(owner) {}

bool TbsSkinPopupMenu::Popup(int x, int y) {
  QWidget* form = Form;
  if (!form) {
    for (QWidget* w = parentWidget(); w && !form; w = w->parentWidget())
      if (w->isWindow()) form = w;
  }
  TbsSkinMenuHost* host = bsFindSkinMenuHost(form);
  if (!host || !host->SkinMenuDriver()) return false;
  TbsSkinData* skin = SkinData ? SkinData.data() : host->MenusSkin();
  host->EndMenuState();
  host->BeginMenuState();
  host->SkinMenuDriver()->Popup(form, skin, this, QRect(x, y, 0, 0));
  return true;
}
