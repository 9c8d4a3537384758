// Where a report is kept: its crash log, the fallback log in the user's
// state folder when that log cannot be used, and standard error when no log
// can be written at all. A report is never lost for want of a file.
#include "crash/log/CrashLog.h"
#include "platform/paths/WritableFolder.h"

#include <cstdio>

namespace rasp {

namespace {
std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

void Say(FILE* err, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), err);
  std::fflush(err);
}
} // namespace

std::string CrashFallbackLogPath(const std::string& logFileName) {
  // With no program folder to offer, the user's folder is the answer (made
  // when missing), or nothing.
  std::string folder = WritableFolderFor(TWritableKind::State, "");
  if (folder.empty()) return {};
  std::string path = folder + BaseName(logFileName);
  if (path == logFileName) {
    // The unusable log lies there already: a second name beside it.
    size_t dot = path.rfind('.');
    path = (dot == std::string::npos || dot < path.rfind('/') ? path : path.substr(0, dot)) + "-fallback" +
           CrashLogExtension;
  }
  return path;
}

TCrashLogPlace CrashStoreReport(const std::string& logFileName, const std::string& entry, int maxCount, FILE* err) {
  TCrashLogPlace place;
  place.Entry = entry;
  std::string error;
  if (StoreCrashLogEntry(logFileName, entry, maxCount, error)) {
    place.Stored = true;
    place.File = logFileName;
    return place;
  }
  std::string fallback = CrashFallbackLogPath(logFileName);
  std::string fallbackError = "there is no user state folder";
  if (!fallback.empty() && StoreCrashLogEntry(fallback, entry, maxCount, fallbackError)) {
    Say(err, "crash reporter: " + error + "; the report is stored in \"" + fallback + "\".\n");
    place.Stored = true;
    place.File = fallback;
    return place;
  }
  Say(err, "crash reporter: the report cannot be stored (" + error + "; " + fallbackError +
               "); it follows in full.\n" + entry + "\n");
  return place;
}

void CrashCompleteReport(TCrashLogPlace& place, const std::string& completed, int maxCount, FILE* err) {
  const std::string before = CrashLogEntryBody(place.Entry);
  const std::string now = CrashLogEntryBody(completed);
  if (now == before) return;
  std::string error;
  if (!place.File.empty() && ReplaceCrashLogEntry(place.File, place.Entry, completed, maxCount, error)) {
    place.Entry = completed;
    return;
  }
  // What the dialogs added goes where the rest of the report went.
  std::string added = now.rfind(before, 0) == 0 ? now.substr(before.size()) : now;
  if (!place.File.empty())
    Say(err, "crash reporter: the addition to the report in \"" + place.File + "\" cannot be stored (" + error +
                 "); it follows.\n" + added + "\n");
  else
    Say(err, "crash reporter: the addition to the report above:\n" + added + "\n");
  place.Entry = completed;
}

namespace {
std::string Without(std::string text, const std::string& part) {
  if (part.empty()) return text;
  for (size_t at; (at = text.find(part)) != std::string::npos;) text.erase(at, part.size());
  return text;
}
} // namespace

bool CrashSameFailure(const std::string& entry, const std::vector<std::string>& keys) {
  // 2.3 module and 2.4 type as written; the place as the offset in the
  // module (2.6), which stays the same from run to run, when both have it,
  // else as the address (2.2). A message that names the address (a fault's
  // does) is compared without it then.
  static const char* const Fields[] = {"2.2", "2.3", "2.4", "2.5", "2.6"};
  if (keys.size() < 4) return false;
  std::string address, v;
  if (!CrashLogEntryField(entry, Fields[0], address)) address.clear();
  for (size_t i = 1; i < 3; ++i)
    if (!CrashLogEntryField(entry, Fields[i], v) || v != keys[i]) return false;
  std::string message;
  if (!CrashLogEntryField(entry, Fields[3], message)) return false;
  if (keys.size() > 4 && CrashLogEntryField(entry, Fields[4], v))
    return v == keys[4] && Without(message, address) == Without(keys[3], keys[0]);
  return message == keys[3] && !address.empty() && address == keys[0];
}

bool CrashLogHasDuplicate(const std::string& logFileName, const std::vector<std::string>& keyValues) {
  TLogFile log(logFileName);
  if (!log.Load()) {
    std::string fallback = CrashFallbackLogPath(logFileName);
    log = TLogFile(fallback);
    if (fallback.empty() || !log.Load()) return false;
  }
  for (const std::string& entry : log.Entries())
    if (CrashSameFailure(entry, keyValues)) return true;
  return false;
}

} // namespace rasp
