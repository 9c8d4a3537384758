#include "crash/delivery/CrashMail.h"

#include "crash/delivery/CrashBase64.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
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
  long minutes = lt.tm_gmtoff / 60;
  long offset = minutes < 0 ? -minutes : minutes;
  char zone[32];
  std::snprintf(zone, sizeof zone, "%c%02ld%02ld", minutes < 0 ? '-' : '+', offset / 60, offset % 60);
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

std::string CrashMailMessageId(const std::string& host) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  char buf[128];
  std::snprintf(buf, sizeof buf, "<%lld.%d.%u.%08x@", static_cast<long long>(std::time(nullptr)), int(::getpid()),
                counter.fetch_add(1), unsigned(random()));
  std::string domain;
  for (char c : host)
    if (std::isalnum(uint8_t(c)) || c == '.' || c == '-')
      domain += c;
  return buf + (domain.empty() ? std::string("localhost") : domain) + ">";
}

std::string CrashMailEncodeHeader(std::string_view value) {
  bool ascii = true;
  for (char c : value)
    ascii = ascii && uint8_t(c) < 128;
  if (ascii)
    return std::string(value);
  // Encoded words of at most 75 characters: "=?UTF-8?B?" + 60 base64
  // characters + "?=" holds 45 bytes; a UTF-8 sequence is never split.
  std::string out;
  size_t at = 0;
  while (at < value.size()) {
    size_t end = std::min(value.size(), at + 45);
    while (end < value.size() && end > at && (uint8_t(value[end]) & 0xC0) == 0x80)
      --end;
    if (end == at)
      end = std::min(value.size(), at + 45);
    if (!out.empty())
      out += "\r\n ";
    out += "=?UTF-8?B?" + CrashBase64(value.substr(at, end - at)) + "?=";
    at = end;
  }
  return out;
}

std::string CrashMailTextBody(std::string_view text, std::string& encoding) {
  bool ascii = true;
  for (char c : text)
    ascii = ascii && uint8_t(c) < 128;
  if (ascii) {
    encoding = "7bit";
    return std::string(text);
  }
  // Quoted-printable, line by line, lines of at most 76 characters.
  encoding = "quoted-printable";
  static const char hex[] = "0123456789ABCDEF";
  std::string out, line;
  auto flushSoft = [&] {
    out += line + "=\r\n";
    line.clear();
  };
  const std::string lines = CrashNormaliseLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const uint8_t c = uint8_t(lines[i]);
    if (c == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n') {
      // A blank before a line break would be lost on the way.
      if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        const char last = line.back();
        line.pop_back();
        line += std::string("=") + hex[uint8_t(last) >> 4] + hex[uint8_t(last) & 15];
      }
      out += line + "\r\n";
      line.clear();
      ++i;
      continue;
    }
    std::string piece = (c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t'
                            ? std::string(1, char(c))
                            : std::string("=") + hex[c >> 4] + hex[c & 15];
    if (line.size() + piece.size() > 75)
      flushSoft();
    line += piece;
  }
  out += line;
  return out;
}

std::string CrashBuildMessage(const TCrashMailParts& p) {
  const std::string boundary = CrashMailBoundary;
  std::string m;
  m += "Date: " + CrashMailDate(p.When) + "\r\n";
  m += "From: <" + OneLine(p.From) + ">\r\n";
  m += "Subject: " + CrashMailEncodeHeader(OneLine(p.Subject)) + "\r\n";
  m += "To: <" + OneLine(p.To) + ">\r\n";
  m += "Message-ID: " +
       (p.MessageId.empty() ? CrashMailMessageId(p.From.substr(p.From.find('@') + 1)) : OneLine(p.MessageId)) +
       "\r\n";
  m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\";\r\nMIME-Version: 1.0\r\n";
  m += "X-Priority: 1\r\n";
  m += std::string("X-Library: Crashwise ") + CrashMailLibraryVersion + "\r\n";
  m += "\r\n";
  std::string encoding;
  const std::string body = CrashMailTextBody(p.Body, encoding);
  m += "This is a multi-part message in MIME format\r\n\r\n--" + boundary +
       "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: " + encoding + "\r\n\r\n" + body +
       "\r\n";
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
