#pragma once
// Skinned popup menus. The program keeps Qt's menu model (QMenu, QAction);
// TbsSkinMenu shows a menu's items level by level in windows of its own
// (TbsSkinPopupWindow), drawn from the skin's POPUPWINDOW data and its first
// "menuitem" object, or in the plain look when the skin has none. The windows
// never take activation from the form: keys reach the top-most menu window
// through an application event filter while a menu is open.
//
// Which file holds what: bsSkinMenu.cpp is TbsSkinMenu (opening, closing and
// chaining the levels); bsSkinPopupWindow.cpp is one level's window (items,
// layout, hover, scrolling, keys) and bsSkinPopupWindowPaint.cpp its
// drawing; bsSkinPopupMenu.h is the TbsSkinPopupMenu component a form
// uses, a QMenu that pops up through TbsSkinMenu.

#include "skin/bsMenuGeometry.h"
#include "skin/bsSkinObjects.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinWindows.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class TbsSkinData;
class TbsSkinMenu;
class TbsSkinPopupWindow;

// User-message base 1024 plus the message's offset.
constexpr int SKN_MENUCLOSED = 1228;
constexpr int SKN_MENUCOMMANDDONE = 1229;

class TbsSkinMenuEvent : public QEvent {
public:
  explicit TbsSkinMenuEvent(int message) : QEvent(QEvent::Type(message)) {}
  int Message() const { return int(type()); }
};

// Whether the menu has a visible action at or after the index.
bool bsMenuHasVisibleItems(const QMenu* menu, int from = 0);

// One item of a menu window, made from one visible QAction.
class TbsSkinMenuItem {
public:
  TbsSkinMenuItem(TbsSkinPopupWindow& window, QAction* action);

  TbsSkinPopupWindow& Window;
  QPointer<QAction> Action;
  QString Caption;   // with its '&' accelerator marks
  QString ShortCut;  // "Alt+F4"
  QChar Accelerator; // lower case; null when none
  bool Separator = false;
  bool Enabled = true;
  bool Checked = false;
  bool Radio = false;
  bool HasChildren = false;
  QString Name;      // the action's object name ("BSF_CLOSE" ...)

  QRect ItemRect;    // window coordinates
  bool Visible = false;  // inside the scrolled range
  bool Selected = false;
  bool Open = false;     // its submenu is shown
  bool Armed = false;    // selected by keyboard
  double MorphKf = 0;

  QMenu* SubMenu() const;
  // The caption without accelerator marks.
  QString PlainCaption() const;
};

class TbsSkinPopupWindow : public QWidget {
public:
  TbsSkinPopupWindow(TbsSkinMenu& driver, TbsSkinData* skin, QMenu* menu, int firstIndex, int level);
  ~TbsSkinPopupWindow() override;

  int Level() const { return FLevel; }
  QMenu* Menu() const { return FMenu; }
  bool Skinned() const { return FPopupSkin != nullptr; }
  std::vector<std::unique_ptr<TbsSkinMenuItem>>& Items() { return FItems; }
  int ActiveIndex() const { return FActive; }
  bool Scrolling() const { return FScrolling; }
  bool ScrollForced() const { return FScrollForced; }
  int FirstVisible() const { return FFirstVisible; }
  int VisibleCount() const { return FVisibleCount; }
  int ScrollDirection() const { return FScrollDirection; }  // -1 up, 0 none, 1 down
  QRect ItemsRect() const { return FItemsRect; }
  QRect TopMarker() const;
  QRect BottomMarker() const;
  // The window size its items need, before the work area limits it.
  QSize ComputeSize(const QRect& workArea);
  // Places the window for the anchor and shows it without activation.
  void ShowAt(const QRect& anchor, bool submenu, bool popupUp, const QRect& workArea);

  // The item the mouse is over, as the hover test sees it.
  void HoverAt(QPoint local);
  void SetActive(int index, bool byKeyboard);
  void ScrollBy(int items);
  int MaxFirstVisible() const;
  bool HandleKey(int key, const QString& text);
  // Moves to the next (+1) or previous (-1) enabled item that is not a separator.
  void MoveSelection(int direction);
  // Runs the active item (Enter, a release over it).
  void RunActive();
  // Composes the whole window into an image (the paint event draws it).
  QImage Compose();

  const TbsDataSkinMenuItem* ItemSkin() const { return FItemSkin.get(); }
  int GlyphWidth() const { return FGlyphWidth; }
  QFont ItemFont() const { return FFont; }

protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

private:
  void BuildItems(int firstIndex);
  void LayoutItems();
  void PollMouse();
  void ScrollTick();
  void MorphTick();
  int ItemHeight(const TbsSkinMenuItem& item) const;
  void DrawItem(QPainter& p, TbsSkinMenuItem& item);
  void DrawGlyph(QPainter& p, const TbsSkinMenuItem& item, const QRect& column, const QColor& color);
  QImage ItemImage(const TbsSkinMenuItem& item, bool selected) const;
  void BuildRegion();

  QPointer<TbsSkinMenu> FDriver;
  QPointer<QMenu> FMenu;
  // Copies of the skin's parts: a skin that changes while the menu is open
  // cannot pull the pictures from under it.
  std::unique_ptr<TbsDataSkinPopupWindow> FPopupSkin;
  QImage FWindowPicture;
  QImage FMaskPicture;
  std::unique_ptr<TbsDataSkinMenuItem> FItemSkin;
  QImage FItemPicture;
  mutable QImage FItemImages[3];  // normal, selected, divider
  mutable int FItemImageWidth = -1;
  QImage FBackground;
  std::vector<std::unique_ptr<TbsSkinMenuItem>> FItems;
  int FLevel;
  bool FHasIcons = false;
  int FGlyphWidth = 16;
  QFont FFont;
  QFontMetrics FMetrics{QFont()};
  QPalette FPalette;
  QRect FItemsRect;
  bool FScrolling = false;
  bool FScrollForced = false;
  int FFirstVisible = 0;
  int FVisibleCount = 0;
  int FScrollDirection = 0;
  int FActive = -1;
  int FOldActive = -1;
  QPoint FLastMouse{-100000, -100000};
  QTimer FMouseTimer;
  QTimer FScrollTimer;
  QTimer FMorphTimer;
  QTimer FFadeTimer;
};

class TbsSkinMenu : public QObject {
public:
  // The form receives SKN_MENUCLOSED; its moves, resizes and deactivation
  // close an open menu.
  explicit TbsSkinMenu(QWidget* form);
  ~TbsSkinMenu() override;

  // Shows the menu's items from firstIndex at the anchor (screen coordinates).
  // The requester (may be null) gets SKN_MENUCLOSED and SKN_MENUCOMMANDDONE.
  void Popup(QWidget* requester, TbsSkinData* skin, QMenu* menu, const QRect& anchor,
             bool popupUp = false, int firstIndex = 0);
  // Closes every window; sends SKN_MENUCLOSED.
  void CloseAll();
  // Closes the windows of this level and above.
  void CloseLevel(int level);

  bool Visible() const { return FVisible; }
  bool FirstPopup() const { return FFirstPopup; }
  // Open windows, root first.
  std::vector<TbsSkinPopupWindow*> Windows() const;
  TbsSkinPopupWindow* TopWindow() const;
  QWidget* Form() const { return FForm; }
  QRect WorkArea() const { return FWorkArea; }

  int MaxMenuItemsInWindow = 0;
  bool UseSkinFont = true;
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  int AlphaBlendValue = 150;
  int DefaultItemHeight = 20;
  QFont DefaultItemFont;
  // Kept for an owner that wants another work area than the form's screen's.
  QRect WorkAreaOverride;

  // The window's item with children was entered: its submenu opens after
  // 500 ms unless the selection moves on.
  void ArmWait(TbsSkinPopupWindow* window, int index);
  void DisarmWait();
  bool WaitArmed() const { return FWaitTimer.isActive(); }
  // Opens the submenu of a window's item beside it.
  void OpenSubmenu(TbsSkinPopupWindow* window, int index);
  // Runs an item: a leaf closes the menus and triggers its action; an item
  // with children opens its submenu.
  void RunItem(TbsSkinPopupWindow* window, int index);
  // The open window (topmost level first) whose frame holds the screen point.
  TbsSkinPopupWindow* WindowAt(QPoint global) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void WaitElapsed();
  void CheckFormActivity();
  void Notify(QObject* to, int message);
  // Closes the windows of this level and above without any message.
  void DropWindows(int level);
  void SetFilters(bool on);

  QPointer<QWidget> FForm;
  QPointer<QWidget> FRequester;
  QPointer<TbsSkinData> FSkinData;
  std::vector<QPointer<TbsSkinPopupWindow>> FWindows;
  QTimer FWaitTimer;
  QPointer<TbsSkinPopupWindow> FWaitWindow;
  int FWaitIndex = -1;
  bool FVisible = false;
  bool FFirstPopup = false;
  bool FFilterInstalled = false;
  QRect FWorkArea;
};
