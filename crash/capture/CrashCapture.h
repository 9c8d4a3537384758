#pragma once
// Inside the reporter: what an entry point hands to the central handling,
// and the per-thread state of the raise.
#include "crash/capture/CrashReport.h"

#include <sys/types.h>

#include <memory>
#include <typeinfo>
#include <vector>

namespace rasp {

enum TCrashRequestKind { rkSignal, rkCxx, rkFreeze };

// One failure on its way to the report thread. It lives on the failing
// thread's stack (for a signal: its alternate stack, reserved in advance).
struct TCrashRequest {
  TCrashRequestKind Kind = rkCxx;
  int Signal = 0;
  int SignalCode = 0;
  uintptr_t FaultAddress = 0;
  const TCrashExceptionInfo* Info = nullptr;  // null for a signal: described in the report thread
  uintptr_t Address = 0;
  bool IsReturnAddress = false;
  TCrashContext Context;
  uintptr_t StackPointer = 0;
  uintptr_t StackTop = 0;  // 0: the end of the mapping that holds the stack pointer
  // The stack as it was at the raise, when it has been overwritten since.
  const uint8_t* RaiseStack = nullptr;
  size_t RaiseStackSize = 0;
  uintptr_t LiveStackPointer = 0;  // where the live stack continues above the copy
  pid_t ThreadId = 0;
  bool Result = true;     // true: the caller runs its default handling
  // The user chose to end the program in the dialog: it ends (or starts
  // again, with Restart) once the report is over, whatever the failure.
  bool Terminate = false;
  bool Restart = false;
};

// How the failing thread waits for its report.
enum class TCrashWait {
  Pump,         // keeps its windows painted (a thread of the window loop)
  Signal,       // in a signal handler: only async-signal-safe calls
  SignalPump,   // in the handler of a fault in our own code: windows repaint
                // from what they last drew (CrashPumpInFault)
};
// Runs the report for a request in the report thread and waits for it,
// one report at a time.
bool CrashCentralHandling(TCrashRequest& request, TCrashWait wait);
// The report procedure itself (report thread).
void CrashReportProcedure(TCrashRequest& request);

// Per-thread raise state, kept by the __cxa_throw hook (in the program, its
// libraries and the C++ run time itself, whose std::__throw_* helpers raise
// through it too).
struct TCrashRaiseState {
  const void* Object = nullptr;
  const std::type_info* Type = nullptr;
  uint64_t Serial = 0;  // which raise: a later exception at the same address is another one
  uintptr_t Address = 0;
  uintptr_t StackPointer = 0;
  TCrashContext Context;
  std::unique_ptr<uint8_t[]> Stack;
  size_t StackSize = 0;
};
TCrashRaiseState& CrashThreadRaise();
// Whether this thread's raise record is the raise of this exception: the
// same object and type, and the object not destroyed since.
bool CrashRaiseIs(const TCrashRaiseState& raise, const void* object, const std::type_info* type);
// Told of every raise and of every exception object destroyed, so that a
// reported exception is recognised only as long as it lives.
void CrashNoteRaise(const void* object);
bool& CrashThreadInReport();
pid_t CrashThreadId();

// The saved stack of the code that started a thread, if it was started
// through the hooked pthread_create.
std::shared_ptr<const std::vector<uint8_t>> CrashCreatorStack(pid_t thread);

// The end of the stack mapping that holds `sp` (the top of that stack).
uintptr_t CrashStackTopOf(uintptr_t sp);

// Capture start-up (it stays in place until the process ends).
bool CrashCaptureStart();
void CrashFreezeSwitch(bool run);
void CrashFreezeStop();
// The freeze watchdog asks the main thread for its context with this signal.
int CrashFreezeSignal();
void CrashFreezeReportDone();

const TCrashTestHooks& CrashHooks();
const TCrashReportSteps& CrashSteps();
const std::vector<std::string>& CrashArguments();
// The thread that started the reporter (the GUI thread).
unsigned long CrashMainThreadHandle();

} // namespace rasp
