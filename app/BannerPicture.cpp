#include "app/BannerPicture.h"

#include "app/MetafilePicture.h"

#include <QBuffer>
#include <QImageReader>

namespace rasp {
namespace {

QImage ReadWithQt(const QByteArray& bytes, const char* format, const char* kindName)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The format is fixed: a PNG under a ".jpg" name is still refused, as the
    // deployment's own tools would refuse it.
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    // The strip grows with its banner: a picture larger than any screen is a
    // mistake, refused before it is decoded.
    const QSize size = reader.size();
    if (size.width() > MaxBannerPictureSide || size.height() > MaxBannerPictureSide) {
        throw EBannerPictureError(
            QStringLiteral("The picture is too large (%1 by %2 pixels)").arg(size.width()).arg(size.height()).toStdString());
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw EBannerPictureError(QStringLiteral("The data is not a valid %1 picture (%2)")
                                      .arg(QString::fromLatin1(kindName), reader.errorString())
                                      .toStdString());
    }
    return image;
}

} // namespace

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
    if (ext == u"wmf")
        return RenderMetafile(bytes, TMetafileKind::Windows);
    if (ext == u"emf")
        return RenderMetafile(bytes, TMetafileKind::Enhanced);
    throw EBannerPictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension).toStdString());
}

} // namespace rasp
