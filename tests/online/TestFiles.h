#pragma once
// Small file helpers for the online tests.

#include <QByteArray>
#include <QString>

namespace rasp::test {

// Writes a file, creating its folders; executable makes it a runnable script.
void WriteFile(const QString& path, const QByteArray& content, bool executable = false);
QByteArray ReadFile(const QString& path);

// A shell script that writes each of its arguments on a line of its own to
// record (all at once, so a reader never sees half of them).
QByteArray RecordingScript(const QString& record);

// Waits, handling events, until the file exists; false after the time is up.
bool WaitForFile(const QString& path, int milliseconds = 10000);

} // namespace rasp::test
