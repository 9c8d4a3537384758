#pragma once
// The "REQUEST" dialog: the user describes the steps to reproduce the error.
#include "crash/protocol/CrashDialogProtocol.h"
#include "tools/rasp-crash-dialog/CrashStyledDialog.h"

class QPlainTextEdit;

namespace rasp {

class TCrashStepsDialog : public TCrashStyledDialog {
  Q_OBJECT
public:
  explicit TCrashStepsDialog(const TCrashDialogRequest& request, QWidget* parent = nullptr);
  // The whole text, trimmed; every way of closing keeps it.
  QString ReproduceText() const;
  QPlainTextEdit* Edit() const { return FEdit; }

private:
  QPlainTextEdit* FEdit;
};

} // namespace rasp
