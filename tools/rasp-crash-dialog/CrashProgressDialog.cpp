#include "tools/rasp-crash-dialog/CrashProgressDialog.h"

#include <QLabel>
#include <QProgressBar>

namespace rasp {

TCrashProgressDialog::TCrashProgressDialog(const TCrashDialogRequest& request, QWidget* parent)
    : TCrashStyledDialog(request.StyledDialogs,
                         QString::fromUtf8(request.Text(53).c_str()), parent) {
  const QPoint o = ClientOrigin();
  FStatus = new QLabel(QStringLiteral("Static"), this);
  FStatus->setGeometry(o.x() + 12, o.y() + 8, 256, 16);
  FBar = new QProgressBar(this);
  FBar->setRange(0, 100);
  FBar->setValue(0);
  FBar->setTextVisible(false);
  FBar->setGeometry(o.x() + 12, o.y() + 28, 255, 16);
  // The status says what is in progress; the bar takes it as its name.
  FStatus->setBuddy(FBar);
  setFixedSize(279 + 2 * FrameWidth(), 55 + 2 * FrameWidth() + CaptionHeight());
}

bool TCrashProgressDialog::Apply(const QString& line) {
  if (line == "close")
    return false;
  if (line.startsWith("progress "))
    FStatus->setText(QString::fromStdString(CrashDialogUnescape(line.mid(9).toStdString())));
  else if (line.startsWith("position "))
    FBar->setValue(qBound(0, line.mid(9).toInt(), 100));
  return true;
}

} // namespace rasp
