#include "crash/CrashMail.h"

#include "crash/CrashBase64.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace rasp {

namespace {

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && uint8_t(s[b]) <= ' ')
    ++b;
  while (e > b && uint8_t(s[e - 1]) <= ' ')
    --e;
  return std::string(s.substr(b, e - b));
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadFile(const std::string& path, std::string* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f)
    return false;
  std::ostringstream ss;
  ss << f.rdbuf();
  *out = ss.str();
  return !f.bad();
}

// Header values come from the options: a line break there would start a
// header of its own.
std::string OneLine(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c == '\r' || c == '\n')
      c = ' ';
  return out;
}

bool IsPng(const std::string& name) {
  if (name.size() < 4)
    return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext)
    c = static_cast<char>(std::tolower(uint8_t(c)));
  return ext == ".png";
}

} // namespace

std::vector<std::string> CrashSplitRecipients(std::string_view text) {
  std::string t = Trim(text);
  if (t.empty() || (t.back() != ',' && t.back() != ';'))
    t += ',';
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < t.size(); ++i)
    if (t[i] == ',' || t[i] == ';') {
      out.push_back(Trim(std::string_view(t).substr(start, i - start)));
      start = i + 1;
    }
  return out;
}

std::string CrashMailDate(std::time_t when) {
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm lt{};
  localtime_r(&when, &lt);
  long hours = lt.tm_gmtoff / 3600;  // truncated toward zero: half hours are lost
  char zone[32];
  std::snprintf(zone, sizeof zone, "%c%02ld00", hours < 0 ? '-' : '+', hours < 0 ? -hours : hours);
  char buf[80];
  std::snprintf(buf, sizeof buf, "%s, %d %s %d %02d:%02d:%02d %s", days[lt.tm_wday], lt.tm_mday,
                months[lt.tm_mon], lt.tm_year + 1900, lt.tm_hour, lt.tm_min, lt.tm_sec, zone);
  return buf;
}

std::string CrashNormaliseLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string CrashDotStuff(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  bool lineStart = true;
  for (size_t i = 0; i < text.size(); ++i) {
    if (lineStart && text[i] == '.')
      out += '.';
    out += text[i];
    lineStart = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
  }
  return out;
}

std::string CrashBuildMessage(const TCrashMailParts& p) {
  const std::string boundary = CrashMailBoundary;
  std::string m;
  m += "Date: " + CrashMailDate(p.When) + "\r\n";
  m += "From: <" + OneLine(p.From) + ">\r\n";
  m += "Subject: " + OneLine(p.Subject) + "\r\n";
  m += "To: <" + OneLine(p.To) + ">\r\n";
  m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\";\r\nMIME-Version: 1.0\r\n";
  m += "X-Priority: 1\r\n";
  m += std::string("X-Library: Crashwise ") + CrashMailLibraryVersion + "\r\n";
  m += "\r\n";
  m += "This is a multi-part message in MIME format\r\n\r\n--" + boundary +
       "\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n" + p.Body + "\r\n";
  for (const std::string& path : p.Attachments) {
    std::string bytes;
    if (path.empty() || !ReadFile(path, &bytes))
      continue;
    std::string name = BaseName(path);
    m += "\r\n--" + boundary + "\r\nContent-Type: " +
         (IsPng(name) ? "image/png" : "application/octet-stream") + ";\r\n";
    m += "        name=\"" + name + "\"\r\n";
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "Content-Disposition: attachment;\r\n";
    m += "        filename=\"" + name + "\"\r\n";
    m += "\r\n";
    m += CrashBase64Lines(bytes);
  }
  m += "--" + boundary + "--\r\n";
  // Headers and body may carry bare LF or CR from the report texts: a lone
  // LF "." LF must never end the DATA phase early.
  std::string out = CrashDotStuff(CrashNormaliseLines(m));
  out += ".\r\n";
  return out;
}

std::string CrashMailBody(const std::string& emailMessage, const std::string& mailText, bool logInBody) {
  if (!logInBody)
    return emailMessage;
  return emailMessage + "\r\n\r\n\r\n" + mailText;
}

std::string CrashMailtoEncode(std::string_view text) {
  std::string out;
  for (char ch : text) {
    uint8_t c = uint8_t(ch);
    if (c == '-' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 128) {
      out += ch;
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string CrashMailtoLink(const std::string& addresses, const std::string& subject, const std::string& body) {
  return "mailto:" + addresses + "?Subject=" + CrashMailtoEncode(subject) + "&Body=" + CrashMailtoEncode(body);
}

} // namespace rasp
