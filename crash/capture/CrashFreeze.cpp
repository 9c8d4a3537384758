// The freeze watchdog: a thread that keeps posting a no-op to the GUI
// thread and, when the GUI thread has not run it for FreezeTimeout
// seconds, has the main thread report where it hangs.
#include "crash/capture/CrashCapture.h"
#include "crash/modules/CrashImmortal.h"

#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <mutex>
#include <thread>

namespace rasp {

namespace {
constexpr int TickMs = 50;

struct TFreeze {
  std::mutex Lock;  // start and stop
  std::thread Thread;
  std::atomic<bool> Run{false};
  std::atomic<TCrashFreezePoster> Poster{nullptr};
  std::atomic<bool> Answered{false};
  std::atomic<bool> ReportDone{false};
  pthread_t MainThread{};
  ~TFreeze() {
    Run = false;
    if (Thread.joinable()) Thread.join();
  }
};

TFreeze& F() {
  return CrashImmortal<TFreeze>();
}

void Sleep(int ms) {
  timespec ts{ms / 1000, long(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

void Watch() {
  TFreeze& f = F();
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, CrashFreezeSignal());
  pthread_sigmask(SIG_BLOCK, &block, nullptr);
  bool posted = false;
  int frozenMs = 0;
  while (f.Run.load()) {
    TCrashFreezePoster poster = f.Poster.load();
    if (!poster) {  // no window loop yet
      Sleep(TickMs);
      continue;
    }
    if (!posted) {
      f.Answered = false;
      poster();
      posted = true;
    }
    Sleep(TickMs);
    if (f.Answered.load()) {
      posted = false;
      frozenMs = 0;
      Sleep(5 * TickMs);
      continue;
    }
    frozenMs += TickMs;
    TCrashModuleOptionsEx* o = CrashRunningOptions();
    int timeoutMs = o ? o->FreezeTimeout() * 1000 : 0;
    if (timeoutMs <= 0 || frozenMs != timeoutMs) continue;
    f.ReportDone = false;
    if (pthread_kill(f.MainThread, CrashFreezeSignal()) == 0)
      while (!f.ReportDone.load() && f.Run.load()) Sleep(10);
    frozenMs = 0;  // reported once per further timeout while it stays frozen
  }
}
} // namespace

int CrashFreezeSignal() { return SIGRTMIN + 4; }

void CrashFreezeReportDone() { F().ReportDone = true; }
void CrashFreezeAnswer() { F().Answered = true; }
void SetCrashFreezePoster(TCrashFreezePoster poster) { F().Poster = poster; }

void CrashFreezeSwitch(bool run) {
  TFreeze& f = F();
  std::lock_guard lock(f.Lock);
  if (run == f.Run.load() && (run == f.Thread.joinable())) return;
  if (!run) {
    f.Run = false;
    if (f.Thread.joinable()) f.Thread.join();
    return;
  }
  if (f.Thread.joinable()) {
    f.Run = false;
    f.Thread.join();
  }
  f.MainThread = CrashMainThreadHandle();
  f.Run = true;
  f.Thread = std::thread(Watch);
}

void CrashFreezeStop() { CrashFreezeSwitch(false); }

} // namespace rasp
