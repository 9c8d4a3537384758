// The frame's geometry without a window: the built-in skin's non-client
// sizes and hit-test table at several window sizes, the plain frame's
// metrics, size limits, the fallback for unusable skins, maximised bounds,
// dragging, and the window region against a per-pixel reference (also for
// a mask of more than 10,000 runs).

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsFrameGeometry.h"
#include "skin/bsFramePaint.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinFrameHost.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

class FrameGeometry : public ::testing::Test {
protected:
  void SetUp() override {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    Skin.LoadStoredSkin(stored);
    ASSERT_FALSE(Skin.SkinEmpty);
  }

  int Hit(int w, int h, TbsPoint p, TbsFrameState state = {}) {
    TbsHitTestInput in;
    in.Skin = &Skin;
    in.Layout = bsComputeFrameLayout(Skin, w, h);
    in.State = state;
    const QRegion region = bsFrameRegion(Skin, in.Layout);
    in.HasRegion = !region.isEmpty();
    in.InRegion = [region](TbsPoint q) { return region.contains(QPoint(q.X, q.Y)); };
    const TbsRect caption = in.Layout.CaptionRect;
    in.ObjectAt = [caption](TbsPoint q) {
      return q.X >= caption.Left && q.X < caption.Right && q.Y >= caption.Top && q.Y < caption.Bottom
                 ? TbsObjectHit::Caption
                 : TbsObjectHit::None;
    };
    return bsSkinHitTest(in, p);
  }

  TbsSkinData Skin;
};

// The pixel of the mask that a window pixel comes from: ends kept at the
// corner points, middles repeated from the strip's start, the mask
// rectangle wholly inside.
bool ReferenceInside(const TbsSkinContent& s, int W, int H, int x, int y) {
  const QImage& m = s.FrameMask;
  const int PW = m.width(), PH = m.height(), dx = W - PW, dy = H - PH;
  const TbsRect& r = s.maskrectarea;
  if (x >= r.Left && x < r.Right + dx && y >= r.Top && y < r.Bottom + dy) return true;
  auto mapX = [&](int ltX, int rtX) {
    if (x < ltX) return x;
    if (x >= W - (PW - rtX)) return x - dx;
    return ltX + x % (rtX - ltX);
  };
  int sx = 0, sy = 0;
  if (y < r.Top) {
    sy = y;
    sx = mapX(s.lefttoppoint.X, s.righttoppoint.X);
  } else if (y >= H - (PH - r.Bottom)) {
    sy = y - dy;
    sx = mapX(s.leftbottompoint.X, s.rightbottompoint.X);
  } else {
    const bool left = x < r.Left;
    sx = left ? x : x - dx;
    const int topY = left ? s.lefttoppoint.Y : s.righttoppoint.Y;
    const int bottomY = left ? s.leftbottompoint.Y : s.rightbottompoint.Y;
    const int yy = y - r.Top, sideH = H - r.Top - (PH - r.Bottom);
    const int topEnd = topY - r.Top, bottomEnd = r.Bottom - bottomY;
    if (yy < topEnd) sy = r.Top + yy;
    else if (yy >= sideH - bottomEnd) sy = bottomY + (yy - (sideH - bottomEnd));
    else sy = topY + yy % (bottomY - topY);
  }
  return (m.pixel(sx, sy) & 0xFFFFFFu) == 0;
}

void ExpectRegionMatchesReference(const TbsSkinContent& s, int W, int H) {
  const QRegion region = bsFrameRegion(s, bsComputeFrameLayout(s, W, H));
  int mismatches = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (region.contains(QPoint(x, y)) != ReferenceInside(s, W, H, x, y) && ++mismatches < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " at " << W << "x" << H;
  EXPECT_EQ(mismatches, 0);
  EXPECT_TRUE((region - QRegion(0, 0, W, H)).isEmpty()) << "nothing outside the window";
}

}  // namespace

TEST_F(FrameGeometry, BuiltinSkinInsetsAndLayoutAtSeveralSizes) {
  // The built-in frame picture is 160 x 100 with its client at 4,30-156,96.
  ASSERT_EQ(Skin.FramePicture.size(), QSize(160, 100));
  EXPECT_EQ(bsSkinnedNonClient(Skin), (TbsMargins{4, 30, 4, 4}));
  for (const QSize size : {QSize(160, 100), QSize(753, 520), QSize(1280, 800), QSize(161, 71)}) {
    const TbsFrameLayout l = bsComputeFrameLayout(Skin, size.width(), size.height());
    EXPECT_EQ(l.ClientRect, (TbsRect{4, 30, size.width() - 4, size.height() - 4}));
    EXPECT_EQ(l.CaptionRect, (TbsRect{5, 4, size.width() - 5, 26}));
    EXPECT_EQ(l.HitTestRightBottom, (TbsPoint{size.width() - 10, size.height() - 10}));
    EXPECT_EQ(l.MaskRect, (TbsRect{4, 8, size.width() - 4, size.height() - 4}));
  }
}

TEST_F(FrameGeometry, HitTestTableOfTheBuiltinSkin) {
  struct Row {
    int x, y, code;
  };
  for (const QSize size : {QSize(753, 520), QSize(160, 100), QSize(1280, 800)}) {
    const int W = size.width(), H = size.height();
    const Row rows[] = {
        {3, 3, bsHtTopLeft},         {W - 4, 3, bsHtTopRight},      {2, H - 2, bsHtBottomLeft},
        {W - 1, H - 1, bsHtBottomRight}, {W / 2, 0, bsHtTop},       {W / 2, 2, bsHtTop},
        {W / 2, H - 1, bsHtBottom},  {0, H / 2 + 5, bsHtLeft},      {3, H / 2 + 5, bsHtLeft},
        {W - 1, H / 2 + 5, bsHtRight}, {W / 2, 15, bsHtCaption},    {W / 2, H / 2 + 20, bsHtClient},
        {W / 2, 28, bsHtFrame},
    };
    for (const Row& r : rows)
      EXPECT_EQ(Hit(W, H, {r.x, r.y}), r.code) << r.x << "," << r.y << " at " << W << "x" << H;
  }
  // Maximised or fixed: no sizing edges; the band is the frame's own.
  TbsFrameState maximized;
  maximized.Maximized = true;
  TbsFrameState fixed;
  fixed.Sizeable = false;
  for (const TbsFrameState& s : {maximized, fixed}) {
    EXPECT_EQ(Hit(753, 520, {0, 300}, s), bsHtFrame);
    EXPECT_EQ(Hit(753, 520, {376, 15}, s), bsHtCaption);
    EXPECT_EQ(Hit(753, 520, {376, 300}, s), bsHtClient);
  }
  // Rolled up: only the caption moves it; nothing is client.
  TbsFrameState rolled;
  rolled.RolledUp = true;
  EXPECT_EQ(Hit(753, 70, {376, 15}, rolled), bsHtCaption);
  EXPECT_EQ(Hit(753, 70, {376, 50}, rolled), bsHtFrame);
  EXPECT_EQ(Hit(753, 70, {0, 50}, rolled), bsHtFrame);
}

TEST(FrameGeometryPlain, UnskinnedMetricsHitTestAndButtons) {
  EXPECT_EQ(bsUnskinnedNonClient(false), (TbsMargins{3, 22, 3, 3}));
  EXPECT_EQ(bsUnskinnedNonClient(true), (TbsMargins{3, 18, 3, 3}));
  const TbsFrameState s;
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {0, 0}), bsHtTopLeft);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {398, 299}), bsHtBottomRight);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {1, 150}), bsHtLeft);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {398, 150}), bsHtRight);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {200, 2}), bsHtTop);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {200, 298}), bsHtBottom);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {200, 10}), bsHtCaption);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, s, {200, 100}), bsHtClient);
  TbsFrameState max;
  max.Maximized = true;
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, max, {0, 150}), bsHtFrame);
  EXPECT_EQ(bsUnskinnedHitTest(400, 300, max, {200, 10}), bsHtCaption);

  const auto b = bsUnskinnedButtons(400, s, biSystemMenu | biMinimize | biMaximize, false);
  ASSERT_EQ(b.size(), 4u);
  EXPECT_EQ(b[0].Name, "closebutton");
  EXPECT_EQ(b[0].Rect, (TbsRect{380, 4, 397, 21}));
  EXPECT_EQ(b[1].Name, "maxbutton");
  EXPECT_EQ(b[1].Rect.Right, 380);
  EXPECT_EQ(b[2].Name, "minbutton");
  EXPECT_EQ(b[3].Name, "sysmenubutton");
  EXPECT_EQ(b[3].Rect, (TbsRect{3, 4, 20, 21}));
  EXPECT_EQ(bsUnskinnedButtons(400, s, 31, false).size(), 6u);
  EXPECT_TRUE(bsUnskinnedButtons(400, s, 31, true).empty());
}

TEST_F(FrameGeometry, SizeLimits) {
  const TbsFrameState normal;
  EXPECT_EQ(bsFrameMinSize(&Skin, {}, normal), (TbsSize{160, 34}));
  EXPECT_EQ(bsFrameMinSize(&Skin, {300, 200, 0, 0}, normal), (TbsSize{300, 200}));
  TbsFrameState rolled;
  rolled.RolledUp = true;
  EXPECT_EQ(bsFrameMinSize(&Skin, {300, 200, 0, 0}, rolled), (TbsSize{300, 34}));
  TbsFrameState minimized;
  minimized.Minimized = true;
  EXPECT_EQ(bsFrameMinSize(&Skin, {300, 200, 0, 0}, minimized), (TbsSize{160, 34}));
  EXPECT_EQ(bsFrameMinSize(nullptr, {}, normal), (TbsSize{120, 25}));
  EXPECT_EQ(bsFrameMinSize(nullptr, {0, 40, 0, 0}, normal), (TbsSize{120, 40}));
  EXPECT_EQ(bsFrameMaxSize({0, 0, 1920, 1040}, {}), (TbsSize{1920, 1040}));
  EXPECT_EQ(bsFrameMaxSize({0, 0, 1920, 1040}, {0, 0, 800, 0}), (TbsSize{800, 1040}));

  // Dragging an edge never goes below the minimum; the opposite edge stays.
  const TbsRect start{100, 100, 600, 400};
  EXPECT_EQ(bsDragBounds(bsHtCaption, start, {10, 10}, {30, 5}, {160, 34}, {1920, 1040}),
            (TbsRect{120, 95, 620, 395}));
  EXPECT_EQ(bsDragBounds(bsHtRight, start, {600, 200}, {100, 200}, {160, 34}, {1920, 1040}),
            (TbsRect{100, 100, 260, 400}));
  EXPECT_EQ(bsDragBounds(bsHtTopLeft, start, {100, 100}, {90, 500}, {160, 34}, {1920, 1040}),
            (TbsRect{90, 366, 600, 400}));
  EXPECT_EQ(bsDragBounds(bsHtBottomRight, start, {600, 400}, {5000, 5000}, {160, 34}, {1000, 700}),
            (TbsRect{100, 100, 1100, 800}));
  EXPECT_EQ(bsSnapToArea({3, 50, 503, 350}, {0, 0, 1000, 700}, 5), (TbsRect{0, 50, 500, 350}));
  EXPECT_EQ(bsSnapToArea({5, 50, 505, 350}, {0, 0, 1000, 700}, 5), (TbsRect{5, 50, 505, 350}));
  EXPECT_EQ(bsSnapToArea({498, 398, 998, 698}, {0, 0, 1000, 700}, 5), (TbsRect{500, 400, 1000, 700}));
}

TEST_F(FrameGeometry, UnusableSkinsFallBackToThePlainFrame) {
  EXPECT_TRUE(bsSkinFrameUsable(Skin, 1920, 1080));
  EXPECT_FALSE(bsSkinFrameUsable(Skin, 150, 1080)) << "frame picture wider than the screen";
  EXPECT_FALSE(bsSkinFrameUsable(Skin, 1920, 90)) << "frame picture taller than the screen";
  TbsSkinContent c;
  c.FramePicture = QImage(100, 80, QImage::Format_RGB32);
  c.clientrect = TbsRect{10, 20, 90, 70};
  EXPECT_TRUE(bsSkinFrameUsable(c, 1920, 1080));
  c.clientrect = TbsRect{10, 20, 10, 70};
  EXPECT_FALSE(bsSkinFrameUsable(c, 1920, 1080)) << "empty";
  c.clientrect = TbsRect{90, 70, 10, 20};
  EXPECT_FALSE(bsSkinFrameUsable(c, 1920, 1080)) << "inverted";
  c.clientrect = TbsRect{10, 20, 120, 70};
  EXPECT_FALSE(bsSkinFrameUsable(c, 1920, 1080)) << "outside the picture";
  c.FramePicture = QImage();
  c.clientrect = TbsRect{10, 20, 90, 70};
  EXPECT_FALSE(bsSkinFrameUsable(c, 1920, 1080)) << "no picture";
}

TEST(FrameGeometryPlain, MaximisedBoundsLeaveAPixelWhenTheWorkAreaIsTheScreen) {
  EXPECT_EQ(bsMaximizedBounds({0, 0, 1920, 1040}, {0, 0, 1920, 1080}, false), (TbsRect{0, 0, 1920, 1040}));
  EXPECT_EQ(bsMaximizedBounds({0, 0, 1920, 1080}, {0, 0, 1920, 1080}, false), (TbsRect{1, 1, 1919, 1079}));
  EXPECT_EQ(bsMaximizedBounds({0, 0, 1920, 1040}, {0, 0, 1920, 1080}, true), (TbsRect{1, 1, 1919, 1079}));
}

TEST_F(FrameGeometry, RegionOfTheBuiltinMaskCutsTheCorners) {
  const int W = 753, H = 520;
  const QRegion region = bsFrameRegion(Skin, bsComputeFrameLayout(Skin, W, H));
  // Rows 0..6 lose one to seven pixels at each top corner.
  for (int y = 0; y < 7; ++y) {
    int cut = 0;
    while (cut < 20 && !region.contains(QPoint(cut, y))) ++cut;
    EXPECT_GE(cut, 1) << "row " << y;
    EXPECT_LE(cut, 7) << "row " << y;
    EXPECT_FALSE(region.contains(QPoint(W - 1, y))) << "row " << y;
    EXPECT_TRUE(region.contains(QPoint(W / 2, y))) << "row " << y;
  }
  EXPECT_FALSE(region.contains(QPoint(0, 0)));
  EXPECT_TRUE(region.contains(QPoint(0, 10)));
  EXPECT_TRUE(region.contains(QPoint(W - 1, H - 1)));
  for (const QSize s : {QSize(753, 520), QSize(160, 100), QSize(161, 101), QSize(297, 35)})
    ExpectRegionMatchesReference(Skin, s.width(), s.height());
}

TEST(FrameGeometryPlain, RegionOfAMaskWithMoreThanTenThousandRuns) {
  // A checkerboard frame band: every pixel is a run of its own.
  TbsSkinContent c;
  c.FramePicture = QImage(400, 400, QImage::Format_RGB32);
  c.FramePicture.fill(Qt::gray);
  c.FrameMask = QImage(400, 400, QImage::Format_RGB32);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) c.FrameMask.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
  c.clientrect = c.maskrectarea = TbsRect{20, 20, 380, 380};
  c.lefttoppoint = {40, 40};
  c.righttoppoint = {360, 40};
  c.leftbottompoint = {40, 360};
  c.rightbottompoint = {360, 360};
  std::vector<QRect> runs;
  bsAppendBlackRuns(c.FrameMask, 0, 0, runs);
  EXPECT_EQ(runs.size(), 400u * 200u);
  const QRegion region = bsFrameRegion(c, bsComputeFrameLayout(c, 400, 400));
  EXPECT_GT(region.rectCount(), 10000);
  ExpectRegionMatchesReference(c, 400, 400);
  ExpectRegionMatchesReference(c, 517, 433);
}

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
