#include "app/BannerPicture.h"

#include "app/MetafilePicture.h"
#include "app/PictureBounds.h"

#include <QBuffer>
#include <QImageReader>

#include <string_view>

namespace rasp {
namespace {

std::string TooLarge(QSize size)
{
    return PictureTooLarge(size.width(), size.height());
}

// How each kind of file starts. Qt's readers would hand data of another kind
// to the reader that knows it; the configured name decides here, so the data
// must be of that kind from their first bytes on.
bool StartsAs(const QByteArray& bytes, const char* format)
{
    const std::string_view f(format);
    if (f == "jpeg")
        return bytes.startsWith("\xFF\xD8\xFF");
    if (f == "png")
        return bytes.startsWith("\x89PNG\r\n\x1A\n");
    if (f == "bmp")
        return bytes.startsWith("BM");
    if (f == "ico")
        return bytes.startsWith(QByteArray("\0\0\1\0", 4));
    return false;
}

QImage ReadWithQt(const QByteArray& bytes, const char* format, const char* kindName)
{
    if (!StartsAs(bytes, format)) {
        throw EBannerPictureError(QStringLiteral("The data is not a valid %1 picture (it is not a %1 file)")
                                      .arg(QString::fromLatin1(kindName))
                                      .toStdString());
    }
    // What the file states about itself is checked before a decoder
    // allocates by it.
    if (std::string_view(format) == "png")
        CheckPngChunks(bytes);
    else if (std::string_view(format) == "ico")
        CheckIconFile(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The format is fixed: a PNG under a ".jpg" name is still refused, as the
    // deployment's own tools would refuse it.
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    // The strip grows with its banner: a picture larger than any screen is a
    // mistake, refused before it is decoded when the file says its size ...
    const QSize size = reader.size();
    if (size.width() > MaxBannerPictureSide || size.height() > MaxBannerPictureSide)
        throw EBannerPictureError(TooLarge(size));
    QImage image = reader.read();
    if (image.isNull()) {
        throw EBannerPictureError(QStringLiteral("The data is not a valid %1 picture (%2)")
                                      .arg(QString::fromLatin1(kindName), reader.errorString())
                                      .toStdString());
    }
    // ... and in any case by the size it decoded to, which a file may not
    // have announced truly.
    if (image.width() > MaxBannerPictureSide || image.height() > MaxBannerPictureSide)
        throw EBannerPictureError(TooLarge(image.size()));
    return image;
}

} // namespace

std::string PictureTooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("The picture is too large (%1 by %2 pixels)").arg(width).arg(height).toStdString();
}

void CheckGifBannerSize(const QByteArray& bytes)
{
    // The logical screen's width and height follow the 6-byte signature.
    if (bytes.size() < 10)
        return;  // the GIF reader names what is wrong with it
    auto word = [&bytes](int at) { return int(quint8(bytes[at])) | (int(quint8(bytes[at + 1])) << 8); };
    const QSize size(word(6), word(8));
    if (size.width() > MaxBannerPictureSide || size.height() > MaxBannerPictureSide)
        throw EBannerPictureError(TooLarge(size));
}

QString PictureExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

QImage DecodeBannerPicture(const QByteArray& bytes, const QString& fileName)
{
    const QString extension = PictureExtension(fileName);
    const QString ext = extension.toLower();
    if (ext == u"bmp")
        return ReadWithQt(bytes, "bmp", "bitmap");
    if (ext == u"ico")
        return ReadWithQt(bytes, "ico", "icon");
    if (ext == u"jpg" || ext == u"jpeg")
        return ReadWithQt(bytes, "jpeg", "JPEG");
    if (ext == u"png")
        return ReadWithQt(bytes, "png", "PNG");
    if (ext == u"wmf" || ext == u"emf") {
        QImage image = RenderMetafile(bytes, ext == u"wmf" ? TMetafileKind::Windows : TMetafileKind::Enhanced);
        if (image.width() > MaxBannerPictureSide || image.height() > MaxBannerPictureSide)
            throw EBannerPictureError(TooLarge(image.size()));
        return image;
    }
    throw EBannerPictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension).toStdString());
}

} // namespace rasp
