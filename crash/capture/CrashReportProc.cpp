// The reporter's state, its start and end, ExceptionManager and the report
// procedure that runs in the report thread.
#include "crash/modules/CrashCallEncoding.h"
#include "crash/capture/CrashCapture.h"
#include "crash/modules/CrashFormat.h"
#include "crash/modules/CrashImmortal.h"
#include "crash/modules/CrashMemory.h"
#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"
#include "platform/paths/WritableFolder.h"

#include <cxxabi.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <typeinfo>

namespace rasp {

namespace {
struct TReporter {
  std::atomic<bool> Active{false};
  std::unique_ptr<TCrashModulesList> Modules;
  std::unique_ptr<TCrashModuleOptionsEx> Current;
  time_t StartTime = 0;
  std::atomic<uintptr_t> LastReportedAddress{0};
  std::atomic<const void*> LastReportedObject{nullptr};
  std::atomic<int> ReportCount{0};
  std::mutex FocusLock;
  std::string FormClass, FormText, ControlClass, ControlText;
};

TReporter& R() {
  // The module records refer to the running module's record, which must
  // therefore be made first and destroyed last.
  static const TCrashLoadedModule& running = CrashRunningModule();
  (void)running;
  return CrashImmortal<TReporter>();
}

std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> d(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && d ? std::string(d.get()) : std::string(name);
}

// The class and its bases, read from the run time's type information.
void CollectAncestors(const std::type_info* type, std::vector<std::string>& out) {
  if (!type) return;
  out.push_back(Demangle(type->name()));
  if (auto si = dynamic_cast<const abi::__si_class_type_info*>(type)) {
    CollectAncestors(si->__base_type, out);
  } else if (auto vmi = dynamic_cast<const abi::__vmi_class_type_info*>(type)) {
    for (unsigned i = 0; i < vmi->__base_count; ++i) CollectAncestors(vmi->__base_info[i].__base_type, out);
  }
}

std::string Normalised(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  std::string t = b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
  for (char& c : t) c = char(std::tolower(uint8_t(c)));
  return t;
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

TCrashExceptionInfo SignalException(const TCrashRequest& r, TCrashModulesList& modules) {
  TCrashExceptionInfo info;
  info.IsException = true;
  TCrashModulePtr module = modules.ModuleRecordOf(r.Address);
  std::string where = "at address " + CrashHexAddress(r.Address) +
                      (module ? " in module '" + BaseName(module->FileName) + "'" : std::string());
  if (r.Kind == rkFreeze) {
    const std::string& m = R().Current->FreezeMessage();
    info.ClassName = "EFrozenApplication";
    info.Message = m.empty() ? CrashDefaultFreezeMessage : m;
  } else if ((r.Signal == SIGSEGV || r.Signal == SIGBUS) && r.SignalCode > 0 && r.FaultAddress &&
             r.FaultAddress < r.StackPointer + 4096 && r.FaultAddress + (1u << 20) > r.StackPointer) {
    // A fault just below the stack pointer: the stack ran into its guard.
    info.ClassName = "EStackOverflow";
    info.Message = "Stack overflow";
  } else if (r.Signal == SIGSEGV || r.Signal == SIGBUS) {
    info.ClassName = "EAccessViolation";
    if (r.SignalCode <= 0) {
      info.Message = "Signal " + std::string(sigabbrev_np(r.Signal) ? sigabbrev_np(r.Signal) : "?") +
                     " received " + where;
    } else {
      info.Message = "Access violation " + where + ". Access of address " + CrashHexAddress(r.FaultAddress);
    }
  } else if (r.Signal == SIGFPE) {
    info.ClassName = r.SignalCode == FPE_INTDIV ? "EDivByZero" : "EMathError";
    info.Message = (r.SignalCode == FPE_INTDIV ? "Division by zero " : "Floating point error ") + where;
  } else if (r.Signal == SIGILL) {
    info.ClassName = "EPrivilege";
    info.Message = "Illegal instruction " + where;
  } else if (r.Signal == SIGABRT) {
    info.ClassName = "EAbnormalTermination";
    info.Message = "The program was aborted " + where;
  } else {
    info.ClassName = "EExternalException";
    info.Message = "External exception (signal " + std::to_string(r.Signal) + ") " + where;
  }
  info.Ancestors = {info.ClassName, "Exception"};
  return info;
}

// The instruction that made the call, for a return address.
uintptr_t CallAddress(uintptr_t returnAddress) {
  TCrashMemoryProbe probe;
  uint8_t before[8];
  if (returnAddress >= 8 && probe.Read(returnAddress - 8, before, sizeof before)) {
    TCrashCallMatch m = MatchCallBefore(before);
    if (m.Kind != ckNone) return returnAddress - uintptr_t(m.Length);
  }
  return returnAddress - 5;
}

std::string ProgramPath() {
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  return n > 0 ? std::string(exe, size_t(n)) : std::string("tellivo-rasp");
}

// The crash log of the current options: the program folder when it may be
// written, else the user's state folder.
std::string LogFilePath(const TCrashModuleOptions& o) {
  std::string name = o.LogFileName();
  if (!o.OutputPath().empty()) return name;
  return WritableFolderFor(TWritableKind::State, FolderOf(name)) + BaseName(name);
}

void InternalFailure(int section, uintptr_t address, const std::string& message) {
  char line[512];
  std::snprintf(line, sizeof line, "[ERROR] - Section: %d - Address: %s - Message: \"%s\"\n", section,
                CrashHexAddress(address).c_str(), message.c_str());
  std::fputs(line, stderr);
  std::string program = ProgramPath();
  std::string base = BaseName(program);
  std::string note = WritableFolderFor(TWritableKind::State, FolderOf(program)) + base + ".log";
  std::string dump;
  TCrashMemoryProbe probe;
  uint8_t code[32];
  if (address && probe.Read(address, code, sizeof code))
    for (uint8_t b : code) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "$%02X ", b);
      dump += hex;
    }
  std::string os;
  {
    std::unique_ptr<FILE, decltype(&std::fclose)> f(std::fopen("/etc/os-release", "r"), std::fclose);
    char buf[256];
    while (f && std::fgets(buf, sizeof buf, f.get()))
      if (std::strncmp(buf, "PRETTY_NAME=", 12) == 0) {
        os = buf + 12;
        os.erase(std::remove(os.begin(), os.end(), '"'), os.end());
        os.erase(std::remove(os.begin(), os.end(), '\n'), os.end());
      }
  }
  std::string text = "OS     : " + os + "\r\nRAD    : GCC " + __VERSION__ + ", C++20\r\nDump   : " + dump +
                     "\r\nSection: " + std::to_string(section) + "\r\nAddress: " + CrashHexAddress(address) +
                     "\r\nMessage: " + message + "\r\n";
  TUniqueFd fd(open(note.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (fd) WriteAll(fd.Get(), text);
}

void Warning(const char* code, uintptr_t address, const std::string& message) {
  std::fprintf(stderr, "[WARNING] - Code: %s - Address: %s - Message: \"%s\"\n", code,
               CrashHexAddress(address).c_str(), message.c_str());
}

void DefaultShowMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s %s\n", caption.c_str(), text.c_str());
}

// The steps of the report. Returns the result of the report.
bool RunReport(TCrashRequest& req, int& step) {
  TReporter& rep = R();
  auto enter = [&](int n) {
    step = n;
    if (auto hook = CrashHooks().InReportStep) hook(n);
  };
  TCrashReportInProgress report;

  enter(1);
  time_t exceptionTime = time(nullptr);
  uintptr_t address = req.Address;
  rep.LastReportedAddress = address;
  if (req.IsReturnAddress && address) address = CallAddress(address);

  enter(2);
  TCrashModulesList& modules = *rep.Modules;
  modules.DropChangedModules();
  SelectCurrentOptions(modules, address, *rep.Current);
  TCrashModuleOptionsEx& o = *rep.Current;
  report.Options = &o;
  report.Exception = req.Info ? *req.Info : SignalException(req, modules);
  report.ExceptionAddress = address;
  report.RaisingThreadID = uint32_t(req.ThreadId);

  enter(3);
  if (report.Exception.IsA("EAbort")) return false;
  if (o.UseExceptionFilter()) {
    for (int i = 0; i < o.ExceptionFilterClasses().Count(); ++i) {
      if (!report.Exception.IsA(o.ExceptionFilterClasses()[i])) continue;
      std::string message = o.ExceptionFilterMessages().At(i);
      if (!message.empty()) {
        auto show = CrashSteps().ShowMessage ? CrashSteps().ShowMessage : DefaultShowMessage;
        show(o.CustomText(0), message);
      }
      return false;
    }
  }

  enter(4);
  uintptr_t top = req.StackTop ? req.StackTop : CrashStackTopOf(req.StackPointer);
  TCrashContext context = req.Context;
  std::optional<uintptr_t> first = address ? std::optional<uintptr_t>(address) : std::nullopt;
  if (req.RaiseStack && req.RaiseStackSize) {
    uintptr_t copy = reinterpret_cast<uintptr_t>(req.RaiseStack);
    report.CallStack = modules.BuildCallStack(first, copy, copy + req.RaiseStackSize);
    uintptr_t live = std::max(req.LiveStackPointer, req.StackPointer + req.RaiseStackSize);
    uintptr_t liveTop = CrashStackTopOf(req.LiveStackPointer);
    TCrashStackList above = modules.BuildCallStack(std::nullopt, live, liveTop);
    for (const TCrashDebugInfo& e : above.Items()) report.CallStack.Add(e);
  } else {
    report.CallStack = modules.BuildCallStack(first, req.StackPointer, top);
  }

  enter(5);
  if (auto creator = CrashCreatorStack(req.ThreadId); creator && !creator->empty()) {
    uintptr_t at = reinterpret_cast<uintptr_t>(creator->data());
    TCrashStackList creatorStack = modules.BuildCallStack(std::nullopt, at, at + creator->size());
    for (const TCrashDebugInfo& e : creatorStack.Items()) report.CallStack.Add(e);
  }

  enter(6);
  {
    std::vector<TCrashDebugInfo> items = report.CallStack.Items();
    if (items.size() >= 2 && items[0].Address == items[1].Address) items.erase(items.begin());
    else if (req.IsReturnAddress && items.size() >= 2 &&
             std::any_of(items.begin() + 1, items.end(), [&](const TCrashDebugInfo& e) { return e.Address == items[0].Address; }))
      items.erase(items.begin());
    report.CallStack = TCrashStackList();
    for (const TCrashDebugInfo& e : items) report.CallStack.Add(e);
  }

  enter(7);
  modules.RefreshModuleList();
  TCrashLogInput in;
  in.StartTime = rep.StartTime;
  in.ExceptionTime = exceptionTime;
  TCrashModulePtr main;
  for (const TCrashModulePtr& m : modules.Records())
    if (m && m->IsMain) main = m;
  std::vector<std::string> args = CrashArguments();
  in.AppName = main ? (main->Description.empty() ? BaseName(main->FileName) : main->Description) : "";
  in.AppVersion = main ? main->Version : "";
  if (!args.empty()) args.erase(args.begin());
  in.Arguments = args;
  in.ExceptionAddress = address;
  if (TCrashModulePtr m = modules.ModuleRecordOf(address)) {
    in.ModuleName = m->FileName;
    in.ModuleOffset = m->FileAddress(address);
  }
  in.ClassName = report.Exception.ClassName;
  in.Message = report.Exception.Message;
  in.IsException = report.Exception.IsException;
  {
    std::lock_guard lock(rep.FocusLock);
    in.FormClass = rep.FormClass;
    in.FormText = rep.FormText;
    in.ControlClass = rep.ControlClass;
    in.ControlText = rep.ControlText;
  }
  in.Context = context;
  in.StackPointer = req.StackPointer;
  report.Texts = CrashBuildLogTexts(in, report.CallStack, modules.Records(), o);
  std::string logFile = LogFilePath(o);
  if (o.HasReportOption(loNoDuplicateErrors))
    report.DuplicateFound = CrashLogHasDuplicate(logFile, report.Texts.KeyValues);
  report.MailText = report.Texts.LogText;
  report.Modules = modules.Records();
  if (CrashSteps().TakeScreenshot) CrashSteps().TakeScreenshot(report);

  enter(8);
  ++rep.ReportCount;
  report.ShortText = CrashShortText(report.Exception.Message, report.Exception.IsException);
  // The entry is stored before any dialog shows: a dialog the user leaves
  // open, or an ending that comes before the dialog closes, loses nothing.
  // What the dialogs add is added to it afterwards.
  if (o.SaveLogFile() && !report.DuplicateFound) {
    try {
      report.Stored = CrashStoreReport(logFile, report.Texts.LogText, o.ErrorsNumberToSave());
    } catch (const std::exception& e) {
      Warning("eeLogError", address, std::string("[Log] ") + e.what());
    }
  }

  enter(9);
  if (o.ShowDialog() && CrashSteps().ShowDialog) {
    try {
      CrashSteps().ShowDialog(report);
    } catch (const std::exception& e) {
      Warning("eeShowError", address, std::string("[GUI] ") + e.what());
    }
  }

  enter(10);
  if (CrashSteps().AskSteps && o.HasReportOption(loAppendReproduceText)) CrashSteps().AskSteps(report);

  enter(11);
  // The steps reach the mail even when no log is kept: the user typed them
  // for whoever reads the report.
  if (o.HasReportOption(loAppendReproduceText) && !report.StepsText.empty() && !report.DuplicateFound)
    report.MailText = report.Texts.LogText + "\r\n" + o.CustomText(59) + ":\r\n" + std::string(40, '-') + "\r\n" +
                      CrashStepsForLog(report.StepsText);
  if (report.Stored.Stored || !report.Stored.Entry.empty()) {
    try {
      CrashCompleteReport(report.Stored, report.MailText, o.ErrorsNumberToSave());
      if (o.SendEntireLog() && !report.Stored.File.empty()) {
        TLogFile log(report.Stored.File);
        if (log.Load()) report.MailText = log.Text();
      }
    } catch (const std::exception& e) {
      Warning("eeLogError", address, std::string("[Log] ") + e.what());
    }
  }
  if (CrashSteps().CopyToClipboard) CrashSteps().CopyToClipboard(report);

  enter(12);
  if (CrashSteps().SendMail && !report.DuplicateFound && o.EmailSendMode() != esmNoSend) CrashSteps().SendMail(report);

  enter(13);
  if (report.TerminateRequested) {
    req.Terminate = true;
    req.Restart = o.TerminateBtnOperation() == 1;
  }
  return false;
}
} // namespace

bool TCrashExceptionInfo::IsA(const std::string& className) const {
  std::string want = Normalised(className);
  if (want.empty()) return false;
  for (const std::string& a : Ancestors) {
    std::string n = Normalised(a);
    size_t scope = n.rfind("::");
    if (n == want || (scope != std::string::npos && n.substr(scope + 2) == want)) return true;
  }
  return false;
}

TCrashExceptionInfo CrashDescribeException(std::exception_ptr error) {
  TCrashExceptionInfo info;
  if (!error) return info;
  std::memcpy(&info.Object, &error, sizeof info.Object);
  const std::type_info* type = error.__cxa_exception_type();
  info.Type = type;
  if (type && dynamic_cast<const abi::__class_type_info*>(type)) {
    CollectAncestors(type, info.Ancestors);
    info.ClassName = info.Ancestors.front();
  }
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    info.IsException = true;
    info.Message = e.what();
  } catch (...) {
  }
  return info;
}

void CrashReportProcedure(TCrashRequest& req) {
  int step = 0;
  try {
    req.Result = RunReport(req, step);
  } catch (const EAbort&) {
    req.Result = true;
  } catch (const std::exception& e) {
    InternalFailure(step, CrashThreadRaise().Address, e.what());
    req.Result = true;
  } catch (...) {
    InternalFailure(step, CrashThreadRaise().Address, "General internal error.");
    req.Result = true;
  }
}

bool ExceptionManager(std::exception_ptr error) {
  TReporter& rep = R();
  if (!rep.Active.load() || CrashThreadInReport()) return true;
  TCrashExceptionInfo info = CrashDescribeException(error);
  if (info.IsA("EAbort")) return true;
  if (info.Object && info.Object == rep.LastReportedObject.load()) return false;
  TCrashRequest req;
  req.Kind = rkCxx;
  req.Info = &info;
  req.ThreadId = CrashThreadId();
  TCrashRaiseState& raise = CrashThreadRaise();
  // The stack of the caller, from the return into it: none of this
  // routine's own frame.
  uintptr_t here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) + 8;
  req.LiveStackPointer = here;
  if (CrashRaiseIs(raise, info.Object, info.Type)) {
    req.Address = raise.Address;
    req.IsReturnAddress = true;
    req.Context = raise.Context;
    req.StackPointer = raise.StackPointer;
    // The frames between the raise and the handler have been unwound and
    // their memory used again since: the report reads the copy of the
    // stack taken at the raise.
    req.RaiseStack = raise.Stack.get();
    req.RaiseStackSize = raise.StackSize;
  } else {
    req.StackPointer = here;
  }
  bool result = CrashCentralHandling(req, TCrashWait::Pump);
  if (!result) rep.LastReportedObject = info.Object;
  return result;
}

void CrashNoteRaise(const void* object) {
  // A new exception may be made where a reported one lay: it is a new one.
  const void* expected = object;
  R().LastReportedObject.compare_exchange_strong(expected, nullptr);
}

bool CrashReporterActive() { return R().Active.load(); }
TCrashModuleOptionsEx* CrashRunningOptions() {
  TReporter& rep = R();
  if (!rep.Active.load() || !rep.Modules) return nullptr;
  TCrashModulePtr running = rep.Modules->RunningModuleRecord();
  return running ? running->Options.get() : nullptr;
}
int CrashReportCount() { return R().ReportCount.load(); }
bool CrashInReport() { return CrashThreadInReport(); }

void SetCrashFocus(const std::string& formClass, const std::string& formText, const std::string& controlClass,
                   const std::string& controlText) {
  TReporter& rep = R();
  std::lock_guard lock(rep.FocusLock);
  rep.FormClass = formClass;
  rep.FormText = formText;
  rep.ControlClass = controlClass;
  rep.ControlText = controlText;
}

void CrashReporterStart() {
  TReporter& rep = R();
  if (rep.Active.load()) return;
  try {
    rep.Modules = std::make_unique<TCrashModulesList>();
    TCrashModulePtr running = rep.Modules->RunningModuleRecord();
    if (!running || !running->HasDebugData()) {
      // A distributor who stamped a broken block must learn that reports
      // are off; the program itself goes on.
      if (running && !running->BlockDamage.empty())
        std::fprintf(stderr, "crash reporting is off: the options block is damaged (%s)\n",
                     running->BlockDamage.c_str());
      rep.Modules.reset();
      return;
    }
    rep.Current = std::make_unique<TCrashModuleOptionsEx>(running->FileName, false);
    rep.Current->Assign(running->Options.get());
    rep.StartTime = time(nullptr);
    if (!CrashCaptureStart()) {
      rep.Modules.reset();
      return;
    }
    rep.Active = true;
    SetCrashFreezeWatchdogSwitch(CrashFreezeSwitch);
    if (running->Options->Activate() && running->Options->FreezeActivate()) CrashFreezeSwitch(true);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "crash reporter: not started: %s\n", e.what());
    rep.Modules.reset();
  }
}

} // namespace rasp
