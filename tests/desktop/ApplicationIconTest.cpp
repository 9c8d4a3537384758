// The icon the window carries for itself, drawn from our SVG at build time.

#include "app/RaspApplication.h"

#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace rasp {
namespace {

TEST(ApplicationIcon, EveryThemeSizeIsBuiltIn)
{
    const QIcon icon = TRaspApplication::BuiltInIcon();
    ASSERT_FALSE(icon.isNull()) << "the build drew no icon (Qt Svg missing?)";
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    // A picture, not an empty square: the corners are transparent (rounded
    // background) and the middle is not.
    const QImage image = icon.pixmap(QSize(64, 64)).toImage();
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(32, 32)), 255);
}

}  // namespace
}  // namespace rasp
