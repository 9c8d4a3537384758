#pragma once
// The "SMTP" progress dialog, shown while the report is mailed. The report
// thread feeds it lines on standard input ("progress <text>",
// "position <0..100>", "close").
#include "crash/protocol/CrashDialogProtocol.h"
#include "tools/rasp-crash-dialog/CrashStyledDialog.h"

class QLabel;
class QProgressBar;

namespace rasp {

class TCrashProgressDialog : public TCrashStyledDialog {
  Q_OBJECT
public:
  explicit TCrashProgressDialog(const TCrashDialogRequest& request, QWidget* parent = nullptr);
  // Applies one line of the report thread; false on "close".
  bool Apply(const QString& line);
  QLabel* Status() const { return FStatus; }
  QProgressBar* Bar() const { return FBar; }

private:
  QLabel* FStatus;
  QProgressBar* FBar;
};

} // namespace rasp
