// A program that fails on purpose, one way per subcommand, with the crash
// reporter linked in as in tellivo-rasp. Options before the subcommand
// change the reporter's options:
//   crash_test_app [--out DIR] [--keep N] [--nodup] [--filter CLASS[=MESSAGE]]
//                  [--freeze SECONDS] [--dialog TERMINATE-OPERATION] [--steps]
//                  [--limit MS] [--log-at-step N] SUBCOMMAND
// --steps asks for the steps to reproduce, --limit sets the report's time
// limit, --log-at-step prints "log at step N: <entries>" when the report
// reaches step N.
// "once SUBCOMMAND" notes each start of the program in OUT/starts.txt and
// fails only on the first one; a copy started again says "restarted".
// Before it fails it prints "line N" with the line of the failing statement.
// CRASH_TEST_AT=startup-segv|startup-throw (a static initialiser),
// shutdown-segv|shutdown-throw (a static destructor), exit-segv (an atexit
// handler) or late-shutdown-segv (a finaliser that runs after every static
// destructor, the reporter's own included) fails outside main instead.
#include "crash/log/CrashLog.h"
#include "crash/capture/CrashReport.h"
#include "crash/capture/CrashUnitState.h"
#include "tests/crash/app/CrashTestWindow.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

class ETestFiltered : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

volatile int* NullPointer = nullptr;

void Line(int line) {
  std::printf("line %d\n", line);
  std::fflush(stdout);
}

bool FailAt(const char* when) {
  const char* at = std::getenv("CRASH_TEST_AT");
  return at && std::strcmp(at, when) == 0;
}

void SayPhase(const char* where) {
  std::printf("%s: in unit init %d, in unit final %d, reporter %d\n", where, int(rasp::CrashInUnitInit()),
              int(rasp::CrashInUnitFinal()), int(rasp::CrashReporterActive()));
  std::fflush(stdout);
}

} // namespace

__attribute__((noinline)) void CrashTestNullWrite() {
  Line(__LINE__ + 1);
  *NullPointer = 42;
}

__attribute__((noinline)) void CrashTestCaughtThrow() {
  try {
    throw std::runtime_error("Caught where it was thrown");
  } catch (const std::exception&) {
  }
}

__attribute__((noinline)) void CrashTestStoi() {
  Line(__LINE__ + 1);
  std::printf("%d\n", std::stoi(std::string("nonsense")));
}

__attribute__((noinline)) void CrashTestVectorAt() {
  std::vector<int> v(2);
  Line(__LINE__ + 1);
  std::printf("%d\n", v.at(size_t(NullPointer == nullptr) + 2));
}

__attribute__((noinline)) void CrashTestStaticThrow() {
  Line(__LINE__ + 1);
  throw std::logic_error("Thrown outside main");
}

namespace {

// Made in the program's static initialisation, destroyed in its shutdown.
struct TCrashTestStatic {
  TCrashTestStatic() {
    SayPhase("static");
    if (FailAt("startup-segv")) CrashTestNullWrite();
    if (FailAt("startup-throw")) CrashTestStaticThrow();
  }
  ~TCrashTestStatic() {
    SayPhase("destructor");
    if (FailAt("shutdown-segv")) CrashTestNullWrite();
    if (FailAt("shutdown-throw")) CrashTestStaticThrow();  // out of a destructor: std::terminate
  }
};
TCrashTestStatic CrashTestStatic;

// Run by the loader's finalisation, after every atexit handler and static
// destructor, as the libraries' own finalisers are.
__attribute__((destructor)) void CrashTestLateFinaliser() {
  if (FailAt("late-shutdown-segv")) {
    SayPhase("late finaliser");
    CrashTestNullWrite();
  }
}

} // namespace

namespace {

volatile bool Forever = true;

__attribute__((noinline)) int CrashTestRecurse(int depth) {
  volatile char pad[512];
  pad[0] = char(depth);
  return Forever ? CrashTestRecurse(depth + 1) + pad[0] : 0;
}

__attribute__((noinline)) void CrashTestThrow() {
  Line(__LINE__ + 1);
  throw std::runtime_error("Nobody catches this");
}

void* PthreadBody(void*) {
  CrashTestNullWrite();
  return nullptr;
}

__attribute__((noinline)) void CrashTestStartPthread() {
  pthread_t t;
  pthread_create(&t, nullptr, PthreadBody, nullptr);
  pthread_join(t, nullptr);
}

std::atomic<int> Ready{0};
__attribute__((noinline)) void CrashTestFirstOfTwo() {
  ++Ready;
  while (Ready.load() < 2) {
  }
  *NullPointer = 1;
}
__attribute__((noinline)) void CrashTestSecondOfTwo() {
  ++Ready;
  while (Ready.load() < 2) {
  }
  *NullPointer = 2;
}

void FaultInHandler() { *NullPointer = 3; }
void ThrowInStep(int step) {
  if (step == 4) throw std::runtime_error("The report itself failed");
}
void KillBeforeRename() { raise(SIGKILL); }

rasp::TCrashTestHooks Hooks;
int LogStep = 0;
std::string LogFile;
void PrintLogAtStep(int step) {
  if (step != LogStep) return;
  rasp::TLogFile log(LogFile);
  log.Load();
  std::printf("log at step %d: %zu\n", step, log.Entries().size());
  std::fflush(stdout);
}

// One line per start of the program: what a copy started again must share
// with the first one.
bool FirstStart(const std::string& folder, int argc, char** argv) {
  std::string file = folder + "/starts.txt";
  int fd = open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool first = lseek(fd, 0, SEEK_END) == 0;
  char cwd[4096] = "";
  if (!getcwd(cwd, sizeof cwd)) cwd[0] = 0;
  std::string line = "pid=" + std::to_string(getpid()) + " pgid=" + std::to_string(getpgrp()) + " cwd=" + cwd + " args=";
  for (int a = 0; a < argc; ++a) line += std::string(a ? "|" : "") + argv[a];
  line += "\n";
  ssize_t ignored = write(fd, line.data(), line.size());
  (void)ignored;
  close(fd);
  return first;
}

// Each loop ends itself by the exit it queued before failing.
int RunApp(int argc, char** argv, const std::function<void()>& inLoop) {
  return CrashTestRunLoop(argc, argv, inLoop);
}

} // namespace

int main(int argc, char** argv) {
  rasp::TCrashModuleOptionsEx* o = rasp::CrashRunningOptions();
  if (!o) {
    std::fprintf(stderr, "the crash reporter is not active\n");
    return 2;
  }
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    std::string opt = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "";
    if (opt == "--out") o->SetOutputPath(value), ++i;
    else if (opt == "--keep") o->SetErrorsNumberToSave(std::atoi(value)), ++i;
    else if (opt == "--nodup") o->SetReportOptions(o->ReportOptions() | (1u << rasp::loNoDuplicateErrors));
    else if (opt == "--filter") {
      std::string f = value;
      size_t eq = f.find('=');
      o->ExceptionFilterClasses().Add(f.substr(0, eq));
      o->ExceptionFilterMessages().Add(eq == std::string::npos ? "" : f.substr(eq + 1));
      ++i;
    } else if (opt == "--dialog") {
      // The dialog through the helper beside the program, with its
      // terminate button from the first report on.
      o->SetShowDialog(true);
      o->SetErrorsNumberToShowTerminateBtn(0);
      o->SetTerminateBtnOperation(uint8_t(std::atoi(value)));
      ++i;
    } else if (opt == "--freeze") {
      o->SetFreezeTimeout(std::atoi(value));
      o->SetFreezeActivate(true);
      ++i;
    } else if (opt == "--steps") {
      o->SetReportOptions(o->ReportOptions() | (1u << rasp::loAppendReproduceText));
    } else if (opt == "--limit") {
      Hooks.ReportTimeLimitMs = std::atoi(value);
      ++i;
    } else if (opt == "--log-at-step") {
      LogStep = std::atoi(value);
      Hooks.InReportStep = PrintLogAtStep;
      ++i;
    }
  }
  LogFile = o->OutputPath() + "/crash_test_app.cwf";
  rasp::SetCrashTestHooks(Hooks);
  std::string cmd = i < argc ? argv[i] : "";
  SayPhase("main");
  if (FailAt("exit-segv")) {
    std::atexit([] {
      SayPhase("atexit");
      CrashTestNullWrite();
    });
    std::exit(0);
  }
  if (cmd == "once") {
    if (!FirstStart(o->OutputPath(), argc, argv)) {
      std::printf("restarted\n");
      return 0;
    }
    cmd = i + 1 < argc ? argv[i + 1] : "";
  }
  if (cmd == "segv") CrashTestNullWrite();
  else if (cmd == "vector-at") CrashTestVectorAt();
  else if (cmd == "stoi-after-caught") {
    // A raise of our own, caught; then one of the run time's, which may
    // land where the first one lay. The report names the second.
    int rc = RunApp(argc, argv, [] {
      CrashTestQuitSoon();
      CrashTestCaughtThrow();
      CrashTestStoi();
    });
    std::printf("reports %d\n", rasp::CrashReportCount());
    return rc;
  }
  else if (cmd == "overflow") std::printf("%d\n", CrashTestRecurse(0));
  else if (cmd == "throw") CrashTestThrow();
  else if (cmd == "filtered") throw ETestFiltered("Filtered");
  else if (cmd == "eabort") throw rasp::EAbort();
  else if (cmd == "pthread") CrashTestStartPthread();
  else if (cmd == "qthread") {
    CrashTestStartQThread();
  } else if (cmd == "two") {
    std::thread a(CrashTestFirstOfTwo), b(CrashTestSecondOfTwo);
    a.join();
    b.join();
  } else if (cmd == "qtevent") {
    // The exceptions reach the main loop: each is reported, and the program
    // goes on.
    int rc = RunApp(argc, argv, [] {
      CrashTestLater([] {
        CrashTestQuitSoon();
        CrashTestThrow();
      });
      CrashTestThrow();
    });
    std::printf("reports %d\n", rasp::CrashReportCount());
    return rc;
  } else if (cmd == "qtthrow") {
    RunApp(argc, argv, [] {
      CrashTestQuitSoon();
      CrashTestThrow();
    });
    std::printf("went on\n");
  } else if (cmd == "qtabort") {
    int rc = RunApp(argc, argv, [] {
      CrashTestQuitSoon();
      throw rasp::EAbort();
    });
    std::printf("reports %d\n", rasp::CrashReportCount());
    return rc;
  } else if (cmd == "freeze") {
    int rc = RunApp(argc, argv, [] {
      CrashTestQuitSoon();
      usleep(1600 * 1000);  // blocked for more than one timeout, less than two
    });
    std::printf("reports %d\n", rasp::CrashReportCount());
    return rc;
  } else if (cmd == "handler-fault") {
    Hooks.InSignalHandler = FaultInHandler;
    rasp::SetCrashTestHooks(Hooks);
    CrashTestNullWrite();
  } else if (cmd == "report-throws") {
    Hooks.InReportStep = ThrowInStep;
    rasp::SetCrashTestHooks(Hooks);
    CrashTestNullWrite();
  } else if (cmd == "kill-in-rewrite") {
    rasp::SetCrashLogBeforeRenameProbe(KillBeforeRename);
    CrashTestNullWrite();
  } else if (cmd == "input") {
    Hooks.InReportStep = CrashTestInputWhileReporting;
    rasp::SetCrashTestHooks(Hooks);
    return CrashTestInputDuringReport(argc, argv);
  } else if (cmd == "repaint" || cmd == "repaint-fault") {
    Hooks.InReportStep = CrashTestShotWhileReporting;
    rasp::SetCrashTestHooks(Hooks);
    return CrashTestRepaintDuringReport(argc, argv, o->OutputPath() + "/shot.ppm", cmd == "repaint-fault");
  } else if (cmd == "ok") {
  } else if (cmd == "idle") {
    std::printf("ready\n");
    std::fflush(stdout);
    pause();
  } else {
    std::fprintf(stderr, "unknown subcommand\n");
    return 2;
  }
  return 0;
}
