#include "app/UpdateChecker.h"

#include "app/OnlineConstants.h"
#include "app/VersionNumber.h"
#include "platform/ini/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QWidget>

namespace rasp {
namespace {

const QString kNoUpdate = QStringLiteral("There's no new updates for this application!");
const QString kUpdaterMissing =
    QStringLiteral("The updater module is missing. Please reinstall again the current version!");

QString NewVersionMessage(const QString& version)
{
    return QStringLiteral("There is a new update: (version ") + version
        + QStringLiteral(") available for your application!. Do you want download this update now?");
}

QString HandOverMessage()
{
    return QStringLiteral("To update your software the application will close to") + QStringLiteral("\n\r")
        + QStringLiteral("replace some files. Do you want to update now?");
}

// The update description is a few lines; a server sending more is not ours.
constexpr qint64 kMaxUpdateFileSize = 64 * 1024;
// A version is a short number. A longer "Version" reads as no version at all
// rather than being put before the user in the update prompt.
constexpr std::size_t kMaxVersionLength = 64;

} // namespace

TUpdateChecker::TUpdateChecker(QWidget* owner, QString baseUrl, QString programDir,
                               TMessageDlg messageDlg, std::function<void()> closeWindow)
    : QObject(owner)
    , FBaseUrl(std::move(baseUrl))
    , FProgramDir(std::move(programDir))
    , FMessageDlg(std::move(messageDlg))
    , FCloseWindow(std::move(closeWindow))
{
    FHttp.SetMaxBodySize(kMaxUpdateFileSize);
    if (owner)
        owner->installEventFilter(this);
}

bool TUpdateChecker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && FChecking) {
        FAbandoned = true;
        FHttp.Disconnect();
    }
    return QObject::eventFilter(watched, event);
}

QStringList TUpdateChecker::UpdaterArguments() const
{
    return {FBaseUrl, QString::fromStdString(VersionText(AppVersionNumber)),
            QString::fromLatin1(UpdaterModeArg)};
}

void TUpdateChecker::CheckForUpdates(bool Silent)
{
    if (FChecking) {
        FAnnounce = FAnnounce || !Silent;
        return;
    }
    FChecking = true;
    FAnnounce = !Silent;
    FAbandoned = false;

    // Every wait below runs the event loop, during which the window may close
    // or even be destroyed together with this checker.
    QPointer<TUpdateChecker> self(this);
    struct TDone {
        QPointer<TUpdateChecker>& self;
        ~TDone()
        {
            if (self)
                self->FChecking = false;
        }
    } done{self};
    auto gone = [&self] { return !self || self->FAbandoned; };

    const QString local = QDir(DownloadDir()).filePath(QString::fromLatin1(UpdateFileName));
    const QString url = FBaseUrl + QString::fromLatin1(UpdateFileName);
    const bool downloaded = DownloadFile(url, local);
    if (gone())
        return;
    if (!downloaded || !QFileInfo(local).isFile()) {
        Failed(downloaded ? QStringLiteral("the update description was not stored.") : FFailure);
        return;
    }

    const std::string version = ReadIniString(QFile::encodeName(local).toStdString(), "APPLICATION", "Version");
    // An answer without a version number (a proxy's page, say), or with one
    // too long to be a version, tells nothing about updates: that is a failed
    // check, not "no update".
    const std::optional<float> newest =
        version.size() > kMaxVersionLength ? std::nullopt : ParseVersion(version);
    if (!newest) {
        Failed(QStringLiteral("the server's answer holds no version number."));
        return;
    }
    if (AppVersionNumber >= *newest) {
        NoUpdate();
        return;
    }

    const int answer = FMessageDlg(NewVersionMessage(QString::fromLocal8Bit(version)), mtInformation,
                                   {mbOK, mbCancel}, 0);
    if (gone() || answer != mrOk)
        return;

    if (!QFileInfo(QDir(FProgramDir).filePath(QString::fromLatin1(UpdaterFileName))).isFile()) {
        FMessageDlg(kUpdaterMissing, mtWarning, {mbOK}, 0);
        return;
    }

    const int handOver = FMessageDlg(HandOverMessage(), mtInformation, {mbOK, mbCancel}, 0);
    if (gone() || handOver == mrCancel)
        return;

    if (!StartUpdater()) {
        // Closing now would leave the user with neither program running.
        FMessageDlg(kUpdaterMissing, mtWarning, {mbOK}, 0);
        return;
    }
    FChecking = false;
    FCloseWindow();
}

bool TUpdateChecker::StartUpdater()
{
    const QString updater = QDir(FProgramDir).filePath(QString::fromLatin1(UpdaterFileName));
    return QProcess::startDetached(updater, UpdaterArguments());
}

void TUpdateChecker::NoUpdate()
{
    if (FAnnounce)
        FMessageDlg(kNoUpdate, mtInformation, {mbOK}, 0);
}

void TUpdateChecker::Failed(const QString& reason)
{
    if (FAnnounce)
        FMessageDlg(QStringLiteral("Could not check for updates: ") + reason, mtWarning, {mbOK}, 0);
}

QString TUpdateChecker::Reason(const QString& message)
{
    QString reason = message.trimmed();
    if (reason.isEmpty())
        return QStringLiteral("the server did not answer.");
    // A sentence of its own becomes the end of ours.
    if (reason.size() > 1 && reason[0].isUpper() && !reason[1].isUpper())
        reason[0] = reason[0].toLower();
    if (!reason.endsWith(u'.'))
        reason += u'.';
    return reason;
}

bool TUpdateChecker::DownloadFile(const QString& URL, const QString& LocalFile)
{
    QPointer<TUpdateChecker> self(this);
    QFile file(LocalFile);
    if (file.exists())
        file.remove();
    FFailure.clear();
    // A program folder we may not write to (an installed copy) just means no
    // update can be fetched.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        FFailure = QStringLiteral("the update description cannot be stored: ") + Reason(file.errorString());
        return false;
    }

    bool complete = false;
    try {
        QCoreApplication::processEvents();
        if (!self || FAbandoned)
            throw EHttpAborted("The check was abandoned.");
        FHttp.Get(URL, file);
        complete = file.flush();
    } catch (const EHttpAborted&) {
        // Cut short by the window closing or the application quitting: the
        // check ends without a word.
        if (self)
            FAbandoned = true;
    } catch (const EHttpError& e) {
        complete = false;
        if (self)
            FFailure = Reason(QString::fromStdString(e.what()));
    }
    // The client went with this checker if the window was destroyed meanwhile.
    if (self)
        FHttp.Disconnect();
    file.close();
    if (complete && file.error() == QFileDevice::NoError)
        return true;
    if (self && FFailure.isEmpty())
        FFailure = QStringLiteral("the update description cannot be stored: ") + Reason(file.errorString());
    QFile::remove(LocalFile);
    return false;
}

} // namespace rasp
