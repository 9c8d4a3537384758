#include "tests/wayland/WestonSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kIni =
    "[core]\n"
    "idle-time=0\n"
    "[shell]\n"
    "panel-position=none\n"
    "background-color=0xff204060\n"
    "[input-method]\n"
    "path=\n";

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// weston's X11 backend takes the pointer's motion as steps from where it
// entered its window: a strip of Xvfb right of that window lets every move
// enter afresh, so that the compositor's pointer lands where it was sent.
constexpr int kOutside = 32;

QProcessEnvironment WithoutDisplays()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

}  // namespace

void TWestonSession::Stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

TWestonSession::~TWestonSession()
{
    // weston ends its XWayland server itself.
    Stop(FWeston);
    Stop(FXvfb);
}

QProcessEnvironment TWestonSession::Environment(bool withX11) const
{
    QProcessEnvironment env = WithoutDisplays();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), FDir.path());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), FSocket);
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    if (withX11)
        env.insert(QStringLiteral("DISPLAY"), FX11Display);
    return env;
}

bool TWestonSession::StartXvfb(QSize output)
{
    // Xvfb picks a free display itself and names it on standard output.
    FXvfb.setProcessEnvironment(WithoutDisplays());
    FXvfb.setStandardErrorFile(FDir.filePath(QStringLiteral("xvfb.log")));
    FXvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                          QStringLiteral("%1x%2x24").arg(output.width() + kOutside).arg(output.height())});
    if (!FXvfb.waitForStarted(10000)) {
        FError = QStringLiteral("Xvfb does not start (package xvfb): ") + FXvfb.errorString();
        return false;
    }
    QByteArray number;
    const QDeadlineTimer deadline(30000);
    while (!number.endsWith('\n') && !deadline.hasExpired() && FXvfb.state() == QProcess::Running)
        if (FXvfb.waitForReadyRead(200))
            number += FXvfb.readAllStandardOutput();
    if (!number.endsWith('\n')) {
        FError = QStringLiteral("Xvfb names no display: ") + ReadAll(FDir.filePath(QStringLiteral("xvfb.log")));
        return false;
    }
    FInputDisplay = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    return true;
}

bool TWestonSession::Start(QSize output)
{
    if (!FDir.isValid() || ::chmod(QFile::encodeName(FDir.path()).constData(), 0700) != 0) {
        FError = QStringLiteral("no runtime folder");
        return false;
    }
    if (!StartXvfb(output))
        return false;
    FOutputWidth = output.width();
    const QString ini = FDir.filePath(QStringLiteral("weston.ini"));
    const QString log = FDir.filePath(QStringLiteral("weston.log"));
    QFile iniFile(ini);
    if (!iniFile.open(QIODevice::WriteOnly) || iniFile.write(kIni) < 0) {
        FError = QStringLiteral("cannot write ") + ini;
        return false;
    }
    iniFile.close();
    FSocket = QStringLiteral("rasp-wayland-%1").arg(::getpid());

    QProcessEnvironment env = WithoutDisplays();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), FDir.path());
    env.insert(QStringLiteral("DISPLAY"), FInputDisplay);
    FWeston.setProcessEnvironment(env);
    FWeston.setWorkingDirectory(FDir.path());
    FWeston.setStandardOutputFile(FDir.filePath(QStringLiteral("weston.out")));
    FWeston.setStandardErrorFile(FDir.filePath(QStringLiteral("weston.out")), QIODevice::Append);
    // --debug opens the screenshooter to clients.
    FWeston.start(QStringLiteral("weston"),
                  {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                   QStringLiteral("--width=%1").arg(output.width()),
                   QStringLiteral("--height=%1").arg(output.height()), QStringLiteral("--socket=") + FSocket,
                   QStringLiteral("--xwayland"), QStringLiteral("--config=") + ini, QStringLiteral("--debug"),
                   QStringLiteral("--log=") + log});
    if (!FWeston.waitForStarted(10000)) {
        FError = QStringLiteral("weston does not start: ") + FWeston.errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        const QRegularExpressionMatch m = listening.match(ReadAll(log));
        if (m.hasMatch() && QFile::exists(FDir.filePath(FSocket))) {
            FX11Display = m.captured(1);
            return true;
        }
        if (FWeston.waitForFinished(100)) {
            FError = QStringLiteral("weston ended: ") + ReadAll(log).right(2000) +
                     ReadAll(FDir.filePath(QStringLiteral("weston.out"))).right(1000);
            return false;
        }
    }
    FError = QStringLiteral("weston's X server did not come up: ") + ReadAll(log).right(2000);
    return false;
}

bool TWestonSession::Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                         QByteArray* out)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        FError = program + QStringLiteral(" did not end");
        return false;
    }
    const QByteArray output = p.readAll();
    if (out)
        *out = output;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        FError = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(output);
        return false;
    }
    return true;
}

bool TWestonSession::Input(const QStringList& xdotoolArguments)
{
    QProcessEnvironment env = WithoutDisplays();
    env.insert(QStringLiteral("DISPLAY"), FInputDisplay);
    return Run(QStringLiteral("xdotool"), xdotoolArguments, env);
}

bool TWestonSession::MovePointer(QPoint to)
{
    return Input({QStringLiteral("mousemove"), QString::number(FOutputWidth + kOutside / 2), QStringLiteral("0"),
                  QStringLiteral("sleep"), QStringLiteral("0.05"), QStringLiteral("mousemove"),
                  QString::number(to.x()), QString::number(to.y())});
}

QImage TWestonSession::Screenshot()
{
    // The screenshooter names its file by the second: a folder for each.
    const QString dir = FDir.filePath(QStringLiteral("shot%1").arg(++FShots));
    QDir().mkpath(dir);
    QProcess p;
    p.setProcessEnvironment(Environment());
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("weston-screenshooter"), {});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(2000);
        FError = QStringLiteral("weston-screenshooter failed: ") + QString::fromLocal8Bit(p.readAll());
        return {};
    }
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files);
    const QImage shot = files.size() == 1 ? QImage(QDir(dir).filePath(files.first())) : QImage();
    QDir(dir).removeRecursively();
    if (shot.isNull())
        FError = QStringLiteral("weston-screenshooter wrote no picture");
    return shot.convertToFormat(QImage::Format_RGB32);
}
