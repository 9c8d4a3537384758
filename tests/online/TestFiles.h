#pragma once
// Small file helpers for the online tests.

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <string>

namespace rasp::test {

// Sets environment variables for its lifetime and restores them afterwards.
class TScopedEnv {
public:
    TScopedEnv() = default;
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;
    ~TScopedEnv();
    void Set(const char* name, const QString& value);

private:
    std::map<std::string, std::optional<std::string>> FSaved;
};

// Points the XDG folders at a root folder and registers there a browser for
// http: a script that records its arguments to record.
void InstallFakeBrowser(TScopedEnv& env, const QString& root, const QString& record);

// Writes a file, creating its folders; executable makes it a runnable script.
void WriteFile(const QString& path, const QByteArray& content, bool executable = false);
QByteArray ReadFile(const QString& path);

// A shell script that writes each of its arguments on a line of its own to
// record (all at once, so a reader never sees half of them).
QByteArray RecordingScript(const QString& record);

// Waits, handling events, until the file exists; false after the time is up.
bool WaitForFile(const QString& path, int milliseconds = 10000);

} // namespace rasp::test
