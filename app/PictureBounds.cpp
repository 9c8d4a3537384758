#include "app/PictureBounds.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace rasp {
namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";
constexpr qsizetype kPngSignatureSize = 8;

std::uint32_t BigEndian32(QByteArrayView bytes, qsizetype at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) << 24 | std::uint32_t(std::uint8_t(bytes[at + 1])) << 16
        | std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

std::uint32_t LittleEndian32(QByteArrayView bytes, qsizetype at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8
        | std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

int LittleEndian16(QByteArrayView bytes, qsizetype at)
{
    return int(std::uint8_t(bytes[at])) | int(std::uint8_t(bytes[at + 1])) << 8;
}

[[noreturn]] void NotValid(const char* kind, const QString& reason)
{
    throw EBannerPictureError(
        QStringLiteral("The data is not a valid %1 picture (%2)").arg(QString::fromLatin1(kind), reason).toStdString());
}

bool IsPng(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kPngSignature, kPngSignatureSize));
}

void CheckSide(qint64 width, qint64 height)
{
    if (width > MaxBannerPictureSide || height > MaxBannerPictureSide)
        throw EBannerPictureError(PictureTooLarge(width, height));
}

// The size one picture of an icon file will decode to, as large as any of
// its headers says: the directory's (0 meaning 256), and the PNG's or the
// bitmap's own.
qint64 IconPicturePixels(QByteArrayView ico, qsizetype entry, QByteArrayView picture)
{
    qint64 width = std::uint8_t(ico[entry]) == 0 ? 256 : std::uint8_t(ico[entry]);
    qint64 height = std::uint8_t(ico[entry + 1]) == 0 ? 256 : std::uint8_t(ico[entry + 1]);
    if (IsPng(picture)) {
        CheckPngChunks(picture);
        // IHDR comes first: its width and height follow the chunk's length and type.
        if (picture.size() >= 24) {
            width = std::max<qint64>(width, BigEndian32(picture, 16));
            height = std::max<qint64>(height, BigEndian32(picture, 20));
        }
    } else if (picture.size() >= 12 && LittleEndian32(picture, 0) >= 12) {
        // A bitmap header, whose height counts the colour rows and the mask rows.
        const auto w = qint64(std::int32_t(LittleEndian32(picture, 4)));
        const auto h = qint64(std::int32_t(LittleEndian32(picture, 8)));
        width = std::max(width, std::abs(w));
        height = std::max(height, std::abs(h) / 2);
    }
    CheckSide(width, height);
    return width * height;
}

} // namespace

void CheckIconTotal(qint64 pictures, qint64 pixels)
{
    if (pictures > MaxIconPictures) {
        throw EBannerPictureError(QStringLiteral("The icon holds too many pictures (%1; at most %2)")
                                      .arg(pictures)
                                      .arg(MaxIconPictures)
                                      .toStdString());
    }
    if (pixels > MaxIconPixels) {
        throw EBannerPictureError(QStringLiteral("The icon's pictures are too large together (%1 pixels; at most %2)")
                                      .arg(pixels)
                                      .arg(MaxIconPixels)
                                      .toStdString());
    }
}

void CheckPngChunks(QByteArrayView png)
{
    if (!IsPng(png))
        return;
    qsizetype at = kPngSignatureSize;
    // A chunk is its length, its type, the data and a checksum.
    while (png.size() - at >= 8) {
        const std::uint32_t length = BigEndian32(png, at);
        const qint64 left = png.size() - at - 12;
        if (qint64(length) > left)
            NotValid("PNG", QStringLiteral("a chunk of %1 bytes runs past the end of the file").arg(length));
        if (png.sliced(at + 4, 4) == QByteArrayView("IEND"))
            return;
        at += 12 + qsizetype(length);
    }
}

void CheckIconFile(QByteArrayView ico)
{
    // Reserved 0, type 1 (icon) or 2 (cursor), the number of pictures, then
    // 16 bytes for each of them.
    if (ico.size() < 6 || LittleEndian16(ico, 0) != 0 || (LittleEndian16(ico, 2) != 1 && LittleEndian16(ico, 2) != 2))
        return;
    const int count = LittleEndian16(ico, 4);
    CheckIconTotal(count, 0);
    if (6 + 16 * qsizetype(count) > ico.size())
        NotValid("icon", QStringLiteral("its list of %1 pictures runs past the end of the file").arg(count));
    qint64 pixels = 0;
    for (int k = 0; k < count; ++k) {
        const qsizetype entry = 6 + 16 * qsizetype(k);
        const qint64 size = LittleEndian32(ico, entry + 8);
        const qint64 offset = LittleEndian32(ico, entry + 12);
        if (offset > ico.size() || size > ico.size() - offset)
            NotValid("icon", QStringLiteral("picture %1 lies outside the file").arg(k + 1));
        pixels += IconPicturePixels(ico, entry, ico.sliced(qsizetype(offset), qsizetype(size)));
    }
    CheckIconTotal(count, pixels);
}

} // namespace rasp
