// The crash log text and file: header sections, the entry splitting and
// trimming rules, the duplicate check, and rewrites that lose nothing.
#include "crash/log/CrashLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rasp {
namespace {

std::string TempDir() {
  char templ[] = "/tmp/crashlogXXXXXX";
  return mkdtemp(templ);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CrashLogItem, AlignsItemsAndDropsEmptySectionsWithStableNumbers) {
  TLogItem item;
  item.AddSection("Application");
  item.AddItem("Start Date", "x", true);
  item.AddItem("Name/Description", "rasp", true);
  item.AddSection("Active Controls");
  item.AddItem("Form Class", "F", false);
  item.AddSection("Computer");
  item.AddItem("Name", "box", false);
  item.AddItem("User", "me", true);
  EXPECT_EQ(item.Render(),
            "Application:\r\n"
            "----------------------------\r\n"
            "  1.1 Start Date      : x\r\n"
            "  1.2 Name/Description: rasp\r\n"
            "\r\n"
            "Computer:\r\n"
            "--------------\r\n"
            "  3.2 User: me\r\n");
}

TEST(CrashLogDate, WholeHoursOfTheLocalZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "IST-5:30", 1);
  tzset();
  EXPECT_EQ(CrashLogDate(0), "Thu, 1 Jan 1970 05:30:00 +0500");
  setenv("TZ", "EST5", 1);
  tzset();
  EXPECT_EQ(CrashLogDate(0), "Wed, 31 Dec 1969 19:00:00 -0500");
  if (old) setenv("TZ", saved.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

TEST(CrashLogFile, SplitsEntriesAndFindsFields) {
  std::string e1 = "A\r\n  2.2 Address: 1\r\n  2.5 Message: m.\r\n\r\n\r\n";
  std::string e2 = "B\r\n  2.2 Address: 2\r\n\r\n\r\n";
  auto entries = SplitCrashLogEntries(e1 + "\r\n" + e2 + "\r\n\r\ntrailing text");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], e1);
  EXPECT_EQ(entries[1], e2);
  EXPECT_EQ(entries[2], "trailing text\r\n\r\n\r\n") << "text after the last entry is kept";
  std::string v;
  ASSERT_TRUE(CrashLogEntryField(entries[0], "2.5", v));
  EXPECT_EQ(v, "m.");
  EXPECT_FALSE(CrashLogEntryField(entries[1], "2.5", v));
}

// An editor that saved the log with LF line ends, or cut the blank lines
// after its last entry, loses nothing at the next report.
TEST(CrashLogFile, LfLineEndsAndAMissingEndLoseNothing) {
  std::string dir = TempDir();
  std::string file = dir + "/a.cwf";
  std::string error;
  for (int i = 0; i < 9; ++i)
    ASSERT_TRUE(StoreCrashLogEntry(file, "Crashwise 4.6\r\n\r\n  2.2 Address: " + std::to_string(i), 32, error));
  std::string text = ReadFile(file), lf;
  for (char c : text)
    if (c != '\r') lf += c;
  while (!lf.empty() && lf.back() == '\n') lf.pop_back();  // and the last entry ends without its blank lines
  lf = "not an entry of ours\n\n\n\n" + lf;
  std::ofstream(file, std::ios::binary | std::ios::trunc) << lf;
  ASSERT_TRUE(StoreCrashLogEntry(file, "Crashwise 4.6\r\n\r\n  2.2 Address: 9", 32, error)) << error;
  TLogFile log(file);
  ASSERT_TRUE(log.Load());
  ASSERT_EQ(log.Entries().size(), 11u);
  std::string v;
  EXPECT_EQ(log.Entries()[0], "not an entry of ours\n\r\n\r\n") << "kept as it was";
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(CrashLogEntryField(log.Entries()[size_t(i + 1)], "2.2", v)) << i;
    EXPECT_EQ(v, std::to_string(i));
    EXPECT_EQ(log.Entries()[size_t(i + 1)].find("\n\n"), std::string::npos) << "entries get CR LF again";
  }
  EXPECT_EQ(log.Entries()[9], "Crashwise 4.6\r\n\r\n  2.2 Address: 8\r\n\r\n\r\n") << "the last one is whole";
  std::filesystem::remove_all(dir);
}

TEST(CrashLogFile, StepsNeverEndTheEntryAndDuplicatesCompareOffsets) {
  EXPECT_EQ(CrashStepsForLog("one\n\n\n\n\ntwo\r\nthree"), "one\r\n\r\n\r\ntwo\r\nthree");
  std::string entry = "x\r\n  2.2 Address: 00007F0000001234\r\n  2.3 Module: prog\r\n  2.4 Type: E\r\n"
                      "  2.5 Message: m.\r\n  2.6 Offset: 0x1234\r\n";
  // Another run: another address, the same offset in the same module.
  EXPECT_TRUE(CrashSameFailure(entry, {"00005500AAAA1234", "prog", "E", "m.", "0x1234"}));
  EXPECT_FALSE(CrashSameFailure(entry, {"00007F0000001234", "prog", "E", "m.", "0x1235"}));
  EXPECT_FALSE(CrashSameFailure(entry, {"00007F0000001234", "prog", "E", "other.", "0x1234"}));
  // An entry written before offsets were logged compares addresses.
  std::string old = "x\r\n  2.2 Address: 1\r\n  2.3 Module: prog\r\n  2.4 Type: E\r\n  2.5 Message: m.\r\n";
  EXPECT_TRUE(CrashSameFailure(old, {"1", "prog", "E", "m.", "0x1"}));
  EXPECT_FALSE(CrashSameFailure(old, {"2", "prog", "E", "m.", "0x1"}));
}

TEST(CrashLogFile, KeepsAtMostErrorsNumberToSave) {
  TLogFile log("/nonexistent/x.cwf");
  for (int i = 0; i < 40; ++i) log.AddEntry("entry " + std::to_string(i), 100);
  log.AddEntry("new", 32);
  ASSERT_EQ(log.Entries().size(), 32u);
  EXPECT_EQ(log.Entries().front().substr(0, 8), "entry 9\r");
  log.AddEntry("newer", 32);
  EXPECT_EQ(log.Entries().size(), 32u);
  log.AddEntry("only", 0);  // at least one
  EXPECT_EQ(log.Entries().size(), 1u);
}

TEST(CrashLogFile, RoundTripsAndIsPrivate) {
  std::string dir = TempDir();
  std::string file = dir + "/a.cwf";
  std::string error;
  ASSERT_TRUE(StoreCrashLogEntry(file, "one\r\n  2.2 Address: 1", 5, error)) << error;
  ASSERT_TRUE(StoreCrashLogEntry(file, "two\r\n  2.2 Address: 2", 5, error)) << error;
  struct stat st{};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Entries are separated by three empty lines; the newest is followed by five.
  EXPECT_EQ(ReadFile(file), "one\r\n  2.2 Address: 1\r\n\r\n\r\n\r\ntwo\r\n  2.2 Address: 2\r\n\r\n\r\n\r\n\r\n");
  TLogFile log(file);
  ASSERT_TRUE(log.Load());
  EXPECT_TRUE(log.FindEntry({"2.2"}, {"2"}));
  EXPECT_FALSE(log.FindEntry({"2.2"}, {"3"}));
  EXPECT_FALSE(log.FindEntry({"2.2", "2.3"}, {"1", ""}));  // an entry without 2.3 never matches
  std::filesystem::remove_all(dir);
}

TEST(CrashLogFile, ProcessesWritingAtOnceLoseNoEntry) {
  std::string dir = TempDir();
  std::string file = dir + "/a.cwf";
  constexpr int Processes = 6, Each = 15;
  std::vector<pid_t> children;
  for (int p = 0; p < Processes; ++p) {
    pid_t pid = fork();
    if (pid == 0) {
      std::string error;
      for (int i = 0; i < Each; ++i)
        if (!StoreCrashLogEntry(file, "p" + std::to_string(p) + " e" + std::to_string(i), 1000, error)) _exit(1);
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  TLogFile log(file);
  ASSERT_TRUE(log.Load());
  EXPECT_EQ(log.Entries().size(), size_t(Processes * Each));
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename(), "a.cwf") << "a temporary file was left";
  std::filesystem::remove_all(dir);
}

TEST(CrashLogText, MessagesAndTables) {
  EXPECT_EQ(CrashCleanMessage("two\r\nlines", true), "two  lines.");
  EXPECT_EQ(CrashShortText("two\r\nlines\t", true), "two\r\nlines .");
  EXPECT_EQ(CrashCleanMessage("done.", true), "done.");
  EXPECT_EQ(CrashCleanMessage("x", false), "Unknown error message.");

  TCrashModuleOptions o("prog", false);
  TCrashStackList stack;
  TCrashDebugInfo light;
  light.Detail = 1;
  light.Address = 0x10;
  stack.Add(light);
  TCrashDebugInfo full;
  full.Detail = 4;
  full.Address = 0x401000;
  full.UnitFile = "Main.cpp";
  full.Routine = "Run";
  full.LineNo = 12;
  stack.Add(full);
  auto module = std::make_shared<TCrashModuleInfo>();
  module->FileName = "/usr/lib/libquiet.so";
  module->LoadBias = 0x7F0000000000;
  module->BuildId = "\x12\xAB";
  TCrashDebugInfo stripped;  // a module without symbols: module and offset
  stripped.Detail = 1;
  stripped.Module = module;
  stripped.Address = 0x7F0000004321;
  stack.Add(stripped);
  std::string text = CrashCallStackText(stack, {module}, o);
  EXPECT_NE(text.find("|0000000000401000|           |Main.cpp|     |Run             |12  |      |"), std::string::npos) << text;
  EXPECT_EQ(text.find("0000000000000010"), std::string::npos) << "an address in no module is not listed";
  EXPECT_NE(text.find("|00007F0000004321|libquiet.so|        |     |                |    |0x4321|"), std::string::npos) << text;
  EXPECT_NE(text.find("|/usr/lib|12ab    |"), std::string::npos) << "the module row's build id";

  TCrashContext none;
  std::string cpu = CrashCPUText(none, 0, 0, o);
  EXPECT_NE(cpu.find("RAX: ????            "), std::string::npos);
}

TEST(CrashLogText, ClearingTheControlItemsKeepsTheNumbering) {
  TCrashModuleOptions o("prog", false);
  TCrashLogItems items = 0xFFFFFFFFu;
  for (int bit : {liCtrlFormClass, liCtrlFormText, liCtrlControlClass, liCtrlControlText}) items &= ~(1u << bit);
  o.SetLogItems(items);
  TCrashLogInput in;
  in.ClassName = "EX";
  in.Message = "m";
  std::string header = CrashHeaderText(in, o);
  EXPECT_EQ(header.find("Active Controls"), std::string::npos);
  EXPECT_NE(header.find("  4.1 Name"), std::string::npos) << header;
  EXPECT_NE(header.find("  5.1 Type"), std::string::npos);
  EXPECT_EQ(header.rfind("Crashwise 4.6\r\n\r\nApplication:\r\n", 0), 0u);
}

} // namespace
} // namespace rasp
