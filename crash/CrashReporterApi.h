#pragma once
// What the window layer needs of the crash reporter, without the reporter's
// types: the main loop's exception goes to ExceptionManager first, and the
// reporter is told what only the window system knows.
#include <exception>
#include <string>

namespace rasp {

// An exception that stops an operation without being a failure: never
// reported.
class EAbort : public std::exception {
public:
  explicit EAbort(std::string message = "Operation aborted") : FMessage(std::move(message)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};


// False when the exception was reported or filtered; true when the caller
// runs its own default handling (reporter inactive, already in a report,
// an exception that is not a failure).
bool ExceptionManager(std::exception_ptr error);

int CrashReportCount();
// True in a thread that waits for its own report to end.
bool CrashInReport();

// Keeps the windows painted and drops the user's input; the main thread
// runs it every 10 ms while it waits for a report.
using TCrashPaintPump = void (*)();
void SetCrashPaintPump(TCrashPaintPump pump);
// True while the pump runs in the handler of a fault in the program's own
// code: the windows are only to show again what they last drew; nothing of
// the program's own (posted calls, new paints) should run.
bool CrashPumpInFault();
// Posts a no-op to the GUI thread that calls CrashFreezeAnswer when it runs.
using TCrashFreezePoster = void (*)();
void SetCrashFreezePoster(TCrashFreezePoster poster);
void CrashFreezeAnswer();
// The class and text of the window and the control with the focus, as last
// seen by the window layer.
void SetCrashFocus(const std::string& formClass, const std::string& formText, const std::string& controlClass,
                   const std::string& controlText);
void SetCrashScreenSize(int width, int height);

} // namespace rasp
