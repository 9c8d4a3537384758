// The crash log file: entries separated by blank lines, rewritten as a
// whole and atomically, one process at a time.
#include "crash/CrashLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace rasp {

namespace {
std::atomic<TCrashLogProbe> BeforeRename{nullptr};
const std::string EntryEnd = "\r\n\r\n\r\n\r\n";

std::string FolderOf(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : fileName.substr(0, slash);
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}
} // namespace

void SetCrashLogBeforeRenameProbe(TCrashLogProbe probe) { BeforeRename = probe; }

std::vector<std::string> SplitCrashLogEntries(const std::string& text) {
  std::vector<std::string> entries;
  size_t at = 0;
  while (at < text.size()) {
    size_t run = text.find(EntryEnd, at);
    if (run == std::string::npos) break;
    entries.push_back(text.substr(at, run + 6 - at));
    at = run + 8;
  }
  return entries;
}

bool CrashLogEntryField(const std::string& entry, const std::string& field, std::string& value) {
  size_t item = entry.find("\r\n  " + field + " ");
  if (item == std::string::npos) return false;
  size_t colon = entry.find(": ", item + 2);
  if (colon == std::string::npos) return false;
  size_t end = entry.find("\r\n", colon);
  if (end == std::string::npos) return false;
  value = entry.substr(colon + 2, end - colon - 2);
  return true;
}

bool TLogFile::Load() {
  FEntries.clear();
  int fd = open(FFileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  std::string text;
  char buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) != 0) {
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      return false;
    }
    text.append(buf, size_t(n));
  }
  close(fd);
  FEntries = SplitCrashLogEntries(text);
  return true;
}

void TLogFile::AddEntry(const std::string& text, int maxCount) {
  if (maxCount < 1) maxCount = 1;
  while (!FEntries.empty() && int(FEntries.size()) >= maxCount) FEntries.erase(FEntries.begin());
  FEntries.push_back(text + EntryEnd);
}

bool TLogFile::FindEntry(const std::vector<std::string>& fields, const std::vector<std::string>& values) const {
  for (const std::string& entry : FEntries) {
    bool all = true;
    for (size_t i = 0; i < fields.size() && all; ++i) {
      std::string v;
      all = CrashLogEntryField(entry, fields[i], v) && i < values.size() && v == values[i];
    }
    if (all) return true;
  }
  return false;
}

std::string TLogFile::Text() const {
  std::string out;
  for (const std::string& e : FEntries) out += e + "\r\n";
  return out;
}

bool TLogFile::Save(std::string& error) const {
  std::string temp = FFileName + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot create \"" + temp + "\": " + std::strerror(errno);
    return false;
  }
  fchmod(fd, 0600);
  bool ok = WriteAll(fd, Text()) && fsync(fd) == 0;
  int saved = errno;
  ok = close(fd) == 0 && ok;
  if (ok) {
    if (auto probe = BeforeRename.load()) probe();
    ok = rename(temp.c_str(), FFileName.c_str()) == 0;
    saved = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    error = "Cannot write \"" + FFileName + "\": " + std::strerror(saved);
    return false;
  }
  int dir = open(FolderOf(FFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

TCrashLogLock::TCrashLogLock(const std::string& logFileName) {
  // The folder itself is locked: the log is replaced by renames, so a lock
  // on the file would be a lock on an old copy.
  FFd = open(FolderOf(logFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (FFd >= 0)
    while (flock(FFd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

TCrashLogLock::~TCrashLogLock() {
  if (FFd >= 0) close(FFd);
}

bool StoreCrashLogEntry(const std::string& fileName, const std::string& entry, int maxCount, std::string& error) {
  TCrashLogLock lock(fileName);
  TLogFile log(fileName);
  if (!log.Load()) {
    error = "Cannot read \"" + fileName + "\": " + std::strerror(errno);
    return false;
  }
  log.AddEntry(entry, maxCount);
  return log.Save(error);
}

} // namespace rasp
