#include "crash/modules/CrashDebugData.h"
#include "crash/modules/CrashElf.h"
#include "crash/modules/CrashModules.h"
#include "crash/modules/CrashNames.h"
#include "tools/crashblock/CrashBlockTool.h"
#include "tools/crashblock/CrashOptionsIni.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace rasp;
namespace fs = std::filesystem;

namespace {
std::string Self() { return fs::canonical("/proc/self/exe").string(); }

std::vector<uint8_t> Stream(const TCrashModuleOptions& o) {
  TByteWriter w;
  o.SaveToStream(w);
  return w.take();
}

std::string IniError(const std::string& text) {
  TCrashModuleOptions o("", false);
  std::string error;
  EXPECT_FALSE(ReadCrashOptionsIni(text, o, error));
  return error;
}
} // namespace

TEST(CrashBlockTool, DumpPrintsTheOptionsFileForm) {
  std::ostringstream out, err;
  ASSERT_EQ(CrashBlockDump(Self(), out, err), 0) << err.str();
  std::string text = out.str();
  for (const char* line : {"ShowDialog=0\n", "SMTPPort=2525\n", "EmailSendMode=2\n", "SMTPHost=127.0.0.1\n",
                           "EmailAddresses=bugs@example.com\n", "CustomText12=&Fine\n", "LogItems=liAppName,liExcAddress\n",
                           "ExceptionFilterClasses0=EAbortLike\n", "ExceptionFilterMessages0=Ignored.\n",
                           "CustomText3=An error has occurred during program execution.\\r\\nPlease read"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_NE(text.find("; debug data: "), std::string::npos);

  // The dump reads back as the same options.
  TCrashModuleOptions fromDump("", false), fromBlock("", false);
  std::string error;
  ASSERT_TRUE(ReadCrashOptionsIni(text, fromDump, error)) << error;
  TCrashBlock block;
  ASSERT_TRUE(ReadModuleDataBlock(Self(), fromBlock, block));
  EXPECT_EQ(Stream(fromDump), Stream(fromBlock));
}

TEST(CrashBlockTool, StampMergesIntoTheBlockAndKeepsDebugData) {
  fs::path copy = fs::path(testing::TempDir()) / "crash_stamp_copy";
  fs::copy_file(Self(), copy, fs::copy_options::overwrite_existing);
  fs::path ini = fs::path(testing::TempDir()) / "crash_stamp.ini";
  std::ofstream(ini) << "[Options]\nEmailAddresses=ops@example.com;dev@example.com\nShowDialog=1\n"
                        "FreezeMessage=\"  Still busy  \"\nCustomText2=Oops.\\r\\n\nSMTPPassword=pw\n";
  std::ostringstream out, err;
  ASSERT_EQ(CrashBlockStamp(copy.string(), ini.string(), out, err), 0) << err.str();

  TCrashModuleOptions before("", false), after("", false);
  TCrashBlock oldBlock, newBlock;
  ASSERT_TRUE(ReadModuleDataBlock(Self(), before, oldBlock));
  ASSERT_TRUE(ReadModuleDataBlock(copy.string(), after, newBlock));
  EXPECT_EQ(after.EmailAddresses(), "ops@example.com;dev@example.com");
  EXPECT_TRUE(after.ShowDialog());
  EXPECT_EQ(after.FreezeMessage(), "  Still busy  ");
  EXPECT_EQ(after.CustomText(2), "Oops.");  // stored without its final line break
  // Keys the file leaves out keep the values the binary had.
  EXPECT_EQ(after.SMTPPort(), 2525);
  EXPECT_EQ(after.EmailSendMode(), esmSMTPServer);
  EXPECT_EQ(after.CustomText(12), "&Fine");
  EXPECT_EQ(after.ExceptionFilterClasses().Items(), std::vector<std::string>{"EAbortLike"});
  EXPECT_EQ(newBlock.DebugData, oldBlock.DebugData);
  EXPECT_EQ(newBlock.HeaderValues, oldBlock.HeaderValues);

  // The dump hides the password; stamping the dump back keeps it.
  std::ostringstream dump, dumpErr;
  ASSERT_EQ(CrashBlockDump(copy.string(), dump, dumpErr), 0);
  EXPECT_EQ(dump.str().find("SMTPPassword=pw"), std::string::npos) << dump.str();
  EXPECT_NE(dump.str().find("\n; SMTPPassword=***"), std::string::npos) << dump.str();
  std::ostringstream secrets;
  ASSERT_EQ(CrashBlockDump(copy.string(), secrets, dumpErr, true), 0);
  EXPECT_NE(secrets.str().find("\nSMTPPassword=pw\n"), std::string::npos);
  std::ofstream(ini, std::ios::trunc) << dump.str();
  ASSERT_EQ(CrashBlockStamp(copy.string(), ini.string(), out, err), 0) << err.str();
  ASSERT_TRUE(ReadModuleDataBlock(copy.string(), after, newBlock));
  EXPECT_EQ(after.SMTPPassword(), "pw");

  // --defaults: what the file leaves out is the default again.
  std::ofstream(ini, std::ios::trunc) << "[Options]\nShowDialog=0\n";
  ASSERT_EQ(CrashBlockStamp(copy.string(), ini.string(), out, err, true), 0) << err.str();
  ASSERT_TRUE(ReadModuleDataBlock(copy.string(), after, newBlock));
  EXPECT_EQ(after.SMTPPort(), 25);
  EXPECT_EQ(after.EmailSendMode(), esmNoSend);

  // The stamped copy still runs and still resolves: the code is untouched.
  std::string cmd = copy.string() + " --gtest_filter=CrashNames.* > /dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  fs::remove(copy);
  fs::remove(ini);
}

TEST(CrashBlockTool, OptionsFileErrorsNameTheLine) {
  EXPECT_EQ(IniError("[Options]\nShowDialog=1\nShowDialg=0\n"), "line 3: unknown key ShowDialg");
  EXPECT_EQ(IniError("[Options]\nShowDialog=2\n"), "line 2: bad value for ShowDialog: 2");
  EXPECT_EQ(IniError("[Options]\nSMTPPort=70000\n"), "line 2: bad value for SMTPPort: 70000");
  EXPECT_EQ(IniError("[Options]\nEmailSendMode=esmCarrierPigeon\n"),
            "line 2: bad value for EmailSendMode: esmCarrierPigeon");
  EXPECT_EQ(IniError("[Options]\nLogItems=liAppName,liNothing\n"), "line 2: bad value for LogItems: liAppName,liNothing");
  EXPECT_EQ(IniError("[Options]\nCustomText71=x\n"), "line 2: unknown key CustomText71");
  EXPECT_EQ(IniError("[Options]\nCustomText1=a\\qb\n"), "line 2: bad value for CustomText1: a\\qb");
  EXPECT_EQ(IniError("ShowDialog=1\n"), "line 1: a key before the [Options] section");
  EXPECT_EQ(IniError("[Settings]\n"), "line 1: unknown section [Settings] (only [Options] is read)");
  EXPECT_EQ(IniError("[Options]\njust text\n"), "line 2: expected Key=Value: just text");

  // A file with an error changes nothing.
  TCrashModuleOptions kept("", false);
  std::string failure;
  EXPECT_FALSE(ReadCrashOptionsIni("[Options]\nSMTPHost=set\nShowDialog=7\n", kept, failure));
  EXPECT_EQ(kept.SMTPHost(), "");

  TCrashModuleOptions o("", false);
  std::string error;
  ASSERT_TRUE(ReadCrashOptionsIni("; comment\n[Options]\r\nReportOptions=loNoDuplicateErrors, loAppendReproduceText\r\n"
                                  "EmailSendMode=esmSMTPClient\nLogItems=0xFFFFFFFF\nErrorsNumberToSave=0\n",
                                  o, error))
      << error;
  EXPECT_EQ(o.ReportOptions(), 3);
  EXPECT_EQ(o.EmailSendMode(), esmSMTPClient);
  EXPECT_EQ(o.ErrorsNumberToSave(), 1);
  EXPECT_NE(WriteCrashOptionsIni(o).find("LogItems=0xFFFFFFFF\n"), std::string::npos);
}

TEST(CrashBlockTool, BinariesWithoutABlockAreNamed) {
  std::ostringstream out, err;
  EXPECT_EQ(CrashBlockDump(CRASH_TEST_OPTIONS, out, err), 1);
  EXPECT_NE(err.str().find("has no crash data block"), std::string::npos);
  EXPECT_EQ(CrashBlockStamp("/nonexistent/binary", CRASH_TEST_OPTIONS, out, err), 1);
}

// The 1-based line of the first line of a source file that starts with text.
static unsigned LineOf(const std::string& file, const std::string& text) {
  const char* root = std::getenv("RASP_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/" + file);
  std::string line;
  for (unsigned n = 1; std::getline(in, line); ++n)
    if (line.rfind(text, 0) == 0) return n;
  ADD_FAILURE() << text << " not found in " << file;
  return 0;
}

// The real program: a routine of a known file and line resolves through the
// block its build step added.
TEST(CrashBlockTool, TellivoRaspResolvesItsOwnRoutines) {
  if (!fs::exists(TELLIVO_RASP_BINARY)) GTEST_SKIP() << "tellivo-rasp is not built";
  TCrashModuleOptions options("", false);
  TCrashBlock block;
  ASSERT_TRUE(ReadModuleDataBlock(TELLIVO_RASP_BINARY, options, block));
  TCrashDebugData debug;
  ASSERT_TRUE(debug.Open(block.DebugData, block.DataVersion));
  TElfImage image;
  ASSERT_TRUE(image.OpenFile(TELLIVO_RASP_BINARY));
  uint64_t buildToolStrip = 0, mainAt = 0;
  image.ForEachFunction([&](const TElfSymbol& s) {
    if (s.Name == "_ZN4rasp8TfrmMain14BuildToolStripEv") buildToolStrip = s.Value;
    if (s.Name == "main") mainAt = s.Value;
  });
  ASSERT_NE(buildToolStrip, 0u);
  TCrashLineHit hit;
  ASSERT_TRUE(debug.Lookup(buildToolStrip, hit));
  EXPECT_EQ(hit.UnitFile, "MainWindow.cpp");
  EXPECT_EQ(hit.OwnerClass, "rasp::TfrmMain");
  EXPECT_EQ(hit.Routine, "BuildToolStrip");
  // The opening brace, the line after the signature: where the routine's code starts.
  EXPECT_EQ(hit.LineNo, LineOf("app/MainWindow.cpp", "void TfrmMain::BuildToolStrip()") + 1);
  ASSERT_TRUE(debug.Lookup(mainAt, hit));
  EXPECT_EQ(hit.UnitFile, "main.cpp");
  EXPECT_EQ(hit.Routine, "main");
  EXPECT_EQ(hit.LineNo, LineOf("app/main.cpp", "int main(int argc, char** argv)") + 1);
  EXPECT_EQ(debug.FindRoutine("rasp::TfrmMain::BuildToolStrip"), uint32_t(buildToolStrip));
}
