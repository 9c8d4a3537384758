#include "skin/bsSystemMenu.h"

#include "skin/bsResourceStrData.h"

#include <QAction>
#include <QMenu>

namespace {

void Add(QMenu& menu, const char* name, const char* caption, const char* key, int command,
         TbsResourceStrData* texts, const QKeySequence& shortcut = QKeySequence()) {
  QString text = texts ? texts->GetResStr(QString::fromLatin1(key)) : QString();
  if (text.isEmpty()) text = QString::fromLatin1(caption);
  QAction* a = menu.addAction(text);
  a->setObjectName(QString::fromLatin1(name));
  a->setData(command);
  // Shown as the item's short-cut text only; the frame's own key handling runs it.
  a->setShortcut(shortcut);
  a->setShortcutContext(Qt::WidgetShortcut);
}

}  // namespace

void bsFillSystemMenu(QMenu& menu, const TbsSystemMenuState& s, TbsResourceStrData* texts) {
  for (QAction* a : menu.actions()) {
    if (a->objectName().startsWith(QLatin1String("BSF_"))) {
      menu.removeAction(a);
      a->deleteLater();
    }
  }
  if ((s.BorderIcons & biMinimize) && !s.Minimized)
    Add(menu, "BSF_MINITEM", "Mi&nimize", "MI_MINCAPTION", int(TbsCommand::cmMinimize), texts);
  if ((s.BorderIcons & biMaximize) && !s.Maximized)
    Add(menu, "BSF_MAXITEM", "Ma&ximize", "MI_MAXCAPTION", int(TbsCommand::cmMaximize), texts);
  if (s.Maximized || s.Minimized || s.RolledUp)
    Add(menu, "BSF_RESTORE", "&Restore", "MI_RESTORECAPTION", kSystemMenuRestore, texts);
  if ((s.BorderIcons & biRollUp) && !s.RolledUp && !s.Minimized && !(s.MDIChild && s.Maximized))
    Add(menu, "BSF_ROLLUP", "Ro&llUp", "MI_ROLLUPCAPTION", int(TbsCommand::cmRollUp), texts);
  if (s.BorderIcons & biMinimizeToTray)
    Add(menu, "BSF_MINTOTRAY", "Minimize to &Tray", "MI_MINTOTRAYCAPTION", int(TbsCommand::cmMinimizeToTray), texts);
  if (int(menu.actions().size()) > 0) {
    QAction* sep = menu.addSeparator();
    sep->setObjectName(QStringLiteral("BSF_SEPARATOR"));
  }
  Add(menu, "BSF_CLOSE", "&Close", "MI_CLOSECAPTION", int(TbsCommand::cmClose), texts,
      QKeySequence(s.MDIChild ? QStringLiteral("Ctrl+F4") : QStringLiteral("Alt+F4")));
}
