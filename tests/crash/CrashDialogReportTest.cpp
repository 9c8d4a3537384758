// What a report hands to the dialog helper and what the helper makes of it:
// the module rows of a real crash, call stack rows that ask for their
// source line when activated, broken requests refused with their line, and
// the screen copy taken without a dialog.
#include "crash/protocol/CrashDialogProtocol.h"
#include "crash/protocol/CrashDialogRows.h"
#include "crash/protocol/CrashMailslot.h"
#include "tools/rasp-crash-dialog/CrashDialogPictures.h"
#include "tools/rasp-crash-dialog/CrashDialogScreenshot.h"
#include "tools/rasp-crash-dialog/CrashExceptionDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace rasp {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A development environment listening on the "Crashwise" slot, in a runtime
// folder of the test's own.
class TSlotListener {
public:
  TSlotListener() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
      FOld = old;
    ::setenv("XDG_RUNTIME_DIR", FDir.path().toLocal8Bit().constData(), 1);
    ::mkdir((FDir.path() + "/mailslot").toLocal8Bit().constData(), 0700);
    FFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::string path = CrashMailslotPath(CrashMailslotName);
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    EXPECT_EQ(::bind(FFd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << path;
  }
  ~TSlotListener() {
    ::close(FFd);
    if (FOld)
      ::setenv("XDG_RUNTIME_DIR", FOld->c_str(), 1);
    else
      ::unsetenv("XDG_RUNTIME_DIR");
  }
  std::optional<std::string> Receive(int ms = 2000) {
    pollfd p{FFd, POLLIN, 0};
    if (::poll(&p, 1, ms) != 1)
      return std::nullopt;
    std::string buf(65536, '\0');
    ssize_t n = ::recv(FFd, buf.data(), buf.size(), 0);
    if (n < 0)
      return std::nullopt;
    buf.resize(size_t(n));
    return buf;
  }

private:
  QTemporaryDir FDir;
  std::optional<std::string> FOld;
  int FFd = -1;
};

std::pair<std::string, uint32_t> SourcePosition(const std::string& m) {
  uint32_t line = 0;
  for (int i = 3; i >= 0; --i)
    line = line << 8 | uint8_t(m[2048 + size_t(i)]);
  return {std::string(m.c_str()), line};
}

TEST(CrashDialogRows, CellsAsTheListShowsThem) {
  EXPECT_EQ(CrashDialogShortVersion("1.2.3.4"), "1.2.x");
  EXPECT_EQ(CrashDialogShortVersion("10.20.30"), "10.20.x");
  EXPECT_EQ(CrashDialogShortVersion("1.2"), "1.2");
  EXPECT_EQ(CrashDialogShortVersion(""), "");
  EXPECT_EQ(CrashDialogKilobytes(0), "0 Kb");
  EXPECT_EQ(CrashDialogKilobytes(512), "0 Kb");     // a half goes to the even 0
  EXPECT_EQ(CrashDialogKilobytes(513), "1 Kb");
  EXPECT_EQ(CrashDialogKilobytes(1536), "2 Kb");    // 1.5 -> 2
  EXPECT_EQ(CrashDialogKilobytes(2560), "2 Kb");    // 2.5 -> 2
  EXPECT_EQ(CrashDialogKilobytes(2561), "3 Kb");
  EXPECT_EQ(CrashDialogKilobytes(0xFFFFFFFFu), "4194304 Kb");
  EXPECT_EQ(CrashDialogModuleIcon("/usr/lib/x86_64-linux-gnu/libc.so.6", false), "DLL");
  EXPECT_EQ(CrashDialogModuleIcon("/usr/lib/tellivo-rasp/tellivo-rasp", true), "VCL");
  EXPECT_EQ(CrashDialogModuleIcon("/opt/RTL.BPL", false), "BPL");
  EXPECT_EQ(CrashDialogModuleIcon("/opt/x.dpl", false), "BPL");
  EXPECT_EQ(CrashDialogModuleIcon("/opt/SETUP.EXE", false), "VCL");

  TCrashModuleInfo libc;
  libc.Handle = 0x7F0000001000;
  libc.FileName = "/usr/lib/x86_64-linux-gnu/libc.so.6";
  libc.FileSize = 1922136;  // 1877.09 Kb
  libc.ModuleKind = mkLibrary;
  EXPECT_EQ(CrashDialogModuleRow(libc), (TCrashDialogRow{"00007F0000001000", "libc.so.6", "", "", "1877 Kb",
                                                         "/usr/lib/x86_64-linux-gnu", "DLL"}));
  auto main = std::make_shared<TCrashModuleInfo>();
  main->Handle = 0x400000;
  main->FileName = "/tellivo-rasp";
  main->Version = "1.1.0.0";
  main->Description = "Tellivo Rasp";
  main->FileSize = 1024 * 1024;
  main->IsMain = true;
  EXPECT_EQ(CrashDialogModuleRows({main, nullptr}),
            (std::vector<TCrashDialogRow>{
                {"0000000000400000", "tellivo-rasp", "Tellivo Rasp", "1.1.x", "1024 Kb", "/", "VCL"}}));

  // The call stack list shows what is known past the module, except
  // symbol-table names of the program itself.
  TCrashDebugInfo e;
  e.Address = 0x401234;
  e.Module = main;
  e.Detail = 1;
  EXPECT_FALSE(CrashDialogStackRow(e));
  e.Detail = 3;
  e.Routine = "Compare";
  EXPECT_FALSE(CrashDialogStackRow(e));
  e.Detail = 4;
  e.UnitFile = "MainWindow.cpp";
  e.LineNo = 42;
  EXPECT_EQ(*CrashDialogStackRow(e), (TCrashDialogRow{"0000000000401234", "tellivo-rasp", "MainWindow.cpp", "",
                                                      "Compare", "42", "PAS"}));
  e.Module = std::make_shared<TCrashModuleInfo>(std::move(libc));
  e.Detail = 3;
  e.LineNo = 0;
  EXPECT_EQ((*CrashDialogStackRow(e))[6], "DLL");
  EXPECT_EQ((*CrashDialogStackRow(e))[5], "");
}

TEST(CrashMailslot, SourcePositionReachesAListenerOnly) {
  std::string m = CrashSourcePositionMessage("MainWindow.cpp", 0x01020304);
  ASSERT_EQ(m.size(), 2052u);
  EXPECT_EQ(m.substr(0, 15), std::string("MainWindow.cpp\0", 15));
  EXPECT_EQ(m.substr(2048), "\x04\x03\x02\x01");
  // A unit name too long for its 2048 bytes keeps its terminating zero.
  std::string longName = CrashSourcePositionMessage(std::string(3000, 'u'), 7);
  EXPECT_EQ(longName.find('\0'), 2047u);
  EXPECT_EQ(SourcePosition(longName).second, 7u);

  QTemporaryDir nobody;
  qputenv("XDG_RUNTIME_DIR", nobody.path().toLocal8Bit());
  EXPECT_FALSE(CrashMailslotSend(CrashMailslotName, m));  // no slot: nothing happens
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(CrashMailslotPath("x").rfind("/tmp/mailslot-", 0), 0u);
  qputenv("XDG_RUNTIME_DIR", QByteArray(200, 'd'));
  EXPECT_EQ(CrashMailslotPath("x"), "");  // would not fit a socket address
  EXPECT_FALSE(CrashMailslotSend("x", m));
  qunsetenv("XDG_RUNTIME_DIR");

  TSlotListener slot;
  ASSERT_TRUE(CrashMailslotSend(CrashMailslotName, m));
  EXPECT_EQ(slot.Receive(), m);
}

TCrashDialogRequest TwoRowRequest() {
  TCrashDialogRequest r;
  r.ShortText = "Access violation.";
  r.Stack.push_back({"0000000000401234", "tellivo-rasp", "MainWindow.cpp", "TFMain", "Compare", "42", "PAS"});
  r.Stack.push_back({"00007F0000012345", "libc.so.6", "", "", "abort", "", "DLL"});
  r.Stack.push_back({"0000000000401300", "tellivo-rasp", "Words.cpp", "", "Count", "1234567", "PAS"});
  return r;
}

TEST(CrashExceptionDialog, ActivatingAStackRowAsksForItsSourceLine) {
  TSlotListener slot;
  TCrashExceptionDialog d(TwoRowRequest());
  d.show();
  d.SetDetailsShown(true);
  d.Tabs()->setCurrentIndex(1);
  QTreeWidget* list = d.StackList();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ASSERT_EQ(list->topLevelItemCount(), 3);

  // Double click.
  QRect r0 = list->visualItemRect(list->topLevelItem(0));
  // A double click is a press, a release, and a second press that Qt
  // delivers as the double click.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r0.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r0.center());
  std::optional<std::string> m = slot.Receive();
  ASSERT_TRUE(m);
  ASSERT_EQ(m->size(), 2052u);
  EXPECT_EQ(SourcePosition(*m), std::make_pair(std::string("MainWindow.cpp"), 42u));

  // Enter on the current row.
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(2));
  QTest::keyClick(list, Qt::Key_Return);
  m = slot.Receive();
  ASSERT_TRUE(m);
  EXPECT_EQ(SourcePosition(*m), std::make_pair(std::string("Words.cpp"), 1234567u));

  // A row without a line sends nothing.
  list->setCurrentItem(list->topLevelItem(1));
  QTest::keyClick(list, Qt::Key_Enter);
  EXPECT_FALSE(slot.Receive(200));
  EXPECT_FALSE(d.ActivateStackRow(1));
  EXPECT_FALSE(d.ActivateStackRow(-1));
  EXPECT_FALSE(d.ActivateStackRow(3));
}

TEST(CrashExceptionDialog, ActivatingWithoutAListenerDoesNothing) {
  QTemporaryDir nobody;
  qputenv("XDG_RUNTIME_DIR", nobody.path().toLocal8Bit());
  TCrashDialogRequest r = TwoRowRequest();
  r.Stack[0][5] = "99999999999999";  // a damaged line number is left alone
  TCrashExceptionDialog d(r);
  EXPECT_FALSE(d.ActivateStackRow(0));
  EXPECT_FALSE(d.ActivateStackRow(2));
  qunsetenv("XDG_RUNTIME_DIR");
}

TEST(CrashExceptionDialog, ModulesTabColumns) {
  TCrashDialogRequest r;
  r.Modules.push_back({"0000000000400000", "tellivo-rasp", "", "1.1.x", "1024 Kb", "/usr/lib/tellivo-rasp", "VCL"});
  r.Modules.push_back({"00007F0000001000", "libc.so.6", "", "", "1877 Kb", "/usr/lib/x86_64-linux-gnu", "DLL"});
  TCrashExceptionDialog d(r);
  QTreeWidget* list = d.ModuleList();
  ASSERT_EQ(list->columnCount(), 6);
  QStringList heads;
  for (int c = 0; c < 6; ++c)
    heads << list->headerItem()->text(c);
  EXPECT_EQ(heads, QStringList({"Handle", "Name", "Description", "Version", "Size", "Path"}));
  const int widths[] = {80, 100, 130, 65, 65, 150};
  for (int c = 1; c < 6; ++c)
    EXPECT_EQ(list->columnWidth(c), widths[c]) << c;
  // The handle column shows its 16 digits until a width is stored.
  EXPECT_GT(list->columnWidth(0), QFontMetrics(list->font()).horizontalAdvance("00007F0000001000") + 16);
  QTemporaryDir dir;
  r.GeometryFile = dir.filePath("Crashwise.ini").toStdString();
  std::ofstream(r.GeometryFile) << "[Coordinates]\nColMod0=90\n";
  TCrashExceptionDialog stored(r);
  EXPECT_EQ(stored.ModuleList()->columnWidth(0), 90);
  EXPECT_GT(stored.StackList()->columnWidth(0), 0);
  ASSERT_EQ(list->topLevelItemCount(), 2);
  QTreeWidgetItem* libc = list->topLevelItem(1);
  EXPECT_EQ(libc->text(0), "00007F0000001000");
  EXPECT_EQ(libc->text(1), "libc.so.6");
  EXPECT_EQ(libc->text(4), "1877 Kb");
  EXPECT_EQ(libc->text(5), "/usr/lib/x86_64-linux-gnu");
  EXPECT_TRUE(libc->textAlignment(3) & Qt::AlignRight);
  EXPECT_TRUE(libc->textAlignment(4) & Qt::AlignRight);
  EXPECT_FALSE(libc->textAlignment(1) & Qt::AlignRight);
  EXPECT_FALSE(libc->icon(0).isNull());
}

struct THelperRun {
  int Exit = -1;
  bool Crashed = false;
  std::string Out, Err;
};

THelperRun RunHelper(const QByteArray& input, const QStringList& extraEnv = {}) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("RASP_CRASH_DIALOG_AUTOCLOSE", "50");
  for (const QString& e : extraEnv)
    env.insert(e.section('=', 0, 0), e.section('=', 1));
  p.setProcessEnvironment(env);
  p.start(RASP_CRASH_DIALOG_HELPER, {});
  EXPECT_TRUE(p.waitForStarted());
  p.write(input);
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(20000));
  THelperRun run;
  run.Crashed = p.exitStatus() != QProcess::NormalExit;
  run.Exit = p.exitCode();
  run.Out = p.readAllStandardOutput().toStdString();
  run.Err = p.readAllStandardError().toStdString();
  return run;
}

TEST(CrashDialogHelper, BrokenRequestsAreRefusedWithTheirLine) {
  const std::string v = std::string(CrashDialogVersionLine) + "\n";
  struct TCase {
    std::string Input, Says;
  } cases[] = {
      {"", "line 1: expected \"rasp-crash-dialog 2\""},
      {"rasp-crash-dialog 1\nend\n", "line 1: expected"},
      {v + "mode exception\nmodule a\tb\nend\n", "line 3: \"module\": a row has 2 cells, 7 expected"},
      {v + "stack 1\t2\t3\t4\t5\t6\t7\t8\nend\n", "line 2: \"stack\": a row has 8 cells"},
      {v + "option SendMode two\nend\n", "line 2: \"option\": \"SendMode\" needs an integer"},
      {v + "option ReportCount 99999999999\nend\n", "needs an integer"},
      {v + "text 71 too far\nend\n", "line 2: \"text\": the text number must be 0 to 70"},
      {v + "short a\\qb\nend\n", "line 2: \"short\": bad escape"},
      {v + "log ends in \\\nend\n", "bad escape"},
      {v + "mode explode\nend\n", "unknown mode \"explode\""},
      {v + "short one\x01two\nend\n", "line 2: a control character (code 1)"},
      {v + "MODULE x\nend\n", "line 2: not a request line"},
      {v + "short cut off here", "the request ended before its \"end\" line"},
  };
  for (const TCase& c : cases) {
    THelperRun run = RunHelper(QByteArray::fromStdString(c.Input));
    EXPECT_FALSE(run.Crashed) << c.Input;
    EXPECT_EQ(run.Exit, 1) << c.Input << run.Err;
    EXPECT_NE(run.Err.find("rasp-crash-dialog: broken request on standard input: " ), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(c.Says), std::string::npos) << c.Input << "\n" << run.Err;
    EXPECT_EQ(run.Err.find("Sanitizer"), std::string::npos) << run.Err;
    EXPECT_FALSE(CrashDialogReadResult(run.Out).Shown);
  }
  // Noise, with and without the version line in front.
  uint32_t seed = 12345;
  for (int round = 0; round < 4; ++round) {
    std::string noise(4096, '\0');
    for (char& ch : noise) {
      seed = seed * 1664525 + 1013904223;
      ch = char(seed >> 24);
    }
    THelperRun run = RunHelper(QByteArray::fromStdString((round & 1 ? v : "") + noise));
    EXPECT_FALSE(run.Crashed);
    EXPECT_EQ(run.Exit, 1) << run.Err;
    EXPECT_EQ(run.Err.find("Sanitizer"), std::string::npos) << run.Err;
  }
  // A keyword of a newer reporter is skipped.
  THelperRun newer = RunHelper(QByteArray::fromStdString(v + "colour blue\nshort Fine.\nend\n"));
  EXPECT_EQ(newer.Exit, 0) << newer.Err;
  EXPECT_TRUE(CrashDialogReadResult(newer.Out).Shown);
}

TEST(CrashDialogHelper, ScreenshotModeCopiesTheScreenWithoutADialog) {
  QTemporaryDir dir;
  TCrashDialogRequest r;
  r.Mode = "screenshot";
  r.ScreenshotFile = dir.filePath("Screenshot.png").toStdString();
  THelperRun run = RunHelper(QByteArray::fromStdString(CrashDialogWriteRequest(r)));
  EXPECT_EQ(run.Exit, 0) << run.Err;
  TCrashDialogResult res = CrashDialogReadResult(run.Out);
  EXPECT_FALSE(res.Shown);
  EXPECT_EQ(res.ScreenshotFile, r.ScreenshotFile);
  QImage shot(dir.filePath("Screenshot.png"));
  EXPECT_FALSE(shot.isNull());
}

// The copy carries the mouse pointer where it stands.
TEST(CrashDialogScreenshot, PointerIsDrawnIntoTheCopy) {
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_TRUE(screen);
  QCursor::setPos(screen, screen->geometry().topLeft() + QPoint(40, 30));
  if (QCursor::pos(screen) != screen->geometry().topLeft() + QPoint(40, 30))
    GTEST_SKIP() << "this platform cannot move the pointer";
  QTemporaryDir dir;
  ASSERT_TRUE(CrashWriteScreenshot(dir.filePath("s.png")));
  QImage img(dir.filePath("s.png"));
  ASSERT_EQ(img.size(), screen->geometry().size());
  QImage arrow = CrashCursorPicture();
  int same = 0, drawn = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (qAlpha(arrow.pixel(x, y)) == 255) {
        ++drawn;
        same += img.pixel(40 + x, 30 + y) == (arrow.pixel(x, y) | 0xFF000000u);
      }
  EXPECT_GT(drawn, 40);
  EXPECT_EQ(same, drawn);
  EXPECT_EQ(img.pixel(40, 30), qRgb(255, 255, 255));  // the hot spot
}

// The failing test program, stamped to show its dialog, hands the helper the
// modules it has loaded; the helper beside it is the real one, behind a
// script that keeps a copy of what passes.
TEST(CrashDialogEndToEnd, RealCrashFillsTheModulesTab) {
  QTemporaryDir tmp;
  fs::path dir = tmp.path().toStdString();
  fs::path app = dir / "crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  std::ofstream(dir / "dialog.ini") << "[Options]\nShowDialog=1\nEmailSendMode=0\nSaveLogFile=1\nFirstTab=2\n";
  std::string stamp = std::string("ASAN_OPTIONS=detect_leaks=0 ") + CRASHBLOCK_TOOL + " stamp " + app.string() + " " +
                      (dir / "dialog.ini").string() + " > /dev/null";
  ASSERT_EQ(std::system(stamp.c_str()), 0);
  fs::path helper = dir / "rasp-crash-dialog";
  std::ofstream(helper) << "#!/bin/sh\ntee \"$0.request\" | " << RASP_CRASH_DIALOG_HELPER << " | tee \"$0.answer\"\n";
  fs::permissions(helper, fs::perms::owner_all);
  std::string run = "cd " + dir.string() +
                    " && ASAN_OPTIONS=handle_segv=0:handle_sigbus=0:handle_abort=0:allow_user_segv_handler=1:"
                    "detect_leaks=0:detect_stack_use_after_return=0:use_sigaltstack=0"
                    " QT_QPA_PLATFORM=offscreen RASP_CRASH_DIALOG_AUTOCLOSE=100 TMPDIR=" +
                    dir.string() + " ./crash_test_app --out " + dir.string() + " segv > out.txt 2> err.txt";
  std::system(run.c_str());

  std::string wire = Slurp(dir / "rasp-crash-dialog.request");
  ASSERT_FALSE(wire.empty()) << Slurp(dir / "err.txt");
  EXPECT_TRUE(CrashDialogReadResult(Slurp(dir / "rasp-crash-dialog.answer")).Shown) << Slurp(dir / "err.txt");
  TCrashDialogRequest r;
  std::string error;
  ASSERT_TRUE(CrashDialogReadRequest(wire, r, error)) << error;
  EXPECT_EQ(r.FirstTab, 2);

  // The program's own module and the C library, in handle order.
  const TCrashDialogRow* self = nullptr;
  const TCrashDialogRow* libc = nullptr;
  for (size_t i = 0; i < r.Modules.size(); ++i) {
    const TCrashDialogRow& m = r.Modules[i];
    if (m[1] == "crash_test_app") self = &m;
    if (m[1] == "libc.so.6") libc = &m;
    ASSERT_EQ(m[0].size(), 16u);
    if (i) {
      EXPECT_LT(r.Modules[i - 1][0], m[0]);
    }
  }
  ASSERT_TRUE(self) << wire.substr(0, 4000);
  ASSERT_TRUE(libc);
  EXPECT_EQ((*self)[5], fs::canonical(dir).string());
  EXPECT_EQ((*self)[4], CrashDialogKilobytes(uint32_t(fs::file_size(app))));
  EXPECT_EQ((*self)[6], "VCL");
  EXPECT_EQ((*self)[3].substr((*self)[3].size() - 2), ".x");
  EXPECT_EQ((*libc)[6], "DLL");
  EXPECT_TRUE(fs::exists(fs::path((*libc)[5]) / "libc.so.6"));
  // The same modules as the crash log's table.
  std::string log = Slurp(dir / "crash_test_app.cwf");
  EXPECT_NE(log.find("|" + (*self)[0] + "|crash_test_app"), std::string::npos);
  EXPECT_NE(log.find("|" + (*libc)[0] + "|libc.so.6"), std::string::npos);

  TSlotListener slot;
  TCrashExceptionDialog d(r);
  d.show();
  d.SetDetailsShown(true);
  ASSERT_EQ(d.Tabs()->currentIndex(), 2);
  QTreeWidget* list = d.ModuleList();
  ASSERT_EQ(size_t(list->topLevelItemCount()), r.Modules.size());
  bool sawSelf = false, sawLibc = false;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    sawSelf |= list->topLevelItem(i)->text(1) == "crash_test_app";
    sawLibc |= list->topLevelItem(i)->text(1) == "libc.so.6";
  }
  EXPECT_TRUE(sawSelf && sawLibc);

  // A row of the real call stack with a line asks for that line.
  int withLine = -1;
  for (size_t i = 0; i < r.Stack.size() && withLine < 0; ++i)
    if (!r.Stack[i][5].empty()) withLine = int(i);
  ASSERT_GE(withLine, 0) << wire.substr(0, 4000);
  ASSERT_TRUE(d.ActivateStackRow(withLine));
  std::optional<std::string> m = slot.Receive();
  ASSERT_TRUE(m);
  EXPECT_EQ(SourcePosition(*m), std::make_pair(r.Stack[size_t(withLine)][2],
                                               uint32_t(std::stoul(r.Stack[size_t(withLine)][5]))));

  // Under Xvfb (QT_QPA_PLATFORM=xcb): the screen as the user sees the tab.
  if (const char* shot = std::getenv("RASP_DIALOG_MODULES_SHOT")) {
    d.setGeometry(20, 20, 900, 420);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QTest::qWait(300);
    d.screen()->grabWindow(0).save(shot);
  }
  d.accept();
}

} // namespace
} // namespace rasp
