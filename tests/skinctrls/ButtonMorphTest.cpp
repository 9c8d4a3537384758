// The local blend between a button's normal and active looks.

#include "skinctrls/bsButtonMorph.h"

#include <gtest/gtest.h>

namespace {
QImage Filled(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}
}  // namespace

TEST(ButtonMorph, TheEndsAreTheTwoLooksAndTheMiddleIsRounded)
{
    const QImage normal = Filled(10, 4, qRgb(0, 100, 200)), active = Filled(10, 4, qRgb(100, 0, 255));
    EXPECT_EQ(bsMorphImage(normal, active, TbsMorphKind::mkDefault, 0).pixel(3, 2), qRgb(0, 100, 200));
    EXPECT_EQ(bsMorphImage(normal, active, TbsMorphKind::mkDefault, 1).pixel(3, 2), qRgb(100, 0, 255));
    EXPECT_EQ(bsMorphImage(normal, active, TbsMorphKind::mkDefault, 0.5).pixel(3, 2), qRgb(50, 50, 228));
}

TEST(ButtonMorph, TheGradientShowsACentredBandOfTheActiveLook)
{
    const QImage normal = Filled(100, 20, qRgb(0, 0, 0)), active = Filled(100, 20, qRgb(200, 200, 200));
    const QImage out = bsMorphImage(normal, active, TbsMorphKind::mkGradient, 0.2);
    EXPECT_EQ(out.pixel(50, 10), qRgb(200, 200, 200)) << "inside the band";
    EXPECT_EQ(out.pixel(0, 10), qRgb(0, 0, 0)) << "the normal look at the far ends";
    EXPECT_GT(qRed(out.pixel(30, 10)), 0);
    EXPECT_LT(qRed(out.pixel(30, 10)), 200);
    // Different sizes cannot be blended: the normal look stays.
    EXPECT_EQ(bsMorphImage(normal, Filled(5, 5, 0), TbsMorphKind::mkGradient, 0.5).size(), normal.size());
}
