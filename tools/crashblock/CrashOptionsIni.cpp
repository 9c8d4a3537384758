#include "tools/crashblock/CrashOptionsIni.h"

#include <cstdlib>
#include <functional>
#include <sstream>
#include <vector>

namespace rasp {

namespace {
const char* const LogItemNames[CrashLogItemCount] = {
  "liAppStartDate", "liAppName", "liAppVersion", "liAppParameters",
  "liExcDate", "liExcAddress", "liExcModule", "liExcType", "liExcMessage",
  "liCtrlFormClass", "liCtrlFormText", "liCtrlControlClass", "liCtrlControlText",
  "liCompName", "liCompUser", "liCompTotalMemory", "liCompFreeMemory", "liCompTotalDisk", "liCompFreeDisk",
  "liOSType", "liOSBuild", "liOSUpdate", "liOSLanguage",
};
const char* const ReportOptionNames[] = {"loNoDuplicateErrors", "loAppendReproduceText"};
const char* const SendModeNames[] = {"esmNoSend", "esmEmailClient", "esmSMTPServer", "esmSMTPClient"};
const char* const SMTPWithoutTLSNames[] = {"stOnlyWithoutPassword", "stAllowed", "stRefused"};

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

bool Unescape(const std::string& in, std::string& out) {
  std::string v = in;
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  out.clear();
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\') {
      out += v[i];
      continue;
    }
    if (++i == v.size()) return false;
    switch (v[i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      default: return false;
    }
  }
  return true;
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  if (!out.empty() && (out.front() == ' ' || out.back() == ' ' || out.front() == '"')) out = '"' + out + '"';
  return out;
}

bool ParseNumber(const std::string& s, long long lo, long long hi, long long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s.c_str(), &end, 0);
  if (errno || *end || v < lo || v > hi) return false;
  out = v;
  return true;
}

std::vector<std::string> SplitList(const std::string& s) {
  std::vector<std::string> parts;
  std::stringstream ss(s);
  std::string item;
  while (std::getline(ss, item, ','))
    if (!Trim(item).empty()) parts.push_back(Trim(item));
  return parts;
}

// A set of named bits; numbers in the list add bits without names.
bool ParseSet(const std::string& s, const char* const* names, int count, uint32_t& out) {
  out = 0;
  for (const std::string& item : SplitList(s)) {
    bool known = false;
    for (int i = 0; i < count; ++i)
      if (item == names[i]) {
        out |= 1u << i;
        known = true;
      }
    long long n;
    if (!known) {
      if (!ParseNumber(item, 0, 0xFFFFFFFFll, n)) return false;
      out |= uint32_t(n);
    }
  }
  return true;
}

std::string WriteSet(uint32_t v, const char* const* names, int count) {
  uint32_t named = count >= 32 ? 0xFFFFFFFFu : (1u << count) - 1;
  std::string out;
  if ((v & named) == named && v != named) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
  }
  for (int i = 0; i < count; ++i)
    if (v & (1u << i)) out += (out.empty() ? "" : ",") + std::string(names[i]);
  if (v & ~named) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v & ~named);
    out += (out.empty() ? "" : ",") + std::string(buf);
  }
  return out;
}

using O = TCrashModuleOptions;
struct TKey {
  std::string Name;
  std::function<bool(O&, const std::string&)> Set;  // raw (trimmed) value
  std::function<std::string(const O&)> Get;
};

TKey Bool(std::string name, bool (O::*get)() const, void (O::*set)(bool)) {
  return {name,
          [set](O& o, const std::string& v) {
            if (v != "0" && v != "1") return false;
            (o.*set)(v == "1");
            return true;
          },
          [get](const O& o) { return std::string((o.*get)() ? "1" : "0"); }};
}

template <typename T>
TKey Number(std::string name, T (O::*get)() const, void (O::*set)(T), long long lo, long long hi) {
  return {name,
          [set, lo, hi](O& o, const std::string& v) {
            long long n;
            if (!ParseNumber(v, lo, hi, n)) return false;
            (o.*set)(T(n));
            return true;
          },
          [get](const O& o) { return std::to_string((long long)(o.*get)()); }};
}

TKey String(std::string name, const std::string& (O::*get)() const, void (O::*set)(const std::string&)) {
  return {name,
          [set](O& o, const std::string& v) {
            std::string s;
            if (!Unescape(v, s)) return false;
            (o.*set)(s);
            return true;
          },
          [get](const O& o) { return Escape((o.*get)()); }};
}

std::vector<TKey> Keys() {
  std::vector<TKey> k;
  k.push_back(String("SMTPFrom", &O::SMTPFrom, &O::SetSMTPFrom));
  k.push_back(String("SMTPHost", &O::SMTPHost, &O::SetSMTPHost));
  k.push_back(String("SMTPUserID", &O::SMTPUserID, &O::SetSMTPUserID));
  k.push_back(String("SMTPPassword", &O::SMTPPassword, &O::SetSMTPPassword));
  k.push_back(Number<uint16_t>("SMTPPort", &O::SMTPPort, &O::SetSMTPPort, 0, 65535));
  k.push_back(Number<uint8_t>("TerminateBtnOperation", &O::TerminateBtnOperation, &O::SetTerminateBtnOperation, 0, 1));
  k.push_back(Bool("FreezeActivate", &O::FreezeActivate, &O::SetFreezeActivate));
  k.push_back(Number<int32_t>("FreezeTimeout", &O::FreezeTimeout, &O::SetFreezeTimeout, 1, 0x7FFFFFFF));
  k.push_back(String("FreezeMessage", &O::FreezeMessage, &O::SetFreezeMessage));
  k.push_back(Bool("StyledDialogs", &O::StyledDialogs, &O::SetStyledDialogs));
  k.push_back({"LogItems",
               [](O& o, const std::string& v) {
                 uint32_t s;
                 if (!ParseSet(v, LogItemNames, CrashLogItemCount, s)) return false;
                 o.SetLogItems(s);
                 return true;
               },
               [](const O& o) { return WriteSet(o.LogItems(), LogItemNames, CrashLogItemCount); }});
  for (int i = 0; i < CrashCustomTextCount; ++i)
    k.push_back({"CustomText" + std::to_string(i),
                 [i](O& o, const std::string& v) {
                   std::string s;
                   if (!Unescape(v, s)) return false;
                   o.SetCustomText(i, s);
                   return true;
                 },
                 [i](const O& o) { return Escape(o.CustomText(i)); }});
  k.push_back(Bool("ReservedFlag", &O::ReservedFlag, &O::SetReservedFlag));
  k.push_back(Bool("UseExceptionFilter", &O::UseExceptionFilter, &O::SetUseExceptionFilter));
  k.push_back(Bool("ShowDialog", &O::ShowDialog, &O::SetShowDialog));
  k.push_back(Bool("LogInMessageBody", &O::LogInMessageBody, &O::SetLogInMessageBody));
  k.push_back(Bool("AttachScreenshot", &O::AttachScreenshot, &O::SetAttachScreenshot));
  k.push_back(Bool("ShowSendProgress", &O::ShowSendProgress, &O::SetShowSendProgress));
  k.push_back(Bool("ShowTerminateBtn", &O::ShowTerminateBtn, &O::SetShowTerminateBtn));
  k.push_back(Bool("SaveLogFile", &O::SaveLogFile, &O::SetSaveLogFile));
  k.push_back(Bool("SendEntireLog", &O::SendEntireLog, &O::SetSendEntireLog));
  k.push_back({"ReportOptions",
               [](O& o, const std::string& v) {
                 uint32_t s;
                 if (!ParseSet(v, ReportOptionNames, 2, s) || s > CrashReportOptionMembers) return false;
                 o.SetReportOptions(uint8_t((o.ReportOptions() & ~CrashReportOptionMembers) | s));
                 return true;
               },
               [](const O& o) {
                 return WriteSet(o.ReportOptions() & CrashReportOptionMembers, ReportOptionNames, 2);
               }});
  k.push_back({"SMTPWithoutTLS",
               [](O& o, const std::string& v) {
                 long long n = -1;
                 for (int i = 0; i < 3; ++i)
                   if (v == SMTPWithoutTLSNames[i]) n = i;
                 if (n < 0 && !ParseNumber(v, 0, 2, n)) return false;
                 o.SetSMTPWithoutTLS(TCrashSMTPWithoutTLS(n));
                 return true;
               },
               [](const O& o) { return std::string(SMTPWithoutTLSNames[int(o.SMTPWithoutTLS())]); }});
  k.push_back(Number<uint8_t>("FirstTab", &O::FirstTab, &O::SetFirstTab, 0, 3));
  k.push_back(Number<int32_t>("ErrorsNumberToSave", &O::ErrorsNumberToSave, &O::SetErrorsNumberToSave, 0, 0x7FFFFFFF));
  k.push_back(Number<int32_t>("ErrorsNumberToShowTerminateBtn", &O::ErrorsNumberToShowTerminateBtn,
                              &O::SetErrorsNumberToShowTerminateBtn, 0, 0x7FFFFFFF));
  k.push_back(String("OutputPath", &O::OutputPath, &O::SetOutputPath));
  k.push_back(String("EmailAddresses", &O::EmailAddresses, &O::SetEmailAddresses));
  k.push_back(String("EmailSubject", &O::EmailSubject, &O::SetEmailSubject));
  k.push_back(String("EmailMessage", &O::EmailMessage, &O::SetEmailMessage));
  k.push_back({"EmailSendMode",
               [](O& o, const std::string& v) {
                 long long n = -1;
                 for (int i = 0; i < 4; ++i)
                   if (v == SendModeNames[i]) n = i;
                 if (n < 0 && !ParseNumber(v, 0, 3, n)) return false;
                 o.SetEmailSendMode(TCrashEmailSendMode(n));
                 return true;
               },
               [](const O& o) { return std::to_string(int(o.EmailSendMode())); }});
  return k;
}

// "ExceptionFilterClasses3" -> list and index.
bool FilterKey(const std::string& key, bool& messages, int& index) {
  for (const char* base : {"ExceptionFilterClasses", "ExceptionFilterMessages"}) {
    std::string b = base;
    if (key.size() > b.size() && key.compare(0, b.size(), b) == 0) {
      long long n;
      if (!ParseNumber(key.substr(b.size()), 0, CrashMaxListEntries - 1, n) || (key[b.size()] == '0' && key.size() > b.size() + 1))
        return false;
      messages = b == "ExceptionFilterMessages";
      index = int(n);
      return true;
    }
  }
  return false;
}
} // namespace

bool ReadCrashOptionsIni(const std::string& text, TCrashModuleOptions& target, std::string& error) {
  static const std::vector<TKey> keys = Keys();
  // Read into a copy: a file with an error changes nothing.
  TCrashModuleOptions options("", false);
  options.Assign(&target);
  std::stringstream in(text);
  std::string raw;
  int lineNo = 0;
  bool inOptions = false;
  std::vector<std::string> classes = options.ExceptionFilterClasses().Items();
  std::vector<std::string> messages = options.ExceptionFilterMessages().Items();
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(lineNo) + ": " + what;
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNo;
    if (lineNo == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line != "[Options]") return fail("unknown section " + line + " (only [Options] is read)");
      inOptions = true;
      continue;
    }
    if (!inOptions) return fail("a key before the [Options] section");
    size_t eq = line.find('=');
    if (eq == std::string::npos) return fail("expected Key=Value: " + line);
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    bool isMessages;
    int index;
    if (FilterKey(key, isMessages, index)) {
      std::string s;
      if (!Unescape(value, s)) return fail("bad value for " + key + ": " + value);
      auto& list = isMessages ? messages : classes;
      if (list.size() <= size_t(index)) list.resize(size_t(index) + 1);
      list[size_t(index)] = s;
      continue;
    }
    bool known = false;
    for (const TKey& k : keys)
      if (k.Name == key) {
        known = true;
        if (!k.Set(options, value)) return fail("bad value for " + key + ": " + value);
      }
    if (!known) return fail("unknown key " + key);
  }
  options.ExceptionFilterClasses().Assign(classes);
  options.ExceptionFilterMessages().Assign(messages);
  target.Assign(&options);
  return true;
}

std::string WriteCrashOptionsIni(const TCrashModuleOptions& options) {
  static const std::vector<TKey> keys = Keys();
  std::string out = "[Options]\n";
  for (const TKey& k : keys) {
    out += k.Name + "=" + k.Get(options) + "\n";
    if (k.Name == "LogItems") {
      int count = std::max(options.ExceptionFilterClasses().Count(), options.ExceptionFilterMessages().Count());
      for (int i = 0; i < count; ++i) {
        out += "ExceptionFilterClasses" + std::to_string(i) + "=" + Escape(options.ExceptionFilterClasses().At(i)) + "\n";
        out += "ExceptionFilterMessages" + std::to_string(i) + "=" + Escape(options.ExceptionFilterMessages().At(i)) + "\n";
      }
    }
  }
  return out;
}

} // namespace rasp
