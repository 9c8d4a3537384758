// How failures reach the report: fault signals, the C++ run time's raise
// and terminate paths, and threads started through pthread_create. Every
// entry point ends in CrashCentralHandling, which hands the failure to the
// report thread started in advance and waits for it.
#include "crash/capture/CrashCapture.h"
#include "crash/capture/CrashHook.h"
#include "crash/modules/CrashImmortal.h"
#include "crash/delivery/CrashTempFiles.h"
#include "crash/capture/CrashUnitState.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

extern char** environ;

namespace rasp {

namespace {
constexpr int FaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT};
constexpr size_t AltStackSize = 64 * 1024;
constexpr size_t RaiseStackCopy = 16 * 1024;
constexpr size_t CreatorStackCopy = 64 * 1024;
// A report whose own work (gathering, writing, delivery; not the time a
// dialog waits for the user) takes longer than this is taken to hang (a lock
// the failing thread held, say): the process ends instead of waiting for
// ever.
constexpr long long ReportTimeoutMs = 120 * 1000;
// How long the report thread waits, after a report, for the failing thread
// to take the end of its report; a thread that never does (stuck in its
// paint pump) must not keep the process alive.
constexpr long long HandBackMs = 10 * 1000;
// Live raises, by a hash of the exception object: an entry is cleared when
// its object is destroyed. Fixed memory and atomics, no lock: the raise path
// must not allocate (it may be raising std::bad_alloc) and a reader may run
// while a raising thread is stopped anywhere.
constexpr size_t LiveRaiseSlots = 256;

using TCxaThrow = void (*)(void*, std::type_info*, void (*)(void*));
using TPthreadCreate = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
using TExit = void (*)(int);
using TCxaFreeException = void (*)(void*);

struct TLiveRaise {
  std::atomic<const void*> Object{nullptr};
  std::atomic<uint64_t> Serial{0};
};

struct TCaptureState {
  std::atomic<bool> Active{false};
  int RequestPipe[2] = {-1, -1};
  int DonePipe[2] = {-1, -1};
  std::atomic<pid_t> ReportThread{0};
  pid_t MainThread = 0;
  pthread_t MainThreadHandle{};
  std::atomic<int> ReportLock{0};
  std::atomic<int> Waiting{0};
  TCrashImportHooks Hooks;
  std::atomic<TCxaThrow> RealCxaThrow{nullptr};
  std::atomic<TPthreadCreate> RealPthreadCreate{nullptr};
  std::atomic<TExit> RealExit{nullptr};
  std::atomic<TCxaFreeException> RealCxaFree{nullptr};
  std::atomic<uint64_t> RaiseSerial{0};
  TLiveRaise LiveRaises[LiveRaiseSlots];
  std::atomic<int> UserWaits{0};
  std::atomic<bool> HandedBack{false};
  std::atomic<bool> PumpInFault{false};
  // The program's own code: a fault there leaves the window loop in a state
  // its event handlers see anyway, so its windows may repaint.
  TCrashAddressRange OwnCode[8];
  int OwnCodeCount = 0;
  struct sigaction OldActions[sizeof FaultSignals / sizeof FaultSignals[0]]{};
  std::terminate_handler OldTerminate = nullptr;
  std::vector<std::string> Arguments;
  std::vector<char*> Argv;  // Arguments for execve, made at start: a restart may run in a signal handler
  std::string StartupFolder;  // where the program started: a restarted copy starts there too
  std::atomic<TCrashPaintPump> Pump{nullptr};
  TCrashTestHooks TestHooks;
  TCrashReportSteps Steps;
  std::mutex ThreadsLock;
  std::map<pid_t, std::shared_ptr<const std::vector<uint8_t>>> Threads;  // the thread list
};

TCaptureState& S() { return CrashImmortal<TCaptureState>(); }

// Trivial thread-locals only: the fault handler reads them.
thread_local bool tlInSignal = false;
thread_local bool tlInReport = false;
thread_local pid_t tlThreadId = 0;
thread_local uintptr_t tlStackTop = 0;

void Say(const char* text) {
  ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

long long NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000ll + ts.tv_nsec / 1000000;
}

bool InOwnCode(uintptr_t address) {
  for (int i = 0; i < S().OwnCodeCount; ++i)
    if (S().OwnCode[i].Contains(address)) return true;
  return false;
}

TLiveRaise& LiveSlot(const void* object) {
  return S().LiveRaises[(reinterpret_cast<uintptr_t>(object) >> 4) % LiveRaiseSlots];
}

void Nap(long nanoseconds) {
  timespec ts{0, nanoseconds};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// A readable copy of stack memory. The stack holds the sanitizer's red
// zones, so the copy goes word by word outside its checks.
__attribute__((no_sanitize("address"))) void CopyStack(uintptr_t from, size_t bytes, uint8_t* to) {
  const volatile uint64_t* src = reinterpret_cast<const volatile uint64_t*>(from);
  uint64_t* dst = reinterpret_cast<uint64_t*>(to);
  for (size_t i = 0; i < bytes / 8; ++i) dst[i] = src[i];
}

uintptr_t ThisStackTop() {
  if (tlStackTop) return tlStackTop;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    void* base = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attr, &base, &size) == 0) tlStackTop = reinterpret_cast<uintptr_t>(base) + size;
    pthread_attr_destroy(&attr);
  }
  return tlStackTop;
}

// The alternate signal stack of a thread, so that a stack overflow still
// reaches the fault handler.
class TAltStack {
public:
  TAltStack() {
    void* p = mmap(nullptr, AltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (p == MAP_FAILED) return;
    stack_t ss{};
    ss.ss_sp = p;
    ss.ss_size = AltStackSize;
    if (sigaltstack(&ss, nullptr) == 0) FMemory = p;
    else munmap(p, AltStackSize);
  }
  ~TAltStack() {
    if (!FMemory) return;
    stack_t ss{};
    ss.ss_flags = SS_DISABLE;
    sigaltstack(&ss, nullptr);
    munmap(FMemory, AltStackSize);
  }
  TAltStack(const TAltStack&) = delete;
  TAltStack& operator=(const TAltStack&) = delete;

private:
  void* FMemory = nullptr;
};

void EnterReportLock() {
  S().Waiting.fetch_add(1);
  int expected = 0;
  while (!S().ReportLock.compare_exchange_weak(expected, 1)) {
    expected = 0;
    Nap(1000000);
  }
  S().Waiting.fetch_sub(1);
}

void LeaveReportLock() { S().ReportLock.store(0); }

void* ReportThreadMain(void*) {
  TAltStack alt;
  tlThreadId = pid_t(syscall(SYS_gettid));
  S().ReportThread = tlThreadId;
  sigset_t all;
  sigfillset(&all);
  for (int sig : FaultSignals) sigdelset(&all, sig);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);
  while (true) {
    TCrashRequest* request = nullptr;
    ssize_t n = read(S().RequestPipe[0], &request, sizeof request);
    if (n < 0 && errno == EINTR) continue;
    if (n != ssize_t(sizeof request)) return nullptr;
    tlInReport = true;
    S().HandedBack = false;
    const int signal = request->Kind == rkSignal ? request->Signal : 0;
    CrashReportProcedure(*request);
    tlInReport = false;
    char done = 1;
    while (write(S().DonePipe[1], &done, 1) < 0 && errno == EINTR) {
    }
    // `request` lives on the failing thread's stack: not touched from here.
    for (long long start = NowMs(); !S().HandedBack.load();) {
      if (NowMs() - start > HandBackMs) {
        Say("crash reporter: the failing thread does not take the end of its report; the program ends.\n");
        RestartOrTerminate(false, signal);
      }
      Nap(5000000);
    }
  }
}

[[noreturn]] void EndAfterReport(bool restart, int signal = 0) {
  // Another thread that failed meanwhile gets its report before the
  // process ends.
  for (int i = 0; i < 6000 && (S().Waiting.load() > 0 || S().ReportLock.load() != 0); ++i) Nap(10000000);
  RestartOrTerminate(restart, signal);
}

// How a thread waiting in a fault or freeze handler waits: with its windows
// repainting when the failure lies in the program's own code of the window
// loop's thread.
TCrashWait SignalWait(pid_t tid, uintptr_t address) {
  return tid == S().MainThread && S().Pump.load() && InOwnCode(address) ? TCrashWait::SignalPump : TCrashWait::Signal;
}

void OnFaultSignal(int sig, siginfo_t* info, void* ucontext) {
  // A signal sent from outside (kill) may land on any thread that does not
  // block it, the report thread too; nothing failed there. It belongs to
  // the main thread, which reports it (or, when that is the thread busy
  // with a report, it changes nothing).
  const pid_t self = pid_t(syscall(SYS_gettid));
  if (info && info->si_code <= 0 && (self == S().ReportThread.load() || tlInReport)) {
    if (self != S().MainThread) syscall(SYS_tgkill, getpid(), S().MainThread, sig);
    return;
  }
  // The reporter's own failures end the process by the signal that came,
  // so that the system's crash collectors see them.
  if (tlInSignal) {
    Say("crash reporter: a second fault inside the fault handler; the program ends.\n");
    RestartOrTerminate(false, sig);
  }
  tlInSignal = true;
  if (auto hook = S().TestHooks.InSignalHandler) hook();
  const pid_t tid = self;
  if (tid == S().ReportThread.load() || tlInReport) {
    Say("crash reporter: a fault inside the crash report; the program ends.\n");
    RestartOrTerminate(false, sig);
  }
  TCrashRequest request;
  request.Kind = rkSignal;
  request.Signal = sig;
  request.SignalCode = info ? info->si_code : 0;
  request.FaultAddress = info ? reinterpret_cast<uintptr_t>(info->si_addr) : 0;
  CrashContextFromUcontext(ucontext, request.Context);
  request.Address = uintptr_t(request.Context.Rip);
  request.StackPointer = uintptr_t(request.Context.Rsp);
  request.ThreadId = tid;
  CrashCentralHandling(request, SignalWait(tid, request.Address));
  EndAfterReport(request.Restart, sig);
}

void OnFreezeSignal(int, siginfo_t*, void* ucontext) {
  int savedErrno = errno;
  if (!tlInSignal && !tlInReport) {
    tlInSignal = true;
    TCrashRequest request;
    request.Kind = rkFreeze;
    CrashContextFromUcontext(ucontext, request.Context);
    request.Address = uintptr_t(request.Context.Rip);
    request.StackPointer = uintptr_t(request.Context.Rsp);
    request.ThreadId = pid_t(syscall(SYS_gettid));
    CrashCentralHandling(request, SignalWait(request.ThreadId, request.Address));
    tlInSignal = false;
  }
  CrashFreezeReportDone();
  errno = savedErrno;
}

const void* ObjectOf(const std::exception_ptr& p) {
  const void* object = nullptr;
  static_assert(sizeof p == sizeof object);
  std::memcpy(&object, &p, sizeof object);
  return object;
}

[[noreturn]] void OnTerminate() {
  if (tlInReport || pid_t(syscall(SYS_gettid)) == S().ReportThread.load()) {
    Say("crash reporter: an exception escaped the crash report; the program ends.\n");
    _exit(1);
  }
  std::exception_ptr error = std::current_exception();
  TCrashExceptionInfo info;
  if (error) {
    info = CrashDescribeException(error);
  } else {
    info.ClassName = "std::terminate";
    info.Ancestors = {info.ClassName};
    info.Message = "The program called std::terminate without an exception.";
    info.IsException = true;
  }
  if (info.IsA("EAbort")) _exit(1);
  TCrashRequest request;
  request.Kind = rkCxx;
  request.Info = &info;
  TCrashRaiseState& raise = CrashThreadRaise();
  if (error && CrashRaiseIs(raise, ObjectOf(error), info.Type)) {
    request.Address = raise.Address;
    request.IsReturnAddress = true;
    request.Context = raise.Context;
    // The run time found no handler and did not unwind: the raiser's frames
    // are still on the stack, above the frames of the raise and of the
    // terminate path.
    request.StackPointer = raise.StackPointer;
  } else {
    // Not raised in this thread (rethrown from elsewhere): the stack of the
    // code that calls std::terminate, without this handler's own frame.
    request.StackPointer = reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) + 8;
  }
  request.ThreadId = CrashThreadId();
  CrashCentralHandling(request, TCrashWait::Pump);
  EndAfterReport(request.Restart);
}

struct TThreadStart {
  void* (*Start)(void*) = nullptr;
  void* Arg = nullptr;
  std::shared_ptr<const std::vector<uint8_t>> CreatorStack;
};

void* ThreadTrampoline(void* p) {
  std::unique_ptr<TThreadStart> start(static_cast<TThreadStart*>(p));
  TAltStack alt;
  pid_t tid = CrashThreadId();
  {
    std::lock_guard lock(S().ThreadsLock);
    S().Threads[tid] = start->CreatorStack;
  }
  // Leaves the thread list however the thread ends.
  auto unregister = [](const pid_t* id) {
    std::lock_guard lock(S().ThreadsLock);
    S().Threads.erase(*id);
  };
  std::unique_ptr<const pid_t, decltype(unregister)> registered(&tid, unregister);
  return start->Start(start->Arg);
}

// The register context of the raise, as far as the raise routine sees it:
// the callee-saved registers still hold the raiser's values here.
#define RASP_READ_REG(reg, field) asm volatile("mov %%" reg ", %0" : "=r"(field))
} // namespace

extern "C" [[noreturn]] __attribute__((noinline)) void RaspCrashCxaThrow(void* object, std::type_info* type,
                                                                         void (*destructor)(void*)) {
  TCrashContext context;
  RASP_READ_REG("rbx", context.Rbx);
  RASP_READ_REG("r12", context.R12);
  RASP_READ_REG("r13", context.R13);
  RASP_READ_REG("r14", context.R14);
  RASP_READ_REG("r15", context.R15);
  if (S().Active.load()) {
    uintptr_t frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    TCrashRaiseState& raise = CrashThreadRaise();
    raise.Object = object;
    raise.Type = type;
    raise.Serial = S().RaiseSerial.fetch_add(1) + 1;
    TLiveRaise& live = LiveSlot(object);
    live.Serial.store(0);
    live.Object.store(object);
    live.Serial.store(raise.Serial);
    CrashNoteRaise(object);
    raise.Address = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
    raise.StackPointer = frame + 16;  // the raiser's stack pointer after the call returns
    context.Rax = reinterpret_cast<uintptr_t>(object);
    context.Rdi = reinterpret_cast<uintptr_t>(object);
    context.Rsi = reinterpret_cast<uintptr_t>(type);
    context.Rbp = *reinterpret_cast<const uint64_t*>(frame);
    context.Rsp = raise.StackPointer;
    context.Rip = raise.Address;
    context.Valid = true;
    raise.Context = context;
    uintptr_t top = ThisStackTop();
    raise.StackSize = 0;
    if (top > raise.StackPointer) {
      size_t bytes = std::min<size_t>(RaiseStackCopy, (top - raise.StackPointer) & ~size_t(7));
      if (!raise.Stack) raise.Stack = std::make_unique<uint8_t[]>(RaiseStackCopy);
      CopyStack(raise.StackPointer, bytes, raise.Stack.get());
      raise.StackSize = bytes;
    }
  }
  S().RealCxaThrow.load()(object, type, destructor);
  __builtin_unreachable();
}

extern "C" int RaspCrashPthreadCreate(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*),
                                      void* arg) {
  TPthreadCreate real = S().RealPthreadCreate.load();
  if (!S().Active.load()) return real(thread, attr, start, arg);
  auto record = std::make_unique<TThreadStart>();
  record->Start = start;
  record->Arg = arg;
  uintptr_t sp = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  uintptr_t top = ThisStackTop();
  if (top > sp) {
    size_t bytes = std::min<size_t>(CreatorStackCopy, (top - sp) & ~size_t(7));
    auto copy = std::make_shared<std::vector<uint8_t>>(bytes);
    CopyStack(sp, bytes, copy->data());
    record->CreatorStack = std::move(copy);
  }
  int rc = real(thread, attr, ThreadTrampoline, record.get());
  if (rc == 0) (void)record.release();
  return rc;
}

// Every exception object ends here when it is destroyed (the run time calls
// it through its import slot): a raise record of it means nothing any more.
extern "C" void RaspCrashCxaFreeException(void* object) {
  TLiveRaise& live = LiveSlot(object);
  if (live.Object.load() == object) live.Serial.store(0);
  CrashNoteRaise(object);
  S().RealCxaFree.load()(object);
}

// exit called from anywhere in the program: its shutdown begins here, before
// the first atexit handler runs.
extern "C" [[noreturn]] void RaspCrashExit(int status) {
  CrashUnitFinalBegins();
  S().RealExit.load()(status);
  __builtin_unreachable();
}

TCrashRaiseState& CrashThreadRaise() {
  thread_local TCrashRaiseState state;
  return state;
}
bool& CrashThreadInReport() { return tlInReport; }
pid_t CrashThreadId() {
  if (!tlThreadId) tlThreadId = pid_t(syscall(SYS_gettid));
  return tlThreadId;
}
bool CrashRaiseIs(const TCrashRaiseState& raise, const void* object, const std::type_info* type) {
  if (!object || raise.Object != object || !raise.Serial) return false;
  if (type && raise.Type && !(*type == *raise.Type)) return false;
  TLiveRaise& live = LiveSlot(object);
  return live.Object.load() == object && live.Serial.load() == raise.Serial;
}
unsigned long CrashMainThreadHandle() { return S().MainThreadHandle; }
const TCrashTestHooks& CrashHooks() { return S().TestHooks; }
const TCrashReportSteps& CrashSteps() { return S().Steps; }
const std::vector<std::string>& CrashArguments() { return S().Arguments; }
void SetCrashTestHooks(const TCrashTestHooks& hooks) { S().TestHooks = hooks; }
void SetCrashReportSteps(const TCrashReportSteps& steps) { S().Steps = steps; }
void SetCrashPaintPump(TCrashPaintPump pump) { S().Pump = pump; }
bool CrashPumpInFault() { return S().PumpInFault.load(); }

TCrashWaitingForUser::TCrashWaitingForUser() { S().UserWaits.fetch_add(1); }
TCrashWaitingForUser::~TCrashWaitingForUser() { S().UserWaits.fetch_sub(1); }

std::shared_ptr<const std::vector<uint8_t>> CrashCreatorStack(pid_t thread) {
  std::lock_guard lock(S().ThreadsLock);
  auto it = S().Threads.find(thread);
  return it == S().Threads.end() ? nullptr : it->second;
}

uintptr_t CrashStackTopOf(uintptr_t sp) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    unsigned long long start = 0, end = 0;
    if (std::sscanf(line.c_str(), "%llx-%llx", &start, &end) == 2 && sp >= start && sp < end) return uintptr_t(end);
  }
  return 0;
}

bool CrashCentralHandling(TCrashRequest& request, TCrashWait wait) {
  TCaptureState& s = S();
  if (!s.Active.load() || tlInReport || CrashThreadId() == s.ReportThread.load()) return true;
  EnterReportLock();
  tlInReport = true;
  TCrashRequest* pointer = &request;
  bool sent = write(s.RequestPipe[1], &pointer, sizeof pointer) == ssize_t(sizeof pointer);
  const bool pumps = CrashThreadId() == s.MainThread && wait != TCrashWait::Signal;
  // Only the reporter's own work counts against the limit: the time a
  // dialog waits for the user does not.
  long long worked = 0, last = NowMs();
  for (; sent;) {
    pollfd pfd{s.DonePipe[0], POLLIN, 0};
    int r = poll(&pfd, 1, 10);
    if (r > 0) {
      char done;
      if (read(s.DonePipe[0], &done, 1) == 1) break;
    }
    if (pumps)
      if (auto pump = s.Pump.load()) {
        s.PumpInFault = wait == TCrashWait::SignalPump;
        pump();
        s.PumpInFault = false;
      }
    long long now = NowMs();
    if (s.UserWaits.load() == 0) worked += now - last;
    last = now;
    const long long limit = s.TestHooks.ReportTimeLimitMs > 0 ? s.TestHooks.ReportTimeLimitMs : ReportTimeoutMs;
    if (worked > limit) {
      Say("crash reporter: the report does not finish; the program ends.\n");
      // The copies made for the mail go with it.
      CrashRemoveTempPaths();
      RestartOrTerminate(false, request.Kind == rkSignal ? request.Signal : 0);
    }
  }
  s.HandedBack = true;
  if (wait == TCrashWait::Pump) {
    // Only the reported exception's raise is done with: one raised while
    // this thread waited is reported next, from where it was raised.
    TCrashRaiseState& raise = CrashThreadRaise();
    if (!request.Info || raise.Object == request.Info->Object) {
      raise.Object = nullptr;
      raise.Serial = 0;
      raise.Context.Valid = false;
    }
  }
  tlInReport = false;
  LeaveReportLock();
  // The user ended the program from the dialog: whichever way the failure
  // came, the program does not go on (a fault signal ends in its handler).
  if (sent && request.Terminate && request.Kind != rkSignal) EndAfterReport(request.Restart);
  return sent ? request.Result : true;
}

void RestartOrTerminate(bool restart, int signal) {
  // Only async-signal-safe calls: this may run in the fault handler, or in
  // a thread that another thread interrupted inside malloc.
  if (restart && S().Argv.size() > 1) {
    pid_t child = fork();
    if (child == 0) {
      // The new copy: a process group of its own, the folder the program
      // started in, no descriptor of ours but the standard three, and no
      // signal blocked by the failure.
      setpgid(0, 0);
      if (!S().StartupFolder.empty() && chdir(S().StartupFolder.c_str()) != 0) Say("crash reporter: cannot enter the start-up folder.\n");
      if (close_range(3, ~0u, 0) != 0)
        for (int fd = 3; fd < 4096; ++fd) close(fd);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      for (int sig : FaultSignals) ::signal(sig, SIG_DFL);
      execve("/proc/self/exe", S().Argv.data(), environ);
      Say("crash reporter: the program cannot be started again.\n");
      _exit(127);
    }
    if (child < 0) Say("crash reporter: the program cannot be started again.\n");
  }
  if (signal > 0) {
    // As if the handler had never been there: the default action of the
    // signal, a core dump for a fault.
    struct sigaction dfl{};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(signal, &dfl, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    syscall(SYS_tgkill, getpid(), pid_t(syscall(SYS_gettid)), signal);
  }
  _exit(1);
}

bool CrashCaptureStart() {
  TCaptureState& s = S();
  s.MainThread = CrashThreadId();
  s.MainThreadHandle = pthread_self();
  {
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    std::string arg;
    while (std::getline(cmdline, arg, '\0')) s.Arguments.push_back(arg);
  }
  for (std::string& a : s.Arguments) s.Argv.push_back(a.data());
  s.Argv.push_back(nullptr);
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) s.StartupFolder = cwd;
  ThisStackTop();
  if (pipe2(s.RequestPipe, O_CLOEXEC) != 0 || pipe2(s.DonePipe, O_CLOEXEC) != 0) return false;

  // Every module that may raise or start threads, but not the run time's
  // and the sanitizers' own, which must keep calling the real routines.
  auto wanted = [](const std::string& file) {
    std::string base = file.substr(file.rfind('/') + 1);
    for (const char* skip : {"ld-linux", "libc.so", "libasan", "libubsan", "libtsan", "liblsan", "libpthread",
                             "libgcc_s", "linux-vdso", "libdl.so", "libm.so"})
      if (base.rfind(skip, 0) == 0) return false;
    return true;
  };
  for (const TCrashLoadedModule& m : CrashLoadedModules())
    if (m.IsMain)
      for (const TCrashAddressRange& r : m.CodeSegments)
        if (s.OwnCodeCount < int(std::size(s.OwnCode))) s.OwnCode[s.OwnCodeCount++] = r;
  // Set before the slots point at the hooks, which call them at once.
  s.RealCxaThrow = reinterpret_cast<TCxaThrow>(dlsym(RTLD_DEFAULT, "__cxa_throw"));
  s.RealCxaFree = reinterpret_cast<TCxaFreeException>(dlsym(RTLD_DEFAULT, "__cxa_free_exception"));
  try {
    // The run time's own raises (std::__throw_out_of_range and the like)
    // go through its import slot of __cxa_throw: hooked too.
    s.RealCxaThrow = reinterpret_cast<TCxaThrow>(
        s.Hooks.HookImport(wanted, "__cxa_throw", reinterpret_cast<uintptr_t>(&RaspCrashCxaThrow), true));
    s.RealCxaFree = reinterpret_cast<TCxaFreeException>(s.Hooks.HookImport(
        wanted, "__cxa_free_exception", reinterpret_cast<uintptr_t>(&RaspCrashCxaFreeException), true));
    s.RealPthreadCreate = reinterpret_cast<TPthreadCreate>(
        s.Hooks.HookImport(wanted, "pthread_create", reinterpret_cast<uintptr_t>(&RaspCrashPthreadCreate)));
    s.RealExit = reinterpret_cast<TExit>(s.Hooks.HookImport(wanted, "exit", reinterpret_cast<uintptr_t>(&RaspCrashExit)));
  } catch (const EProcNull&) {
    s.Hooks.RestoreAll();
    return false;
  }

  pthread_t reportThread;
  if (s.RealPthreadCreate.load()(&reportThread, nullptr, ReportThreadMain, nullptr) != 0) {
    s.Hooks.RestoreAll();
    return false;
  }
  pthread_detach(reportThread);
  while (!s.ReportThread.load()) Nap(100000);

  CrashImmortal<TAltStack>();  // the main thread's
  struct sigaction action{};
  action.sa_sigaction = OnFaultSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < std::size(FaultSignals); ++i) sigaction(FaultSignals[i], &action, &s.OldActions[i]);
  struct sigaction freeze{};
  freeze.sa_sigaction = OnFreezeSignal;
  freeze.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
  sigemptyset(&freeze.sa_mask);
  sigaction(CrashFreezeSignal(), &freeze, nullptr);
  s.OldTerminate = std::set_terminate(OnTerminate);
  // A child between fork and exec has no report thread: it only ends.
  pthread_atfork(nullptr, nullptr, [] { S().Active = false; });
  s.Active = true;
  return true;
}

} // namespace rasp
