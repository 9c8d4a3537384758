#pragma once
// The crash log: the text of one report (header sections, call stack and
// module tables, registers and dumps) and the crash log file that keeps the
// last entries.
#include "crash/modules/CrashContext.h"
#include "crash/modules/CrashModules.h"
#include "platform/base/UniqueFd.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
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

// Splits a crash log's text into entries. Lines may end with CR LF or LF
// (an editor may have saved the log); three or more empty lines end an
// entry, and the last entry needs none. Nothing is dropped: a part that is
// no entry of ours stays as it was. Every entry comes back ended by its last
// line break and two CR LF pairs; entries that begin with the banner have
// CR LF line ends.
std::vector<std::string> SplitCrashLogEntries(const std::string& text);
// The value of header item `field` ("2.2") of an entry, or false when the
// entry lacks it.
bool CrashLogEntryField(const std::string& entry, const std::string& field, std::string& value);
// The entry without the line breaks that end it.
std::string CrashLogEntryBody(const std::string& entry);

class TLogFile {
public:
  explicit TLogFile(std::string fileName) : FFileName(std::move(fileName)) {}
  // Reads the current file (no file: no entries). False, with the reason in
  // `why`, when it exists but cannot be used as a log: it is not a regular
  // file (a folder, a FIFO, a device), a symbolic link (never followed, so
  // nobody can point the log at a file of theirs), unreadable, or larger
  // than CrashMaxLogSize. Opening never blocks.
  bool Load(std::string* why = nullptr);
  void AddEntry(const std::string& text, int maxCount);
  // Replaces the newest entry whose body is `old`'s by `text`; adds `text`
  // when there is none.
  void ReplaceEntry(const std::string& old, const std::string& text, int maxCount);
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
  TUniqueFd FFd;
};

// A crash log larger than this is no log of ours and is not read.
inline constexpr long long CrashMaxLogSize = 64ll << 20;

// Adds one entry to the crash log under the lock: the file is read again
// under the lock so that an entry another process has just written stays.
bool StoreCrashLogEntry(const std::string& fileName, const std::string& entry, int maxCount,
                        std::string& error);
// The same for an entry stored before: it is replaced by `text`.
bool ReplaceCrashLogEntry(const std::string& fileName, const std::string& old, const std::string& text,
                          int maxCount, std::string& error);

// Where a report's entry went.
struct TCrashLogPlace {
  bool Stored = false;
  std::string File;   // the log that holds it; empty when it went to standard error
  std::string Entry;  // the entry as it was stored
};
// The log a report goes to when its own cannot be used: a file of the same
// name in the user's state folder ($XDG_STATE_HOME/tellivo-rasp/), created
// when missing; empty when there is no such folder.
std::string CrashFallbackLogPath(const std::string& logFileName);
// Stores the entry in `logFileName`, or, when that log cannot be used or
// written, in the fallback log, and says on `err` where and why. When no
// log can be written at all, the whole entry goes to `err`, so that a
// terminal or the journal still holds it.
TCrashLogPlace CrashStoreReport(const std::string& logFileName, const std::string& entry, int maxCount,
                                FILE* err = stderr);
// Replaces the stored entry by its completed form (what the dialogs added
// to it), where it was stored; the addition goes to `err` when that fails.
void CrashCompleteReport(TCrashLogPlace& place, const std::string& completed, int maxCount, FILE* err = stderr);
// Whether the log (or, when it cannot be used, its fallback) holds an entry
// whose items 2.2 to 2.5 are `keyValues`; see CrashSameFailure.
bool CrashLogHasDuplicate(const std::string& logFileName, const std::vector<std::string>& keyValues);
// Whether a stored entry reports the same failure as the key values (items
// 2.2 to 2.5, then the module offset 2.6 when there is one).
bool CrashSameFailure(const std::string& entry, const std::vector<std::string>& keyValues);

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
  std::optional<uintptr_t> ModuleOffset;  // the address in the module's file
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
  // Values of items 2.2 to 2.6, for the duplicate check.
  std::vector<std::string> KeyValues;
};

inline constexpr const char* CrashLogBanner = "Crashwise 4.6\r\n\r\n";
// An address in a module's file as the log writes it: "0x" and lower-case
// hex, as eu-addr2line and gdb take it.
std::string CrashOffsetText(uintptr_t fileAddress);
// Bytes as lower-case hex (build ids).
std::string CrashHexBytes(const std::string& bytes);

// The steps the user typed, as they are added to an entry: CR LF line ends,
// and never three empty lines in a row, which would end the entry there.
std::string CrashStepsForLog(const std::string& steps);
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
