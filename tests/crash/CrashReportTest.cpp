// Runs the failing test program once per kind of failure and reads the
// crash log it leaves.
#include "crash/log/CrashLog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

namespace rasp {
namespace {

namespace fs = std::filesystem;

// A fault ends the process by its own signal once it is reported, as if no
// handler had been there (RunProgram gives 128 + signal).
constexpr int EndedBySegv = 128 + SIGSEGV;

struct TRun {
  int Status = -1;  // exit status, or 128 + signal
  std::string Out, Err;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Sanitizers step back from the signals: the reporter is what is tested.
std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "ASAN_OPTIONS=", 13) != 0) env.push_back(*e);
  env.push_back("ASAN_OPTIONS=handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:"
                "allow_user_segv_handler=1:detect_leaks=0:detect_stack_use_after_return=0:use_sigaltstack=0");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  return env;
}

TRun RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                int timeoutSeconds = 30, const std::function<void(pid_t)>& started = {},
                const std::vector<std::string>& extraEnv = {}) {
  // The faults end by their signals: no core files in the test's folders.
  rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  int out[2], err[2];
  EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
  EXPECT_EQ(pipe2(err, O_CLOEXEC), 0);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, out[1], 1);
  posix_spawn_file_actions_adddup2(&fa, err[1], 2);
  posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment();
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, program.c_str(), &fa, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&fa);
  if (started) started(pid);
  close(out[1]);
  close(err[1]);
  TRun run;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    if (poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n <= 0) {
        fds[i].fd = -1;
        --open;
      } else {
        (i ? run.Err : run.Out).append(buf, size_t(n));
      }
    }
  }
  if (open > 0) kill(pid, SIGKILL);  // hung: the test fails on the status
  int status = 0;
  waitpid(pid, &status, 0);
  close(out[0]);
  close(err[0]);
  run.Status = open > 0 ? -2 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

class CrashReport : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/crashreportXXXXXX";
    FDir = mkdtemp(templ);
  }
  void TearDown() override { fs::remove_all(FDir); }

  TRun App(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
    args.insert(args.begin(), {"--out", FDir});
    return RunProgram(CRASH_TEST_APP, args, FDir, 30, {}, env);
  }
  std::vector<std::string> Entries() {
    TLogFile log(FDir + "/crash_test_app.cwf");
    EXPECT_TRUE(log.Load());
    return log.Entries();
  }
  static int FailingLine(const TRun& run) {
    std::smatch m;
    return std::regex_search(run.Out, m, std::regex("line (\\d+)")) ? std::stoi(m[1]) : 0;
  }
  std::string FDir;
};

std::string Field(const std::string& entry, const std::string& field) {
  std::string v;
  CrashLogEntryField(entry, field, v);
  return v;
}

// The call stack row of a routine: |address|module|unit|class|routine|line|.
bool HasRow(const std::string& entry, const std::string& routine, int line) {
  std::regex row("\\|[0-9A-F]{16}\\|crash_test_app *\\|CrashTest[A-Za-z]*\\.cpp *\\| *\\|[^|]*" + routine +
                 "[^|]*\\|" + (line ? std::to_string(line) : std::string("\\d+")) + " *\\|");
  return std::regex_search(entry, row);
}

TEST_F(CrashReport, NullPointerWriteLeavesAFullEntry) {
  TRun run = App({"segv"});
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  const std::string& e = entries[0];
  EXPECT_EQ(e.rfind("Crashwise 4.6\r\n\r\nApplication:\r\n", 0), 0u);
  for (const char* s : {"Exception:", "Computer:", "Operating System:", "Call Stack Information:",
                        "Modules Information:", "Registers:", "Stack:", "Memory Dump:"})
    EXPECT_NE(e.find(s), std::string::npos) << s;
  EXPECT_EQ(Field(e, "2.4"), "EAccessViolation");
  EXPECT_EQ(Field(e, "2.3"), "crash_test_app");
  EXPECT_NE(Field(e, "2.5").find("Access violation at address"), std::string::npos);
  EXPECT_TRUE(HasRow(e, "CrashTestNullWrite", FailingLine(run))) << e;
  EXPECT_TRUE(HasRow(e, "main", 0)) << e;
  // The module table lists the program and the C library with their folders.
  EXPECT_TRUE(std::regex_search(e, std::regex("\\|[0-9A-F]{16}\\|crash_test_app *\\|")));
  EXPECT_TRUE(std::regex_search(e, std::regex("\\|[0-9A-F]{16}\\|libc\\.so\\.6 *\\|")));
  EXPECT_TRUE(std::regex_search(e, std::regex("RIP: [0-9A-F]{16}")));
  EXPECT_TRUE(std::regex_search(e, std::regex("\r\n[0-9A-F]{16}: [0-9A-F]{16}   [0-9A-F]{16}: ([0-9A-F]{2} ){16}")));
}

TEST_F(CrashReport, StackOverflowIsReported) {
  TRun run = App({"overflow"});
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "EStackOverflow");
  EXPECT_TRUE(HasRow(entries[0], "CrashTestRecurse", 0));
}

TEST_F(CrashReport, UncaughtThrowIsReportedAtTheRaise) {
  TRun run = App({"throw"});
  EXPECT_EQ(run.Status, 1) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "std::runtime_error");
  EXPECT_EQ(Field(entries[0], "2.5"), "Nobody catches this.");
  EXPECT_TRUE(HasRow(entries[0], "CrashTestThrow", FailingLine(run))) << entries[0];
}

TEST_F(CrashReport, ThrowInAQtEventHandlerIsReportedAndTheProgramGoesOn) {
  TRun run = App({"qtevent"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("reports 2"), std::string::npos) << run.Out;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 2u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "std::runtime_error");
  EXPECT_TRUE(HasRow(entries[0], "CrashTestThrow", FailingLine(run))) << entries[0];
  // The second one ran while the first report was on: reported after it,
  // from where it was raised.
  EXPECT_TRUE(HasRow(entries[1], "CrashTestThrow", FailingLine(run))) << entries[1];
  EXPECT_EQ(run.Err.find("Nobody catches this"), std::string::npos) << "no error box of its own";
}

// While the report runs, the window paints but takes no input: keys that
// type and button presses beep, and nothing reaches the window afterwards.
TEST_F(CrashReport, InputDuringTheReportBeepsAndIsDropped) {
  TRun run = App({"input"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(run.Out, m, std::regex("reports (\\d+) keys (\\d+) clicks (\\d+) beeps (\\d+) paints in report (\\d+) ticks in report (\\d+)")))
      << run.Out << run.Err;
  EXPECT_EQ(m[1], "1");
  EXPECT_EQ(m[2], "0") << "keys reached the window";
  EXPECT_EQ(m[3], "0") << "clicks reached the window";
  EXPECT_EQ(m[4], "4") << "a, Enter, the left and the right button";
  EXPECT_NE(m[5], "0") << "the window did not paint during the report";
  EXPECT_EQ(m[6], "0") << "a timer ran during the report";
}

TEST_F(CrashReport, EAbortIsNeverReported) {
  TRun run = App({"qtabort"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("reports 0"), std::string::npos) << run.Out;
  EXPECT_EQ(run.Err.find("Operation aborted"), std::string::npos) << "no error box either";
  run = App({"eabort"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(CrashReport, ThreadStacksEndWithTheirCreatorsStack) {
  for (const char* cmd : {"pthread", "qthread"}) {
    fs::remove(FDir + "/crash_test_app.cwf");
    TRun run = App({cmd});
    EXPECT_EQ(run.Status, EndedBySegv) << cmd << run.Err;
    auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u) << cmd << run.Err;
    const std::string& e = entries[0];
    EXPECT_TRUE(HasRow(e, "CrashTestNullWrite", FailingLine(run))) << cmd << e;
    const char* creator = std::string(cmd) == "pthread" ? "CrashTestStartPthread" : "CrashTestStartQThread";
    EXPECT_TRUE(HasRow(e, creator, 0)) << cmd << e;
    EXPECT_LT(e.find("CrashTestNullWrite"), e.find(creator)) << "the creator's stack comes last";
  }
}

TEST_F(CrashReport, FilteredClassesAreSilentOrShowTheirMessage) {
  TRun run = App({"--filter", "ETestFiltered", "filtered"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(Entries().empty());
  run = App({"--filter", "std::runtime_error=Something we know about.", "filtered"});  // an ancestor
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("Information. Something we know about."), std::string::npos) << run.Err;
  EXPECT_TRUE(Entries().empty());
}

TEST_F(CrashReport, TwoThreadsFailingAtOnceGetOneReportEach) {
  TRun run = App({"two"});
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 2u) << run.Err;
  std::string both = entries[0] + entries[1];
  EXPECT_TRUE(HasRow(both, "CrashTestFirstOfTwo", 0));
  EXPECT_TRUE(HasRow(both, "CrashTestSecondOfTwo", 0));
}

TEST_F(CrashReport, FreezeIsReportedOncePerTimeout) {
  TRun run = App({"--freeze", "1", "freeze"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "EFrozenApplication");
  EXPECT_EQ(Field(entries[0], "2.5"), "The application seems to be frozen.");
  EXPECT_NE(run.Out.find("reports 1"), std::string::npos);
}

// Start-up lasts until main, shutdown begins when main returns or exit is
// called; a failure in either is reported like one in main.
TEST_F(CrashReport, StartUpAndShutdownFailuresAreReported) {
  TRun run = App({"ok"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("static: in unit init 1, in unit final 0, reporter 1"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("main: in unit init 0, in unit final 0, reporter 1"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("destructor: in unit init 0, in unit final 1, reporter 1"), std::string::npos) << run.Out;
  EXPECT_TRUE(Entries().empty());
  // Before main the options of the command line do not apply yet: the log
  // lies beside the program.
  fs::copy_file(CRASH_TEST_APP, FDir + "/crash_test_app");

  struct TCase {
    const char* At;
    const char* Type;
    const char* Routine;
    const char* Phase;
  } cases[] = {
      {"startup-segv", "EAccessViolation", "CrashTestNullWrite", "static: in unit init 1"},
      {"startup-throw", "std::logic_error", "CrashTestStaticThrow", "static: in unit init 1"},
      {"shutdown-segv", "EAccessViolation", "CrashTestNullWrite", "destructor: in unit init 0, in unit final 1"},
      {"shutdown-throw", "std::logic_error", "CrashTestStaticThrow", "destructor: in unit init 0, in unit final 1"},
      {"exit-segv", "EAccessViolation", "CrashTestNullWrite", "atexit: in unit init 0, in unit final 1"},
      // After the reporter's own static is gone: the reporter is still there.
      {"late-shutdown-segv", "EAccessViolation", "CrashTestNullWrite", "late finaliser: in unit init 0, in unit final 1, reporter 1"},
  };
  // A fault ends by its signal, an exception with status 1.
  auto ending = [](const TCase& c) { return std::string(c.At).find("segv") != std::string::npos ? EndedBySegv : 1; };
  for (const TCase& c : cases) {
    fs::remove(FDir + "/crash_test_app.cwf");
    run = RunProgram(FDir + "/crash_test_app", {"ok"}, FDir, 30, {}, {std::string("CRASH_TEST_AT=") + c.At});
    EXPECT_EQ(run.Status, ending(c)) << c.At << run.Err;
    EXPECT_NE(run.Out.find(c.Phase), std::string::npos) << c.At << run.Out;
    EXPECT_EQ(run.Out.find("main:") == std::string::npos, std::string(c.At).rfind("startup", 0) == 0) << c.At;
    auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u) << c.At << run.Err;
    EXPECT_EQ(Field(entries[0], "2.4"), c.Type) << c.At;
    EXPECT_TRUE(HasRow(entries[0], c.Routine, FailingLine(run))) << c.At << entries[0];
  }
}

TEST_F(CrashReport, TrimmingAndDuplicates) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(App({"--keep", "3", "segv"}).Status, EndedBySegv);
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_EQ(App({"--keep", "3", "--nodup", "segv"}).Status, EndedBySegv);
  EXPECT_EQ(Entries().size(), 3u) << "the same failure again is not stored";
  EXPECT_EQ(App({"--keep", "3", "--nodup", "throw"}).Status, 1);
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_EQ(Field(Entries().back(), "2.4"), "std::runtime_error");
}

TEST_F(CrashReport, ProcessesFailingAtOnceLoseNoEntry) {
  std::vector<std::thread> runs;
  for (int i = 0; i < 3; ++i) runs.emplace_back([this] { App({"segv"}); });
  for (auto& t : runs) t.join();
  EXPECT_EQ(Entries().size(), 3u);
}

TEST_F(CrashReport, ACrashWhileRewritingKeepsTheOldLog) {
  ASSERT_EQ(App({"throw"}).Status, 1);
  std::string before = ReadFile(FDir + "/crash_test_app.cwf");
  TRun run = App({"kill-in-rewrite"});
  EXPECT_EQ(run.Status, 128 + SIGKILL);
  EXPECT_EQ(ReadFile(FDir + "/crash_test_app.cwf"), before);
}

TEST_F(CrashReport, FailuresOfTheReporterEndTheProcess) {
  TRun run = App({"handler-fault"});
  EXPECT_EQ(run.Status, EndedBySegv);
  EXPECT_NE(run.Err.find("a second fault inside the fault handler"), std::string::npos) << run.Err;

  run = App({"report-throws"});
  EXPECT_EQ(run.Status, EndedBySegv);
  EXPECT_NE(run.Err.find("[ERROR] - Section: 4"), std::string::npos) << run.Err;
  EXPECT_TRUE(Entries().empty()) << "the failure inside the report is not reported";
}

// The first row of the entry's call stack table.
std::string FirstRow(const std::string& entry) {
  size_t table = entry.find("Call Stack Information:");
  size_t caption = entry.find("\r\n|", table);
  size_t row = entry.find("\r\n|", entry.find("\r\n-", caption + 2) + 2);
  return row == std::string::npos ? std::string() : entry.substr(row + 2, entry.find("\r\n", row + 2) - row - 2);
}

TEST_F(CrashReport, RaisesOfTheRunTimeNameTheirOwnPlace) {
  // std::vector::at throws from inside the C++ run time; nothing catches it.
  TRun run = App({"vector-at"});
  EXPECT_EQ(run.Status, 1) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "std::out_of_range");
  EXPECT_EQ(Field(entries[0], "2.3"), "libstdc++.so.6") << "raised in the run time";
  EXPECT_TRUE(HasRow(entries[0], "CrashTestVectorAt", FailingLine(run))) << entries[0];
  // A caught raise of ours, then std::stoi's in a main-loop event handler:
  // the record of the first must not be taken for the second, even where
  // the second exception lies at the first one's address.
  fs::remove(FDir + "/crash_test_app.cwf");
  run = App({"stoi-after-caught"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_EQ(Field(entries[0], "2.4"), "std::invalid_argument");
  EXPECT_EQ(Field(entries[0], "2.3"), "libstdc++.so.6") << entries[0];
  std::string first = FirstRow(entries[0]);
  EXPECT_NE(first.find("__throw_invalid_argument"), std::string::npos) << first;
  EXPECT_TRUE(HasRow(entries[0], "CrashTestStoi", FailingLine(run))) << entries[0];
  // The caught raise may still lie on the stack below (the scan lists old
  // return addresses too), but never before the place of this one.
  size_t stoi = entries[0].find("|CrashTestStoi"), caught = entries[0].find("|CrashTestCaughtThrow");
  EXPECT_TRUE(caught == std::string::npos || stoi < caught) << entries[0];
}

TEST_F(CrashReport, AReportedExceptionsStackStartsWhereItWasRaised) {
  TRun run = App({"qtthrow"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  std::string first = FirstRow(entries[0]);
  EXPECT_NE(first.find("CrashTestThrow"), std::string::npos) << entries[0];
  EXPECT_NE(first.find("|" + std::to_string(FailingLine(run)) + " "), std::string::npos) << first;
  // Nothing of the reporter's own frames anywhere in it.
  for (const char* own : {"CrashReportProc.cpp", "CrashCapture.cpp", "ExceptionManager"})
    EXPECT_EQ(entries[0].find(own), std::string::npos) << own << "\n" << entries[0];
}

TEST_F(CrashReport, TheSameFailureInAnotherRunIsADuplicate) {
  // Every run loads the program at another address.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(App({"--nodup", "segv"}).Status, EndedBySegv);
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u);
  std::string offset = Field(entries[0], "2.6");
  EXPECT_TRUE(std::regex_match(offset, std::regex("0x[0-9a-f]+"))) << offset;
  EXPECT_EQ(App({"--nodup", "throw"}).Status, 1);
  EXPECT_EQ(Entries().size(), 2u) << "another failure is stored";
}

// The entry is in the log before the dialog shows, and what the steps
// dialog adds is added to that same entry.
TEST_F(CrashReport, TheEntryIsStoredBeforeAnyDialogShows) {
  fs::create_directories(FDir + "/bin");
  fs::copy_file(CRASH_TEST_APP, FDir + "/bin/crash_test_app");
  fs::create_symlink(RASP_CRASH_DIALOG_HELPER, FDir + "/bin/rasp-crash-dialog");
  TRun run = RunProgram(FDir + "/bin/crash_test_app",
                        {"--out", FDir, "--dialog", "0", "--steps", "--log-at-step", "9", "segv"}, FDir, 60, {},
                        {"RASP_CRASH_DIALOG_AUTOCLOSE=100", "RASP_CRASH_DIALOG_STEPS=Open a file.\nPress Compare."});
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  EXPECT_NE(run.Out.find("log at step 9: 1"), std::string::npos) << run.Out << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  EXPECT_NE(entries[0].find("\r\nRequest:\r\n" + std::string(40, '-') + "\r\nOpen a file.\r\nPress Compare."),
            std::string::npos)
      << entries[0];
}

// A dialog nobody answers for longer than the report's time limit does not
// end the program: only the reporter's own work counts.
TEST_F(CrashReport, TheTimeLimitDoesNotCountTheDialog) {
  fs::create_directories(FDir + "/bin");
  fs::copy_file(CRASH_TEST_APP, FDir + "/bin/crash_test_app");
  fs::create_symlink(RASP_CRASH_DIALOG_HELPER, FDir + "/bin/rasp-crash-dialog");
  TRun run = RunProgram(FDir + "/bin/crash_test_app", {"--out", FDir, "--dialog", "0", "--limit", "3000", "qtthrow"},
                        FDir, 60, {}, {"RASP_CRASH_DIALOG_AUTOCLOSE=6000"});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("went on"), std::string::npos) << run.Out << run.Err;
  EXPECT_EQ(run.Err.find("does not finish"), std::string::npos) << run.Err;
  EXPECT_EQ(Entries().size(), 1u);
}

// A log that cannot be used as one gets nothing written through it: the
// report goes to the fallback log in the user's state folder, and standard
// error says where.
TEST_F(CrashReport, AnUnusableLogSendsTheReportToTheFallbackLog) {
  const std::string log = FDir + "/crash_test_app.cwf";
  const std::string state = FDir + "/state";
  const std::string target = FDir + "/target.txt";
  for (const std::string kind : {"folder", "fifo", "link"}) {
    SCOPED_TRACE(kind);
    fs::remove_all(log);
    fs::remove_all(state);
    std::ofstream(target) << "not a log\n";
    if (kind == "folder") fs::create_directory(log);
    if (kind == "fifo") {
      ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
    }
    if (kind == "link") fs::create_symlink(target, log);
    TRun run = App({"segv"}, {"XDG_STATE_HOME=" + state});
    EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
    const std::string fallback = state + "/tellivo-rasp/crash_test_app.cwf";
    EXPECT_NE(run.Err.find("the report is stored in \"" + fallback + "\""), std::string::npos) << run.Err;
    TLogFile stored(fallback);
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.Entries().size(), 1u);
    EXPECT_EQ(ReadFile(target), "not a log\n");
    if (kind == "link") {
      EXPECT_TRUE(fs::is_symlink(log)) << "the link was replaced";
    }
  }
  fs::remove_all(log);
}

TEST_F(CrashReport, WithNoWritableFolderTheReportGoesToStandardError) {
  TRun run = RunProgram(CRASH_TEST_APP, {"--out", "/nonexistent/folder", "segv"}, FDir, 30, {},
                        {"XDG_STATE_HOME=/dev/null/state"});
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  EXPECT_NE(run.Err.find("the report cannot be stored"), std::string::npos) << run.Err;
  for (const char* part : {"Crashwise 4.6", "EAccessViolation", "Call Stack Information:", "Memory Dump:"})
    EXPECT_NE(run.Err.find(part), std::string::npos) << part;
}

TEST_F(CrashReport, ADamagedOptionsBlockIsSaidOnceAndTheProgramRuns) {
  const std::string app = FDir + "/crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  const std::string section = FDir + "/block.bin";
  ASSERT_EQ(std::system(("objcopy --dump-section .cwdata=" + section + " " + app + " 2> /dev/null").c_str()), 0);
  std::string block = ReadFile(section);
  ASSERT_GT(block.size(), 100u);
  for (size_t i = block.size() / 2; i < block.size() / 2 + 16; ++i) block[i] = char(~block[i]);
  std::ofstream(section, std::ios::binary | std::ios::trunc) << block;
  ASSERT_EQ(std::system(("objcopy --update-section .cwdata=" + section + " " + app).c_str()), 0);
  TRun run = RunProgram(app, {"ok"}, FDir);
  EXPECT_NE(run.Err.find("crash reporting is off: the options block is damaged ("), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("the crash reporter is not active"), std::string::npos) << "the program went on";
  size_t first = run.Err.find("crash reporting is off");
  EXPECT_EQ(run.Err.find("crash reporting is off", first + 1), std::string::npos) << "said once";
}

// A stripped copy with its debug file beside it, as a distribution ships
// it: the log carries the build ids and the offsets that name the lines
// again offline.
TEST_F(CrashReport, AStrippedProgramsLogIsSymbolisedWithItsDebugFile) {
  if (std::system("command -v eu-addr2line > /dev/null && command -v eu-readelf > /dev/null") != 0)
    GTEST_SKIP() << "needs elfutils";
  const std::string app = FDir + "/crash_test_app", debug = FDir + "/crash_test_app.debug";
  fs::copy_file(CRASH_TEST_APP, app);
  ASSERT_EQ(std::system(("objcopy --only-keep-debug " + app + " " + debug + " && strip --strip-all " + app +
                         " && objcopy --add-gnu-debuglink=" + debug + " " + app).c_str()),
            0);
  TRun run = RunProgram(app, {"--out", FDir, "segv"}, FDir);
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u) << run.Err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(entries[0], m, std::regex("\\|crash_test_app *\\|[^|\\r\\n]*\\|[^|]*\\|[^|]*"
                                                          "CrashTestNullWrite[^|]*\\|[^|]*\\|(0x[0-9a-f]+) *\\|")))
      << entries[0];
  std::string offset = m[1];
  std::string where = RunProgram("/usr/bin/eu-addr2line", {"-e", debug, offset}, FDir).Out;
  EXPECT_NE(where.find("CrashTestApp.cpp:" + std::to_string(FailingLine(run))), std::string::npos) << where;
  std::string notes = RunProgram("/usr/bin/eu-readelf", {"-n", app}, FDir).Out;
  ASSERT_TRUE(std::regex_search(notes, m, std::regex("Build ID: ([0-9a-f]+)")));
  EXPECT_TRUE(std::regex_search(entries[0], std::regex("\\|crash_test_app *\\|.*\\|" + std::string(m[1]) + " *\\|")))
      << "the module row carries the build id";
}

TEST(CrashReportProgramFolder, TheLogLiesBesideTheProgram) {
  char templ[] = "/tmp/crashprogXXXXXX";
  std::string dir = mkdtemp(templ);
  fs::copy_file(CRASH_TEST_APP, dir + "/crash_test_app");
  TRun run = RunProgram(dir + "/crash_test_app", {"report-throws"}, "/");
  EXPECT_EQ(run.Status, EndedBySegv);
  // The internal-failure note also lies in the program folder.
  EXPECT_NE(ReadFile(dir + "/crash_test_app.log").find("Section: 4"), std::string::npos);
  run = RunProgram(dir + "/crash_test_app", {"segv"}, "/");
  EXPECT_EQ(run.Status, EndedBySegv);
  TLogFile log(dir + "/crash_test_app.cwf");
  ASSERT_TRUE(log.Load());
  EXPECT_EQ(log.Entries().size(), 1u);
  fs::remove_all(dir);
}

// The stamped program beside the real dialog helper, started from a folder
// of its own; the helper clicks the terminate button as soon as it shows.
class CrashWithDialog : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/crashrestartXXXXXX";
    FDir = mkdtemp(templ);
    fs::create_directories(FDir + "/bin");
    fs::create_directories(FDir + "/work");
    fs::copy_file(CRASH_TEST_APP, FDir + "/bin/crash_test_app");
    fs::create_symlink(RASP_CRASH_DIALOG_HELPER, FDir + "/bin/rasp-crash-dialog");
  }
  void TearDown() override { fs::remove_all(FDir); }
  TRun Run(int terminateOperation, const std::string& failure) {
    std::vector<std::string> args{"--out", FDir, "--dialog", std::to_string(terminateOperation)};
    if (failure == "freeze") args.insert(args.end(), {"--freeze", "1"});
    args.insert(args.end(), {"once", failure});
    return RunProgram(FDir + "/bin/crash_test_app", args, FDir + "/work", 60, {},
                      {"RASP_CRASH_DIALOG_PRESS=terminate", "TMPDIR=" + FDir});
  }
  // The starts the program noted: pid, process group, folder, arguments.
  std::vector<std::map<std::string, std::string>> Starts() {
    std::vector<std::map<std::string, std::string>> starts;
    std::istringstream in(ReadFile(FDir + "/starts.txt"));
    for (std::string line; std::getline(in, line);) {
      std::map<std::string, std::string> start;
      std::smatch m;
      EXPECT_TRUE(std::regex_match(line, m, std::regex("pid=(\\d+) pgid=(\\d+) cwd=(.*) args=(.*)"))) << line;
      start["pid"] = m[1];
      start["pgid"] = m[2];
      start["cwd"] = m[3];
      start["args"] = m[4];
      starts.push_back(start);
    }
    return starts;
  }
  std::string FDir;
};

TEST_F(CrashWithDialog, TheRestartChoiceStartsTheSameProgramAgain) {
  // A fault ends the program anyway; after a main-loop exception or a
  // freeze it would go on, but the user chose to restart it.
  for (const char* failure : {"segv", "qtthrow", "freeze"}) {
    fs::remove(FDir + "/starts.txt");
    fs::remove(FDir + "/crash_test_app.cwf");
    TRun run = Run(1, failure);
    EXPECT_EQ(run.Status, std::string(failure) == "segv" ? EndedBySegv : 1) << failure << run.Err;
    auto starts = Starts();
    ASSERT_EQ(starts.size(), 2u) << failure << run.Err;
    EXPECT_NE(starts[0]["pid"], starts[1]["pid"]);
    EXPECT_EQ(starts[1]["cwd"], fs::canonical(FDir + "/work").string());
    EXPECT_EQ(starts[1]["cwd"], starts[0]["cwd"]);
    EXPECT_EQ(starts[1]["args"], starts[0]["args"]);
    EXPECT_EQ(starts[1]["args"].rfind(FDir + "/bin/crash_test_app|--out|", 0), 0u) << starts[1]["args"];
    EXPECT_EQ(starts[1]["pgid"], starts[1]["pid"]) << "a process group of its own";
    EXPECT_NE(run.Out.find("restarted"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("went on"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("reports"), std::string::npos) << run.Out;
    TLogFile log(FDir + "/crash_test_app.cwf");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.Entries().size(), 1u) << "the new copy did not fail";
  }
}

TEST_F(CrashWithDialog, TheTerminateChoiceEndsAProgramThatWouldGoOn) {
  TRun run = Run(0, "qtthrow");
  EXPECT_EQ(run.Status, 1) << run.Err;
  EXPECT_EQ(Starts().size(), 1u) << run.Out;
  EXPECT_EQ(run.Out.find("went on"), std::string::npos) << run.Out;
  EXPECT_EQ(run.Out.find("restarted"), std::string::npos) << run.Out;
}

// On a real X server: the dialog of the report covers the window; once it
// has gone, the window has painted itself again where the dialog was, also
// when the report is one of a fault in the window's own event handler.
TEST_F(CrashWithDialog, TheWindowRepaintsWhereTheDialogWasOnScreen) {
  if (std::system("command -v xvfb-run > /dev/null && command -v import > /dev/null") != 0)
    GTEST_SKIP() << "needs xvfb-run and ImageMagick's import";
  for (const std::string failure : {"repaint", "repaint-fault"}) {
    SCOPED_TRACE(failure);
    fs::remove(FDir + "/shot.ppm");
    fs::remove(FDir + "/crash_test_app.cwf");
    TRun run = RunProgram("/usr/bin/xvfb-run",
                          {"-a", "-s", "-screen 0 480x360x24", "env", "QT_QPA_PLATFORM=xcb",
                           "RASP_CRASH_DIALOG_AUTOCLOSE=300", FDir + "/bin/crash_test_app", "--out", FDir, "--dialog",
                           "0", failure},
                          FDir + "/work", 60);
    // xvfb-run passes the program's status on.
    EXPECT_EQ(run.Status, failure == "repaint" ? 0 : EndedBySegv) << run.Out << run.Err;
    std::string ppm = ReadFile(FDir + "/shot.ppm");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(ppm, m, std::regex("^P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s"))) << run.Out << run.Err;
    size_t w = std::stoul(m[1]), h = std::stoul(m[2]), at = size_t(m.length(0));
    ASSERT_EQ(ppm.size(), at + w * h * 3);
    size_t red = 0;
    for (size_t i = at; i + 2 < ppm.size(); i += 3)
      red += uint8_t(ppm[i]) == 255 && ppm[i + 1] == 0 && ppm[i + 2] == 0;
    EXPECT_EQ(red, w * h) << "pixels not repainted: " << w * h - red;
    if (const char* keep = std::getenv("RASP_REPAINT_SHOT"))
      fs::copy_file(FDir + "/shot.ppm", keep + failure + ".ppm", fs::copy_options::overwrite_existing);
    TLogFile log(FDir + "/crash_test_app.cwf");
    ASSERT_TRUE(log.Load());
    EXPECT_EQ(log.Entries().size(), 1u);
  }
}

// "Copy to Clipboard" on a real X server: once the failing program and the
// helper have ended, another X client still reads the report; a program
// that takes the clipboard over ends the keeper.
TEST_F(CrashWithDialog, TheClipboardOutlivesTheHelper) {
  if (std::system("command -v xvfb-run > /dev/null && command -v xclip > /dev/null && command -v pgrep > /dev/null") != 0)
    GTEST_SKIP() << "needs xvfb-run, xclip and pgrep";
  const std::string script =
      "'" + FDir + "/bin/crash_test_app' --out '" + FDir + "' --dialog 0 segv > '" + FDir + "/app.txt' 2>&1; "
      "sleep 0.5; xclip -o -selection clipboard > '" + FDir + "/pasted.txt'; "
      "echo other | xclip -i -selection clipboard -loops 1 & "
      "keepers() { for p in $(pgrep -f '^/proc/self/exe --keep-clipboard'); do "
      "tr '\\0' '\\n' < /proc/$p/environ 2> /dev/null | grep -qx \"DISPLAY=$DISPLAY\" && echo $p; done; }; "
      "for i in $(seq 50); do [ -z \"$(keepers)\" ] && break; sleep 0.1; done; "
      "keepers > '" + FDir + "/keeper.txt'; "
      "xclip -o -selection clipboard > /dev/null; wait";
  TRun run = RunProgram("/usr/bin/xvfb-run", {"-a", "env", "QT_QPA_PLATFORM=xcb", "RASP_CRASH_DIALOG_PRESS=clipboard",
                                              "sh", "-c", script},
                        FDir + "/work", 60);
  EXPECT_EQ(run.Status, 0) << run.Out << run.Err << ReadFile(FDir + "/app.txt");
  std::string pasted = ReadFile(FDir + "/pasted.txt");
  EXPECT_EQ(pasted.rfind("Crashwise 4.6", 0), 0u) << pasted.substr(0, 200) << ReadFile(FDir + "/app.txt");
  EXPECT_NE(pasted.find("EAccessViolation"), std::string::npos);
  EXPECT_EQ(ReadFile(FDir + "/keeper.txt"), "") << "the keeper stayed after another program took the clipboard";
}

TEST(CrashReportWindow, KillSegvOfTheWindowNamesOurSources) {
  char templ[] = "/tmp/crashwinXXXXXX";
  std::string dir = mkdtemp(templ);
  fs::copy_file(TELLIVO_RASP_BINARY, dir + "/tellivo-rasp");
  std::thread killer;
  // A signal from outside is reported like a fault of the main thread.
  TRun run = RunProgram(dir + "/tellivo-rasp", {}, dir, 60, [&](pid_t pid) {
    killer = std::thread([pid] {
      std::this_thread::sleep_for(std::chrono::seconds(3));
      kill(pid, SIGSEGV);
    });
  });
  killer.join();
  EXPECT_EQ(run.Status, EndedBySegv) << run.Err;
  TLogFile log(dir + "/tellivo-rasp.cwf");
  ASSERT_TRUE(log.Load());
  ASSERT_EQ(log.Entries().size(), 1u) << run.Err;
  EXPECT_TRUE(std::regex_search(log.Entries()[0], std::regex("\\|tellivo-rasp *\\|main\\.cpp *\\|")))
      << log.Entries()[0];
  fs::remove_all(dir);
}

} // namespace
} // namespace rasp
