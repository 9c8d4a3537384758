// Runs the failing test program once per kind of failure and reads the
// crash log it leaves.
#include "crash/CrashLog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
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
  EXPECT_EQ(run.Status, 1) << run.Err;
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
  EXPECT_EQ(run.Status, 1) << run.Err;
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
    EXPECT_EQ(run.Status, 1) << cmd << run.Err;
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
  EXPECT_EQ(run.Status, 1) << run.Err;
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
  for (const TCase& c : cases) {
    fs::remove(FDir + "/crash_test_app.cwf");
    run = RunProgram(FDir + "/crash_test_app", {"ok"}, FDir, 30, {}, {std::string("CRASH_TEST_AT=") + c.At});
    EXPECT_EQ(run.Status, 1) << c.At << run.Err;
    EXPECT_NE(run.Out.find(c.Phase), std::string::npos) << c.At << run.Out;
    EXPECT_EQ(run.Out.find("main:") == std::string::npos, std::string(c.At).rfind("startup", 0) == 0) << c.At;
    auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u) << c.At << run.Err;
    EXPECT_EQ(Field(entries[0], "2.4"), c.Type) << c.At;
    EXPECT_TRUE(HasRow(entries[0], c.Routine, FailingLine(run))) << c.At << entries[0];
  }
}

TEST_F(CrashReport, TrimmingAndDuplicates) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(App({"--keep", "3", "segv"}).Status, 1);
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_EQ(App({"--keep", "3", "--nodup", "segv"}).Status, 1);
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
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("a second fault inside the fault handler"), std::string::npos) << run.Err;

  run = App({"report-throws"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("[ERROR] - Section: 4"), std::string::npos) << run.Err;
  EXPECT_TRUE(Entries().empty()) << "the failure inside the report is not reported";
}

TEST(CrashReportProgramFolder, TheLogLiesBesideTheProgram) {
  char templ[] = "/tmp/crashprogXXXXXX";
  std::string dir = mkdtemp(templ);
  fs::copy_file(CRASH_TEST_APP, dir + "/crash_test_app");
  TRun run = RunProgram(dir + "/crash_test_app", {"report-throws"}, "/");
  EXPECT_EQ(run.Status, 1);
  // The internal-failure note also lies in the program folder.
  EXPECT_NE(ReadFile(dir + "/crash_test_app.log").find("Section: 4"), std::string::npos);
  run = RunProgram(dir + "/crash_test_app", {"segv"}, "/");
  EXPECT_EQ(run.Status, 1);
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
    EXPECT_EQ(run.Status, 1) << failure << run.Err;
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
// has gone, the window has painted itself again where the dialog was.
TEST_F(CrashWithDialog, TheWindowRepaintsWhereTheDialogWasOnScreen) {
  if (std::system("command -v xvfb-run > /dev/null && command -v import > /dev/null") != 0)
    GTEST_SKIP() << "needs xvfb-run and ImageMagick's import";
  TRun run = RunProgram("/usr/bin/xvfb-run",
                        {"-a", "-s", "-screen 0 480x360x24", "env", "QT_QPA_PLATFORM=xcb", "RASP_CRASH_DIALOG_AUTOCLOSE=300",
                         FDir + "/bin/crash_test_app", "--out", FDir, "--dialog", "0", "repaint"},
                        FDir + "/work", 60);
  EXPECT_EQ(run.Status, 0) << run.Out << run.Err;
  std::string ppm = ReadFile(FDir + "/shot.ppm");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(ppm, m, std::regex("^P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s"))) << run.Out << run.Err;
  size_t w = std::stoul(m[1]), h = std::stoul(m[2]), at = size_t(m.length(0));
  ASSERT_EQ(ppm.size(), at + w * h * 3);
  size_t red = 0;
  for (size_t i = at; i + 2 < ppm.size(); i += 3)
    red += uint8_t(ppm[i]) == 255 && ppm[i + 1] == 0 && ppm[i + 2] == 0;
  EXPECT_EQ(red, w * h) << "pixels not repainted: " << w * h - red;
  TLogFile log(FDir + "/crash_test_app.cwf");
  ASSERT_TRUE(log.Load());
  EXPECT_EQ(log.Entries().size(), 1u);
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
  EXPECT_EQ(run.Status, 1) << run.Err;
  TLogFile log(dir + "/tellivo-rasp.cwf");
  ASSERT_TRUE(log.Load());
  ASSERT_EQ(log.Entries().size(), 1u) << run.Err;
  EXPECT_TRUE(std::regex_search(log.Entries()[0], std::regex("\\|tellivo-rasp *\\|main\\.cpp *\\|")))
      << log.Entries()[0];
  fs::remove_all(dir);
}

} // namespace
} // namespace rasp
