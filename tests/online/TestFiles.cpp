#include "tests/online/TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <stdexcept>

namespace rasp::test {

void WriteFile(const QString& path, const QByteArray& content, bool executable)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ReadOwner);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RecordingScript(const QString& record)
{
    const QByteArray target = record.toLocal8Bit();
    return "#!/bin/sh\n"
           "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + target + ".part'\n"
           "mv '" + target + ".part' '" + target + "'\n";
}

bool WaitForFile(const QString& path, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return true;
}

} // namespace rasp::test
