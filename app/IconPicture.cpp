#include "app/IconPicture.h"

#include "app/BannerPicture.h"
#include "app/PictureBounds.h"

#include <QBuffer>
#include <QImageReader>

namespace rasp {

std::vector<QImage> DecodeIconPictures(const QByteArray& bytes, const QString& fileName)
{
    CheckIconFile(bytes);
    CheckPngChunks(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, PictureExtension(fileName).toLower().toLatin1());
    std::vector<QImage> pictures;
    qint64 pixels = 0;
    do {
        // Formats other than icons and PNGs are held to the banner's limit
        // by the size they announce, and every one by what it decoded to.
        const QSize announced = reader.size();
        if (announced.width() > MaxBannerPictureSide || announced.height() > MaxBannerPictureSide)
            throw EBannerPictureError(PictureTooLarge(announced.width(), announced.height()));
        QImage image = reader.read();
        if (image.isNull())
            break;
        if (image.width() > MaxBannerPictureSide || image.height() > MaxBannerPictureSide)
            throw EBannerPictureError(PictureTooLarge(image.width(), image.height()));
        pixels += qint64(image.width()) * image.height();
        CheckIconTotal(qint64(pictures.size()) + 1, pixels);
        pictures.push_back(std::move(image));
    } while (reader.jumpToNextImage());
    if (pictures.empty())
        throw EBannerPictureError(reader.errorString().toStdString());
    return pictures;
}

} // namespace rasp
