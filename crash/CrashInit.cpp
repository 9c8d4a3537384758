// Linked as an object file into a program, this starts the crash reporter
// in the program's static initialisation, before main, and removes it at
// the end: the program's own code does nothing for it.
#include "crash/CrashReport.h"

namespace {
struct TCrashUnit {
  TCrashUnit() { rasp::CrashReporterStart(); }
  ~TCrashUnit() { rasp::CrashReporterStop(); }
  TCrashUnit(const TCrashUnit&) = delete;
  TCrashUnit& operator=(const TCrashUnit&) = delete;
};
TCrashUnit CrashUnit;
} // namespace
