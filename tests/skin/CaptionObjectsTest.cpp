// The caption objects on the built-in skin, driven through a fake frame:
// placement against the skin's own numbers, "..." shortening, commands only
// for a release over the pressed button, the five-tick morph, custom objects,
// and a close that frees everything under the objects' feet.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinFrameObjects.h"
#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

class TFakeFrame : public TbsSkinFrameHost {
public:
  bool Active = true, Maximized = false, Minimized = false;
  QString Caption = QStringLiteral("Tellivo Rasp");
  int Closes = 0, Maximizes = 0, Minimizes = 0, Restores = 0, RollUps = 0, Trays = 0, SysMenus = 0;
  QRect SysMenuAt;
  std::function<void()> OnClose;
  std::function<bool(const QString&, bool&)> Custom;
  QStringList Hints;

  bool FormActive() const override { return Active; }
  bool FormMaximized() const override { return Maximized; }
  bool FormMinimized() const override { return Minimized; }
  QString FormCaption() const override { return Caption; }
  void FrameClose() override {
    ++Closes;
    if (OnClose) OnClose();
  }
  void FrameMaximize() override { ++Maximizes; }
  void FrameMinimize() override { ++Minimizes; }
  void FrameRestore() override { ++Restores; }
  void FrameToggleRollUp() override { ++RollUps; }
  void FrameMinimizeToTray() override { ++Trays; }
  void FrameShowSystemMenu(const QRect& r) override {
    ++SysMenus;
    SysMenuAt = r;
  }
  void FrameRedraw(const QRect&) override {}
  void FrameShowHint(const QString& h) override { Hints << h; }
  bool FrameActivateCustomObject(const QString& id, bool& visible) override {
    return Custom ? Custom(id, visible) : false;
  }
};

class CaptionObjects : public ::testing::Test {
protected:
  void SetUp() override {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    Skin.LoadStoredSkin(stored);
    ASSERT_FALSE(Skin.SkinEmpty);
  }
  TbsFrameObjectOptions MainWindowOptions() {
    TbsFrameObjectOptions o;
    o.BorderIcons = biSystemMenu | biMinimize | biMaximize;
    return o;
  }
  const TbsDataSkinStdButton& Data(const char* name) {
    return dynamic_cast<const TbsDataSkinStdButton&>(*Skin.SkinObjects[std::size_t(Skin.IndexOfObject(name))]);
  }
  QImage Render(TbsSkinFrameObjects& objects, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    objects.Draw(p, true);
    return img;
  }
  TbsSkinData Skin;
  TFakeFrame Frame;
};

TEST_F(CaptionObjects, BuiltinSkinLaysOutCaptionBetweenSystemMenuAndMinimise) {
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  const int W = 500, H = 300;
  const TbsFrameLayout layout = bsComputeFrameLayout(Skin, W, H);
  objects.Place(layout);

  // Numbers read from the skin itself.
  const TbsRect cap = Skin.captionrect;
  const int dx = W - Skin.FramePicture.width();
  const int gap = Skin.buttonsoffset;
  ASSERT_TRUE(Skin.buttonsrect.IsEmpty());
  EXPECT_EQ(gap, 2);
  auto* close = objects.FindCommand(TbsCommand::cmClose);
  auto* max = objects.FindCommand(TbsCommand::cmMaximize);
  auto* min = objects.FindCommand(TbsCommand::cmMinimize);
  auto* sys = objects.FindCommand(TbsCommand::cmSysMenu);
  ASSERT_TRUE(close && max && min && sys);
  EXPECT_EQ(close->ObjectRect, QRect(cap.Right + dx - Data("closebutton").skinrect.Width(), cap.Top,
                                     Data("closebutton").skinrect.Width(), Data("closebutton").skinrect.Height()));
  EXPECT_EQ(max->ObjectRect.right() + 1 + gap, close->ObjectRect.left());
  EXPECT_EQ(min->ObjectRect.right() + 1 + gap, max->ObjectRect.left());
  EXPECT_EQ(max->ObjectRect.top(), cap.Top);
  EXPECT_EQ(sys->ObjectRect.left(), cap.Left);
  EXPECT_EQ(sys->ObjectRect.top(), cap.Top + cap.Height() / 2 - Data("sysmenubutton").skinrect.Height() / 2);
  EXPECT_EQ(sys->ObjectRect.size(), QSize(Data("sysmenubutton").skinrect.Width(), Data("sysmenubutton").skinrect.Height()));

  TbsSkinCaptionObject* caption = objects.Caption();
  ASSERT_TRUE(caption);
  EXPECT_EQ(caption->ObjectRect.left(), sys->ObjectRect.right() + 1);
  EXPECT_EQ(caption->ObjectRect.right() + 1, min->ObjectRect.left());
  EXPECT_EQ(caption->ObjectRect.top(), cap.Top);

  // Roll-up and tray are not among the main window's icons; their images lie
  // in an active picture, so they are hidden.
  for (TbsCommand c : {TbsCommand::cmRollUp, TbsCommand::cmMinimizeToTray}) {
    EXPECT_FALSE(objects.FindCommand(c)->Visible);
    EXPECT_FALSE(objects.FindCommand(c)->Enabled);
  }
  for (auto* b : {close, max, min, sys}) EXPECT_TRUE(b->Visible && b->Enabled);

  // The buttons follow the right edge when the window grows.
  objects.Place(bsComputeFrameLayout(Skin, W + 37, H));
  EXPECT_EQ(close->ObjectRect.right() + 1, cap.Right + dx + 37);
  EXPECT_EQ(sys->ObjectRect.left(), cap.Left);
}

TEST_F(CaptionObjects, HideCaptionButtonsAndHintTexts) {
  TbsFrameObjectOptions o = MainWindowOptions();
  o.HideCaptionButtons = true;
  TbsSkinFrameObjects objects(Frame, o);
  objects.Build(&Skin);
  for (auto& obj : objects.Objects()) {
    if (dynamic_cast<TbsSkinStdButtonObject*>(obj.get())) {
      EXPECT_FALSE(obj->Visible) << obj->IDName.toStdString();
    }
  }
  o.HideCaptionButtons = false;
  objects.SetOptions(o);
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmClose)->Hint, "Close");
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmMaximize)->Hint, "Maximize");
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmMinimize)->Hint, "Minimize");
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmSysMenu)->Hint, "System menu");
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmRollUp)->Hint, "Roll Up");
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmMinimizeToTray)->Hint, "Minimize to Tray");
  TbsResourceStrData res;
  res.SetResStr("CLOSEBUTTON_HINT", "Schliessen");
  Skin.SetResourceStrData(&res);
  objects.UpdateHints();
  EXPECT_EQ(objects.FindCommand(TbsCommand::cmClose)->Hint, "Schliessen");
  Skin.SetResourceStrData(nullptr);
}

TEST_F(CaptionObjects, LongCaptionEndsInDots) {
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 300, 200));
  TbsSkinCaptionObject* caption = objects.Caption();
  Frame.Caption = QStringLiteral("Rasp");
  EXPECT_EQ(caption->DrawnText(), "Rasp");
  Frame.Caption = QStringLiteral("Tellivo Rasp - a caption far longer than the little caption bar");
  const QString drawn = caption->DrawnText();
  EXPECT_TRUE(drawn.endsWith("...")) << drawn.toStdString();
  EXPECT_TRUE(Frame.Caption.startsWith(drawn.chopped(3)));
  EXPECT_LE(QFontMetrics(caption->Font).horizontalAdvance(drawn), caption->TextArea().width());
  EXPECT_GT(caption->TextArea().width(), 0);
  // The text area is the skin's text rectangle, moved with the object and
  // grown as much as the object grew.
  const auto& data = dynamic_cast<const TbsDataSkinCaption&>(*Skin.SkinObjects[std::size_t(Skin.IndexOfObject("caption"))]);
  EXPECT_EQ(caption->TextArea().left(), caption->ObjectRect.left() + data.textrect.Left);
  EXPECT_EQ(caption->TextArea().width(), data.textrect.Width() + caption->ObjectRect.width() - data.skinrect.Width());
}

TEST_F(CaptionObjects, CloseRunsOnlyForAReleaseOverThePressedButton) {
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  const QRect close = objects.FindCommand(TbsCommand::cmClose)->ObjectRect;
  const QPoint outside = close.center() - QPoint(0, close.height());

  objects.MouseDownAt(close.center(), Qt::LeftButton);
  EXPECT_TRUE(objects.FindCommand(TbsCommand::cmClose)->FDown);
  objects.MouseMoveAt(outside);
  EXPECT_FALSE(objects.FindCommand(TbsCommand::cmClose)->MouseIn);
  objects.MouseUpAt(outside, Qt::LeftButton);
  EXPECT_EQ(Frame.Closes, 0);
  EXPECT_FALSE(objects.FindCommand(TbsCommand::cmClose)->FDown);

  // Pressing elsewhere and releasing over the button does nothing either.
  const QRect max = objects.FindCommand(TbsCommand::cmMaximize)->ObjectRect;
  objects.MouseDownAt(max.center(), Qt::LeftButton);
  objects.MouseUpAt(close.center(), Qt::LeftButton);
  EXPECT_EQ(Frame.Closes, 0);
  EXPECT_EQ(Frame.Maximizes, 0);

  // Out and back in while held: the release runs it.
  objects.MouseDownAt(close.center(), Qt::LeftButton);
  objects.MouseMoveAt(outside);
  objects.MouseMoveAt(close.center());
  objects.MouseUpAt(close.center(), Qt::LeftButton);
  EXPECT_EQ(Frame.Closes, 1);
}

TEST_F(CaptionObjects, CommandsFollowTheWindowState) {
  TbsFrameObjectOptions o = MainWindowOptions();
  TbsSkinFrameObjects objects(Frame, o);
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  auto click = [&](TbsCommand c) {
    const QPoint at = objects.FindCommand(c)->ObjectRect.center();
    objects.MouseDownAt(at, Qt::LeftButton);
    objects.MouseUpAt(at, Qt::LeftButton);
  };
  click(TbsCommand::cmMaximize);
  EXPECT_EQ(Frame.Maximizes, 1);
  Frame.Maximized = true;
  click(TbsCommand::cmMaximize);
  EXPECT_EQ(Frame.Restores, 1);
  click(TbsCommand::cmMinimize);
  EXPECT_EQ(Frame.Minimizes, 1);
  o.AlwaysMinimizeToTray = true;
  objects.SetOptions(o);
  click(TbsCommand::cmMinimize);
  EXPECT_EQ(Frame.Trays, 1);

  // The system-menu button opens the menu below itself and stays pressed
  // until the menu closes; a double click closes the form.
  auto* sys = objects.FindCommand(TbsCommand::cmSysMenu);
  objects.MouseDownAt(sys->ObjectRect.center(), Qt::LeftButton);
  EXPECT_EQ(Frame.SysMenus, 1);
  EXPECT_EQ(Frame.SysMenuAt, sys->ObjectRect);
  objects.MouseUpAt(sys->ObjectRect.center(), Qt::LeftButton);
  EXPECT_TRUE(sys->FDown);
  objects.SystemMenuClosed();
  EXPECT_FALSE(sys->FDown);
  objects.DblClickAt(sys->ObjectRect.center());
  EXPECT_EQ(Frame.Closes, 1);

  // The caption stays active while the mouse crosses it.
  objects.MouseMoveAt(objects.Caption()->ObjectRect.center());
  objects.MouseMoveAt(QPoint(200, 200));
  EXPECT_TRUE(objects.Caption()->Active);

  // An inactive form tracks nothing.
  Frame.Active = false;
  objects.FormActivityChanged();
  objects.MouseMoveAt(objects.FindCommand(TbsCommand::cmClose)->ObjectRect.center());
  EXPECT_EQ(objects.ActiveIndex(), -1);
  EXPECT_FALSE(objects.Caption()->Active);
}

TEST_F(CaptionObjects, HoverImageIsReachedAfterFiveMorphTicks) {
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  auto* max = objects.FindCommand(TbsCommand::cmMaximize);
  ASSERT_TRUE(max->Morphing);
  const QRect r = max->ObjectRect;
  const QImage& picture = *max->ActivePicture;
  const QImage normal = picture.copy(bsToQRect(max->SkinRect)).convertToFormat(QImage::Format_RGB32);
  const QImage hover = picture.copy(bsToQRect(max->ActiveSkinRect)).convertToFormat(QImage::Format_RGB32);
  ASSERT_NE(normal, hover);
  auto shown = [&] { return Render(objects, 400, 60).copy(r); };

  EXPECT_EQ(shown(), normal);
  objects.MouseMoveAt(r.center());
  EXPECT_TRUE(objects.MorphTimerRunning());
  EXPECT_EQ(shown(), normal);  // factor 0 still shows the normal image
  for (int tick = 1; tick <= 4; ++tick) {
    objects.MorphTick();
    EXPECT_NE(shown(), hover) << tick;
    EXPECT_NE(shown(), normal) << tick;
  }
  objects.MorphTick();
  EXPECT_EQ(max->MorphKf, 1.0);
  EXPECT_EQ(shown(), hover);
  objects.MorphTick();
  EXPECT_FALSE(objects.MorphTimerRunning());

  // Leaving runs the morph back down.
  objects.MouseMoveAt(QPoint(200, 200));
  for (int tick = 0; tick < 5; ++tick) objects.MorphTick();
  EXPECT_EQ(max->MorphKf, 0.0);
  EXPECT_EQ(shown(), normal);
}

TEST_F(CaptionObjects, ButtonsDrawTheirStateImagesAndTheCaptionItsText) {
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  auto* close = objects.FindCommand(TbsCommand::cmClose);
  auto* max = objects.FindCommand(TbsCommand::cmMaximize);
  const QImage& picture = *close->ActivePicture;
  auto part = [&](const TbsRect& r) { return picture.copy(bsToQRect(r)).convertToFormat(QImage::Format_RGB32); };
  auto shown = [&](TbsActiveSkinObject* o) { return Render(objects, 400, 60).copy(o->ObjectRect); };
  EXPECT_EQ(shown(close), part(close->SkinRect));
  // Pressed with the mouse over it: the down image.
  objects.MouseDownAt(close->ObjectRect.center(), Qt::LeftButton);
  EXPECT_EQ(shown(close), part(close->DownRect));
  objects.MouseMoveAt(QPoint(200, 200));
  EXPECT_EQ(shown(close), part(close->SkinRect));
  objects.MouseUpAt(QPoint(200, 200), Qt::LeftButton);
  // Maximised: the restore images.
  Frame.Maximized = true;
  EXPECT_EQ(shown(max), part(max->RestoreRect));
  // Inactive form: the inactive images.
  Frame.Active = false;
  objects.FormActivityChanged();
  EXPECT_EQ(shown(close), part(close->InActiveSkinRect));
  EXPECT_EQ(shown(max), part(max->RestoreInActiveRect));

  // The caption text in the active colour, inside the text area only.
  Frame.Active = true;
  objects.FormActivityChanged();
  const QImage img = Render(objects, 400, 60);
  const QRect area = objects.Caption()->TextArea();
  const QColor ink = bsQColor(dynamic_cast<const TbsDataSkinCaption&>(
      *Skin.SkinObjects[std::size_t(Skin.IndexOfObject("caption"))]).activefontcolor);
  int inside = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 400; ++x)
      if (QColor(img.pixel(x, y)) == ink) (area.adjusted(-1, -1, 1, 1).contains(x, y) ? inside : outside)++;
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(CaptionObjects, CustomObjectsNeedTheActivationHandler) {
  auto custom = std::make_unique<TbsDataSkinStdButton>("helpbutton");
  custom->command = TbsCommand::cmDefault;
  custom->activepictureindex = Data("closebutton").activepictureindex;
  custom->skinrectinapicture = true;
  custom->skinrect = Data("closebutton").skinrect;
  Skin.SkinObjects.push_back(std::move(custom));

  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  EXPECT_FALSE(objects.Find("helpbutton")->Visible);
  Frame.Custom = [](const QString& id, bool& visible) {
    visible = id == "helpbutton";
    return true;
  };
  objects.UpdateVisibility();
  EXPECT_TRUE(objects.Find("helpbutton")->Visible);
  // A visible custom object takes its place after the standard buttons.
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  EXPECT_EQ(objects.Find("helpbutton")->ObjectRect.right() + 1 + Skin.buttonsoffset,
            objects.FindCommand(TbsCommand::cmMinimize)->ObjectRect.left());
}

TEST_F(CaptionObjects, CloseThatFreesTheObjectsTouchesNothingAfterwards) {
  auto objects = std::make_unique<TbsSkinFrameObjects>(Frame, MainWindowOptions());
  objects->Build(&Skin);
  objects->Place(bsComputeFrameLayout(Skin, 400, 300));
  Frame.OnClose = [&] { objects.reset(); };
  const QPoint at = objects->FindCommand(TbsCommand::cmClose)->ObjectRect.center();
  objects->MouseDownAt(at, Qt::LeftButton);
  objects->MouseUpAt(at, Qt::LeftButton);  // ASan reports any use after the free
  EXPECT_EQ(Frame.Closes, 1);
  EXPECT_FALSE(objects);
}

TEST_F(CaptionObjects, HostileSkinRectanglesDrawNothingAndNeverCrash) {
  for (auto& o : Skin.SkinObjects) {
    o->skinrect = TbsRect{-50, -50, 100000, 3};
    o->activeskinrect = TbsRect{5, 5, 5, 900};
    o->inactiveskinrect = TbsRect{};
    if (&o == &Skin.SkinObjects.front()) o->activepictureindex = 9999;
  }
  TbsSkinFrameObjects objects(Frame, MainWindowOptions());
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 10, 10));
  Render(objects, 50, 50);
  objects.MouseMoveAt(QPoint(3, 3));
  for (int i = 0; i < 6; ++i) objects.MorphTick();
  Render(objects, 50, 50);
  Frame.Active = false;
  Render(objects, 50, 50);

  TbsSkinData empty;
  objects.Build(&empty);
  EXPECT_TRUE(objects.Objects().empty());
}

TEST_F(CaptionObjects, AnimationStepsItsFramesAndHintsFollowTheMouse) {
  auto anim = std::make_unique<TbsDataSkinAnimate>("logo");
  anim->activepictureindex = Data("closebutton").activepictureindex;
  anim->skinrectinapicture = true;
  anim->skinrect = TbsRect{0, 0, 10, 10};
  anim->activeskinrect = TbsRect{0, 0, 30, 10};
  anim->countframes = 3;
  anim->timerinterval = 10;  // raised to the 25 ms tick
  anim->buttonstyle = true;
  anim->command = TbsCommand::cmRollUp;
  Skin.SkinObjects.push_back(std::move(anim));
  TbsFrameObjectOptions o = MainWindowOptions();
  o.BorderIcons |= biRollUp;
  o.ShowObjectHint = true;
  TbsSkinFrameObjects objects(Frame, o);
  objects.Build(&Skin);
  objects.Place(bsComputeFrameLayout(Skin, 400, 300));
  auto* a = dynamic_cast<TbsSkinAnimateObject*>(objects.Find("logo"));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->TimerInterval, 25);
  ASSERT_TRUE(a->Visible);
  objects.MouseMoveAt(a->ObjectRect.center());
  EXPECT_EQ(a->Step, 1);
  objects.AnimationTick();
  objects.AnimationTick();
  EXPECT_EQ(a->Frame, 3);
  objects.AnimationTick();
  EXPECT_EQ(a->Frame, 3);  // no cycle: stops at the last frame
  EXPECT_EQ(a->Step, 0);
  objects.MouseDownAt(a->ObjectRect.center(), Qt::LeftButton);
  objects.MouseUpAt(a->ObjectRect.center(), Qt::LeftButton);
  EXPECT_EQ(Frame.RollUps, 1);
  objects.MouseMoveAt(objects.FindCommand(TbsCommand::cmClose)->ObjectRect.center());
  EXPECT_EQ(a->Step, -1);
  objects.AnimationTick();
  objects.AnimationTick();
  EXPECT_EQ(a->Frame, 1);
  EXPECT_EQ(Frame.Hints.back(), "Close");
}

TEST(FrameLayout, GrowsWithTheWindow) {
  TbsSkinContent skin;
  skin.FramePicture = QImage(100, 80, QImage::Format_RGB32);
  skin.lefttoppoint = {10, 30};
  skin.righttoppoint = {90, 30};
  skin.leftbottompoint = {10, 70};
  skin.rightbottompoint = {90, 70};
  skin.clientrect = TbsRect{5, 25, 95, 75};
  skin.captionrect = TbsRect{4, 3, 96, 21};
  skin.buttonsrect = TbsRect{60, 3, 96, 21};
  const TbsFrameLayout l = bsComputeFrameLayout(skin, 150, 100);
  EXPECT_EQ(l.RightTop, (TbsPoint{140, 30}));
  EXPECT_EQ(l.LeftBottom, (TbsPoint{10, 90}));
  EXPECT_EQ(l.RightBottom, (TbsPoint{140, 90}));
  EXPECT_EQ(l.ClientRect, (TbsRect{5, 25, 145, 95}));
  EXPECT_EQ(l.CaptionRect, (TbsRect{4, 3, 146, 21}));
  EXPECT_EQ(l.ButtonsRect, (TbsRect{110, 3, 146, 21}));  // right of the middle: moves
  skin.buttonsrect = TbsRect{50, 3, 70, 21};
  EXPECT_EQ(bsComputeFrameLayout(skin, 150, 100).ButtonsRect, skin.buttonsrect);  // 50 is not right of 50

  // Frame-picture rectangles anchor to their corner region or stretch.
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{1, 1, 8, 8}), (TbsRect{1, 1, 8, 8}));
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{92, 1, 98, 8}), (TbsRect{142, 1, 148, 8}));
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{1, 72, 8, 78}), (TbsRect{1, 92, 8, 98}));
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{92, 72, 98, 78}), (TbsRect{142, 92, 148, 98}));
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{4, 3, 96, 21}), (TbsRect{4, 3, 146, 21}));
  EXPECT_EQ(bsAnchorToFrame(skin, l, TbsRect{2, 2, 98, 78}), (TbsRect{2, 2, 148, 98}));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
