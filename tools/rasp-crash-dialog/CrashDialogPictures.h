#pragma once
// The pictures of the crash dialogs, drawn here rather than loaded: the
// "MONITOR" picture of the exception dialog and the four 16 x 16 list icons.
#include <QPixmap>
#include <QString>

namespace rasp {

// 32 x 32; its bottom-left pixel is the transparent colour.
QPixmap CrashMonitorPicture();
// "PAS", "VCL", "BPL" or "DLL"; any other name gives "DLL".
QPixmap CrashListIcon(const QString& name);
// The mouse pointer drawn into a screenshot: a 32 x 32 arrow whose hot spot
// is its top-left pixel, transparent around it.
QImage CrashCursorPicture();

} // namespace rasp
