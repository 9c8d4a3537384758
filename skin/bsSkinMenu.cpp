#include "skin/bsSkinMenu.h"

#include "skin/bsSkinData.h"

#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace {

QChar AcceleratorOf(const QString& caption) {
  for (int i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    return caption[i + 1].toLower();
  }
  return QChar();
}

}  // namespace

bool bsMenuHasVisibleItems(const QMenu* menu, int from) {
  if (!menu) return false;
  const QList<QAction*> actions = menu->actions();
  for (int i = std::max(from, 0); i < actions.size(); ++i)
    if (actions[i]->isVisible()) return true;
  return false;
}

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow& window, QAction* action)
    : Window(window), Action(action) {
  Caption = action->text();
  Separator = action->isSeparator() || Caption == QLatin1String("-");
  if (!Separator) {
    ShortCut = action->shortcut().toString(QKeySequence::NativeText);
    Accelerator = AcceleratorOf(Caption);
  }
  Enabled = action->isEnabled();
  Checked = action->isChecked();
  Radio = action->actionGroup() && action->actionGroup()->isExclusive();
  HasChildren = !Separator && bsMenuHasVisibleItems(action->menu());
  Name = action->objectName();
}

QMenu* TbsSkinMenuItem::SubMenu() const { return Action ? Action->menu() : nullptr; }

QString TbsSkinMenuItem::PlainCaption() const {
  QString out;
  out.reserve(Caption.size());
  for (int i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == u'&' && i + 1 < Caption.size()) ++i;
    else if (Caption[i] == u'&') continue;
    out += Caption[i];
  }
  return out;
}

TbsSkinMenu::TbsSkinMenu(QWidget* form) : QObject(form), FForm(form) {
  DefaultItemFont = QFont(QStringLiteral("Arial"));
  DefaultItemFont.setPixelSize(14);
  FWaitTimer.setSingleShot(true);
  FWaitTimer.setInterval(500);
  connect(&FWaitTimer, &QTimer::timeout, this, &TbsSkinMenu::WaitElapsed);
}

TbsSkinMenu::~TbsSkinMenu() {
  SetFilters(false);
  DropWindows(0);
}

std::vector<TbsSkinPopupWindow*> TbsSkinMenu::Windows() const {
  std::vector<TbsSkinPopupWindow*> out;
  for (const auto& w : FWindows)
    if (w) out.push_back(w);
  return out;
}

TbsSkinPopupWindow* TbsSkinMenu::TopWindow() const {
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if (*it) return *it;
  return nullptr;
}

TbsSkinPopupWindow* TbsSkinMenu::WindowAt(QPoint global) const {
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if (*it && (*it)->isVisible() && (*it)->geometry().contains(global)) return *it;
  return nullptr;
}

void TbsSkinMenu::Popup(QWidget* requester, TbsSkinData* skin, QMenu* menu, const QRect& anchor,
                        bool popupUp, int firstIndex) {
  const bool wasVisible = FVisible;
  DropWindows(0);
  DisarmWait();
  FRequester = requester;
  FSkinData = skin;
  if (!WorkAreaOverride.isEmpty()) {
    FWorkArea = WorkAreaOverride;
  } else {
    QScreen* screen = FForm ? FForm->screen() : nullptr;
    if (!screen) screen = QGuiApplication::screenAt(anchor.topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    FWorkArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  }
  if (!bsMenuHasVisibleItems(menu, firstIndex)) {
    if (wasVisible) CloseAll();
    return;
  }
  FVisible = true;
  FFirstPopup = true;
  auto* window = new TbsSkinPopupWindow(*this, skin, menu, firstIndex, 0);
  FWindows.emplace_back(window);
  window->ShowAt(anchor, false, popupUp, FWorkArea);
  FFirstPopup = false;
  SetFilters(true);
}

void TbsSkinMenu::SetFilters(bool on) {
  if (on == FFilterInstalled) return;
  FFilterInstalled = on;
  if (on) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

void TbsSkinMenu::DropWindows(int level) {
  for (auto& w : FWindows) {
    if (w && w->Level() >= level) {
      w->hide();
      w->deleteLater();
      w = nullptr;
    }
  }
  std::erase_if(FWindows, [](const QPointer<TbsSkinPopupWindow>& w) { return w.isNull(); });
  if (FWaitWindow.isNull() || FWaitWindow->Level() >= level) DisarmWait();
  for (auto& w : FWindows)
    if (w->Level() == level - 1)
      for (auto& item : w->Items()) item->Open = false;
}

void TbsSkinMenu::CloseLevel(int level) {
  if (level <= 0) {
    CloseAll();
    return;
  }
  DropWindows(level);
}

void TbsSkinMenu::CloseAll() {
  DropWindows(0);
  DisarmWait();
  SetFilters(false);
  if (!FVisible) return;
  FVisible = false;
  Notify(FForm, SKN_MENUCLOSED);
  if (FRequester != FForm) Notify(FRequester, SKN_MENUCLOSED);
}

void TbsSkinMenu::Notify(QObject* to, int message) {
  if (to) QCoreApplication::postEvent(to, new TbsSkinMenuEvent(message));
}

void TbsSkinMenu::CheckFormActivity() {
  if (!FVisible || !FForm) return;
  QWidget* active = QApplication::activeWindow();
  if (active == FForm->window()) return;
  if (active && dynamic_cast<TbsSkinPopupWindow*>(active)) {
    FForm->activateWindow();
    return;
  }
  CloseAll();
}

void TbsSkinMenu::ArmWait(TbsSkinPopupWindow* window, int index) {
  FWaitWindow = window;
  FWaitIndex = index;
  FWaitTimer.start();
}

void TbsSkinMenu::DisarmWait() {
  FWaitTimer.stop();
  FWaitWindow = nullptr;
  FWaitIndex = -1;
}

void TbsSkinMenu::WaitElapsed() {
  TbsSkinPopupWindow* window = FWaitWindow;
  const int index = FWaitIndex;
  DisarmWait();
  if (window && index >= 0 && window->ActiveIndex() == index) OpenSubmenu(window, index);
}

void TbsSkinMenu::OpenSubmenu(TbsSkinPopupWindow* window, int index) {
  if (!window || index < 0 || index >= int(window->Items().size())) return;
  TbsSkinMenuItem& item = *window->Items()[std::size_t(index)];
  if (!item.HasChildren || item.Open) return;
  DisarmWait();
  DropWindows(window->Level() + 1);
  item.Open = true;
  const QRect anchor(window->mapToGlobal(item.ItemRect.topLeft()), item.ItemRect.size());
  auto* sub = new TbsSkinPopupWindow(*this, FSkinData, item.SubMenu(), 0, window->Level() + 1);
  FWindows.emplace_back(sub);
  sub->ShowAt(anchor, true, false, FWorkArea);
  // A submenu opened by the mouse starts with its first item selected too,
  // but only the keyboard moves into it.
  window->update();
}

void TbsSkinMenu::RunItem(TbsSkinPopupWindow* window, int index) {
  if (!window || index < 0 || index >= int(window->Items().size())) return;
  TbsSkinMenuItem& item = *window->Items()[std::size_t(index)];
  if (item.Separator || !item.Enabled) return;
  if (item.HasChildren) {
    OpenSubmenu(window, index);
    return;
  }
  // The command may close or destroy the form, this driver and the menus:
  // everything needed afterwards is held by guarded pointers, the windows
  // are only scheduled for deletion, and nothing else is touched.
  // Triggering the action also makes its QMenu emit triggered().
  QPointer<QAction> action = item.Action;
  QPointer<QWidget> requester = FRequester;
  CloseAll();
  if (action) action->trigger();
  if (requester) QCoreApplication::postEvent(requester, new TbsSkinMenuEvent(SKN_MENUCOMMANDDONE));
}

bool TbsSkinMenu::eventFilter(QObject* watched, QEvent* event) {
  if (!FVisible) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // While a menu is open its keys are the menu's, not the form's shortcuts.
      event->accept();
      return true;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (TbsSkinPopupWindow* top = TopWindow()) top->HandleKey(key->key(), key->text());
      return true;
    }
    case QEvent::KeyRelease:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget) return false;
      if (dynamic_cast<TbsSkinPopupWindow*>(widget->window())) return false;
      CloseAll();
      return true;
    }
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
      if (watched == FForm) CloseAll();
      return false;
    case QEvent::WindowDeactivate:
      // A window system that activates our menu windows in spite of their
      // flags does not count as the form losing the focus.
      if (watched == FForm) QTimer::singleShot(0, this, &TbsSkinMenu::CheckFormActivity);
      return false;
    case QEvent::ApplicationStateChange:
      if (QGuiApplication::applicationState() != Qt::ApplicationActive) CloseAll();
      return false;
    default:
      return false;
  }
}
