#include "app/BannerPicture.h"
#include "app/IconPicture.h"
#include "app/MetafilePicture.h"
#include "app/PictureBounds.h"
#include "tests/deploy/MetafileBuilder.h"
#include "tests/gif/GifBuilder.h"

#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <zlib.h>

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

QByteArray DataFile(const char* name)
{
    QFile file(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/tests/deploy/data/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

void Append32(QByteArray& out, quint32 value, bool bigEndian)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * (bigEndian ? 3 - i : i))) & 0xFF));
}

// A chunk with its checksum, inserted before the IEND chunk of a PNG.
QByteArray WithChunk(const QByteArray& png, const QByteArray& type, const QByteArray& data)
{
    QByteArray chunk;
    Append32(chunk, quint32(data.size()), true);
    chunk += type + data;
    const QByteArray checked = type + data;
    Append32(chunk, quint32(crc32(0, reinterpret_cast<const Bytef*>(checked.constData()), uInt(checked.size()))), true);
    const qsizetype end = png.size() - 12;
    return png.left(end) + chunk + png.mid(end);
}

// An icon file holding the pictures; every directory entry says side x side
// (which the decoder takes for a bitmap's size). Entries beyond the pictures
// repeat the last one's place.
QByteArray IconFile(const std::vector<QByteArray>& pictures, int entries = -1, int side = 16)
{
    const int count = entries < 0 ? int(pictures.size()) : entries;
    QByteArray ico("\0\0\1\0", 4);
    ico.append(char(count & 0xFF)).append(char(count >> 8));
    quint32 offset = quint32(6 + 16 * count);
    QByteArray data;
    for (int k = 0; k < count; ++k) {
        const QByteArray& picture = pictures[std::min<std::size_t>(std::size_t(k), pictures.size() - 1)];
        ico.append(char(side)).append(char(side)).append("\0\0\1\0\x20\0", 6);
        Append32(ico, quint32(picture.size()), false);
        Append32(ico, offset, false);
        if (std::size_t(k) < pictures.size()) {
            data += picture;
            offset += quint32(picture.size());
        } else {
            ico.chop(4);
            Append32(ico, offset - quint32(picture.size()), false);
        }
    }
    return ico + data;
}

// A bitmap picture of an icon file: the bitmap without its file header,
// twice as tall as the picture, with the transparency mask after the colours.
QByteArray IconBitmap(int side)
{
    QByteArray bitmap = Encode(Sample(side, side), "bmp").mid(14);
    bitmap.replace(8, 4, QByteArray(1, char(2 * side)) + QByteArray(3, '\0'));
    return bitmap + QByteArray(side * ((side + 31) / 32 * 4), '\0');
}

std::string IconError(const QByteArray& bytes, const QString& name = "app.ico")
{
    try {
        DecodeIconPictures(bytes, name);
    } catch (const EBannerPictureError& e) {
        return e.what();
    }
    return "no error";
}

TEST(PictureBounds, ChunkLengthBeyondTheFileIsRefusedAsBannerAndInAnIcon)
{
    // A 20 x 10 PNG whose text chunk after the image data says it holds
    // 0x6572735C bytes; the decoder allocated that much (1.7 GB).
    const QByteArray png = DataFile("text-length.png");
    ASSERT_EQ(png.size(), 508);
    const std::string expected =
        "The data is not a valid PNG picture (a chunk of 1701999452 bytes runs past the end of the file)";
    EXPECT_EQ(ErrorOf(png, "banner.png"), expected);
    EXPECT_EQ(ErrorOf(IconFile({png}), "banner.ico"), expected);
    EXPECT_EQ(IconError(IconFile({png})), expected);
    EXPECT_EQ(IconError(png, "app.png"), expected);
    EXPECT_EQ(IconError(png, "app.ico"), expected);  // a PNG under an icon's name

    // The end chunk cut short by one byte, and whole.
    const QByteArray good = Encode(Sample(20, 10), "png");
    EXPECT_EQ(ErrorOf(good.left(good.size() - 1), "b.png"),
              "The data is not a valid PNG picture (a chunk of 0 bytes runs past the end of the file)");
    EXPECT_EQ(ErrorOf(good, "b.png"), "no error");
}

TEST(PictureBounds, TextChunksInsideTheFileAndDataAfterTheEndStillDecode)
{
    const QByteArray png = Encode(Sample(20, 10), "png");
    QByteArray ztxt("Comment\0\0", 9);
    ztxt += qCompress(QByteArray(1000, 'x')).mid(4);  // a zlib stream without Qt's length prefix
    const QByteArray withText =
        WithChunk(WithChunk(png, "tEXt", QByteArray("Title\0A banner", 14)), "zTXt", ztxt) + "trailing bytes";
    const QImage image = DecodeBannerPicture(withText, "b.png");
    EXPECT_EQ(image.size(), QSize(20, 10));
    EXPECT_TRUE(Near(image.pixel(5, 5), QColor(200, 30, 40)));
    EXPECT_EQ(IconError(IconFile({withText})), "no error");
}

TEST(PictureBounds, IconPicturesMustLieInsideTheFileAndStayWithinTheLimits)
{
    const QByteArray small = Encode(Sample(16, 16), "png");
    // Every picture of the file, each of its own size.
    const std::vector<QImage> pictures =
        DecodeIconPictures(IconFile({small, Encode(Sample(32, 32), "png"), IconBitmap(48)}, -1, 48), "app.ico");
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].size(), QSize(16, 16));
    EXPECT_EQ(pictures[1].size(), QSize(32, 32));
    EXPECT_EQ(pictures[2].size(), QSize(48, 48));

    QByteArray outside = IconFile({small});
    outside.chop(1);
    EXPECT_EQ(IconError(outside), "The data is not a valid icon picture (picture 1 lies outside the file)");
    EXPECT_EQ(ErrorOf(outside, "b.ico"), "The data is not a valid icon picture (picture 1 lies outside the file)");
    EXPECT_EQ(IconError(IconFile({small}).left(20)),
              "The data is not a valid icon picture (its list of 1 pictures runs past the end of the file)");

    // Thousands of entries naming one small picture: each would be decoded.
    EXPECT_EQ(IconError(IconFile({small}, 2000)), "The icon holds too many pictures (2000; at most 256)");
    EXPECT_EQ(IconError(IconFile({small}, 256)), "no error");
    // Pictures that are small files but large images, alone and together.
    const QByteArray large = Encode(Sample(1024, 1024), "png");
    EXPECT_EQ(IconError(IconFile({large}, 16)), "no error");
    EXPECT_EQ(IconError(IconFile({large}, 17)),
              "The icon's pictures are too large together (17825792 pixels; at most 16777216)");
    EXPECT_EQ(IconError(IconFile({Encode(Sample(4097, 1), "png")})), "The picture is too large (4097 by 16 pixels)");
    EXPECT_EQ(IconError(IconFile({small}, 256, 0)), "no error");  // 0 in the directory means 256
    // A bitmap picture whose header says 100,000 pixels wide.
    QByteArray bitmap = IconBitmap(16);
    bitmap.replace(4, 4, QByteArray("\xA0\x86\x01\x00", 4));
    EXPECT_EQ(IconError(IconFile({bitmap})), "The picture is too large (100000 by 16 pixels)");
}

TEST(PictureBounds, OtherIconFormatsAreHeldToTheBannerLimit)
{
    EXPECT_EQ(IconError(Encode(Sample(5000, 4), "bmp"), "app.bmp"), "The picture is too large (5000 by 4 pixels)");
    const std::vector<QImage> one = DecodeIconPictures(Encode(Sample(64, 40), "bmp"), "app.bmp");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].size(), QSize(64, 40));
    EXPECT_NE(IconError(QByteArray("not a picture"), "app.ico"), "no error");
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
    const QByteArray icon = IconFile({Encode(Sample(5000, 20), "png")});
    const std::string error = ErrorOf(icon, "b.ico");
    EXPECT_NE(error, "no error");
    const QByteArray small = IconFile({Encode(Sample(16, 16), "png")});
    EXPECT_EQ(ErrorOf(small, "b.ico"), "no error");
}

}  // namespace
}  // namespace rasp
