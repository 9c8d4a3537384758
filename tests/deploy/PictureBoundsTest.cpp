// Banner and icon files that state more than they hold, or more pictures and
// pixels than an icon may be: refused before a decoder allocates by what
// they say. The pictures they hold otherwise still decode.

#include "app/BannerPicture.h"
#include "app/IconPicture.h"
#include "app/PictureBounds.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <zlib.h>

namespace rasp {
namespace {

QByteArray Encode(int w, int h, const char* format, QColor colour = QColor(30, 90, 200))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
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
    QByteArray bitmap = Encode(side, side, "bmp").mid(14);
    bitmap.replace(8, 4, QByteArray(1, char(2 * side)) + QByteArray(3, '\0'));
    return bitmap + QByteArray(side * ((side + 31) / 32 * 4), '\0');
}

std::string BannerError(const QByteArray& bytes, const QString& name)
{
    try {
        DecodeBannerPicture(bytes, name);
    } catch (const EBannerPictureError& e) {
        return e.what();
    }
    return "no error";
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
    EXPECT_EQ(BannerError(png, "banner.png"), expected);
    EXPECT_EQ(BannerError(IconFile({png}), "banner.ico"), expected);
    EXPECT_EQ(IconError(IconFile({png})), expected);
    EXPECT_EQ(IconError(png, "app.png"), expected);
    EXPECT_EQ(IconError(png, "app.ico"), expected);  // a PNG under an icon's name

    // The end chunk cut short by one byte, and whole.
    const QByteArray good = Encode(20, 10, "png");
    EXPECT_EQ(BannerError(good.left(good.size() - 1), "b.png"),
              "The data is not a valid PNG picture (a chunk of 0 bytes runs past the end of the file)");
    EXPECT_EQ(BannerError(good, "b.png"), "no error");
}

TEST(PictureBounds, TextChunksInsideTheFileAndDataAfterTheEndStillDecode)
{
    const QByteArray png = Encode(20, 10, "png");
    QByteArray ztxt("Comment\0\0", 9);
    ztxt += qCompress(QByteArray(1000, 'x')).mid(4);  // a zlib stream without Qt's length prefix
    const QByteArray withText =
        WithChunk(WithChunk(png, "tEXt", QByteArray("Title\0A banner", 14)), "zTXt", ztxt) + "trailing bytes";
    const QImage image = DecodeBannerPicture(withText, "b.png");
    EXPECT_EQ(image.size(), QSize(20, 10));
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(30, 90, 200));
    EXPECT_EQ(IconError(IconFile({withText})), "no error");
}

TEST(PictureBounds, IconPicturesMustLieInsideTheFileAndStayWithinTheLimits)
{
    const QByteArray small = Encode(16, 16, "png");
    // Every picture of the file, each of its own size.
    const std::vector<QImage> pictures =
        DecodeIconPictures(IconFile({small, Encode(32, 32, "png"), IconBitmap(48)}, -1, 48), "app.ico");
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].size(), QSize(16, 16));
    EXPECT_EQ(pictures[1].size(), QSize(32, 32));
    EXPECT_EQ(pictures[2].size(), QSize(48, 48));

    QByteArray outside = IconFile({small});
    outside.chop(1);
    EXPECT_EQ(IconError(outside), "The data is not a valid icon picture (picture 1 lies outside the file)");
    EXPECT_EQ(BannerError(outside, "b.ico"), "The data is not a valid icon picture (picture 1 lies outside the file)");
    EXPECT_EQ(IconError(IconFile({small}).left(20)),
              "The data is not a valid icon picture (its list of 1 pictures runs past the end of the file)");

    // Thousands of entries naming one small picture: each would be decoded.
    EXPECT_EQ(IconError(IconFile({small}, 2000)), "The icon holds too many pictures (2000; at most 256)");
    EXPECT_EQ(IconError(IconFile({small}, 256)), "no error");
    // Pictures that are small files but large images, alone and together.
    const QByteArray large = Encode(1024, 1024, "png");
    EXPECT_EQ(IconError(IconFile({large}, 16)), "no error");
    EXPECT_EQ(IconError(IconFile({large}, 17)),
              "The icon's pictures are too large together (17825792 pixels; at most 16777216)");
    EXPECT_EQ(IconError(IconFile({Encode(4097, 1, "png")})), "The picture is too large (4097 by 16 pixels)");
    EXPECT_EQ(IconError(IconFile({small}, 256, 0)), "no error");  // 0 in the directory means 256
    // A bitmap picture whose header says 100,000 pixels wide.
    QByteArray bitmap = IconBitmap(16);
    bitmap.replace(4, 4, QByteArray("\xA0\x86\x01\x00", 4));
    EXPECT_EQ(IconError(IconFile({bitmap})), "The picture is too large (100000 by 16 pixels)");
}

TEST(PictureBounds, OtherIconFormatsAreHeldToTheBannerLimit)
{
    EXPECT_EQ(IconError(Encode(5000, 4, "bmp"), "app.bmp"), "The picture is too large (5000 by 4 pixels)");
    const std::vector<QImage> one = DecodeIconPictures(Encode(64, 40, "bmp"), "app.bmp");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].size(), QSize(64, 40));
    EXPECT_NE(IconError(QByteArray("not a picture"), "app.ico"), "no error");
}

} // namespace
} // namespace rasp
