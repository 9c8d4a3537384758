#include "crash/capture/CrashUnitState.h"

#include "crash/capture/CrashCapture.h"

#include <atomic>

namespace rasp {

namespace {
// Trivial atomics, readable from the fault handler at any time.
std::atomic<bool> InUnitInit{true};
std::atomic<bool> InUnitFinal{false};
} // namespace

bool CrashInUnitInit() { return InUnitInit.load(); }
bool CrashInUnitFinal() { return InUnitFinal.load(); }

void CrashUnitInitDone() { InUnitInit = false; }

void CrashUnitFinalBegins() {
  if (InUnitFinal.exchange(true)) return;
  // A program on its way out has no window loop left to answer the
  // watchdog: a long shutdown is not a freeze.
  CrashFreezeStop();
}

} // namespace rasp
