#include "tests/online/TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>
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

TScopedEnv::~TScopedEnv()
{
    for (const auto& [name, value] : FSaved)
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
}

void TScopedEnv::Set(const char* name, const QString& value)
{
    if (!FSaved.contains(name)) {
        const char* old = std::getenv(name);
        FSaved.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    ::setenv(name, value.toLocal8Bit().constData(), 1);
}

void InstallFakeBrowser(TScopedEnv& env, const QString& root, const QString& record)
{
    const QDir dir(root);
    env.Set("XDG_CONFIG_HOME", dir.filePath("config"));
    env.Set("XDG_CONFIG_DIRS", dir.filePath("etc-xdg"));
    env.Set("XDG_DATA_HOME", dir.filePath("data"));
    env.Set("XDG_DATA_DIRS", dir.filePath("share"));
    env.Set("XDG_CURRENT_DESKTOP", "");
    const QString script = dir.filePath("bin/fake browser");
    WriteFile(script, RecordingScript(record), true);
    WriteFile(dir.filePath("data/applications/fake.desktop"),
              "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script.toLocal8Bit()
                  + "\" %u\n");
    WriteFile(dir.filePath("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/http=fake.desktop\n");
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
