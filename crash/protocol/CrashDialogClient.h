#pragma once
// The report thread's side of the dialog helper: starts rasp-crash-dialog
// with posix_spawn, writes the request to its standard input and reads the
// answer from its standard output. When the helper cannot start or cannot
// show a window, the report text goes to standard error instead.
#include "crash/protocol/CrashDialogProtocol.h"

#include <string>
#include <sys/types.h>

namespace rasp {

// rasp-crash-dialog beside the running executable.
std::string CrashDialogHelperPath();

// Shows one dialog and waits for the user. fallbackText (the dialog header
// and the report) is written to standard error when no dialog was shown.
TCrashDialogResult CrashShowDialog(const std::string& helper, const TCrashDialogRequest& request,
                                   const std::string& fallbackText);

// The mail progress dialog for the length of one SMTP route.
class TCrashProgressHelper {
public:
  TCrashProgressHelper(const std::string& helper, TCrashDialogRequest request);
  ~TCrashProgressHelper();
  TCrashProgressHelper(const TCrashProgressHelper&) = delete;
  TCrashProgressHelper& operator=(const TCrashProgressHelper&) = delete;

  bool Running() const { return FPid > 0; }
  void SetText(const std::string& text);
  void SetPosition(int percent);
  // Closes the dialog and waits (at most 5 s) for the helper to end.
  void Close();

private:
  void Write(const std::string& line);
  pid_t FPid = -1;
  int FIn = -1;
};

} // namespace rasp
