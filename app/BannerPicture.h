#pragma once
// Decoding of still banner pictures. The format is chosen by the extension of
// the banner's configured name, not guessed from the bytes: a deployment says
// what its banner is.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <stdexcept>
#include <string>

namespace rasp {

// A picture that cannot be shown; the message is meant for the user.
class EBannerPictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Still banners larger than this on a side are refused.
inline constexpr int MaxBannerPictureSide = 4096;

// "The picture is too large (W by H pixels)".
std::string PictureTooLarge(qint64 width, qint64 height);

// The extension of a file name without its dot, as written ("" when none).
QString PictureExtension(const QString& fileName);

// Decodes bytes as the picture kind the extension of fileName names, compared
// without regard to case: "bmp", "ico", "jpg"/"jpeg", "png", "wmf", "emf".
// Throws EBannerPictureError on any other extension ("Unknown picture file
// extension (.tga)") and on data that is not a picture of that kind.
QImage DecodeBannerPicture(const QByteArray& bytes, const QString& fileName);

// An animated banner takes the size of its GIF's logical screen: throws
// EBannerPictureError when that is larger than the limit.
void CheckGifBannerSize(const QByteArray& bytes);

} // namespace rasp
