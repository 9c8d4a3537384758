// The piece image, size fitting and rectangle mapping, on plain pixels: exact
// results for the skins' usual layouts, a per-pixel reference for random
// nine-piece layouts, and hostile geometry that must stay inside its buffers.

#include "skinctrls/bsPieceImage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Every pixel of the picture names its own position.
TbsPixelImage Numbered(int w, int h)
{
    TbsPixelImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.Pixels[std::size_t(y * w + x)] = 0xFF000000u | std::uint32_t(y << 12) | std::uint32_t(x);
    return img;
}

std::uint32_t Src(int x, int y) { return 0xFF000000u | std::uint32_t(y << 12) | std::uint32_t(x); }

TbsPieceGeometry Nine(TbsRect s, TbsPoint lt, TbsPoint rt, TbsPoint lb, TbsPoint rb, TbsRect c)
{
    TbsPieceGeometry g{s, lt, rt, lb, rb, c, 0};
    g.Mode = bsPieceMode(s, rt, lb, rb);
    return g;
}

// The group box layout: L-shaped corners, the client reaching past the points.
TbsPieceGeometry GroupBox()
{
    return Nine({10, 5, 70, 65}, {7, 24}, {53, 24}, {7, 53}, {53, 53}, {2, 24, 58, 58});
}

TbsPixelImage Build(const TbsPixelImage& picture, const TbsPieceGeometry& g, int w, int h,
                    std::uint32_t fill = 0x12345678u)
{
    int iw = 0, ih = 0;
    bsPieceImageSize(g, w, h, iw, ih);
    TbsPixelImage out(iw, ih, fill);
    bsBuildPieceImage(out.Target(), picture.View(), g.SkinRect, g, w, h);
    return out;
}

// Where a destination coordinate takes its source along one axis when the
// middle [a, b) of a length n is repeated to fill length m.
int Axis(int d, int a, int b, int n, int m)
{
    const int dm = m - n;
    if (d < a)
        return d;
    if (d >= b + dm)
        return d - dm;
    return a + (d - a) % (b - a);
}

}  // namespace

TEST(PieceImage, NinePieceAtTheSkinSizeIsTheSkinRectangle)
{
    const TbsPixelImage pic = Numbered(80, 70);
    const TbsPieceGeometry g = GroupBox();
    const TbsPixelImage out = Build(pic, g, 60, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(out.At(x, y), Src(10 + x, 5 + y)) << x << "," << y;
}

TEST(PieceImage, OnePixelWiderRepeatsOneColumnOfTheEdgesAndTheClient)
{
    const TbsPixelImage pic = Numbered(80, 70);
    const TbsPieceGeometry g = GroupBox();
    const TbsPixelImage out = Build(pic, g, 61, 60);
    ASSERT_EQ(out.Width, 61);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 61; ++x) {
            int sx = x < 53 ? x : x - 1;
            if (y < 24 && x == 53)
                sx = 7;  // the top edge starts again
            else if (y >= 58 && x == 53)
                sx = 7;  // and so does the bottom edge
            else if (y >= 24 && y < 58 && x == 58)
                sx = 2;  // the client area's first column again
            else if (y >= 24 && y < 58 && x >= 53 && x < 58)
                sx = x;  // client columns before the cut stay where they were
            ASSERT_EQ(out.At(x, y), Src(10 + sx, 5 + y)) << x << "," << y;
        }
    }
}

TEST(PieceImage, NinePieceMatchesAPerPixelReferenceAtAnyLargerSize)
{
    std::mt19937 rng(14);
    const TbsPixelImage pic = Numbered(64, 64);
    for (int round = 0; round < 300; ++round) {
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const int sw = pick(3, 30), sh = pick(3, 30);
        const int sx = pick(0, 64 - sw), sy = pick(0, 64 - sh);
        const int l = pick(1, sw - 2), r = pick(l + 1, sw - 1);
        const int t = pick(1, sh - 2), b = pick(t + 1, sh - 1);
        const TbsPieceGeometry g =
            Nine({sx, sy, sx + sw, sy + sh}, {l, t}, {r, t}, {l, b}, {r, b}, {l, t, r, b});
        const int w = sw + pick(0, 40), h = sh + pick(0, 40);
        const TbsPixelImage out = Build(pic, g, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(out.At(x, y), Src(sx + Axis(x, l, r, sw, w), sy + Axis(y, t, b, sh, h)))
                    << "round " << round << " at " << x << "," << y;
    }
}

TEST(PieceImage, HorizontalEndsStayAndTheMiddleIsTiledAndCut)
{
    const TbsPixelImage pic = Numbered(60, 30);
    TbsPieceGeometry g{{0, 0, 40, 21}, {5, 0}, {35, 0}, {}, {}, {5, 3, 35, 18}, 0};
    g.Mode = bsPieceMode(g.SkinRect, g.RightTop, g.LeftBottom, g.RightBottom);
    ASSERT_EQ(g.Mode, pmHorizontal);
    const TbsPixelImage out = Build(pic, g, 100, 50);
    ASSERT_EQ(out.Width, 100);
    ASSERT_EQ(out.Height, 21);  // as high as the skin rectangle
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(out.At(x, y), Src(Axis(x, 5, 35, 40, 100), y)) << x;
}

TEST(PieceImage, HorizontalMiddleOfNoWidthRepeatsOneColumn)
{
    const TbsPixelImage pic = Numbered(30, 10);
    TbsPieceGeometry g{{0, 0, 20, 10}, {10, 0}, {10, 0}, {}, {}, {}, pmHorizontal};
    const TbsPixelImage out = Build(pic, g, 30, 10);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(out.At(x, 4), Src(x, 4));
    for (int x = 10; x < 20; ++x)
        EXPECT_EQ(out.At(x, 4), Src(10, 4)) << x;
    for (int x = 20; x < 30; ++x)
        EXPECT_EQ(out.At(x, 4), Src(x - 10, 4));
}

TEST(PieceImage, VerticalMiddleOfNoHeightDrawsNothingBetweenTheEnds)
{
    const TbsPixelImage pic = Numbered(19, 60);
    TbsPieceGeometry g{{0, 0, 19, 40}, {0, 17}, {}, {0, 17}, {}, {0, 17, 19, 17}, 0};
    g.Mode = bsPieceMode(g.SkinRect, g.RightTop, g.LeftBottom, g.RightBottom);
    ASSERT_EQ(g.Mode, pmVertical);
    const std::uint32_t untouched = 0xDEADBEEFu;
    const TbsPixelImage out = Build(pic, g, 50, 100, untouched);
    ASSERT_EQ(out.Width, 19);
    for (int y = 0; y < 17; ++y)
        EXPECT_EQ(out.At(3, y), Src(3, y));
    for (int y = 17; y < 100 - 23; ++y)
        EXPECT_EQ(out.At(3, y), untouched) << y;
    for (int y = 100 - 23; y < 100; ++y)
        EXPECT_EQ(out.At(3, y), Src(3, y - 60));
}

TEST(PieceImage, FixedCopiesTheSkinRectangle)
{
    const TbsPixelImage pic = Numbered(40, 40);
    TbsPieceGeometry g{{3, 4, 13, 10}, {}, {}, {}, {}, {}, pmFixed};
    const TbsPixelImage out = Build(pic, g, 99, 99);
    ASSERT_EQ(out.Width, 10);
    ASSERT_EQ(out.Height, 6);
    EXPECT_EQ(out.At(9, 5), Src(12, 9));
}

TEST(PieceImage, PieceModeFollowsThePoints)
{
    EXPECT_EQ(bsPieceMode({0, 0, 0, 10}, {5, 0}, {}, {}), pmNone);
    EXPECT_EQ(bsPieceMode({0, 0, 10, 10}, {5, 0}, {0, 5}, {5, 5}), pmNinePiece);
    EXPECT_EQ(bsPieceMode({0, 0, 10, 10}, {5, 0}, {0, 5}, {5, 0}), pmHorizontal);
    EXPECT_EQ(bsPieceMode({0, 0, 10, 10}, {}, {0, 5}, {}), pmVertical);
    EXPECT_EQ(bsPieceMode({0, 0, 10, 10}, {}, {}, {}), pmFixed);
}

TEST(FitSizeToSkin, EachModeAdjustsTheSizeAndTheCurrentGeometry)
{
    TbsPieceGeometry nine = GroupBox();
    int w = 100, h = 80;
    TbsCurrentGeometry c = bsFitSizeToSkin(nine, w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 80);
    EXPECT_EQ(c.LeftTop, (TbsPoint{7, 24}));
    EXPECT_EQ(c.RightTop, (TbsPoint{93, 24}));
    EXPECT_EQ(c.LeftBottom, (TbsPoint{7, 73}));
    EXPECT_EQ(c.RightBottom, (TbsPoint{93, 73}));
    EXPECT_EQ(c.ClientRect, (TbsRect{2, 24, 98, 78}));

    TbsPieceGeometry horizontal{{0, 0, 40, 21}, {5, 0}, {35, 0}, {}, {}, {5, 3, 35, 18}, pmHorizontal};
    w = 98, h = 20;
    c = bsFitSizeToSkin(horizontal, w, h);
    EXPECT_EQ(w, 98);
    EXPECT_EQ(h, 21);
    EXPECT_EQ(c.RightTop, (TbsPoint{93, 0}));
    EXPECT_EQ(c.ClientRect, (TbsRect{5, 3, 93, 18}));

    TbsPieceGeometry vertical{{0, 0, 19, 60}, {0, 17}, {}, {0, 43}, {}, {0, 17, 19, 43}, pmVertical};
    w = 30, h = 200;
    c = bsFitSizeToSkin(vertical, w, h);
    EXPECT_EQ(w, 19);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(c.LeftBottom, (TbsPoint{0, 183}));
    EXPECT_EQ(c.ClientRect, (TbsRect{0, 17, 19, 183}));

    TbsPieceGeometry fixed{{0, 0, 15, 9}, {}, {}, {}, {}, {1, 1, 14, 8}, pmFixed};
    w = 50, h = 50;
    c = bsFitSizeToSkin(fixed, w, h);
    EXPECT_EQ(w, 15);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(c.ClientRect, (TbsRect{1, 1, 14, 8}));

    TbsPieceGeometry none{{0, 0, 0, 0}, {}, {}, {}, {}, {}, pmNone};
    w = 50, h = 40;
    bsFitSizeToSkin(none, w, h);
    EXPECT_EQ(w, 50);
    EXPECT_EQ(h, 40);
}

TEST(MapSkinRect, NinePieceZones)
{
    // 60 × 60 skin, control 100 × 80: dw 40, dh 20.
    const TbsPieceGeometry g = Nine({0, 0, 60, 60}, {10, 10}, {50, 10}, {10, 50}, {50, 50}, {10, 10, 50, 50});
    auto map = [&](TbsRect r) { return bsMapSkinRect(g, 100, 80, r); };
    EXPECT_EQ(map({2, 2, 8, 8}), (TbsRect{2, 2, 8, 8}));          // inside the left-top corner
    EXPECT_EQ(map({52, 2, 58, 8}), (TbsRect{92, 2, 98, 8}));      // right-top: moves right
    EXPECT_EQ(map({2, 52, 8, 58}), (TbsRect{2, 72, 8, 78}));      // left-bottom: moves down
    EXPECT_EQ(map({52, 52, 58, 58}), (TbsRect{92, 72, 98, 78}));  // right-bottom: both
    EXPECT_EQ(map({5, 5, 55, 55}), (TbsRect{5, 5, 95, 75}));      // left-top to right-bottom: grows
    EXPECT_EQ(map({7, 0, 53, 10}), (TbsRect{7, 0, 93, 10}));      // left-top to right-top: wider
    EXPECT_EQ(map({5, 52, 55, 58}), (TbsRect{5, 72, 95, 78}));    // bottom edge: wider and down
    EXPECT_EQ(map({0, 5, 10, 55}), (TbsRect{0, 5, 10, 75}));      // left edge: higher
    EXPECT_EQ(map({52, 5, 58, 55}), (TbsRect{92, 5, 98, 75}));    // right edge: right and higher
    EXPECT_EQ(map({20, 20, 30, 30}), (TbsRect{20, 20, 30, 30}));  // the middle stays
    // A rectangle reaching exactly to a corner zone's right edge is not inside it.
    EXPECT_EQ(map({0, 0, 10, 10}), (TbsRect{0, 0, 10, 10}));
}

TEST(MapSkinRect, HorizontalAndVertical)
{
    TbsPieceGeometry h{{0, 0, 40, 21}, {5, 0}, {35, 0}, {}, {}, {5, 3, 35, 18}, pmHorizontal};
    EXPECT_EQ(bsMapSkinRect(h, 100, 21, {5, 3, 35, 18}), (TbsRect{5, 3, 95, 18}));
    EXPECT_EQ(bsMapSkinRect(h, 100, 21, {36, 2, 39, 9}), (TbsRect{96, 2, 99, 9}));
    EXPECT_EQ(bsMapSkinRect(h, 100, 21, {1, 1, 4, 4}), (TbsRect{1, 1, 4, 4}));
    TbsPieceGeometry v{{0, 0, 19, 60}, {0, 17}, {}, {0, 43}, {}, {0, 17, 19, 43}, pmVertical};
    EXPECT_EQ(bsMapSkinRect(v, 19, 100, {0, 10, 19, 50}), (TbsRect{0, 10, 19, 90}));
    EXPECT_EQ(bsMapSkinRect(v, 19, 100, {0, 43, 19, 60}), (TbsRect{0, 83, 19, 100}));
    EXPECT_EQ(bsMapSkinRect(v, 19, 100, {0, 0, 19, 17}), (TbsRect{0, 0, 19, 17}));
    TbsPieceGeometry f{{0, 0, 10, 10}, {}, {}, {}, {}, {}, pmFixed};
    EXPECT_EQ(bsMapSkinRect(f, 50, 50, {1, 2, 3, 4}), (TbsRect{1, 2, 3, 4}));
}

TEST(PieceImageFaults, BrokenGeometryIsUnusable)
{
    const TbsPieceGeometry good = GroupBox();
    EXPECT_TRUE(bsPieceGeometryUsable(good, 80, 70));
    auto broken = [&](auto change) {
        TbsPieceGeometry g = good;
        change(g);
        return !bsPieceGeometryUsable(g, 80, 70);
    };
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.SkinRect = {70, 65, 10, 5}; }));  // inverted
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.SkinRect = {10, 5, 10, 65}; }));  // no width
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.SkinRect = {30, 5, 90, 65}; }));  // past the picture
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.RightTop = {80, 24}; }));         // outside the rectangle
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.LeftTop = {55, 24}; }));          // corners crossed
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.ClientRect = {40, 24, 20, 58}; }));
    EXPECT_TRUE(broken([](TbsPieceGeometry& g) { g.Mode = pmNone; }));
}

TEST(PieceImageFaults, HostileGeometryNeverLeavesItsBuffersOrLoops)
{
    // The target is a window into a larger buffer; the frame around it must stay.
    std::mt19937 rng(7);
    const TbsPixelImage pic = Numbered(32, 32);
    for (int round = 0; round < 3000; ++round) {
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        TbsPieceGeometry g;
        g.SkinRect = {pick(-40, 60), pick(-40, 60), pick(-40, 60), pick(-40, 60)};
        g.LeftTop = {pick(-50, 50), pick(-50, 50)};
        g.RightTop = {pick(-50, 50), pick(-50, 50)};
        g.LeftBottom = {pick(-50, 50), pick(-50, 50)};
        g.RightBottom = {pick(-50, 50), pick(-50, 50)};
        g.ClientRect = {pick(-50, 50), pick(-50, 50), pick(-50, 50), pick(-50, 50)};
        g.Mode = pick(-1, 3);
        const int w = pick(0, 40), h = pick(0, 40);
        const int pad = 8;
        TbsPixelImage frame(w + 2 * pad, h + 2 * pad, 0xAAAAAAAAu);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                frame.Pixels[std::size_t((y + pad) * frame.Width + x + pad)] = 0;
        const TbsImageTarget target{frame.Pixels.data() + pad * frame.Width + pad, w, h, frame.Width};
        bsBuildPieceImage(target, pic.View(), g.SkinRect, g, w, h);
        for (int y = 0; y < frame.Height; ++y) {
            for (int x = 0; x < frame.Width; ++x) {
                if (x < pad || y < pad || x >= pad + w || y >= pad + h) {
                    ASSERT_EQ(frame.At(x, y), 0xAAAAAAAAu) << "round " << round;
                }
            }
        }
        int fw = w, fh = h;
        bsFitSizeToSkin(g, fw, fh);
        bsMapSkinRect(g, w, h, g.ClientRect);
    }
}

TEST(MaskRuns, EveryBlackRunIsOneRectangle)
{
    TbsPixelImage mask(6, 2, 0xFFFFFFFFu);
    for (int x : {0, 1, 4})
        mask.Pixels[std::size_t(x)] = 0xFF000000u;
    for (int x = 0; x < 6; ++x)
        mask.Pixels[std::size_t(6 + x)] = 0xFF000000u;
    const std::vector<TbsRect> runs = bsMaskRuns(mask.View());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (TbsRect{0, 0, 2, 1}));
    EXPECT_EQ(runs[1], (TbsRect{4, 0, 5, 1}));
    EXPECT_EQ(runs[2], (TbsRect{0, 1, 6, 2}));
    // No limit on the number of runs: a checkerboard row of 40,000 pixels.
    TbsPixelImage board(40000, 1, 0xFFFFFFFFu);
    for (int x = 0; x < 40000; x += 2)
        board.Pixels[std::size_t(x)] = 0;
    EXPECT_EQ(bsMaskRuns(board.View()).size(), 20000u);
}
