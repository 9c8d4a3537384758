// The icon a deployment names (IconPath): every picture of the file, as the
// window decodes it at start. The first byte picks the file's extension, the
// rest is the file. A file is refused with a message or decodes to pictures
// the window can show; neither may cost more than the limits allow.

#include "app/BannerPicture.h"
#include "app/IconPicture.h"
#include "app/PictureBounds.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "icon_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    if (size < 1)
        return 0;
    static const char* const names[] = {"app.ico", "app.png", "app.cur", "app.bmp"};
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const std::vector<QImage> pictures = rasp::DecodeIconPictures(bytes, names[data[0] % 4]);
        qint64 pixels = 0;
        for (const QImage& picture : pictures) {
            if (picture.isNull() || picture.width() > rasp::MaxBannerPictureSide
                || picture.height() > rasp::MaxBannerPictureSide)
                std::abort();
            pixels += qint64(picture.width()) * picture.height();
        }
        if (pictures.empty() || pictures.size() > std::size_t(rasp::MaxIconPictures) || pixels > rasp::MaxIconPixels)
            std::abort();
    } catch (const rasp::EBannerPictureError& e) {
        if (*e.what() == '\0')
            std::abort();  // a refusal always says why
    }
    return 0;
}
