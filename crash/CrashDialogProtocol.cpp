#include "crash/CrashDialogProtocol.h"

#include "crash/CrashOptions.h"

#include <cstdlib>

namespace rasp {

namespace {

std::vector<std::string> Cells(std::string_view v) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t tab = v.find('\t', start);
    out.push_back(CrashDialogUnescape(v.substr(start, tab == std::string_view::npos ? v.npos : tab - start)));
    if (tab == std::string_view::npos)
      return out;
    start = tab + 1;
  }
}

std::string Row(const char* key, const TCrashDialogRow& row) {
  std::string line = key;
  for (size_t i = 0; i < row.size(); ++i)
    line += (i ? "\t" : " ") + CrashDialogEscape(row[i]);
  return line + "\n";
}

int Int(std::string_view v) { return std::atoi(std::string(v).c_str()); }

} // namespace

std::string CrashDialogEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '\\': out += "\\\\"; break;
    case '\r': out += "\\r"; break;
    case '\n': out += "\\n"; break;
    case '\t': out += "\\t"; break;
    default: out += c;
    }
  }
  return out;
}

std::string CrashDialogUnescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

std::string TCrashDialogRequest::Text(int index) const {
  auto it = Texts.find(index);
  if (it != Texts.end())
    return it->second;
  const char* d = CrashDefaultCustomText(index);
  return d ? d : "";
}

std::string CrashDialogWriteRequest(const TCrashDialogRequest& r) {
  std::string s = std::string(CrashDialogVersionLine) + "\n";
  s += "mode " + r.Mode + "\n";
  for (auto& [i, t] : r.Texts)
    s += "text " + std::to_string(i) + " " + CrashDialogEscape(t) + "\n";
  s += "short " + CrashDialogEscape(r.ShortText) + "\n";
  s += "header " + CrashDialogEscape(r.HeaderText) + "\n";
  s += "cpu " + CrashDialogEscape(r.CPUText) + "\n";
  s += "log " + CrashDialogEscape(r.LogText) + "\n";
  for (auto& row : r.Stack)
    s += Row("stack", row);
  for (auto& row : r.Modules)
    s += Row("module", row);
  auto opt = [&](const char* n, int v) { s += std::string("option ") + n + " " + std::to_string(v) + "\n"; };
  opt("SendMode", r.SendMode);
  opt("AttachScreenshot", r.AttachScreenshot);
  opt("ShowTerminateBtn", r.ShowTerminateBtn);
  opt("ErrorsNumberToShowTerminateBtn", r.ErrorsNumberToShowTerminateBtn);
  opt("TerminateBtnOperation", r.TerminateBtnOperation);
  opt("ReportCount", r.ReportCount);
  opt("FirstTab", r.FirstTab);
  opt("StyledDialogs", r.StyledDialogs);
  opt("DuplicateFound", r.DuplicateFound);
  if (!r.GeometryFile.empty())
    s += "geometry " + CrashDialogEscape(r.GeometryFile) + "\n";
  if (!r.ScreenshotFile.empty())
    s += "screenshot " + CrashDialogEscape(r.ScreenshotFile) + "\n";
  return s + "end\n";
}

bool CrashDialogReadLine(TCrashDialogRequest& r, std::string_view line) {
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  if (line == "end")
    return false;
  size_t sp = line.find(' ');
  std::string_view key = line.substr(0, sp), v = sp == line.npos ? std::string_view() : line.substr(sp + 1);
  if (key == "mode") {
    r.Mode = std::string(v);
  } else if (key == "text") {
    size_t s2 = v.find(' ');
    int i = Int(v.substr(0, s2));
    if (i >= 0 && i < CrashCustomTextCount)
      r.Texts[i] = s2 == v.npos ? std::string() : CrashDialogUnescape(v.substr(s2 + 1));
  } else if (key == "short") {
    r.ShortText = CrashDialogUnescape(v);
  } else if (key == "header") {
    r.HeaderText = CrashDialogUnescape(v);
  } else if (key == "cpu") {
    r.CPUText = CrashDialogUnescape(v);
  } else if (key == "log") {
    r.LogText = CrashDialogUnescape(v);
  } else if (key == "stack" || key == "module") {
    std::vector<std::string> c = Cells(v);
    TCrashDialogRow row;
    for (size_t i = 0; i < row.size() && i < c.size(); ++i)
      row[i] = c[i];
    (key == "stack" ? r.Stack : r.Modules).push_back(row);
  } else if (key == "option") {
    size_t s2 = v.find(' ');
    std::string_view n = v.substr(0, s2);
    int x = s2 == v.npos ? 0 : Int(v.substr(s2 + 1));
    if (n == "SendMode") r.SendMode = x;
    else if (n == "AttachScreenshot") r.AttachScreenshot = x != 0;
    else if (n == "ShowTerminateBtn") r.ShowTerminateBtn = x != 0;
    else if (n == "ErrorsNumberToShowTerminateBtn") r.ErrorsNumberToShowTerminateBtn = x;
    else if (n == "TerminateBtnOperation") r.TerminateBtnOperation = x;
    else if (n == "ReportCount") r.ReportCount = x;
    else if (n == "FirstTab") r.FirstTab = x >= 0 && x <= 3 ? x : 0;
    else if (n == "StyledDialogs") r.StyledDialogs = x != 0;
    else if (n == "DuplicateFound") r.DuplicateFound = x != 0;
  } else if (key == "geometry") {
    r.GeometryFile = CrashDialogUnescape(v);
  } else if (key == "screenshot") {
    r.ScreenshotFile = CrashDialogUnescape(v);
  }
  return true;
}

std::string CrashDialogWriteResult(const TCrashDialogResult& r) {
  std::string s;
  if (!r.ScreenshotFile.empty())
    s += "screenshot " + CrashDialogEscape(r.ScreenshotFile) + "\n";
  if (r.Shown)
    s += "shown\n";
  s += std::string("result send=") + (r.Send ? "1" : "0") + " screenshot=" + (r.Screenshot ? "1" : "0") +
       " clipboard=" + (r.Clipboard ? "1" : "0") + " terminate=" + (r.Terminate ? "1" : "0") + "\n";
  s += "steps " + CrashDialogEscape(r.Steps) + "\n";
  return s + "done\n";
}

TCrashDialogResult CrashDialogReadResult(std::string_view out) {
  TCrashDialogResult r;
  size_t start = 0;
  while (start < out.size()) {
    size_t lf = out.find('\n', start);
    std::string_view line = out.substr(start, lf == out.npos ? out.npos : lf - start);
    start = lf == out.npos ? out.size() : lf + 1;
    if (line == "shown") {
      r.Shown = true;
    } else if (line.rfind("screenshot ", 0) == 0) {
      r.ScreenshotFile = CrashDialogUnescape(line.substr(11));
    } else if (line.rfind("steps ", 0) == 0) {
      r.Steps = CrashDialogUnescape(line.substr(6));
    } else if (line.rfind("result ", 0) == 0) {
      auto flag = [&](std::string_view name) {
        size_t at = line.find(name);
        return at != line.npos && at + name.size() < line.size() && line[at + name.size()] == '1';
      };
      r.Send = flag("send=");
      r.Screenshot = flag(" screenshot=");
      r.Clipboard = flag("clipboard=");
      r.Terminate = flag("terminate=");
    }
  }
  return r;
}

} // namespace rasp
