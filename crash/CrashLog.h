#pragma once
// The crash log: the text of one report (header sections, call stack and
// module tables, registers and dumps) and the crash log file that keeps the
// last entries.
#include "crash/CrashContext.h"
#include "crash/CrashModules.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace rasp {

// Builder of the numbered header sections.
class TLogItem {
public:
  void AddSection(const std::string& caption);
  // The item number advances even for an item left out, so the numbers of
  // the others never depend on which items are shown.
  void AddItem(const std::string& caption, const std::string& value, bool include);
  // Aligns the ": " of every section's items and draws its dash line; a
  // section without items disappears.
  std::string Render() const;

  std::string Text;
  uint32_t SectionNo = 0;
  uint32_t ItemNo = 0;
};

// "Wed, 9 Dec 2026 11:01:10 +0100": the local time zone in whole hours.
std::string CrashLogDate(time_t when);

// Splits a crash log's text into entries (each ends with three CR LF pairs).
std::vector<std::string> SplitCrashLogEntries(const std::string& text);
// The value of header item `field` ("2.2") of an entry, or false when the
// entry lacks it.
bool CrashLogEntryField(const std::string& entry, const std::string& field, std::string& value);

class TLogFile {
public:
  explicit TLogFile(std::string fileName) : FFileName(std::move(fileName)) {}
  // Reads the current file (no file: no entries). False when it exists but
  // cannot be read.
  bool Load();
  void AddEntry(const std::string& text, int maxCount);
  bool FindEntry(const std::vector<std::string>& fields, const std::vector<std::string>& values) const;
  std::string Text() const;
  // Writes every entry to a temporary file beside the log, flushes it to
  // disk and renames it over the log: a failure at any point leaves the old
  // log as it was. The file is readable by its owner only.
  bool Save(std::string& error) const;

  const std::string& FileName() const { return FFileName; }
  std::vector<std::string>& Entries() { return FEntries; }
  const std::vector<std::string>& Entries() const { return FEntries; }

private:
  std::string FFileName;
  std::vector<std::string> FEntries;
};

// Holds an exclusive lock shared by every process that rewrites crash logs
// of one folder, from construction to destruction.
class TCrashLogLock {
public:
  explicit TCrashLogLock(const std::string& logFileName);
  ~TCrashLogLock();
  TCrashLogLock(const TCrashLogLock&) = delete;
  TCrashLogLock& operator=(const TCrashLogLock&) = delete;

private:
  int FFd = -1;
};

// Adds one entry to the crash log under the lock: the file is read again
// under the lock so that an entry another process has just written stays.
bool StoreCrashLogEntry(const std::string& fileName, const std::string& entry, int maxCount,
                        std::string& error);

// Test hook: runs after the new log is written and before it replaces the
// old one.
using TCrashLogProbe = void (*)();
void SetCrashLogBeforeRenameProbe(TCrashLogProbe probe);

// What the log text is made of.
struct TCrashLogInput {
  time_t StartTime = 0;
  time_t ExceptionTime = 0;
  std::string AppName;
  std::string AppVersion;
  std::vector<std::string> Arguments;
  uintptr_t ExceptionAddress = 0;
  std::string ModuleName;
  std::string ClassName;  // empty: not a valid object
  std::string Message;
  bool IsException = true;
  std::string FormClass, FormText, ControlClass, ControlText;
  TCrashContext Context;
  uintptr_t StackPointer = 0;
};

struct TCrashLogTexts {
  std::string HeaderText;
  std::string CallStackText;
  std::string CPUText;
  std::string LogText;
  // Values of items 2.2 to 2.5, for the duplicate check.
  std::vector<std::string> KeyValues;
};

inline constexpr const char* CrashLogBanner = "Crashwise 4.6\r\n\r\n";

std::string CrashCleanMessage(const std::string& message, bool isException);
std::string CrashShortText(const std::string& message, bool isException);
std::string CrashHeaderText(const TCrashLogInput& in, const TCrashModuleOptions& options);
std::string CrashCallStackText(const TCrashStackList& stack, const std::vector<TCrashModulePtr>& modules,
                               const TCrashModuleOptions& options);
std::string CrashCPUText(const TCrashContext& context, uintptr_t stackPointer, uintptr_t exceptionAddress,
                         const TCrashModuleOptions& options);
TCrashLogTexts CrashBuildLogTexts(const TCrashLogInput& in, const TCrashStackList& stack,
                                  const std::vector<TCrashModulePtr>& modules, const TCrashModuleOptions& options);

} // namespace rasp
