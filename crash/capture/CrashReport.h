#pragma once
// The crash reporter's capture and report procedure: every failure nothing
// handles (a fault signal in any thread, an uncaught C++ exception, an
// exception that reaches the main loop, a freeze) becomes one report, one
// report at a time for the whole process.
//
// The reporter starts by itself in the static initialisation of the program
// that links the object library rasp_crash_init, and only when that program
// carries its data block.
#include "crash/modules/CrashContext.h"
#include "crash/log/CrashLog.h"
#include "crash/modules/CrashModules.h"
#include "crash/CrashReporterApi.h"

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

namespace rasp {

// The exception a freeze is reported as.
class EFrozenApplication : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// What the report knows about an exception object.
struct TCrashExceptionInfo {
  std::string ClassName;               // empty: not an object of a class
  std::vector<std::string> Ancestors;  // the class and every base class
  std::string Message;
  bool IsException = false;            // it has a message (std::exception)
  const void* Object = nullptr;
  const std::type_info* Type = nullptr;

  bool IsA(const std::string& className) const;  // by name, case and blanks aside
};
TCrashExceptionInfo CrashDescribeException(std::exception_ptr error);


bool CrashReporterActive();
// The options of the running module, or null while the reporter is inactive.
TCrashModuleOptionsEx* CrashRunningOptions();

// Start-up (run by the static initialiser of rasp_crash_init). There is no
// stop: the reporter stays in place until the process ends, so that a
// failure late in the shutdown is reported too (crash/capture/CrashUnitState.h).
void CrashReporterStart();

// Ends the process without running finalisation, after starting a new copy
// with the same arguments when asked to: by `signal` with its default action
// when the failure was a fault signal (so that a core dump is made and the
// system's crash collectors see it), else with exit status 1.
// Async-signal-safe.
[[noreturn]] void RestartOrTerminate(bool restart, int signal = 0);

// While one lives, the report waits for the user (a dialog is open): that
// time does not count against the report's time limit, which is there for
// the reporter's own work only.
class TCrashWaitingForUser {
public:
  TCrashWaitingForUser();
  ~TCrashWaitingForUser();
  TCrashWaitingForUser(const TCrashWaitingForUser&) = delete;
  TCrashWaitingForUser& operator=(const TCrashWaitingForUser&) = delete;
};

// The window layer's part is in CrashReporterApi.h.

// --- Steps of the report that the dialogs and the mail fill in ----------

struct TCrashReportInProgress {
  TCrashExceptionInfo Exception;
  uintptr_t ExceptionAddress = 0;
  uint32_t RaisingThreadID = 0;
  TCrashLogTexts Texts;
  std::string ShortText;
  std::string StepsText;     // what the user typed as the steps to reproduce
  TCrashLogPlace Stored;     // where the entry went (stored before any dialog shows)
  std::string MailText;
  bool DuplicateFound = false;
  bool TerminateRequested = false;
  std::vector<TCrashModulePtr> Modules;  // every loaded module, by handle
  TCrashStackList CallStack;
  TCrashModuleOptionsEx* Options = nullptr;
};

struct TCrashReportSteps {
  // Shows a filtered exception's message (information box).
  void (*ShowMessage)(const std::string& caption, const std::string& text) = nullptr;
  // Copies the screen for the mail when no dialog will take that copy.
  void (*TakeScreenshot)(TCrashReportInProgress& report) = nullptr;
  void (*ShowDialog)(TCrashReportInProgress& report) = nullptr;
  void (*AskSteps)(TCrashReportInProgress& report) = nullptr;
  // Places the report on the clipboard when the user ticked the box.
  void (*CopyToClipboard)(TCrashReportInProgress& report) = nullptr;
  void (*SendMail)(TCrashReportInProgress& report) = nullptr;
};
void SetCrashReportSteps(const TCrashReportSteps& steps);

// --- Test hooks ----------------------------------------------------------
struct TCrashTestHooks {
  void (*InSignalHandler)() = nullptr;   // runs first in the fault handler
  void (*InReportStep)(int step) = nullptr;  // runs at the start of every step
  long long ReportTimeLimitMs = 0;           // the limit of the reporter's own work; 0: 120 s
};
void SetCrashTestHooks(const TCrashTestHooks& hooks);

} // namespace rasp
