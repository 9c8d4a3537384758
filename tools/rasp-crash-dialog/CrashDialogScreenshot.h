#pragma once
// The screenshot of the whole screen, taken before a dialog covers it and
// written as PNG by the reporter's own writer.
#include <QString>

namespace rasp {

// False when there is no screen or the file cannot be written.
bool CrashWriteScreenshot(const QString& path);

} // namespace rasp
