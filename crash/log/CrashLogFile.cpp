// The crash log file: entries separated by blank lines, rewritten as a
// whole and atomically, one process at a time.
#include "crash/log/CrashLog.h"
#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace rasp {

namespace {
std::atomic<TCrashLogProbe> BeforeRename{nullptr};
// What follows an entry when it is added: its last line break and three
// empty lines; the newest entry gets one more when the log is written.
const std::string EntryEnd = "\r\n\r\n\r\n\r\n";

std::string FolderOf(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : fileName.substr(0, slash);
}

bool BlankLine(std::string_view line) { return line.find_first_not_of(" \t\r\n") == std::string_view::npos; }

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 40);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// One entry from its lines: the first one to the last that is not empty.
std::string EntryOf(std::string_view chunk) {
  std::string entry = chunk.rfind(CrashLogBanner, 0) == 0 || chunk.rfind("Crashwise ", 0) == 0
                          ? WithCrLf(chunk)
                          : std::string(chunk);
  if (entry.empty() || entry.back() != '\n') entry += "\r\n";
  return entry + "\r\n\r\n";
}
} // namespace

void SetCrashLogBeforeRenameProbe(TCrashLogProbe probe) { BeforeRename = probe; }

std::vector<std::string> SplitCrashLogEntries(const std::string& text) {
  std::vector<std::string> entries;
  size_t chunkStart = std::string::npos, chunkEnd = 0;
  int blanks = 0;
  auto flush = [&] {
    if (chunkStart != std::string::npos)
      entries.push_back(EntryOf(std::string_view(text).substr(chunkStart, chunkEnd - chunkStart)));
    chunkStart = std::string::npos;
  };
  for (size_t at = 0; at < text.size();) {
    size_t lf = text.find('\n', at);
    size_t next = lf == std::string::npos ? text.size() : lf + 1;
    if (BlankLine(std::string_view(text).substr(at, next - at))) {
      if (++blanks == 3) flush();
    } else {
      if (chunkStart == std::string::npos) chunkStart = at;
      chunkEnd = next;
      blanks = 0;
    }
    at = next;
  }
  flush();
  return entries;
}

bool CrashLogEntryField(const std::string& entry, const std::string& field, std::string& value) {
  size_t item = entry.find("\n  " + field + " ");
  if (item == std::string::npos) return false;
  size_t colon = entry.find(": ", item + 1);
  size_t end = entry.find('\n', item + 1);
  if (colon == std::string::npos || end == std::string::npos || colon > end) return false;
  if (end > colon + 2 && entry[end - 1] == '\r') --end;
  value = entry.substr(colon + 2, end - colon - 2);
  return true;
}

std::string CrashLogEntryBody(const std::string& entry) {
  size_t end = entry.find_last_not_of("\r\n");
  return end == std::string::npos ? std::string() : entry.substr(0, end + 1);
}

bool TLogFile::Load(std::string* why) {
  FEntries.clear();
  auto fail = [&](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  TUniqueFd fd(open(FFileName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) return true;
    return fail(errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
  }
  struct stat st{};
  if (fstat(fd.Get(), &st) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return fail(S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
  if (st.st_size > CrashMaxLogSize) return fail("it is larger than 64 MiB");
  std::string text;
  text.reserve(size_t(st.st_size));
  char buf[65536];
  ssize_t n;
  while ((n = read(fd.Get(), buf, sizeof buf)) != 0) {
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(std::strerror(errno));
    }
    if (text.size() + size_t(n) > size_t(CrashMaxLogSize)) return fail("it is larger than 64 MiB");
    text.append(buf, size_t(n));
  }
  FEntries = SplitCrashLogEntries(text);
  return true;
}

void TLogFile::AddEntry(const std::string& text, int maxCount) {
  if (maxCount < 1) maxCount = 1;
  while (!FEntries.empty() && int(FEntries.size()) >= maxCount) FEntries.erase(FEntries.begin());
  FEntries.push_back(text + EntryEnd);
}

void TLogFile::ReplaceEntry(const std::string& old, const std::string& text, int maxCount) {
  const std::string body = CrashLogEntryBody(old);
  for (auto it = FEntries.rbegin(); it != FEntries.rend(); ++it)
    if (CrashLogEntryBody(*it) == body) {
      *it = CrashLogEntryBody(text) + EntryEnd;
      return;
    }
  AddEntry(CrashLogEntryBody(text), maxCount);
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
  TUniqueFd fd(mkostemp(temp.data(), O_CLOEXEC));
  if (!fd) {
    error = "Cannot create \"" + temp + "\": " + std::strerror(errno);
    return false;
  }
  fchmod(fd.Get(), 0600);
  bool ok = WriteAll(fd.Get(), Text()) && fsync(fd.Get()) == 0;
  int saved = errno;
  ok = fd.Reset() == 0 && ok;
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
  TUniqueFd dir(open(FolderOf(FFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) fsync(dir.Get());
  return true;
}

TCrashLogLock::TCrashLogLock(const std::string& logFileName) {
  // The folder itself is locked: the log is replaced by renames, so a lock
  // on the file would be a lock on an old copy.
  FFd.Reset(open(FolderOf(logFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (FFd)
    while (flock(FFd.Get(), LOCK_EX) != 0 && errno == EINTR) {
    }
}

TCrashLogLock::~TCrashLogLock() = default;

namespace {
template <class Change>
bool RewriteLog(const std::string& fileName, std::string& error, Change change) {
  TCrashLogLock lock(fileName);
  TLogFile log(fileName);
  std::string why;
  if (!log.Load(&why)) {
    error = "Cannot read \"" + fileName + "\": " + why;
    return false;
  }
  change(log);
  return log.Save(error);
}
} // namespace

bool StoreCrashLogEntry(const std::string& fileName, const std::string& entry, int maxCount, std::string& error) {
  return RewriteLog(fileName, error, [&](TLogFile& log) { log.AddEntry(entry, maxCount); });
}

bool ReplaceCrashLogEntry(const std::string& fileName, const std::string& old, const std::string& text,
                          int maxCount, std::string& error) {
  return RewriteLog(fileName, error, [&](TLogFile& log) { log.ReplaceEntry(old, text, maxCount); });
}

} // namespace rasp
