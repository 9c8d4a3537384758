// Linked as an object file into a program, this starts the crash reporter
// in the program's static initialisation, before main and before every
// static initialiser of the program's own (they may fail too), and tells it
// when start-up ends and shutdown begins. The program's own code does
// nothing for it; the program is linked with --wrap=main.
#include "crash/capture/CrashReport.h"
#include "crash/capture/CrashUnitState.h"

#include <cstdlib>

namespace {
struct TCrashUnit {
  TCrashUnit() { rasp::CrashReporterStart(); }
  // The first static made is the last destroyed: shutdown is under way.
  // The reporter stays in place until the process ends, so that what
  // fails later (other static destructors, the libraries') is reported.
  ~TCrashUnit() { rasp::CrashUnitFinalBegins(); }
  TCrashUnit(const TCrashUnit&) = delete;
  TCrashUnit& operator=(const TCrashUnit&) = delete;
};
__attribute__((init_priority(101))) TCrashUnit CrashUnit;
} // namespace

extern "C" int __real_main(int argc, char** argv, char** envp);

extern "C" int __wrap_main(int argc, char** argv, char** envp) {
  rasp::CrashUnitInitDone();
  // exit itself is redirected to say so first; this is for a call that
  // bypasses the redirection (from inside the C library).
  std::atexit([] { rasp::CrashUnitFinalBegins(); });
  int rc = __real_main(argc, argv, envp);
  rasp::CrashUnitFinalBegins();
  return rc;
}
