#pragma once
// The report's temporary files (the copies of the log and the screenshot
// that a mail carries) are known here as well as to their owners, so that
// an ending that cannot wait for the owners (the report's time limit, which
// ends the process from another thread) still removes them.
#include <string>

namespace rasp {

// Registers a path for the time the object lives: a file, or a folder,
// which is removed after the files. Up to 16 paths at a time; more are
// simply not known here.
class TCrashTempPath {
public:
  explicit TCrashTempPath(const std::string& path);
  ~TCrashTempPath();
  TCrashTempPath(const TCrashTempPath&) = delete;
  TCrashTempPath& operator=(const TCrashTempPath&) = delete;

private:
  int FSlot = -1;
};

// Removes every registered path now. Async-signal-safe.
void CrashRemoveTempPaths();

} // namespace rasp
