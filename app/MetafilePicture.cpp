#include "app/MetafilePicture.h"

#include "app/BannerPicture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace rasp {
namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw EBannerPictureError(message.toStdString());
}

constexpr const char* kHelperName = "rasp-metafile";
// The helper's exit code for a metafile it refused with a reason.
constexpr int kRefused = 3;

} // namespace

QString MetafileHelperPath()
{
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(kHelperName);
    if (QFileInfo(beside).isExecutable())
        return beside;
#ifdef RASP_METAFILE_HELPER
    // A program started from somewhere else (a test, a copy beside a
    // deployment) still finds the helper of the build it came from.
    const QString built = QString::fromLocal8Bit(RASP_METAFILE_HELPER);
    if (QFileInfo(built).isExecutable())
        return built;
#endif
    return {};
}

QImage RenderMetafile(const QByteArray& bytes, TMetafileKind kind, int timeoutMs)
{
    const QString what = kind == TMetafileKind::Windows ? QStringLiteral("WMF") : QStringLiteral("EMF");
    const QString helper = MetafileHelperPath();
    if (helper.isEmpty()) {
        Fail(QStringLiteral("%1 pictures cannot be shown: the helper program \"%2\" is missing")
                 .arg(what, QString::fromLatin1(kHelperName)));
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(helper, {what.toLower()});
    if (!process.waitForStarted(timeoutMs))
        Fail(QStringLiteral("The helper program \"%1\" could not be started").arg(helper));
    process.write(bytes);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        Fail(QStringLiteral("The %1 picture took too long to draw").arg(what));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        Fail(QStringLiteral("The data is not a valid %1 picture (the converter failed)").arg(what));
    if (process.exitCode() != 0) {
        // A refusal's reason is the last line; libraries may have talked before it.
        const QStringList lines = QString::fromUtf8(process.readAllStandardError()).trimmed().split(u'\n');
        if (process.exitCode() == kRefused && !lines.constLast().trimmed().isEmpty())
            Fail(lines.constLast().trimmed());
        Fail(QStringLiteral("The data is not a valid %1 picture (the converter failed)").arg(what));
    }
    const QImage image = QImage::fromData(process.readAllStandardOutput(), "png");
    if (image.isNull())
        Fail(QStringLiteral("The %1 picture could not be drawn").arg(what));
    if (image.width() > MaxMetafilePictureSide || image.height() > MaxMetafilePictureSide)
        Fail(QStringLiteral("The %1 picture is too large").arg(what));
    return image;
}

} // namespace rasp
