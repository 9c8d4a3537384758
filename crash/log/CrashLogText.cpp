// The text of one log entry.
#include "crash/modules/CrashFormat.h"
#include "crash/log/CrashLog.h"
#include "crash/modules/CrashMemory.h"
#include "crash/log/CrashSystemInfo.h"

#include <algorithm>
#include <cstdio>

namespace rasp {

namespace {
std::string Blanked(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (uint8_t(c) < 32) c = ' ';
  return out;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Padded(const std::string& s, size_t width) {
  return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

// A table of blank-padded columns between "|" and dash lines.
struct TTable {
  std::vector<std::string> Captions;
  std::vector<std::vector<std::string>> Rows;
  size_t MinFirst = 16;

  std::vector<size_t> Widths() const {
    std::vector<size_t> w;
    for (const std::string& c : Captions) w.push_back(c.size());
    if (!w.empty()) w[0] = std::max(w[0], MinFirst);
    for (const auto& row : Rows)
      for (size_t i = 0; i < row.size() && i < w.size(); ++i) w[i] = std::max(w[i], row[i].size());
    return w;
  }
  std::string Line(const std::vector<std::string>& cells, const std::vector<size_t>& w) const {
    std::string out = "|";
    for (size_t i = 0; i < w.size(); ++i) out += Padded(i < cells.size() ? cells[i] : "", w[i]) + "|";
    return out + "\r\n";
  }
  std::string Separator(const std::vector<size_t>& w) const {
    size_t sum = w.size() + 1;
    for (size_t x : w) sum += x;
    return std::string(sum, '-');
  }
  // caption line and rows between separators, as the log shows them
  std::string Render() const {
    std::vector<size_t> w = Widths();
    std::string sep = Separator(w);
    std::string out = sep + "\r\n" + Line(Captions, w) + sep + "\r\n";
    for (const auto& row : Rows) out += Line(row, w);
    return out + sep;
  }
};
} // namespace

std::string CrashOffsetText(uintptr_t fileAddress) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(fileAddress));
  return buf;
}

std::string CrashHexBytes(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string CrashStepsForLog(const std::string& steps) {
  std::string out;
  int empty = 0;
  size_t at = 0;
  while (at <= steps.size()) {
    size_t lf = steps.find('\n', at);
    std::string line = steps.substr(at, lf == std::string::npos ? std::string::npos : lf - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    bool blank = line.find_first_not_of(" \t") == std::string::npos;
    empty = blank ? empty + 1 : 0;
    if (empty < 3) out += (out.empty() && at == 0 ? "" : "\r\n") + line;
    if (lf == std::string::npos) break;
    at = lf + 1;
  }
  return out;
}

std::string CrashCleanMessage(const std::string& message, bool isException) {
  if (!isException) return "Unknown error message.";
  std::string m = Blanked(message);
  if (!m.empty() && m.back() != '.') m += '.';
  return m;
}

std::string CrashShortText(const std::string& message, bool isException) {
  std::string m = isException ? message : "Unknown error message.";
  if (!m.empty() && m.back() != '.') m += '.';
  for (char& c : m)
    if (c != '\r' && c != '\n' && uint8_t(c) < 32) c = ' ';
  return m;
}

std::string CrashHeaderText(const TCrashLogInput& in, const TCrashModuleOptions& o) {
  auto on = [&](TCrashLogItem item) { return (o.LogItems() >> item) & 1u; };
  auto t = [&](int i) { return o.CustomText(i); };
  TCrashSystemInfo sys = CrashReadSystemInfo(FolderOf(in.ModuleName));

  TLogItem item;
  item.AddSection(t(19));
  item.AddItem(t(20), CrashLogDate(in.StartTime), on(liAppStartDate));
  item.AddItem(t(21), in.AppName, on(liAppName));
  item.AddItem(t(22), in.AppVersion, on(liAppVersion));
  std::string params;
  for (const std::string& a : in.Arguments) params += (params.empty() ? "\"" : " \"") + a + "\"";
  item.AddItem(t(23), params, on(liAppParameters));

  item.AddSection(t(24));
  item.AddItem(t(25), CrashLogDate(in.ExceptionTime), on(liExcDate));
  item.AddItem(t(26), in.ExceptionAddress ? CrashHexAddress(in.ExceptionAddress) : "", on(liExcAddress));
  item.AddItem(t(27), BaseName(in.ModuleName), on(liExcModule));
  item.AddItem(t(28), in.ClassName.empty() ? "Unknown exception type." : in.ClassName, on(liExcType));
  item.AddItem(t(29), CrashCleanMessage(in.Message, in.IsException), on(liExcMessage));
  // Linux adds where the address lies in its module's file: it is the same
  // in every run, so the log can be read against separate debug files and
  // the duplicate check does not depend on where the loader put the module.
  item.AddItem("Offset", in.ModuleOffset ? CrashOffsetText(*in.ModuleOffset) : "",
               in.ModuleOffset.has_value() && on(liExcAddress));

  item.AddSection(t(30));
  item.AddItem(t(31), Blanked(in.FormClass), on(liCtrlFormClass));
  item.AddItem(t(32), Blanked(in.FormText.substr(0, 255)), on(liCtrlFormText));
  item.AddItem(t(33), Blanked(in.ControlClass), on(liCtrlControlClass));
  item.AddItem(t(34), Blanked(in.ControlText), on(liCtrlControlText));

  item.AddSection(t(35));
  item.AddItem(t(36), sys.ComputerName, on(liCompName));
  item.AddItem(t(37), sys.UserName, on(liCompUser));
  item.AddItem(t(38), sys.TotalMemory, on(liCompTotalMemory));
  item.AddItem(t(39), sys.FreeMemory, on(liCompFreeMemory));
  item.AddItem(t(40), sys.TotalDisk, on(liCompTotalDisk));
  item.AddItem(t(41), sys.FreeDisk, on(liCompFreeDisk));
  // Linux adds the processor and the screen; they follow the numbered items
  // above so that those keep their numbers.
  item.AddItem("Processor", sys.Processor, !sys.Processor.empty() && on(liCompName));
  item.AddItem("Screen", sys.Screen, !sys.Screen.empty() && on(liCompName));

  item.AddSection(t(42));
  item.AddItem(t(43), sys.OSType, on(liOSType));
  item.AddItem(t(44), sys.OSBuild, on(liOSBuild));
  item.AddItem(t(45), sys.OSUpdate, on(liOSUpdate));
  item.AddItem(t(46), sys.OSLanguage, on(liOSLanguage));
  return CrashLogBanner + item.Render();
}

std::string CrashCallStackText(const TCrashStackList& stack, const std::vector<TCrashModulePtr>& modules,
                               const TCrashModuleOptions& o) {
  // Linux adds the offset of every row in its module's file and the build
  // id of every module, so that a log from a stripped binary can be read
  // later against its separate debug files; rows of modules without
  // symbols are kept for the same reason.
  TTable calls;
  for (int i = 47; i <= 52; ++i) calls.Captions.push_back(o.CustomText(i));
  calls.Captions.push_back("Offset");
  for (const TCrashDebugInfo& e : stack.Items()) {
    if (e.Detail > 4 || (e.Detail < 2 && !(e.Detail == 1 && e.Module))) continue;
    calls.Rows.push_back({CrashHexAddress(e.Address), e.Module ? BaseName(e.Module->FileName) : "", e.UnitFile,
                          e.OwnerClass, e.Routine, e.LineNo ? std::to_string(e.LineNo) : "",
                          e.Module ? CrashOffsetText(e.Module->FileAddress(e.Address)) : ""});
  }
  TTable mods;
  for (int i = 62; i <= 67; ++i) mods.Captions.push_back(o.CustomText(i));
  mods.Captions.push_back("Build ID");
  for (const TCrashModulePtr& m : modules) {
    if (!m) continue;
    mods.Rows.push_back({CrashHexAddress(m->Handle), BaseName(m->FileName), m->Description, m->Version,
                         std::to_string(m->FileSize), FolderOf(m->FileName), CrashHexBytes(m->BuildId)});
  }
  return o.CustomText(7) + ":\r\n" + calls.Render() + "\r\n\r\n" + o.CustomText(9) + ":\r\n" + mods.Render();
}

std::string CrashCPUText(const TCrashContext& c, uintptr_t sp, uintptr_t address, const TCrashModuleOptions& o) {
  auto r = [&](uint64_t v) { return c.Valid ? CrashHexAddress(uintptr_t(v)) : std::string("????            "); };
  std::string out = o.CustomText(68) + ":\r\n" + std::string(45, '-') + "\r\n";
  const std::pair<const char*, uint64_t> regs[][2] = {
      {{"RAX", c.Rax}, {"RDI", c.Rdi}}, {{"RBX", c.Rbx}, {"RSI", c.Rsi}}, {{"RCX", c.Rcx}, {"RSP", c.Rsp}},
      {{"RDX", c.Rdx}, {"RIP", c.Rip}}, {{"RBP", c.Rbp}, {"EFL", c.Eflags}}, {{"R8 ", c.R8}, {"R9 ", c.R9}},
      {{"R10", c.R10}, {"R11", c.R11}}, {{"R12", c.R12}, {"R13", c.R13}}, {{"R14", c.R14}, {"R15", c.R15}}};
  for (const auto& row : regs)
    out += std::string(row[0].first) + ": " + r(row[0].second) + "   " + row[1].first + ": " + r(row[1].second) +
           "\r\n";
  out += "\r\n" + Padded(o.CustomText(69) + ":", 37) + o.CustomText(70) + ":\r\n" + std::string(34, '-') + "   " +
         std::string(83, '-') + "\r\n";
  TCrashMemoryProbe probe;
  uint64_t slots[16];
  uint8_t bytes[256];
  if (!sp || !address || !probe.Read(sp, slots, sizeof slots) || !probe.Read(address, bytes, sizeof bytes))
    return out;
  for (int i = 0; i < 16; ++i) {
    out += CrashHexAddress(sp + 8u * unsigned(i)) + ": " + CrashHexAddress(uintptr_t(slots[i])) + "   " +
           CrashHexAddress(address + 16u * unsigned(i)) + ": ";
    std::string chars;
    for (int k = 0; k < 16; ++k) {
      uint8_t b = bytes[i * 16 + k];
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02X ", b);
      out += hex;
      chars += b >= 32 && b <= 126 ? char(b) : '.';
    }
    out += " " + chars + "\r\n";
  }
  return out;
}

TCrashLogTexts CrashBuildLogTexts(const TCrashLogInput& in, const TCrashStackList& stack,
                                  const std::vector<TCrashModulePtr>& modules, const TCrashModuleOptions& o) {
  TCrashLogTexts t;
  t.HeaderText = CrashHeaderText(in, o);
  t.CallStackText = CrashCallStackText(stack, modules, o);
  t.CPUText = CrashCPUText(in.Context, in.StackPointer, in.ExceptionAddress, o);
  t.LogText = t.HeaderText + "\r\n" + t.CallStackText + "\r\n\r\n" + t.CPUText;
  t.KeyValues = {in.ExceptionAddress ? CrashHexAddress(in.ExceptionAddress) : "", BaseName(in.ModuleName),
                 in.ClassName.empty() ? "Unknown exception type." : in.ClassName,
                 CrashCleanMessage(in.Message, in.IsException)};
  if (in.ModuleOffset) t.KeyValues.push_back(CrashOffsetText(*in.ModuleOffset));
  return t;
}

} // namespace rasp
