#include "tools/crashblock/CrashBlockTool.h"

#include "crash/modules/CrashDataBlock.h"
#include "crash/modules/CrashDebugData.h"
#include "crash/modules/CrashElf.h"
#include "crash/modules/CrashModules.h"
#include "tools/crashblock/CrashDwarf.h"
#include "tools/crashblock/CrashOptionsIni.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <vector>

namespace rasp {

namespace {
bool ReadText(const std::string& file, std::string& text) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  text = ss.str();
  return true;
}

bool LoadOptions(const std::string& file, TCrashModuleOptions& options, std::ostream& err) {
  std::string text, error;
  if (!ReadText(file, text)) {
    err << "crashblock: cannot read " << file << "\n";
    return false;
  }
  if (!ReadCrashOptionsIni(text, options, error)) {
    err << "crashblock: " << file << ": " << error << "\n";
    return false;
  }
  return true;
}

// Runs objcopy without a shell, so names need no quoting.
bool RunObjcopy(const std::vector<std::string>& args, std::ostream& err) {
  std::vector<char*> argv;
  std::string tool = "objcopy";
  if (const char* env = std::getenv("OBJCOPY"); env && *env) tool = env;
  argv.push_back(tool.data());
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    err << "crashblock: " << tool << " failed (status " << status << ")\n";
    return false;
  }
  return true;
}

bool WriteSection(const std::string& binary, const std::vector<uint8_t>& block, std::ostream& err) {
  TElfImage image;
  if (!image.OpenFile(binary)) {
    err << "crashblock: " << binary << " is not a 64-bit ELF file\n";
    return false;
  }
  bool present = image.FindSection(CrashBlockSection) != nullptr;
  std::string temp = binary + ".cwdata.tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size()));
    if (!out) {
      err << "crashblock: cannot write " << temp << "\n";
      return false;
    }
  }
  std::string section = std::string(CrashBlockSection);
  bool ok = present ? RunObjcopy({"--update-section", section + "=" + temp, binary}, err)
                    : RunObjcopy({"--add-section", section + "=" + temp, "--set-section-flags",
                                  section + "=noload,readonly", binary},
                                 err);
  std::remove(temp.c_str());
  return ok;
}

struct TLineCount {
  size_t Entries = 0;
};
} // namespace

int CrashBlockBuild(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err) {
  TCrashModuleOptions options("", false);
  if (!LoadOptions(optionsFile, options, err)) return 1;
  TCrashDebugSource source;
  std::string error;
  if (!CollectCrashDebugSource(binary, source, error)) {
    err << "crashblock: " << error << "\n";
    return 1;
  }
  std::vector<uint8_t> debug = WriteCrashDebugData(source.Symbols, source.Units);
  std::vector<uint8_t> block = WriteCrashBlock(options, debug, {uint32_t(time(nullptr)), 0});
  if (!WriteSection(binary, block, err)) return 1;
  size_t rows = 0;
  for (const TCrashUnitSource& u : source.Units) rows += u.Rows.size();
  out << "crashblock: " << binary << ": " << source.Units.size() << " units, " << source.Functions
      << " routines, " << rows << " lines, " << source.Symbols.size() << " symbols; debug data " << debug.size()
      << " bytes, block " << block.size() << " bytes\n";
  return 0;
}

int CrashBlockDump(const std::string& binary, std::ostream& out, std::ostream& err, bool showSecrets) {
  TCrashModuleOptions options("", false);
  TCrashBlock block;
  if (!ReadModuleDataBlock(binary, options, block)) {
    err << "crashblock: " << binary << " has no crash data block, or a damaged one\n";
    return 1;
  }
  TCrashDebugData debug;
  bool debugOk = debug.Open(block.DebugData, block.DataVersion);
  std::string ini = WriteCrashOptionsIni(options);
  // A dump gets passed around; the password only when asked for. The line
  // is a comment, so that stamping the dump back keeps the stored password.
  const std::string key = "\nSMTPPassword=";
  if (size_t at = ini.find(key); !showSecrets && at != std::string::npos && !options.SMTPPassword().empty())
    ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, "; SMTPPassword=*** (stored; --show-secrets shows it)");
  out << ini;
  out << "; data version " << block.DataVersion << ", header values " << block.HeaderValues[0] << " "
      << block.HeaderValues[1] << "\n";
  if (!debugOk) {
    out << "; debug data damaged (" << block.DebugData.size() << " bytes)\n";
    return 1;
  }
  size_t lines = 0;
  for (const TCrashDebugData::TUnit& u : debug.Units())
    DecodeCrashLineTable(debug.Table(u), debug.DataVersion(), u.Start, u.Size, u.FirstLine, std::nullopt, nullptr,
                         [&](const TCrashLineRange& r) { lines += r.Size != 0; });
  out << "; debug data: " << debug.Size() << " bytes, " << debug.UnitCount() << " units, " << lines
      << " line ranges, " << debug.SymbolCount() << " symbols\n";
  return 0;
}

int CrashBlockStamp(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err,
                    bool fromDefaults) {
  TCrashModuleOptions old("", false);
  TCrashBlock block;
  if (!ReadModuleDataBlock(binary, old, block)) {
    err << "crashblock: " << binary << " has no crash data block to stamp (or a damaged one)\n";
    return 1;
  }
  if (block.DataVersion != CrashDataVersion) {
    err << "crashblock: " << binary << " carries a block of data version " << block.DataVersion
        << "; only version " << CrashDataVersion << " can be stamped\n";
    return 1;
  }
  // Keys the file leaves out keep the values the binary carries (or, with
  // --defaults, the defaults).
  TCrashModuleOptions options("", false);
  if (!fromDefaults) options.Assign(&old);
  if (!LoadOptions(optionsFile, options, err)) return 1;
  std::vector<uint8_t> bytes = WriteCrashBlock(options, block.DebugData, block.HeaderValues);
  if (!WriteSection(binary, bytes, err)) return 1;
  out << "crashblock: " << binary << ": options " << (fromDefaults ? "replaced" : "merged")
      << ", debug data kept (" << block.DebugData.size() << " bytes); block " << bytes.size() << " bytes\n";
  return 0;
}

} // namespace rasp
