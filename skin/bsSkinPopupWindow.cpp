// A menu window: its items from the QMenu, size, layout, hover, scrolling
// and keys. Painting is in bsSkinPopupWindowPaint.cpp.

#include "skin/bsSkinMenu.h"

#include "skin/bsSkinData.h"
#include "skin/bsSkinPaint.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

QRect ToQ(const TbsRect& r) { return bsToQRect(r); }
TbsRect FromQ(const QRect& r) { return bsFromQRect(r); }

// Gives a menu that fills itself on showing its chance to do so.
void AboutToShow(QMenu* menu) {
  if (menu) QMetaObject::invokeMethod(menu, "aboutToShow", Qt::DirectConnection);
}

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TbsSkinMenu& driver, TbsSkinData* skin, QMenu* menu,
                                       int firstIndex, int level)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint),
      FDriver(&driver), FMenu(menu), FLevel(level) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
  setObjectName(QStringLiteral("TbsSkinPopupWindow"));

  if (skin && !skin->SkinEmpty) {
    const TbsDataSkinPopupWindow& pw = *skin->PopupWindowSkin;
    const QImage* picture = skin->ActivePicture(pw.windowpictureindex);
    const TbsDataSkinMenuItem* item = nullptr;
    for (const auto& o : skin->SkinObjects)
      if ((item = dynamic_cast<const TbsDataSkinMenuItem*>(o.get()))) break;
    const QImage* itemPicture = item ? skin->ActivePicture(item->activepictureindex) : nullptr;
    // Every size the layout divides by or subtracts must be usable, or the
    // window takes the plain look instead.
    const bool usable = picture && !picture->isNull() && item && itemPicture &&
                        !itemPicture->isNull() && item->skinrect.Height() > 0 &&
                        item->skinrect.Width() > 0 && !pw.itemsrect.IsEmpty() &&
                        pw.itemsrect.Right <= picture->width() &&
                        pw.itemsrect.Bottom <= picture->height();
    if (usable) {
      FPopupSkin = std::make_unique<TbsDataSkinPopupWindow>(pw);
      FWindowPicture = *picture;
      if (const QImage* mask = skin->ActivePicture(pw.maskpictureindex); mask && !mask->isNull())
        FMaskPicture = *mask;
      FItemSkin = std::make_unique<TbsDataSkinMenuItem>(*item);
      FItemPicture = *itemPicture;
    }
  }
  if (FItemSkin && driver.UseSkinFont)
    FFont = bsSkinFont(FItemSkin->fontname, FItemSkin->fontheight, FItemSkin->fontstyle);
  else
    FFont = driver.DefaultItemFont;
  setFont(FFont);
  FMetrics = QFontMetrics(FFont);

  BuildItems(firstIndex);

  FMouseTimer.setInterval(50);
  connect(&FMouseTimer, &QTimer::timeout, this, &TbsSkinPopupWindow::PollMouse);
  FScrollTimer.setInterval(100);
  connect(&FScrollTimer, &QTimer::timeout, this, &TbsSkinPopupWindow::ScrollTick);
  FMorphTimer.setInterval(20);
  connect(&FMorphTimer, &QTimer::timeout, this, &TbsSkinPopupWindow::MorphTick);
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() = default;

void TbsSkinPopupWindow::BuildItems(int firstIndex) {
  if (!FMenu) return;
  AboutToShow(FMenu);
  const QList<QAction*> actions = FMenu->actions();
  for (int i = std::max(firstIndex, 0); i < actions.size(); ++i) {
    if (!actions[i]->isVisible()) continue;
    FItems.push_back(std::make_unique<TbsSkinMenuItem>(*this, actions[i]));
    if (!actions[i]->icon().isNull()) FHasIcons = true;
  }
  FGlyphWidth = 16;
}

int TbsSkinPopupWindow::ItemHeight(const TbsSkinMenuItem& item) const {
  if (FItemSkin) return item.Separator ? std::max(FItemSkin->dividerrect.Height(), 0) : FItemSkin->skinrect.Height();
  const int def = FDriver && FDriver->DefaultItemHeight > 0 ? FDriver->DefaultItemHeight : 20;
  return item.Separator ? 4 : def;
}

QSize TbsSkinPopupWindow::ComputeSize(const QRect& workArea) {
  const QFontMetrics fm(FFont);
  int text = 0;
  int sum = 0;
  for (const auto& item : FItems) {
    sum += ItemHeight(*item);
    if (item->Separator) continue;
    QString s = item->PlainCaption();
    if (!item->ShortCut.isEmpty()) s += QStringLiteral("  ") + item->ShortCut;
    text = std::max(text, fm.horizontalAdvance(s));
  }
  const int glyphColumn = FHasIcons ? 16 + 5 : 19;
  int w = text + 2 + glyphColumn + 19;
  int frame = 4;
  int pw = 0, ph = 0;
  if (FPopupSkin) {
    pw = FWindowPicture.width();
    ph = FWindowPicture.height();
    w += (pw - FPopupSkin->itemsrect.Width()) + (FItemSkin->skinrect.Width() - FItemSkin->textrect.Width());
    frame = ph - FPopupSkin->itemsrect.Height();
  } else {
    w += 10;
  }
  int h = sum + frame;
  const int maxItems = FDriver ? FDriver->MaxMenuItemsInWindow : 0;
  FScrolling = FScrollForced = false;
  if (maxItems > 0 && maxItems < int(FItems.size())) {
    const int itemH = FItemSkin ? FItemSkin->skinrect.Height()
                                : (FDriver && FDriver->DefaultItemHeight > 0 ? FDriver->DefaultItemHeight : 20);
    h = itemH * maxItems + frame + 2 * kScrollMarkerHeight;
    FScrolling = FScrollForced = true;
  }
  if (workArea.height() > 0 && h > workArea.height()) {
    h = workArea.height();
    FScrolling = true;
  }
  if (FPopupSkin) {
    w = std::max(w, pw);
    h = std::max(h, ph);
  }
  return QSize(w, h);
}

void TbsSkinPopupWindow::LayoutItems() {
  const QSize s = size();
  if (FPopupSkin) {
    FItemsRect = ToQ(bsMenuItemsRect(FPopupSkin->itemsrect, FWindowPicture.width(),
                                     FWindowPicture.height(), s.width(), s.height()));
  } else {
    FItemsRect = rect().adjusted(2, 2, -2, -2);
  }
  std::vector<int> heights, tops(FItems.size());
  for (const auto& item : FItems) heights.push_back(ItemHeight(*item));
  FVisibleCount = bsLayoutMenuItems(FromQ(FItemsRect), FScrolling, FFirstVisible, heights, tops);
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    FItems[i]->Visible = tops[i] >= 0;
    FItems[i]->ItemRect = tops[i] >= 0 ? QRect(FItemsRect.left(), tops[i], FItemsRect.width(), heights[i]) : QRect();
  }
}

QRect TbsSkinPopupWindow::TopMarker() const {
  return QRect(FItemsRect.left(), FItemsRect.top(), FItemsRect.width(), kScrollMarkerHeight);
}

QRect TbsSkinPopupWindow::BottomMarker() const {
  return QRect(FItemsRect.left(), FItemsRect.top() + FItemsRect.height() - kScrollMarkerHeight,
               FItemsRect.width(), kScrollMarkerHeight);
}

void TbsSkinPopupWindow::ShowAt(const QRect& anchor, bool submenu, bool popupUp, const QRect& workArea) {
  const QSize s = ComputeSize(workArea);
  resize(s);
  LayoutItems();
  TbsMenuPlacementInput in;
  in.WorkArea = FromQ(workArea);
  in.Anchor = FromQ(anchor);
  in.Width = s.width();
  in.Height = s.height();
  in.Submenu = submenu;
  in.PopupUp = popupUp;
  in.ItemsTop = FItemsRect.top();
  in.TallScroll = FScrolling && !FScrollForced;
  const TbsMenuPlacement at = bsPlaceMenuWindow(in);
  move(at.Left, at.Top);
  BuildRegion();
  if (FDriver && FDriver->AlphaBlend) setWindowOpacity(std::clamp(FDriver->AlphaBlendValue, 0, 255) / 255.0);
  if (FDriver && FDriver->AlphaBlendAnimation && FLevel == 0) {
    const double target = FDriver->AlphaBlend ? std::clamp(FDriver->AlphaBlendValue, 0, 255) / 255.0 : 1.0;
    setWindowOpacity(0);
    FFadeTimer.setInterval(1);
    connect(&FFadeTimer, &QTimer::timeout, this, [this, target] {
      const double next = std::min(windowOpacity() + 3 / 255.0, target);
      setWindowOpacity(next);
      if (next >= target) FFadeTimer.stop();
    });
    FFadeTimer.start();
  }
  show();
  raise();
  FMouseTimer.start();
  FLastMouse = QCursor::pos();
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i]->Enabled && !FItems[i]->Separator) {
      SetActive(int(i), true);
      break;
    }
  }
}

void TbsSkinPopupWindow::PollMouse() {
  if (!FDriver) return;
  const QPoint pos = QCursor::pos();
  if (pos == FLastMouse) return;
  FLastMouse = pos;
  if (FDriver->WindowAt(pos) == this) {
    HoverAt(mapFromGlobal(pos));
  } else if (FScrollDirection != 0) {
    FScrollDirection = 0;
    FScrollTimer.stop();
    update();
  }
}

void TbsSkinPopupWindow::HoverAt(QPoint local) {
  if (FScrolling) {
    int direction = 0;
    if (TopMarker().contains(local) && FFirstVisible > 0) direction = -1;
    else if (BottomMarker().contains(local) && FFirstVisible + FVisibleCount < int(FItems.size())) direction = 1;
    if (direction != FScrollDirection) {
      FScrollDirection = direction;
      if (direction != 0) FScrollTimer.start();
      else FScrollTimer.stop();
      update();
    }
  }
  int index = -1;
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i]->Visible && FItems[i]->ItemRect.contains(local)) {
      index = int(i);
      break;
    }
  }
  if (index >= 0 && (!FItems[std::size_t(index)]->Enabled || FItems[std::size_t(index)]->Separator)) index = -1;
  if (index == FActive) return;
  if (index < 0) {
    // Leaving an item deselects it, unless its submenu is showing.
    if (FActive >= 0 && !FItems[std::size_t(FActive)]->Open) SetActive(-1, false);
    return;
  }
  SetActive(index, false);
}

void TbsSkinPopupWindow::SetActive(int index, bool byKeyboard) {
  if (index == FActive) return;
  FOldActive = FActive;
  if (FActive >= 0 && FActive < int(FItems.size())) {
    FItems[std::size_t(FActive)]->Selected = false;
    FItems[std::size_t(FActive)]->Armed = false;
  }
  FActive = index;
  QPointer<TbsSkinPopupWindow> alive(this);
  if (FDriver) {
    FDriver->DisarmWait();
    FDriver->CloseLevel(FLevel + 1);
  }
  if (!alive) return;
  for (auto& item : FItems) item->Open = false;
  if (index >= 0) {
    TbsSkinMenuItem& item = *FItems[std::size_t(index)];
    item.Selected = true;
    item.Armed = byKeyboard;
    if (item.HasChildren && !byKeyboard && FDriver) FDriver->ArmWait(this, index);
  }
  if (FItemSkin && FItemSkin->morphing) FMorphTimer.start();
  update();
}

int TbsSkinPopupWindow::MaxFirstVisible() const {
  // The first index from which the last item still fits.
  const int room = FItemsRect.height() - (FScrolling ? 2 * kScrollMarkerHeight : 0);
  int used = 0;
  int first = int(FItems.size());
  while (first > 0) {
    const int h = ItemHeight(*FItems[std::size_t(first - 1)]);
    if (used + h > room) break;
    used += h;
    --first;
  }
  return std::min(first, std::max(int(FItems.size()) - 1, 0));
}

void TbsSkinPopupWindow::ScrollBy(int items) {
  const int first = std::clamp(FFirstVisible + items, 0, std::max(MaxFirstVisible(), 0));
  if (first == FFirstVisible) return;
  FFirstVisible = first;
  LayoutItems();
  update();
}

void TbsSkinPopupWindow::ScrollTick() {
  const int before = FFirstVisible;
  ScrollBy(FScrollDirection);
  const bool atEnd = FScrollDirection < 0 ? FFirstVisible == 0
                                          : FFirstVisible + FVisibleCount >= int(FItems.size());
  if (FFirstVisible == before || atEnd) {
    FScrollTimer.stop();
    FScrollDirection = 0;
    update();
  }
}

void TbsSkinPopupWindow::MorphTick() {
  bool any = false;
  for (auto& item : FItems) {
    const double target = item->Selected ? 1.0 : 0.0;
    if (item->MorphKf == target) continue;
    item->MorphKf = std::clamp(item->MorphKf + (item->Selected ? 0.2 : -0.2), 0.0, 1.0);
    if (item->MorphKf > 0.999) item->MorphKf = 1;
    if (item->MorphKf < 0.001) item->MorphKf = 0;
    any = true;
  }
  if (!any) FMorphTimer.stop();
  update();
}

void TbsSkinPopupWindow::MoveSelection(int direction) {
  const int count = int(FItems.size());
  if (count == 0) return;
  int i = FActive >= 0 ? FActive : (direction > 0 ? -1 : count);
  for (int step = 0; step < count; ++step) {
    i = ((i + direction) % count + count) % count;
    const TbsSkinMenuItem& item = *FItems[std::size_t(i)];
    if (!item.Enabled || item.Separator) continue;
    SetActive(i, true);
    // Scroll so the new item is inside the visible range.
    if (i < FFirstVisible) {
      FFirstVisible = i;
      LayoutItems();
    }
    for (int guard = 0; guard < count && !FItems[std::size_t(i)]->Visible; ++guard) {
      ++FFirstVisible;
      LayoutItems();
    }
    update();
    return;
  }
}

void TbsSkinPopupWindow::RunActive() {
  if (FActive < 0 || !FDriver) return;
  const TbsSkinMenuItem& item = *FItems[std::size_t(FActive)];
  if (item.Separator || !item.Enabled || item.Open) return;
  FDriver->RunItem(this, FActive);
}

bool TbsSkinPopupWindow::HandleKey(int key, const QString& text) {
  if (!FDriver) return false;
  QPointer<TbsSkinMenu> driver = FDriver;
  switch (key) {
    case Qt::Key_Escape:
      driver->CloseLevel(FLevel);
      return true;
    case Qt::Key_Left:
      if (FLevel > 0) driver->CloseLevel(FLevel);
      return true;
    case Qt::Key_Right:
      if (FActive >= 0 && FItems[std::size_t(FActive)]->HasChildren && FItems[std::size_t(FActive)]->Enabled) {
        driver->OpenSubmenu(this, FActive);
      }
      return true;
    case Qt::Key_Up: MoveSelection(-1); return true;
    case Qt::Key_Down: MoveSelection(1); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: RunActive(); return true;
    default: break;
  }
  if (text.size() == 1 && text[0].isPrint()) {
    const QChar c = text[0].toLower();
    for (std::size_t i = 0; i < FItems.size(); ++i) {
      const TbsSkinMenuItem& item = *FItems[i];
      if (item.Accelerator == c && item.Enabled && !item.Separator) {
        SetActive(int(i), true);
        driver->RunItem(this, int(i));
        return true;
      }
    }
  }
  return true;
}

void TbsSkinPopupWindow::mouseMoveEvent(QMouseEvent* e) {
  FLastMouse = e->globalPosition().toPoint();
  HoverAt(e->position().toPoint());
}

void TbsSkinPopupWindow::mousePressEvent(QMouseEvent* e) { e->accept(); }

void TbsSkinPopupWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  HoverAt(e->position().toPoint());
  if (FActive >= 0 && FItems[std::size_t(FActive)]->ItemRect.contains(e->position().toPoint())) RunActive();
}

void TbsSkinPopupWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Compose());
}
