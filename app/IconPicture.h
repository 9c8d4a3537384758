#pragma once
// The application icon a deployment names: every picture its file holds,
// so that each place picks the size that fits.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace rasp {

// Decodes every picture of an icon file. The format is the one the file's
// extension names when its bytes are of that kind, otherwise the one its
// bytes show (an icon file may well be a PNG). Throws EBannerPictureError
// when no picture can be read, and when the file states more than an icon
// may cost (see PictureBounds.h).
std::vector<QImage> DecodeIconPictures(const QByteArray& bytes, const QString& fileName);

} // namespace rasp
