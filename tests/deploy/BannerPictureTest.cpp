#include "app/BannerPicture.h"
#include "app/MetafilePicture.h"
#include "tests/deploy/MetafileBuilder.h"
#include "tests/gif/GifBuilder.h"

#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace rasp {
namespace {

QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QImage Sample(int w = 40, int h = 24)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    return image;
}

std::string ErrorOf(const QByteArray& bytes, const QString& name)
{
    try {
        DecodeBannerPicture(bytes, name);
    } catch (const EBannerPictureError& e) {
        return e.what();
    }
    return "no error";
}

bool Near(QColor a, QColor b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(BannerPicture, EveryRasterFormatIsReadByItsExtensionInAnyCase)
{
    const struct {
        const char* format;
        QString name;
    } cases[] = {
        {"bmp", "banner.bmp"}, {"bmp", "BANNER.BMP"}, {"ico", "b.ico"},  {"jpeg", "b.jpg"},
        {"jpeg", "b.JPEG"},    {"png", "b.png"},      {"png", "a.b.Png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QImage image = DecodeBannerPicture(Encode(Sample(), c.format), c.name);
        EXPECT_EQ(image.size(), QSize(40, 24));
        EXPECT_TRUE(Near(image.pixelColor(20, 12), QColor(200, 30, 40)));
    }
}

TEST(BannerPicture, UnknownExtensionsAreNamedInTheMessage)
{
    const QByteArray png = Encode(Sample(), "png");
    EXPECT_EQ(ErrorOf(png, "promo.tga"), "Unknown picture file extension (.tga)");
    EXPECT_EQ(ErrorOf(png, "Promo.TGA"), "Unknown picture file extension (.TGA)");
    EXPECT_EQ(ErrorOf(png, "promo"), "Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf(png, "promo.png.txt"), "Unknown picture file extension (.txt)");
}

TEST(BannerPicture, DataOfAnotherKindOrCorruptDataIsRefused)
{
    // The configured name decides: a PNG under a JPEG name is no JPEG.
    EXPECT_NE(ErrorOf(Encode(Sample(), "png"), "b.jpg"), "no error");
    QByteArray jpeg = Encode(Sample(), "jpeg");
    QByteArray corrupt = jpeg.left(20);
    corrupt.append(QByteArray(600, '\x5A'));
    EXPECT_NE(ErrorOf(corrupt, "b.jpg"), "no error");
    EXPECT_NE(ErrorOf(QByteArray(), "b.bmp"), "no error");
    EXPECT_NE(ErrorOf("BM\x10\x00garbage", "b.bmp"), "no error");
    EXPECT_NE(ErrorOf(QByteArray(300, '\0'), "b.ico"), "no error");
}

TEST(BannerPicture, MetafilesAreDrawnAtTheirOwnSize)
{
    const QImage wmf = DecodeBannerPicture(test::MakeWmf(96, 48, 0x0000C000), "logo.wmf");
    EXPECT_EQ(wmf.size(), QSize(96, 48));
    EXPECT_TRUE(Near(wmf.pixelColor(48, 24), QColor(0, 0xC0, 0)));

    const QImage emf = DecodeBannerPicture(test::MakeEmf(100, 50, 0x00C00000), "LOGO.EMF");
    EXPECT_NEAR(emf.width(), 100, 2);
    EXPECT_NEAR(emf.height(), 50, 2);
    EXPECT_TRUE(Near(emf.pixelColor(emf.width() / 2, emf.height() / 2), QColor(0, 0, 0xC0)));
}

TEST(BannerPicture, BrokenMetafilesAreRefused)
{
    const QByteArray wmf = test::MakeWmf(96, 48, 0);
    const QByteArray emf = test::MakeEmf(100, 50, 0);
    for (const QByteArray& bad : {QByteArray(), QByteArray(200, '\xFF'), wmf.left(30), emf})
        EXPECT_NE(ErrorOf(bad, "x.wmf"), "no error");
    for (const QByteArray& bad : {QByteArray(), QByteArray(200, '\xFF'), emf.left(60), wmf})
        EXPECT_NE(ErrorOf(bad, "x.emf"), "no error");
    // Pictures that claim an enormous size are not allocated.
    EXPECT_EQ(ErrorOf(Encode(Sample(5000, 10), "bmp"), "wide.bmp"), "The picture is too large (5000 by 10 pixels)");
    EXPECT_NE(ErrorOf(test::MakeWmf(5000, 100, 0, 1), "huge.wmf"), "no error");
}

TEST(BannerPicture, MetafileThatHangsTheConverterIsStoppedInTime)
{
    // Found by mutating records: the metafile library loops on it for good.
    QFile file(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/tests/deploy/data/endless.wmf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(RenderMetafile(file.readAll(), TMetafileKind::Windows, 1500), EBannerPictureError);
    EXPECT_LT(clock.elapsed(), 6000);
}

TEST(BannerPicture, MetafileThatBreaksTheConverterCostsOnlyTheBanner)
{
    // Found by mutating records: the converter copies a pattern brush's
    // bitmap from outside the data. Drawn in the window's own process this
    // would take the window down.
    QFile file(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/tests/deploy/data/overflow.emf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    try {
        const QImage image = DecodeBannerPicture(file.readAll(), "x.emf");
        EXPECT_LE(image.width(), MaxMetafilePictureSide);
    } catch (const EBannerPictureError& e) {
        EXPECT_STRNE(e.what(), "");
    }
}

TEST(BannerPicture, ConverterReasonsReachTheUser)
{
    EXPECT_EQ(ErrorOf(QByteArray(200, '\xFF'), "x.emf"), "The data is not a valid enhanced metafile");
    EXPECT_EQ(ErrorOf(test::MakeWmf(5000, 100, 0, 1), "x.wmf"),
              "The Windows metafile is too large (5000 by 100 pixels)");
}

} // namespace
} // namespace rasp

namespace rasp {
namespace {

// A GIF of w x h pixels, one colour, written by our GIF test writer.
QByteArray Gif(int w, int h)
{
    std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h), 1);
    const auto bytes = test::TGifBuilder(w, h, test::Palette(2)).Frame(0, 0, w, h, pixels).Build();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// An icon file whose one entry says 16 x 16 but holds a PNG of another size.
QByteArray IconHoldingPng(const QByteArray& png)
{
    QByteArray ico("\0\0\1\0\1\0", 6);
    const char entry[8] = {16, 16, 0, 0, 1, 0, 32, 0};
    ico.append(entry, 8);
    const quint32 size = quint32(png.size()), offset = 6 + 16;
    for (int i = 0; i < 4; ++i) ico.append(char((size >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i) ico.append(char((offset >> (8 * i)) & 0xFF));
    return ico + png;
}

TEST(BannerPicture, DataIsReadOnlyAsTheKindItsNameSays)
{
    // GIF data are no still banner, whatever the name: Qt would read them by
    // their content if asked to guess.
    for (const char* name : {"banner.jpg", "banner.png", "banner.bmp", "banner.ico"})
        EXPECT_NE(ErrorOf(Gif(30, 20), name), "no error") << name;
    EXPECT_NE(ErrorOf(Encode(Sample(), "bmp"), "b.png"), "no error");
    EXPECT_NE(ErrorOf(Encode(Sample(), "jpeg"), "b.bmp"), "no error");
    EXPECT_NE(ErrorOf(Encode(Sample(), "png"), "b.ico"), "no error");
}

TEST(BannerPicture, TheSizeLimitHoldsForThePictureAsDecoded)
{
    // The 300 x 5000 GIF of a real deployment under a JPEG name.
    EXPECT_NE(ErrorOf(Gif(300, 5000), "banner.jpg"), "no error");
    EXPECT_EQ(ErrorOf(Encode(Sample(300, 5000), "png"), "b.png"), "The picture is too large (300 by 5000 pixels)");
    EXPECT_EQ(ErrorOf(Encode(Sample(4097, 2), "bmp"), "b.bmp"), "The picture is too large (4097 by 2 pixels)");
    EXPECT_EQ(DecodeBannerPicture(Encode(Sample(4096, 3), "png"), "b.png").size(), QSize(4096, 3));
    // An icon whose directory announces 16 x 16 but whose picture is larger.
    const QByteArray icon = IconHoldingPng(Encode(Sample(5000, 20), "png"));
    const std::string error = ErrorOf(icon, "b.ico");
    EXPECT_NE(error, "no error");
    const QByteArray small = IconHoldingPng(Encode(Sample(16, 16), "png"));
    EXPECT_EQ(ErrorOf(small, "b.ico"), "no error");
}

}  // namespace
}  // namespace rasp
