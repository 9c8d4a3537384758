// The deployment settings loader with the banner decoding: the input is the
// text of a dbconfig.dat, then (after the first NUL byte) the data of the
// banner file, decoded as each configured banner's name says, as the window
// does at start. Metafiles are left out: they are drawn by a helper process
// of their own and fuzzed by emf_check_fuzzer.

#include "app/BannerPicture.h"
#include "app/DeploymentSettings.h"
#include "gif/GIFImage.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "deployment_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view text = input.substr(0, nul);
    const std::string_view banner = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    const QByteArray bytes(banner.data(), qsizetype(banner.size()));

    const rasp::TDeploymentSettings settings = rasp::ParseDeploymentSettings(text);
    for (std::size_t i = 0; i < settings.Banners.size(); ++i) {
        if (rasp::BannerSourceName(i).isEmpty())
            std::abort();
        const QString file = rasp::NamePart(settings.Banners[i].Path);
        const QString ext = rasp::PictureExtension(file).toLower();
        if (ext == u"wmf" || ext == u"emf")
            continue;
        try {
            if (file.toLower().contains(u".gif")) {
                rasp::CheckGifBannerSize(bytes);
                rasp::TGIFImage gif;
                gif.LoadFromBytes(std::span<const std::uint8_t>(
                    reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
                if (gif.LogicalWidth > rasp::MaxBannerPictureSide || gif.LogicalHeight > rasp::MaxBannerPictureSide)
                    std::abort();
            } else {
                const QImage picture = rasp::DecodeBannerPicture(bytes, file);
                if (picture.isNull() || picture.width() > rasp::MaxBannerPictureSide
                    || picture.height() > rasp::MaxBannerPictureSide)
                    std::abort();  // a banner that passed must be one the window can show
            }
        } catch (const std::exception&) {
            // Refused with a message, as the window would report it.
        }
    }
    std::mt19937 random(size);
    if (!settings.Links.empty()) {
        const auto [left, right] = rasp::ChooseLinks(settings.Links, random);
        if (!left || (settings.Links.size() > 1 && !right))
            std::abort();
    }
    return 0;
}
