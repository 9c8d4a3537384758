// Draws the built-in skin's caption objects into a test window, opens a
// skinned menu with a submenu beside it, and saves screen pictures:
//   xvfb-run -a build-asan/tests/skin/skin_menu_shot OUT_DIR
// OUT_DIR/caption_menu.png: the window with a menu and its open submenu;
// OUT_DIR/system_menu.png: the window with its system menu;
// OUT_DIR/scrolling_menu.png: 30 items shown ten at a time between markers;
// OUT_DIR/plain_menu.png: the same menu in the look used without a skin.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinFrameObjects.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPaint.h"
#include "skin/bsSystemMenu.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

// A frameless window standing in for the skinned frame: the frame picture
// made to its size, and the caption objects on top.
class TShotWindow : public QWidget, public TbsSkinFrameHost {
public:
  explicit TShotWindow(TbsSkinData& skin) : FSkin(skin), Objects(*this) {
    setWindowFlags(Qt::FramelessWindowHint);
    TbsFrameObjectOptions o;
    o.BorderIcons = biSystemMenu | biMinimize | biMaximize;
    Objects.SetOptions(o);
    Objects.Build(&skin);
  }
  bool FormActive() const override { return true; }
  QString FormCaption() const override { return QStringLiteral("Tellivo Rasp - duplicate content and keyword density"); }
  void FrameClose() override {}
  void FrameMaximize() override {}
  void FrameMinimize() override {}
  void FrameRestore() override {}
  void FrameToggleRollUp() override {}
  void FrameMinimizeToTray() override {}
  void FrameShowSystemMenu(const QRect&) override {}
  void FrameRedraw(const QRect& r) override { update(r); }

  TbsSkinData& FSkin;
  TbsSkinFrameObjects Objects;

protected:
  void resizeEvent(QResizeEvent*) override {
    Objects.Place(bsComputeFrameLayout(FSkin, width(), height()));
    // The window's shape from the skin's mask, cut as the frame will cut it.
    TbsNinePiece cut{FSkin.lefttoppoint, FSkin.righttoppoint, FSkin.leftbottompoint, FSkin.rightbottompoint};
    if (!FSkin.FrameMask.isNull()) setMask(bsRegionFromMask(bsNinePiece(FSkin.FrameMask, cut, size())));
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    TbsNinePiece cut{FSkin.lefttoppoint, FSkin.righttoppoint, FSkin.leftbottompoint, FSkin.rightbottompoint,
                     FSkin.leftstretch, FSkin.rightstretch, FSkin.topstretch, FSkin.bottomstretch};
    p.drawImage(0, 0, bsNinePiece(FSkin.FramePicture, cut, size()));
    Objects.Draw(p, true);
  }
};

bool Save(const QRect& area, const QString& path) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (!shot.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(out);
  TbsCompressedStoredSkin stored;
  bsAssignBuiltinSkin(stored);
  TbsSkinData skin;
  skin.LoadStoredSkin(stored);

  TShotWindow window(skin);
  window.setGeometry(20, 20, 520, 330);
  window.show();
  QTest::qWait(200);
  // The pointer rests on the maximise button: its hover image after the morph.
  const QPoint hover = window.Objects.FindCommand(TbsCommand::cmMaximize)->ObjectRect.center();
  window.Objects.MouseMoveAt(hover);
  QTest::qWait(200);

  TbsSkinMenu driver(&window);
  QMenu menu;
  menu.addAction("&Open article...")->setShortcut(QKeySequence("Ctrl+O"));
  menu.addAction("&Save highlights")->setShortcut(QKeySequence("Ctrl+S"));
  menu.addSeparator();
  QMenu recent;
  for (const char* name : {"article1.txt", "article2.txt", "press-release.rtf", "notes.doc"}) recent.addAction(name);
  QAction* recentItem = menu.addAction("&Recent files");
  recentItem->setMenu(&recent);
  QAction* wrap = menu.addAction("&Word wrap");
  wrap->setCheckable(true);
  wrap->setChecked(true);
  menu.addAction("&Print")->setEnabled(false);
  menu.addSeparator();
  menu.addAction("E&xit")->setShortcut(QKeySequence("Alt+F4"));

  const QRect anchor(window.mapToGlobal(QPoint(60, 60)), QSize(0, 0));
  driver.Popup(&window, &skin, &menu, anchor);
  TbsSkinPopupWindow* root = driver.TopWindow();
  root->SetActive(3, true);
  driver.OpenSubmenu(root, 3);
  driver.TopWindow()->SetActive(1, true);
  QTest::qWait(300);
  QRect area = window.geometry();
  for (TbsSkinPopupWindow* w : driver.Windows()) area |= w->geometry();
  bool ok = Save(area.adjusted(-10, -10, 10, 10), out + "/caption_menu.png");
  driver.CloseAll();
  QTest::qWait(100);

  QMenu sys;
  TbsSystemMenuState state;
  state.BorderIcons = biSystemMenu | biMinimize | biMaximize;
  bsFillSystemMenu(sys, state);
  const QRect button = window.Objects.FindCommand(TbsCommand::cmSysMenu)->ObjectRect;
  driver.Popup(&window, &skin, &sys, QRect(window.mapToGlobal(button.topLeft()), button.size()));
  driver.TopWindow()->SetActive(3, true);
  QTest::qWait(300);
  area = window.geometry() | driver.TopWindow()->geometry();
  ok = Save(area.adjusted(-10, -10, 10, 10), out + "/system_menu.png") && ok;
  driver.CloseAll();
  QTest::qWait(100);

  // A long menu held to ten items between its scroll markers.
  QMenu longMenu;
  for (int i = 1; i <= 30; ++i) longMenu.addAction(QStringLiteral("Keyword phrase %1").arg(i));
  driver.MaxMenuItemsInWindow = 10;
  driver.Popup(&window, &skin, &longMenu, QRect(window.mapToGlobal(QPoint(200, 50)), QSize(0, 0)));
  driver.TopWindow()->ScrollBy(4);
  QTest::qWait(300);
  area = window.geometry() | driver.TopWindow()->geometry();
  ok = Save(area.adjusted(-10, -10, 10, 10), out + "/scrolling_menu.png") && ok;
  driver.CloseAll();
  QTest::qWait(100);

  // The plain look of a skin without menu pictures.
  TbsSkinData none;
  driver.MaxMenuItemsInWindow = 0;
  driver.Popup(&window, &none, &menu, anchor);
  root = driver.TopWindow();
  root->SetActive(3, true);
  driver.OpenSubmenu(root, 3);
  QTest::qWait(300);
  area = window.geometry();
  for (TbsSkinPopupWindow* w : driver.Windows()) area |= w->geometry();
  ok = Save(area.adjusted(-10, -10, 10, 10), out + "/plain_menu.png") && ok;
  driver.CloseAll();
  QTest::qWait(50);
  return ok ? 0 : 1;
}
