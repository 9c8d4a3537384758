// Skinned popup menus on real windows (offscreen): sizes from the built-in
// skin, scrolling with MaxMenuItemsInWindow, the submenu wait, placement,
// keys through the application filter, the closing rules and messages, a
// command that destroys the form, and hostile skins.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPaint.h"
#include "skin/bsSkinPopupMenu.h"
#include "skin/bsSystemMenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>

#include <random>

#include <gtest/gtest.h>

namespace {

// A form that records the skin-menu messages it receives.
class TForm : public QWidget {
public:
  std::vector<int> Messages;
  int Count(int m) const { return int(std::count(Messages.begin(), Messages.end(), m)); }

protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Type(SKN_MENUCLOSED) || e->type() == QEvent::Type(SKN_MENUCOMMANDDONE))
      Messages.push_back(int(e->type()));
    return QWidget::event(e);
  }
};

bool WaitFor(const std::function<bool()>& cond, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(10);
  }
  return true;
}

class SkinMenu : public ::testing::Test {
protected:
  void SetUp() override {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    Skin.LoadStoredSkin(stored);
    Form = std::make_unique<TForm>();
    Form->setGeometry(100, 100, 400, 300);
    Form->show();
    QTest::qWait(20);
    Driver = new TbsSkinMenu(Form.get());
    Driver->WorkAreaOverride = QRect(0, 0, 1000, 700);
    QCursor::setPos(900, 690);
  }
  void TearDown() override {
    if (Driver) Driver->CloseAll();
    Form.reset();
    QTest::qWait(10);  // lets the closed windows go
  }
  QMenu* MakeMenu(int items, const QString& prefix = QStringLiteral("Item")) {
    auto* menu = new QMenu(Form.get());
    for (int i = 0; i < items; ++i) menu->addAction(QStringLiteral("%1 %2").arg(prefix).arg(i));
    return menu;
  }
  TbsSkinPopupWindow* Top() { return Driver->TopWindow(); }
  QPoint GlobalCenter(TbsSkinPopupWindow* w, const QRect& r) { return w->mapToGlobal(r.center()); }
  TbsSkinData Skin;
  std::unique_ptr<TForm> Form;
  QPointer<TbsSkinMenu> Driver;
};

TEST_F(SkinMenu, BuiltinSkinSizesTheWindowFromItsPictures) {
  QMenu* menu = MakeMenu(5);
  menu->insertSeparator(menu->actions()[2]);
  Driver->Popup(Form.get(), &Skin, menu, QRect(200, 200, 0, 0));
  TbsSkinPopupWindow* w = Top();
  ASSERT_TRUE(w);
  ASSERT_TRUE(w->Skinned());
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(Driver->Visible());
  const TbsDataSkinPopupWindow& pw = *Skin.PopupWindowSkin;
  const QImage& picture = *Skin.ActivePicture(pw.windowpictureindex);
  const TbsDataSkinMenuItem& item = *w->ItemSkin();
  const int frame = picture.height() - pw.itemsrect.Height();
  EXPECT_EQ(w->height(), 5 * item.skinrect.Height() + item.dividerrect.Height() + frame);
  const QFontMetrics fm(w->ItemFont());
  int text = 0;
  for (int i = 0; i < 5; ++i) text = std::max(text, fm.horizontalAdvance(QStringLiteral("Item %1").arg(i)));
  EXPECT_EQ(w->width(), text + 2 + 19 + 19 + (picture.width() - pw.itemsrect.Width()) +
                            (item.skinrect.Width() - item.textrect.Width()));
  // Opened below the point, at its left.
  EXPECT_EQ(w->geometry().topLeft(), QPoint(200, 200));
  // The first item is active at once, and the items fill the items rectangle.
  EXPECT_EQ(w->ActiveIndex(), 0);
  EXPECT_EQ(w->Items()[0]->ItemRect.top(), pw.itemsrect.Top);
  EXPECT_EQ(w->Items()[0]->ItemRect.width(), w->ItemsRect().width());
  // The window is shaped by the skin's mask: its rounded corner is cut off.
  EXPECT_FALSE(w->mask().isEmpty());
  EXPECT_FALSE(w->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(w->mask().contains(QPoint(w->width() / 2, w->height() / 2)));
}

TEST_F(SkinMenu, FirstActiveItemSkipsSeparatorsAndDisabledItems) {
  auto* menu = new QMenu(Form.get());
  menu->addSeparator();
  menu->addAction("Off")->setEnabled(false);
  menu->addAction("On");
  Driver->Popup(Form.get(), &Skin, menu, QRect(200, 200, 0, 0));
  EXPECT_EQ(Top()->ActiveIndex(), 2);
}

TEST_F(SkinMenu, ThirtyItemsWithTenPerWindowScrollOneItemPerTick) {
  Driver->MaxMenuItemsInWindow = 10;
  Driver->Popup(Form.get(), &Skin, MakeMenu(30), QRect(100, 50, 0, 0));
  TbsSkinPopupWindow* w = Top();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->Scrolling());
  EXPECT_TRUE(w->ScrollForced());
  EXPECT_EQ(w->VisibleCount(), 10);
  const int itemH = w->ItemSkin()->skinrect.Height();
  const int frame = Skin.ActivePicture(Skin.PopupWindowSkin->windowpictureindex)->height() -
                    Skin.PopupWindowSkin->itemsrect.Height();
  EXPECT_EQ(w->height(), itemH * 10 + frame + 20);
  // The items sit between the two 10-pixel markers.
  EXPECT_EQ(w->Items()[0]->ItemRect.top(), w->ItemsRect().top() + 10);
  EXPECT_TRUE(w->Items()[9]->Visible);
  EXPECT_FALSE(w->Items()[10]->Visible);
  EXPECT_LE(w->Items()[9]->ItemRect.bottom() + 1, w->BottomMarker().top());

  QElapsedTimer clock;
  clock.start();
  QCursor::setPos(GlobalCenter(w, w->BottomMarker()));
  ASSERT_TRUE(WaitFor([&] { return w->ScrollDirection() == 1; }, 2000));
  ASSERT_TRUE(WaitFor([&] { return w->FirstVisible() == 20; }, 10000));
  // Twenty steps of 100 ms cannot be quicker than two seconds.
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_TRUE(w->Items()[29]->Visible);
  EXPECT_EQ(w->VisibleCount(), 10);
  QTest::qWait(250);
  EXPECT_EQ(w->FirstVisible(), 20);  // stops at the end
  EXPECT_EQ(w->ScrollDirection(), 0);

  // Up from the top marker; leaving the markers stops the scrolling.
  QCursor::setPos(GlobalCenter(w, w->TopMarker()));
  ASSERT_TRUE(WaitFor([&] { return w->FirstVisible() <= 18; }));
  QCursor::setPos(GlobalCenter(w, w->Items()[std::size_t(w->FirstVisible() + 3)]->ItemRect));
  ASSERT_TRUE(WaitFor([&] { return w->ScrollDirection() == 0; }));
  const int stopped = w->FirstVisible();
  QTest::qWait(250);
  EXPECT_EQ(w->FirstVisible(), stopped);
  EXPECT_EQ(w->ActiveIndex(), stopped + 3);  // the hovered item became active
}

TEST_F(SkinMenu, SubmenuOpensAfterTheWaitOrAtOnceOnClick) {
  QMenu* menu = MakeMenu(3);
  QMenu* sub = MakeMenu(4, "Sub");
  menu->actions()[1]->setMenu(sub);
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* root = Top();
  ASSERT_TRUE(root->Items()[1]->HasChildren);
  QElapsedTimer clock;
  clock.start();
  QCursor::setPos(GlobalCenter(root, root->Items()[1]->ItemRect));
  ASSERT_TRUE(WaitFor([&] { return root->ActiveIndex() == 1; }));
  EXPECT_TRUE(Driver->WaitArmed());
  EXPECT_EQ(Driver->Windows().size(), 1u);
  ASSERT_TRUE(WaitFor([&] { return Driver->Windows().size() == 2; }));
  // A timer never fires early: the submenu came no sooner than 500 ms after the hover.
  EXPECT_GE(clock.elapsed(), 500);
  TbsSkinPopupWindow* child = Top();
  EXPECT_TRUE(root->Items()[1]->Open);
  // Beside the parent item, its first item level with it.
  const QRect item(root->mapToGlobal(root->Items()[1]->ItemRect.topLeft()), root->Items()[1]->ItemRect.size());
  EXPECT_EQ(child->x(), item.left() + item.width() + 1);
  EXPECT_EQ(child->y() + child->Items()[0]->ItemRect.top(),
            root->mapToGlobal(root->Items()[1]->ItemRect.topLeft()).y());

  // Back onto another item closes the submenu; a click on the parent opens it at once.
  QCursor::setPos(GlobalCenter(root, root->Items()[0]->ItemRect));
  ASSERT_TRUE(WaitFor([&] { return Driver->Windows().size() == 1; }));
  const QPoint local = root->Items()[1]->ItemRect.center();
  QTest::mouseMove(root, local);
  QTest::mouseClick(root, Qt::LeftButton, {}, local);
  EXPECT_EQ(Driver->Windows().size(), 2u);
}

TEST_F(SkinMenu, PlacementNearTheScreenEdges) {
  // Near the bottom of the work area, an anchor in the lower half opens above.
  Driver->Popup(Form.get(), &Skin, MakeMenu(6), QRect(300, 680, 0, 0));
  TbsSkinPopupWindow* w = Top();
  EXPECT_EQ(w->geometry().bottom() + 1, 680);
  EXPECT_EQ(w->x(), 300);
  // Near the right edge it is moved left to end at the work area's right.
  Driver->Popup(Form.get(), &Skin, MakeMenu(6), QRect(990, 100, 0, 0));
  EXPECT_EQ(Top()->geometry().right() + 1, 1000);

  TbsMenuPlacementInput in;
  in.WorkArea = {0, 0, 1000, 700};
  in.Width = 100;
  in.Height = 200;
  in.Anchor = {50, 100, 150, 120};
  EXPECT_EQ(bsPlaceMenuWindow(in).Top, 120);  // below
  in.PopupUp = true;
  EXPECT_EQ(bsPlaceMenuWindow(in).Top, 120);  // no room above, upper half: below
  in.Anchor = {50, 400, 150, 420};
  EXPECT_EQ(bsPlaceMenuWindow(in).Top, 200);  // above
  in.PopupUp = false;
  in.Anchor = {50, 100, 150, 600};            // tall anchor from the upper half
  TbsMenuPlacement p = bsPlaceMenuWindow(in);
  EXPECT_EQ(p.Top, 500);                      // bottom-aligned, overlapping
  EXPECT_TRUE(p.OverlapsAnchor);
  EXPECT_EQ(p.Left, 151);                     // so beside the anchor
  in.Submenu = true;
  in.ItemsTop = 4;
  in.Anchor = {300, 600, 400, 622};           // submenu of an item low on the screen
  p = bsPlaceMenuWindow(in);
  EXPECT_EQ(p.Top, 622 + 4 - 200);            // ends at the item's bottom
  EXPECT_EQ(p.Left, 401);
  in.Anchor = {850, 100, 950, 122};           // no room on the right
  EXPECT_EQ(bsPlaceMenuWindow(in).Left, 850 - 100 - 1);
  EXPECT_EQ(bsPlaceMenuWindow(in).Top, 96);
  in.Submenu = false;
  in.TallScroll = true;
  EXPECT_EQ(bsPlaceMenuWindow(in).Top, 0);
}

TEST_F(SkinMenu, KeysReachTheTopMostWindow) {
  QMenu* menu = MakeMenu(4);
  menu->actions()[0]->setText("&Open");
  menu->actions()[2]->setEnabled(false);
  QMenu* sub = MakeMenu(2, "Sub");
  menu->actions()[3]->setMenu(sub);
  menu->insertSeparator(menu->actions()[1]);
  int opened = 0;
  QObject::connect(menu->actions()[0], &QAction::triggered, [&] { ++opened; });
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* root = Top();
  ASSERT_EQ(root->ActiveIndex(), 0);
  QTest::keyClick(Form.get(), Qt::Key_Down);
  EXPECT_EQ(root->ActiveIndex(), 2);  // over the separator
  QTest::keyClick(Form.get(), Qt::Key_Down);
  EXPECT_EQ(root->ActiveIndex(), 4);  // over the disabled item
  EXPECT_FALSE(Driver->WaitArmed());  // no wait timer for keys
  QTest::keyClick(Form.get(), Qt::Key_Down);
  EXPECT_EQ(root->ActiveIndex(), 0);  // wraps
  QTest::keyClick(Form.get(), Qt::Key_Up);
  EXPECT_EQ(root->ActiveIndex(), 4);
  QTest::keyClick(Form.get(), Qt::Key_Right);
  ASSERT_EQ(Driver->Windows().size(), 2u);
  EXPECT_EQ(Top()->ActiveIndex(), 0);
  QTest::keyClick(Form.get(), Qt::Key_Left);
  EXPECT_EQ(Driver->Windows().size(), 1u);
  QTest::keyClick(Form.get(), Qt::Key_Right);
  QTest::keyClick(Form.get(), Qt::Key_Escape);
  EXPECT_EQ(Driver->Windows().size(), 1u);
  EXPECT_TRUE(Driver->Visible());
  QTest::keyClick(Form.get(), Qt::Key_O);  // the accelerator runs its item
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(Driver->Visible());
  EXPECT_TRUE(WaitFor([&] { return Form->Count(SKN_MENUCOMMANDDONE) == 1; }));
  EXPECT_EQ(Form->Count(SKN_MENUCLOSED), 1);

  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  QTest::keyClick(Form.get(), Qt::Key_Return);
  EXPECT_EQ(opened, 2);
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  QTest::keyClick(Form.get(), Qt::Key_Escape);
  EXPECT_FALSE(Driver->Visible());
  EXPECT_EQ(opened, 2);
}

TEST_F(SkinMenu, PressElsewhereMoveOrResizeOfTheFormCloses) {
  QMenu* menu = MakeMenu(3);
  int ran = 0;
  QObject::connect(menu, &QMenu::triggered, [&](QAction*) { ++ran; });
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  QTest::mouseClick(Form.get(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(Driver->Visible());
  EXPECT_TRUE(Driver->Windows().empty());
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(WaitFor([&] { return Form->Count(SKN_MENUCLOSED) == 1; }));
  EXPECT_EQ(Form->Count(SKN_MENUCOMMANDDONE), 0);

  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  Form->move(Form->pos() + QPoint(5, 5));
  EXPECT_TRUE(WaitFor([&] { return !Driver->Visible(); }));
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  Form->resize(Form->size() + QSize(5, 5));
  EXPECT_TRUE(WaitFor([&] { return !Driver->Visible(); }));

  // A click on an item runs it and tells the menu too.
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* w = Top();
  const QPoint at = w->Items()[2]->ItemRect.center();
  QTest::mouseMove(w, at);
  QTest::mouseClick(w, Qt::LeftButton, {}, at);
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(Driver->Visible());
}

TEST_F(SkinMenu, CommandThatDestroysTheFormLeavesNothingDangling) {
  QMenu* menu = MakeMenu(3);
  QObject::connect(menu->actions()[1], &QAction::triggered, [&] { Form.reset(); });
  Driver->Popup(Form.get(), &Skin, menu, QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* w = Top();
  QPointer<TbsSkinPopupWindow> window(w);
  const QPoint at = w->Items()[1]->ItemRect.center();
  QTest::mouseMove(w, at);
  QTest::mouseClick(w, Qt::LeftButton, {}, at);  // ASan reports any touch of freed memory
  EXPECT_FALSE(Form);
  EXPECT_TRUE(Driver.isNull());
  EXPECT_TRUE(WaitFor([&] { return window.isNull(); }));  // deleted later, not at once
}

TEST_F(SkinMenu, BuiltinSystemMenuShowsGlyphNamesAndAltF4) {
  QMenu sys;
  TbsSystemMenuState state;
  state.BorderIcons = biSystemMenu | biMinimize | biMaximize;
  bsFillSystemMenu(sys, state);
  QStringList names;
  for (QAction* a : sys.actions()) names << a->objectName();
  EXPECT_EQ(names, QStringList({"BSF_MINITEM", "BSF_MAXITEM", "BSF_SEPARATOR", "BSF_CLOSE"}));
  Driver->Popup(Form.get(), &Skin, &sys, QRect(110, 130, 24, 22));
  TbsSkinPopupWindow* w = Top();
  ASSERT_EQ(w->Items().size(), 4u);
  EXPECT_EQ(w->Items()[3]->ShortCut, "Alt+F4");
  EXPECT_EQ(w->Items()[3]->PlainCaption(), "Close");
  EXPECT_EQ(w->Items()[0]->PlainCaption(), "Minimize");
  EXPECT_TRUE(w->Items()[2]->Separator);
  EXPECT_EQ(w->y(), 130 + 22);  // below the button
  // The short-cut text is drawn right-aligned in the close item.
  const QImage img = w->Compose();
  const QRect item = w->Items()[3]->ItemRect;
  const QFontMetrics fm(w->ItemFont());
  const QRect shortcutArea(item.right() - 16 - fm.horizontalAdvance("Alt+F4") - 8, item.top(), fm.horizontalAdvance("Alt+F4"), item.height());
  const QColor text = bsQColor(w->ItemSkin()->fontcolor);
  int inked = 0;
  for (int y = shortcutArea.top(); y <= shortcutArea.bottom(); ++y)
    for (int x = shortcutArea.left(); x <= shortcutArea.right(); ++x)
      if (QColor(img.pixel(x, y)).lightness() < 128) ++inked;
  EXPECT_GT(inked, 10);
  (void)text;

  // Maximised: restore replaces maximise; the restore item's data says so.
  state.Maximized = true;
  bsFillSystemMenu(sys, state);
  names.clear();
  for (QAction* a : sys.actions()) names << a->objectName();
  EXPECT_EQ(names, QStringList({"BSF_MINITEM", "BSF_RESTORE", "BSF_SEPARATOR", "BSF_CLOSE"}));
  EXPECT_EQ(sys.actions()[1]->data().toInt(), kSystemMenuRestore);
}

TEST_F(SkinMenu, HostileSkinsGiveThePlainLook) {
  // Item heights of zero, a picture index beyond the list, an empty skin.
  for (int variant = 0; variant < 4; ++variant) {
    TbsSkinData skin;
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    skin.LoadStoredSkin(stored);
    for (auto& o : skin.SkinObjects)
      if (auto* item = dynamic_cast<TbsDataSkinMenuItem*>(o.get())) {
        if (variant == 0) item->skinrect = TbsRect{0, 0, 60, 0};
        if (variant == 1) item->activepictureindex = 4096;
      }
    if (variant == 2) skin.PopupWindowSkin->itemsrect = TbsRect{0, 0, 0, 0};
    if (variant == 3) skin.ClearSkin();
    Driver->MaxMenuItemsInWindow = 5;
    Driver->DefaultItemHeight = variant == 2 ? 0 : 20;  // a zero default is refused too
    Driver->Popup(Form.get(), &skin, MakeMenu(12), QRect(100, 100, 0, 0));
    TbsSkinPopupWindow* w = Top();
    ASSERT_TRUE(w) << variant;
    EXPECT_FALSE(w->Skinned()) << variant;
    EXPECT_EQ(w->VisibleCount(), 5) << variant;
    EXPECT_EQ(w->height(), 20 * 5 + 4 + 20) << variant;
    w->ScrollBy(100);
    EXPECT_EQ(w->FirstVisible(), 7) << variant;
    w->Compose();
    QTest::keyClick(Form.get(), Qt::Key_Up);
    EXPECT_EQ(w->ActiveIndex(), 11);
    Driver->CloseAll();
    QTest::qWait(5);
  }
  // A menu taller than the work area scrolls and starts at its top.
  Driver->MaxMenuItemsInWindow = 0;
  Driver->WorkAreaOverride = QRect(0, 0, 800, 300);
  Driver->Popup(Form.get(), &Skin, MakeMenu(40), QRect(100, 100, 0, 0));
  EXPECT_TRUE(Top()->Scrolling());
  EXPECT_FALSE(Top()->ScrollForced());
  EXPECT_EQ(Top()->geometry(), QRect(Top()->x(), 0, Top()->width(), 300));
}

TEST_F(SkinMenu, SkinReloadedOrClearedWhileTheMenuIsOpen) {
  Driver->Popup(Form.get(), &Skin, MakeMenu(4), QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* w = Top();
  const QImage before = w->Compose();
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  Skin.LoadStoredSkin(stored);  // new pictures: the window keeps its own copies
  EXPECT_EQ(w->Compose(), before);
  Skin.ClearSkin();
  EXPECT_EQ(w->Compose(), before);
  QTest::keyClick(Form.get(), Qt::Key_Down);
  w->Compose();
}

TEST_F(SkinMenu, TranslucencyAndItemMorphing) {
  Driver->AlphaBlend = true;
  Driver->AlphaBlendValue = 200;
  for (auto& o : Skin.SkinObjects)
    if (auto* item = dynamic_cast<TbsDataSkinMenuItem*>(o.get())) item->morphing = true;
  Driver->Popup(Form.get(), &Skin, MakeMenu(3), QRect(100, 100, 0, 0));
  TbsSkinPopupWindow* w = Top();
  EXPECT_NEAR(w->windowOpacity(), 200 / 255.0, 0.01);
  QTest::keyClick(Form.get(), Qt::Key_Down);
  EXPECT_EQ(w->ActiveIndex(), 1);
  EXPECT_LT(w->Items()[1]->MorphKf, 1.0);
  ASSERT_TRUE(WaitFor([&] { return w->Items()[1]->MorphKf == 1.0 && w->Items()[0]->MorphKf == 0.0; }));
  w->Compose();
}

TEST_F(SkinMenu, RandomUseKeepsTheWindowsConsistent) {
  // Nested menus, some items disabled, separators, a command that reopens
  // the menu; random keys, hovers and clicks in between.
  QMenu* root = MakeMenu(12);
  QMenu* sub = MakeMenu(6, "Sub");
  QMenu* subsub = MakeMenu(25, "Deep");
  root->actions()[3]->setMenu(sub);
  root->actions()[7]->setMenu(subsub);
  sub->actions()[2]->setMenu(subsub);
  root->actions()[5]->setEnabled(false);
  root->insertSeparator(root->actions()[9]);
  int ran = 0;
  QObject::connect(root->actions()[0], &QAction::triggered, [&] {
    ++ran;
    Driver->Popup(Form.get(), &Skin, root, QRect(300, 300, 0, 0));  // reopened from its own command
  });
  QObject::connect(subsub, &QMenu::triggered, [&](QAction*) { ++ran; });
  Driver->MaxMenuItemsInWindow = 8;
  std::mt19937 rng(2024);
  const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Escape, Qt::Key_D, Qt::Key_S};
  for (int step = 0; step < 400; ++step) {
    if (!Driver->Visible()) Driver->Popup(Form.get(), &Skin, root, QRect(int(rng() % 900), int(rng() % 650), 0, 0), rng() % 2);
    const std::vector<TbsSkinPopupWindow*> windows = Driver->Windows();
    ASSERT_FALSE(windows.empty());
    for (std::size_t i = 0; i < windows.size(); ++i) ASSERT_EQ(windows[i]->Level(), int(i));
    TbsSkinPopupWindow* w = windows[rng() % windows.size()];
    switch (rng() % 5) {
      case 0:
      case 1: QTest::keyClick(Form.get(), Qt::Key(keys[rng() % std::size(keys)])); break;
      case 2: w->HoverAt(QPoint(int(rng() % std::max(w->width(), 1)), int(rng() % std::max(w->height(), 1)))); break;
      case 3: w->ScrollBy(int(rng() % 5) - 2); break;
      case 4: {
        const QPoint at(int(rng() % std::max(w->width(), 1)), int(rng() % std::max(w->height(), 1)));
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        break;
      }
    }
    if (TbsSkinPopupWindow* top = Driver->TopWindow()) {
      ASSERT_GE(top->FirstVisible(), 0);
      ASSERT_LE(top->FirstVisible(), top->MaxFirstVisible());
      if (top->ActiveIndex() >= 0) {
        ASSERT_FALSE(top->Items()[std::size_t(top->ActiveIndex())]->Separator);
      }
    }
    if (step % 50 == 0) QTest::qWait(1);
  }
  EXPECT_GT(ran, 0);
}

TEST_F(SkinMenu, PopupMenuFindsTheFrameOfItsForm) {
  struct THost : QObject, TbsSkinMenuHost {
    THost(QWidget* form, TbsSkinMenu* d, TbsSkinData* s) : QObject(form), Driver(d), Skin(s) {}
    TbsSkinMenu* SkinMenuDriver() override { return Driver; }
    TbsSkinData* MenusSkin() override { return Skin; }
    void BeginMenuState() override { ++Begun; }
    TbsSkinMenu* Driver;
    TbsSkinData* Skin;
    int Begun = 0;
  };
  auto* button = new QWidget(Form.get());
  TbsSkinPopupMenu popup(button);
  popup.addAction("One");
  EXPECT_FALSE(popup.Popup(50, 50));  // no frame yet
  auto* host = new THost(Form.get(), Driver, &Skin);
  EXPECT_TRUE(popup.Popup(50, 60));
  EXPECT_EQ(host->Begun, 1);
  ASSERT_TRUE(Top());
  EXPECT_TRUE(Top()->Skinned());
  EXPECT_EQ(Top()->geometry().topLeft(), QPoint(50, 60));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
