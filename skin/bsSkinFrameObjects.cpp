#include "skin/bsSkinFrameObjects.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"

#include <QPainter>
#include <QPointer>

namespace {

QString DefaultHint(TbsCommand c, TbsResourceStrData* res) {
  const char* key = nullptr;
  const char* text = nullptr;
  switch (c) {
    case TbsCommand::cmClose: key = "CLOSEBUTTON_HINT"; text = "Close"; break;
    case TbsCommand::cmMaximize: key = "MAXBUTTON_HINT"; text = "Maximize"; break;
    case TbsCommand::cmMinimize: key = "MINBUTTON_HINT"; text = "Minimize"; break;
    case TbsCommand::cmSysMenu: key = "MENUBUTTON_HINT"; text = "System menu"; break;
    case TbsCommand::cmRollUp: key = "ROLLUPBUTTON_HINT"; text = "Roll Up"; break;
    case TbsCommand::cmMinimizeToTray: key = "TRAYBUTTON_HINT"; text = "Minimize to Tray"; break;
    case TbsCommand::cmDefault: return QString();
  }
  if (res) {
    const QString s = res->GetResStr(QString::fromLatin1(key));
    if (!s.isEmpty()) return s;
  }
  return QString::fromLatin1(text);
}

bool IconAllowed(TbsCommand c, TbsBorderIcons icons) {
  switch (c) {
    case TbsCommand::cmClose: return true;
    case TbsCommand::cmMaximize: return icons & biMaximize;
    case TbsCommand::cmMinimize: return icons & biMinimize;
    case TbsCommand::cmSysMenu: return icons & biSystemMenu;
    case TbsCommand::cmRollUp: return icons & biRollUp;
    case TbsCommand::cmMinimizeToTray: return icons & biMinimizeToTray;
    case TbsCommand::cmDefault: return true;
  }
  return true;
}

}  // namespace

TbsSkinFrameObjects::TbsSkinFrameObjects(TbsSkinFrameHost& host, TbsFrameObjectOptions options)
    : FHost(host), FOptions(options) {
  FMorphTimer.setInterval(20);
  FAnimationTimer.setInterval(25);
  connect(&FMorphTimer, &QTimer::timeout, this, &TbsSkinFrameObjects::MorphTick);
  connect(&FAnimationTimer, &QTimer::timeout, this, &TbsSkinFrameObjects::AnimationTick);
}

TbsSkinFrameObjects::~TbsSkinFrameObjects() = default;

void TbsSkinFrameObjects::SetOptions(const TbsFrameObjectOptions& options) {
  FOptions = options;
  UpdateVisibility();
  UpdateHints();
}

void TbsSkinFrameObjects::Clear() {
  FMorphTimer.stop();
  FAnimationTimer.stop();
  FObjects.clear();
  FActive = FCapture = -1;
  FSkin = nullptr;
}

void TbsSkinFrameObjects::Build(TbsSkinData* skin) {
  Clear();
  if (!skin || skin->SkinEmpty) return;
  FSkin = skin;
  for (const auto& entry : skin->SkinObjects) {
    TbsDataSkinObject* data = entry.get();
    if (dynamic_cast<TbsDataSkinMenuItem*>(data) || dynamic_cast<TbsDataSkinMainMenuItem*>(data) ||
        dynamic_cast<TbsDataSkinMainMenuBarButton*>(data))
      continue;
    if (auto* std = dynamic_cast<TbsDataSkinStdButton*>(data))
      FObjects.push_back(std::make_unique<TbsSkinStdButtonObject>(*this, *skin, *std));
    else if (auto* b = dynamic_cast<TbsDataSkinButton*>(data))
      FObjects.push_back(std::make_unique<TbsSkinButtonObject>(*this, *skin, *b));
    else if (auto* c = dynamic_cast<TbsDataSkinCaption*>(data))
      FObjects.push_back(std::make_unique<TbsSkinCaptionObject>(*this, *skin, *c));
    else if (auto* a = dynamic_cast<TbsDataSkinAnimate*>(data))
      FObjects.push_back(std::make_unique<TbsSkinAnimateObject>(*this, *skin, *a));
    else if (auto* u = dynamic_cast<TbsDataUserObject*>(data))
      FObjects.push_back(std::make_unique<TbsUserObject>(*this, *skin, *u));
  }
  UpdateVisibility();
  UpdateHints();
  if (TbsSkinCaptionObject* caption = Caption()) {
    caption->Active = FHost.FormActive();
    caption->MorphKf = caption->Active && caption->Morphing ? 1 : 0;
  }
}

void TbsSkinFrameObjects::UpdateVisibility() {
  for (auto& o : FObjects) {
    TbsCommand command;
    if (auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get())) command = std->Command;
    else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get()); a && a->ButtonStyle) command = a->Command;
    else continue;
    if (command == TbsCommand::cmDefault) {
      bool visible = false;
      if (!FHost.FrameActivateCustomObject(o->IDName, visible)) visible = false;
      o->Visible = visible;
      o->Enabled = true;
      continue;
    }
    if (IconAllowed(command, FOptions.BorderIcons) && !FOptions.HideCaptionButtons) {
      o->Visible = o->Enabled = true;
    } else {
      // An image that is part of the frame picture cannot be taken away.
      o->Enabled = false;
      o->Visible = !o->SkinRectInAPicture;
    }
  }
}

void TbsSkinFrameObjects::UpdateHints() {
  if (!FOptions.UseDefaultObjectHint || !FSkin) return;
  for (auto& o : FObjects) {
    if (auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get()); std && std->Command != TbsCommand::cmDefault)
      std->Hint = DefaultHint(std->Command, FSkin->ResourceStrData());
  }
}

void TbsSkinFrameObjects::Place(const TbsFrameLayout& layout) {
  if (!FSkin) return;
  for (auto& o : FObjects) {
    if (!o->SkinRectInAPicture) o->ObjectRect = bsToQRect(bsAnchorToFrame(*FSkin, layout, o->SkinRect));
  }
  const bool useButtons = !layout.ButtonsRect.IsEmpty();
  const TbsRect area = useButtons ? layout.ButtonsRect : layout.CaptionRect;
  if (area.IsEmpty()) return;
  const bool inLeft = layout.ButtonsInLeft;
  const int gap = layout.ButtonsOffset;

  auto commandOf = [](TbsActiveSkinObject* o, TbsCommand& c) {
    if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o)) { c = s->Command; return true; }
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->ButtonStyle) { c = a->Command; return true; }
    return false;
  };
  std::vector<TbsActiveSkinObject*> order;
  TbsActiveSkinObject* sysMenu = nullptr;
  const TbsCommand sequence[] = {TbsCommand::cmClose, TbsCommand::cmMaximize, TbsCommand::cmMinimize,
                                 TbsCommand::cmRollUp, TbsCommand::cmMinimizeToTray};
  for (TbsCommand want : sequence) {
    for (auto& o : FObjects) {
      TbsCommand c;
      if (o->SkinRectInAPicture && o->Visible && commandOf(o.get(), c) && c == want) order.push_back(o.get());
    }
  }
  for (auto& o : FObjects) {
    if (!o->SkinRectInAPicture || !o->Visible) continue;
    if (dynamic_cast<TbsSkinCaptionObject*>(o.get())) continue;
    TbsCommand c = TbsCommand::cmDefault;
    const bool hasCommand = commandOf(o.get(), c);
    if (hasCommand && c == TbsCommand::cmSysMenu) { sysMenu = o.get(); continue; }
    if (!hasCommand || c == TbsCommand::cmDefault) order.push_back(o.get());
  }
  auto sizeOf = [&](TbsActiveSkinObject* o) {
    if (o == sysMenu && FOptions.ShowIcon) return QSize(FOptions.SmallIconSize, FOptions.SmallIconSize);
    return QSize(o->SkinRect.Width(), o->SkinRect.Height());
  };
  int x = inLeft ? area.Left : area.Right;
  QRect last;
  auto place = [&](TbsActiveSkinObject* o) {
    const QSize s = sizeOf(o);
    if (inLeft) {
      o->ObjectRect = QRect(x, area.Top, s.width(), s.height());
      x += s.width() + gap;
    } else {
      x -= s.width();
      o->ObjectRect = QRect(x, area.Top, s.width(), s.height());
      x -= gap;
    }
    last = o->ObjectRect;
  };
  for (TbsActiveSkinObject* o : order) place(o);
  const bool sysMenuInCaption = sysMenu && !inLeft && !layout.CaptionRect.IsEmpty();
  if (sysMenu && !sysMenuInCaption) place(sysMenu);

  TbsSkinCaptionObject* caption = Caption();
  if (caption && caption->SkinRectInAPicture) caption->ObjectRect = bsToQRect(layout.CaptionRect);
  if (caption && !useButtons) {
    if (!inLeft) {
      const int right = last.isNull() ? area.Right + gap : last.left();
      caption->ObjectRect.setRight(right - 1);
    } else {
      const int left = last.isNull() ? area.Left : last.left() + last.width() + 2 * gap;
      caption->ObjectRect.setLeft(left);
    }
  }
  if (sysMenuInCaption) {
    const TbsRect& cr = layout.CaptionRect;
    const QSize s = sizeOf(sysMenu);
    sysMenu->ObjectRect = QRect(cr.Left, cr.Top + cr.Height() / 2 - s.height() / 2, s.width(), s.height());
    if (caption) caption->ObjectRect.setLeft(sysMenu->ObjectRect.left() + s.width());
  }
}

void TbsSkinFrameObjects::Draw(QPainter& p, bool fullPaint) {
  for (auto& o : FObjects)
    if (o->Visible) o->Draw(p, fullPaint);
}

TbsActiveSkinObject* TbsSkinFrameObjects::Find(const QString& id) const {
  for (auto& o : FObjects)
    if (o->IDName == id) return o.get();
  return nullptr;
}

TbsSkinStdButtonObject* TbsSkinFrameObjects::FindCommand(TbsCommand command) const {
  for (auto& o : FObjects)
    if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o.get()); s && s->Command == command) return s;
  return nullptr;
}

TbsSkinCaptionObject* TbsSkinFrameObjects::Caption() const {
  for (auto& o : FObjects)
    if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get())) return c;
  return nullptr;
}

int TbsSkinFrameObjects::ObjectAt(QPoint pt) const {
  for (std::size_t i = 0; i < FObjects.size(); ++i) {
    const auto& o = FObjects[i];
    if (o->Enabled && o->Visible && o->ObjectRect.contains(pt)) return int(i);
  }
  return -1;
}

void TbsSkinFrameObjects::SetActive(int index) {
  if (index == FActive) return;
  const int old = FActive;
  FActive = index;
  if (old >= 0 && old < int(FObjects.size())) {
    FObjects[std::size_t(old)]->MouseLeave();
    if (FOptions.ShowObjectHint) FHost.FrameHideHint();
  }
  if (index >= 0) {
    TbsActiveSkinObject* o = FObjects[std::size_t(index)].get();
    o->MouseEnter();
    if (FOptions.ShowObjectHint && !o->Hint.isEmpty()) FHost.FrameShowHint(o->Hint);
  }
}

void TbsSkinFrameObjects::MouseMoveAt(QPoint pt) {
  if (!FHost.FormActive()) return;
  if (FCapture >= 0) {
    // The captured object alone follows the mouse until the button goes up.
    TbsActiveSkinObject* o = FObjects[std::size_t(FCapture)].get();
    const bool inside = o->ObjectRect.contains(pt);
    if (inside && !o->MouseIn) {
      FActive = FCapture;
      o->MouseEnter();
    } else if (!inside && o->MouseIn) {
      FActive = -1;
      o->MouseLeave();
    }
    o->MouseMove(pt.x(), pt.y());
    return;
  }
  SetActive(ObjectAt(pt));
  if (FActive >= 0) FObjects[std::size_t(FActive)]->MouseMove(pt.x(), pt.y());
}

void TbsSkinFrameObjects::MouseLeft() {
  if (FCapture < 0) SetActive(-1);
}

void TbsSkinFrameObjects::MouseDownAt(QPoint pt, Qt::MouseButton button) {
  MouseMoveAt(pt);
  if (FActive < 0) return;
  TbsActiveSkinObject* o = FObjects[std::size_t(FActive)].get();
  if (!dynamic_cast<TbsSkinCaptionObject*>(o)) FCapture = FActive;
  o->MouseDown(pt.x(), pt.y(), button);
}

void TbsSkinFrameObjects::MouseUpAt(QPoint pt, Qt::MouseButton button) {
  const int index = FCapture >= 0 ? FCapture : FActive;
  FCapture = -1;
  if (index < 0 || index >= int(FObjects.size())) return;
  QPointer<TbsSkinFrameObjects> alive(this);
  FObjects[std::size_t(index)]->MouseUp(pt.x(), pt.y(), button);
  // The command may have closed the form and freed these objects.
  if (alive && FSkin) MouseMoveAt(pt);
}

void TbsSkinFrameObjects::DblClickAt(QPoint pt) {
  const int index = ObjectAt(pt);
  if (index >= 0) FObjects[std::size_t(index)]->DblClick();
}

void TbsSkinFrameObjects::ResetObjects() {
  for (auto& o : FObjects)
    if (!dynamic_cast<TbsSkinCaptionObject*>(o.get())) o->Reset();
  FActive = FCapture = -1;
}

void TbsSkinFrameObjects::FormActivityChanged() {
  ResetObjects();
  if (TbsSkinCaptionObject* caption = Caption()) {
    caption->Active = FHost.FormActive();
    if (caption->Morphing) StartMorph();
    else caption->MorphKf = caption->Active ? 1 : 0;
  }
  for (auto& o : FObjects) FHost.FrameRedraw(o->ObjectRect);
}

void TbsSkinFrameObjects::SystemMenuClosed() {
  if (auto* s = FindCommand(TbsCommand::cmSysMenu)) {
    s->MenuOpen = false;
    s->FDown = false;
    FHost.FrameRedraw(s->ObjectRect);
  }
}

void TbsSkinFrameObjects::RunCommand(TbsCommand command) {
  switch (command) {
    case TbsCommand::cmClose: FHost.FrameClose(); break;
    case TbsCommand::cmMaximize:
      if (FHost.FormMaximized()) FHost.FrameRestore();
      else FHost.FrameMaximize();
      break;
    case TbsCommand::cmMinimize:
      if (FOptions.AlwaysMinimizeToTray) FHost.FrameMinimizeToTray();
      else if (FHost.FormMinimized()) FHost.FrameRestore();
      else FHost.FrameMinimize();
      break;
    case TbsCommand::cmRollUp: FHost.FrameToggleRollUp(); break;
    case TbsCommand::cmMinimizeToTray: FHost.FrameMinimizeToTray(); break;
    case TbsCommand::cmSysMenu:
    case TbsCommand::cmDefault: break;
  }
}

void TbsSkinFrameObjects::StartMorph() {
  if (!FMorphTimer.isActive()) FMorphTimer.start();
}

void TbsSkinFrameObjects::StartAnimation() {
  if (!FAnimationTimer.isActive()) FAnimationTimer.start();
}

void TbsSkinFrameObjects::MorphTick() {
  bool any = false;
  for (auto& o : FObjects) {
    if (!o->Morphing || !o->NeedsMorph()) continue;
    o->MorphStep();
    FHost.FrameRedraw(o->ObjectRect);
    any = any || o->NeedsMorph();
  }
  if (!any) FMorphTimer.stop();
}

void TbsSkinFrameObjects::AnimationTick() {
  bool any = false;
  for (auto& o : FObjects)
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get())) any = a->AnimationTick() || any;
  if (!any) FAnimationTimer.stop();
}
