// The header sections of a log entry and the date format.
#include "crash/log/CrashLog.h"

#include <cstdio>
#include <cstdlib>

namespace rasp {

void TLogItem::AddSection(const std::string& caption) {
  ++SectionNo;
  ItemNo = 0;
  if (!Text.empty()) Text += "\r\n\r\n";
  Text += caption + ":\r\n-";
}

void TLogItem::AddItem(const std::string& caption, const std::string& value, bool include) {
  ++ItemNo;
  if (!include) return;
  Text += "\r\n  " + std::to_string(SectionNo) + "." + std::to_string(ItemNo) + " " + caption + ": " + value;
}

namespace {
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (true) {
    size_t nl = text.find("\r\n", at);
    if (nl == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, nl - at));
    at = nl + 2;
  }
  return lines;
}
} // namespace

std::string TLogItem::Render() const {
  std::vector<std::string> lines = Text.empty() ? std::vector<std::string>{} : SplitLines(Text);
  lines.push_back("");
  std::vector<std::string> out;
  size_t i = 0;
  while (i < lines.size()) {
    size_t end = i;
    while (end < lines.size() && !lines[end].empty()) ++end;  // block: [i, end), empty line at end
    if (end == i) {
      out.push_back(lines[i]);
      ++i;
      continue;
    }
    if (end - i <= 2) {
      i = end + 1;  // caption and dash line only: the section goes, with its empty line
      continue;
    }
    size_t p = 0;
    for (size_t k = i + 2; k < end; ++k) {
      size_t pos = lines[k].find(": ");
      if (pos != std::string::npos && pos > p) p = pos;
    }
    size_t longest = lines[i].size();
    for (size_t k = i + 2; k < end; ++k) {
      size_t pos = lines[k].find(": ");
      if (pos != std::string::npos && pos < p) lines[k].insert(pos, p - pos, ' ');
      if (lines[k].size() > longest) longest = lines[k].size();
    }
    out.push_back(lines[i]);
    out.push_back(std::string(longest, '-'));
    for (size_t k = i + 2; k < end; ++k) out.push_back(lines[k]);
    if (end < lines.size()) out.push_back("");
    i = end + 1;
  }
  if (!out.empty() && out.back().empty()) out.pop_back();
  std::string result;
  for (const std::string& l : out) result += l + "\r\n";
  return result;
}

std::string CrashLogDate(time_t when) {
  static const char* const Days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  struct tm local{};
  localtime_r(&when, &local);
  long hours = local.tm_gmtoff / 3600;  // truncated toward zero: half-hour zones lose the half
  char zone[32];
  std::snprintf(zone, sizeof zone, "%c%02ld00", hours >= 0 ? '+' : '-', std::labs(hours));
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s, %d %s %d %02d:%02d:%02d %s", Days[local.tm_wday % 7], local.tm_mday,
                Months[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, zone);
  return buf;
}

} // namespace rasp
