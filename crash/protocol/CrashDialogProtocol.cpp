#include "crash/protocol/CrashDialogProtocol.h"

#include "crash/modules/CrashOptions.h"

#include <climits>
#include <cstdlib>

namespace rasp {

namespace {

// Splits a row into its cells; false on a bad escape.
bool Cells(std::string_view v, std::vector<std::string>& out) {
  size_t start = 0;
  for (;;) {
    size_t tab = v.find('\t', start);
    std::string cell;
    if (!CrashDialogUnescapeStrict(v.substr(start, tab == std::string_view::npos ? v.npos : tab - start), cell))
      return false;
    out.push_back(std::move(cell));
    if (tab == std::string_view::npos)
      return true;
    start = tab + 1;
  }
}

std::string Row(const char* key, const TCrashDialogRow& row) {
  std::string line = key;
  for (size_t i = 0; i < row.size(); ++i)
    line += (i ? "\t" : " ") + CrashDialogEscape(row[i]);
  return line + "\n";
}

// A decimal integer that fits an int, nothing else.
bool Int(std::string_view v, int& out) {
  if (v.empty() || v.size() > 11)
    return false;
  size_t i = v[0] == '-' ? 1 : 0;
  if (i == v.size())
    return false;
  long long x = 0;
  for (; i < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9')
      return false;
    x = x * 10 + (v[i] - '0');
  }
  if (v[0] == '-')
    x = -x;
  if (x < INT_MIN || x > INT_MAX)
    return false;
  out = int(x);
  return true;
}

bool IsKeyword(std::string_view k) {
  if (k.empty())
    return false;
  for (char c : k)
    if (c < 'a' || c > 'z')
      return false;
  return true;
}

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

bool CrashDialogUnescapeStrict(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 1 == text.size())
      return false;
    char c = text[++i];
    if (c == 'r') out += '\r';
    else if (c == 'n') out += '\n';
    else if (c == 't') out += '\t';
    else if (c == '\\') out += '\\';
    else return false;
  }
  return true;
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

TCrashDialogLine CrashDialogReadLine(TCrashDialogRequest& r, std::string_view line, std::string& error) {
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  if (line == "end")
    return TCrashDialogLine::End;
  for (char c : line)
    if ((unsigned char)c < 32 && c != '\t') {
      error = "a control character (code " + std::to_string(int((unsigned char)c)) + ") in the line";
      return TCrashDialogLine::Broken;
    }
  size_t sp = line.find(' ');
  std::string_view key = line.substr(0, sp), v = sp == line.npos ? std::string_view() : line.substr(sp + 1);
  if (!IsKeyword(key)) {
    error = "not a request line";
    return TCrashDialogLine::Broken;
  }
  auto broken = [&](const std::string& why) {
    error = "\"" + std::string(key) + "\": " + why;
    return TCrashDialogLine::Broken;
  };
  auto text = [&](std::string_view value, std::string& out) { return CrashDialogUnescapeStrict(value, out); };
  if (key == "mode") {
    if (v != "exception" && v != "steps" && v != "progress" && v != "screenshot" && v != "clipboard")
      return broken("unknown mode \"" + std::string(v.substr(0, 40)) + "\"");
    r.Mode = std::string(v);
  } else if (key == "text") {
    size_t s2 = v.find(' ');
    int i = -1;
    if (!Int(v.substr(0, s2), i) || i < 0 || i >= CrashCustomTextCount)
      return broken("the text number must be 0 to " + std::to_string(CrashCustomTextCount - 1));
    std::string t;
    if (!text(s2 == v.npos ? std::string_view() : v.substr(s2 + 1), t))
      return broken("bad escape");
    r.Texts[i] = std::move(t);
  } else if (key == "short" || key == "header" || key == "cpu" || key == "log" || key == "geometry" ||
             key == "screenshot") {
    std::string& out = key == "short"    ? r.ShortText
                       : key == "header" ? r.HeaderText
                       : key == "cpu"    ? r.CPUText
                       : key == "log"    ? r.LogText
                       : key == "geometry" ? r.GeometryFile
                                           : r.ScreenshotFile;
    if (!text(v, out))
      return broken("bad escape");
  } else if (key == "stack" || key == "module") {
    std::vector<std::string> c;
    if (!Cells(v, c))
      return broken("bad escape");
    TCrashDialogRow row;
    if (c.size() != row.size())
      return broken("a row has " + std::to_string(c.size()) + " cells, " + std::to_string(row.size()) +
                    " expected");
    for (size_t i = 0; i < row.size(); ++i)
      row[i] = std::move(c[i]);
    (key == "stack" ? r.Stack : r.Modules).push_back(std::move(row));
  } else if (key == "option") {
    size_t s2 = v.find(' ');
    std::string_view n = v.substr(0, s2);
    int x = 0;
    if (s2 == v.npos || !Int(v.substr(s2 + 1), x))
      return broken("\"" + std::string(n.substr(0, 40)) + "\" needs an integer");
    if (n == "SendMode") r.SendMode = x;
    else if (n == "AttachScreenshot") r.AttachScreenshot = x != 0;
    else if (n == "ShowTerminateBtn") r.ShowTerminateBtn = x != 0;
    else if (n == "ErrorsNumberToShowTerminateBtn") r.ErrorsNumberToShowTerminateBtn = x;
    else if (n == "TerminateBtnOperation") r.TerminateBtnOperation = x;
    else if (n == "ReportCount") r.ReportCount = x;
    else if (n == "FirstTab") r.FirstTab = x >= 0 && x <= 3 ? x : 0;
    else if (n == "StyledDialogs") r.StyledDialogs = x != 0;
    else if (n == "DuplicateFound") r.DuplicateFound = x != 0;
  }
  return TCrashDialogLine::More;
}

bool CrashDialogReadRequest(std::string_view wire, TCrashDialogRequest& r, std::string& error, size_t* consumed) {
  size_t start = 0;
  for (int number = 1;; ++number) {
    if (start >= wire.size()) {
      error = "the request ended before its \"end\" line";
      return false;
    }
    size_t lf = wire.find('\n', start);
    std::string_view line = wire.substr(start, lf == wire.npos ? wire.npos : lf - start);
    start = lf == wire.npos ? wire.size() : lf + 1;
    auto at = [&](const std::string& why) { error = "line " + std::to_string(number) + ": " + why; };
    if (number == 1) {
      if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
      if (line != CrashDialogVersionLine) {
        at(std::string("expected \"") + CrashDialogVersionLine + "\"");
        return false;
      }
      continue;
    }
    std::string why;
    switch (CrashDialogReadLine(r, line, why)) {
    case TCrashDialogLine::More:
      break;
    case TCrashDialogLine::End:
      if (consumed)
        *consumed = start;
      return true;
    case TCrashDialogLine::Broken:
      at(why);
      return false;
    }
  }
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
