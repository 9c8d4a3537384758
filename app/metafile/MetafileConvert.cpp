#include "app/metafile/MetafileConvert.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QString>

#if RASP_HAVE_SVG
#include <QSvgRenderer>
#endif

#if RASP_HAVE_LIBWMF
#include "app/metafile/WmfCheck.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

#if RASP_HAVE_EMF2SVG
#include "app/metafile/EmfCheck.h"

#include <emf2svg.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace rasp {
namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw EMetafileError(message.toStdString());
}

[[maybe_unused]] const char* KindName(TMetafileKind kind)
{
    return kind == TMetafileKind::Windows ? "Windows metafile" : "enhanced metafile";
}

#if RASP_HAVE_SVG
QImage DrawSvg(const QByteArray& svg, TMetafileKind kind)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        Fail(QStringLiteral("The %1 could not be drawn").arg(QString::fromLatin1(KindName(kind))));
    QSize size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size().toSize();
    if (size.isEmpty())
        Fail(QStringLiteral("The %1 has no size").arg(QString::fromLatin1(KindName(kind))));
    if (size.width() > MaxMetafilePictureSide || size.height() > MaxMetafilePictureSide) {
        Fail(QStringLiteral("The %1 is too large (%2 by %3 pixels)")
                 .arg(QString::fromLatin1(KindName(kind)))
                 .arg(size.width())
                 .arg(size.height()));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        Fail(QStringLiteral("Not enough memory for the picture"));
    // Metafiles draw on white paper; what they leave out stays white.
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}
#endif

#if RASP_HAVE_LIBWMF
// A memory buffer behind a FILE*: libwmf's raster device writes its PNG
// there when the API object is destroyed.
class TMemoryFile {
public:
    TMemoryFile() : FFile(open_memstream(&FBuffer, &FLength)) {}
    ~TMemoryFile()
    {
        if (FFile)
            std::fclose(FFile);
        std::free(FBuffer);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;
    FILE* File() const { return FFile; }
    QByteArray Close()
    {
        std::fclose(FFile);
        FFile = nullptr;
        return QByteArray(FBuffer, static_cast<qsizetype>(FBuffer ? FLength : 0));
    }

private:
    char* FBuffer = nullptr;
    std::size_t FLength = 0;
    FILE* FFile;
};

struct TWmfApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

QByteArray DrawWmf(const QByteArray& bytes)
{
    TMemoryFile png;
    if (!png.File())
        Fail(QStringLiteral("Not enough memory for the picture"));
    {
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        wmfAPI* raw = nullptr;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        const wmf_error_t created = wmf_api_create(&raw, flags, &options);
        std::unique_ptr<wmfAPI, TWmfApiDeleter> api(raw);
        if (created != wmf_E_None || !api)
            Fail(QStringLiteral("The metafile library could not be started"));

        const qsizetype length = WellFormedWmfLength(bytes);
        if (length == 0)
            Fail(QStringLiteral("The data is not a valid Windows metafile"));
        QByteArray input = bytes.left(length);
        wmfD_Rect box{};
        if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(input.data()), static_cast<long>(input.size()))
                != wmf_E_None
            || wmf_scan(api.get(), 0, &box) != wmf_E_None)
            Fail(QStringLiteral("The data is not a valid Windows metafile"));
        unsigned int width = 0, height = 0;
        if (wmf_display_size(api.get(), &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
            Fail(QStringLiteral("The Windows metafile has no size"));
        if (width > MaxMetafilePictureSide || height > MaxMetafilePictureSide)
            Fail(QStringLiteral("The Windows metafile is too large (%1 by %2 pixels)").arg(width).arg(height));

        wmf_gd_t* device = WMF_GD_GetData(api.get());
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_FILE;
        device->file = png.File();
        device->bbox = box;
        device->width = width;
        device->height = height;
        if (wmf_play(api.get(), 0, &box) != wmf_E_None)
            Fail(QStringLiteral("The data is not a valid Windows metafile"));
    }
    QByteArray result = png.Close();
    if (result.isEmpty())
        Fail(QStringLiteral("The Windows metafile could not be drawn"));
    return result;
}
#endif

#if RASP_HAVE_EMF2SVG
QByteArray EmfToSvg(const QByteArray& bytes)
{
    const qsizetype length = WellFormedEmfLength(bytes);
    if (length == 0)
        Fail(QStringLiteral("The data is not a valid enhanced metafile"));
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    QByteArray input = bytes.left(length);
    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(input.data(), static_cast<std::size_t>(input.size()), &out, &outLength, &options);
    const std::unique_ptr<char, decltype(&std::free)> owned(out, &std::free);
    if (!ok || !out || outLength == 0)
        Fail(QStringLiteral("The data is not a valid enhanced metafile"));
    return QByteArray(out, static_cast<qsizetype>(outLength));
}
#endif

} // namespace

QByteArray ConvertMetafileToPng(const QByteArray& bytes, TMetafileKind kind)
{
#if RASP_HAVE_LIBWMF
    if (kind == TMetafileKind::Windows)
        return DrawWmf(bytes);
#endif
#if RASP_HAVE_SVG && RASP_HAVE_EMF2SVG
    if (kind == TMetafileKind::Enhanced) {
        const QImage image = DrawSvg(EmfToSvg(bytes), kind);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "png"))
            Fail(QStringLiteral("The enhanced metafile could not be drawn"));
        return png;
    }
#endif
    Q_UNUSED(bytes);
    Fail(QStringLiteral("This copy of the program was built without support for %1 pictures")
             .arg(kind == TMetafileKind::Windows ? QStringLiteral("WMF") : QStringLiteral("EMF")));
}

} // namespace rasp
