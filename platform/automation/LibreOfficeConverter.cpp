#include "platform/automation/LibreOfficeConverter.h"

#include "platform/automation/AutomationObject.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace rasp {

namespace {

enum class TWaitResult { Finished, TimedOut, Interrupted };

TWaitResult WaitForProcess(QProcess& process, int timeoutMs) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        return process.waitForFinished(timeoutMs) ? TWaitResult::Finished : TWaitResult::TimedOut;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (process.state() != QProcess::NotRunning) loop.exec();
    if (process.state() == QProcess::NotRunning) return TWaitResult::Finished;
    // The loop also ends when the application is asked to quit.
    return timer.isActive() ? TWaitResult::Interrupted : TWaitResult::TimedOut;
}

// The launcher starts the office program as its child: the whole process
// group goes, so nothing is left running in the background.
void KillProcessGroup(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    if (const qint64 pid = process.processId(); pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
    process.waitForFinished(5000);
}

std::string Quote(const QString& s) {
    // Appended piece by piece: GCC 12 warns wrongly about "literal" + string.
    std::string quoted(1, '"');
    quoted += s.toStdString();
    quoted += '"';
    return quoted;
}

}  // namespace

QString ConvertDocumentToText(const TConversionRequest& request) {
    QProcess process;
    process.setProgram(request.soffice);
    QStringList arguments{
        "-env:UserInstallation=" + QUrl::fromLocalFile(request.profileDir).toString(),
        "--headless", "--invisible", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
    };
    if (!request.inputFilter.isEmpty()) arguments << "--infilter=" + request.inputFilter;
    arguments << "--convert-to" << "txt:Text (encoded):UTF8" << "--outdir" << request.outDir << request.document;
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setsid(); });
    process.start();

    const TWaitResult waited = WaitForProcess(process, request.timeoutMs);
    if (process.error() == QProcess::FailedToStart) {
        throw EOleError("The word processor " + Quote(request.soffice) + " could not be started");
    }
    if (waited != TWaitResult::Finished) {
        KillProcessGroup(process);
        throw EOleError(waited == TWaitResult::TimedOut
                            ? "The word processor did not finish converting " + Quote(request.document) +
                                  " within " + std::to_string(request.timeoutMs / 1000) + " seconds"
                            : "The conversion of " + Quote(request.document) + " was interrupted");
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw EOleError("The word processor failed while converting " + Quote(request.document) +
                        (output.isEmpty() ? std::string() : ": " + output.toStdString()));
    }
    // The office program reports a document it cannot read with exit code 0
    // and simply writes nothing.
    const QStringList produced = QDir(request.outDir).entryList({"*.txt"}, QDir::Files);
    if (produced.isEmpty()) {
        const QString reason = output.contains("could not be loaded") ? "the file could not be read as a document"
                                                                      : output;
        throw EOleError("The word processor cannot open " + Quote(request.document) +
                        (reason.isEmpty() ? std::string() : ": " + reason.toStdString()));
    }
    return QDir(request.outDir).filePath(produced.front());
}

std::u16string ReadConvertedText(const QString& textFile) {
    QFile file(textFile);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EOleError("The converted text " + Quote(textFile) + " cannot be read");
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QString text = QString::fromUtf8(bytes);
    text.replace("\r\n", "\r");
    text.replace('\n', '\r');
    return text.toStdU16String();
}

}  // namespace rasp
