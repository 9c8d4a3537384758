#include "crash/protocol/CrashDialogRows.h"

#include "crash/modules/CrashFormat.h"

#include <algorithm>
#include <cctype>

namespace rasp {

namespace {

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LowerExtension(const std::string& fileName) {
  std::string name = BaseName(fileName);
  size_t dot = name.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

} // namespace

std::optional<TCrashDialogRow> CrashDialogStackRow(const TCrashDebugInfo& e) {
  const bool program = e.Module && e.Module->IsMain;
  if (e.Detail < 2 || (e.Detail == 3 && program))
    return std::nullopt;
  const char* icon = e.Detail == 4 ? "PAS" : program ? "VCL" : "DLL";
  return TCrashDialogRow{CrashHexAddress(e.Address), e.Module ? BaseName(e.Module->FileName) : "", e.UnitFile,
                         e.OwnerClass, e.Routine, e.LineNo ? std::to_string(e.LineNo) : "", icon};
}

std::string CrashDialogShortVersion(const std::string& version) {
  size_t first = version.find('.');
  size_t second = first == std::string::npos ? first : version.find('.', first + 1);
  return second == std::string::npos ? version : version.substr(0, second + 1) + "x";
}

std::string CrashDialogKilobytes(uint32_t bytes) {
  uint32_t kb = bytes / 1024, rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && (kb & 1)))
    ++kb;
  return std::to_string(kb) + " Kb";
}

std::string CrashDialogModuleIcon(const std::string& fileName, bool isProgram) {
  std::string ext = LowerExtension(fileName);
  if (ext == ".bpl" || ext == ".dpl")
    return "BPL";
  if (isProgram || ext == ".exe")
    return "VCL";
  return "DLL";
}

TCrashDialogRow CrashDialogModuleRow(const TCrashModuleInfo& m) {
  const bool program = m.IsMain || m.ModuleKind == mkExecutable;
  return TCrashDialogRow{CrashHexAddress(m.Handle),
                         BaseName(m.FileName),
                         m.Description,
                         CrashDialogShortVersion(m.Version),
                         CrashDialogKilobytes(m.FileSize),
                         FolderOf(m.FileName),
                         CrashDialogModuleIcon(m.FileName, program)};
}

std::vector<TCrashDialogRow> CrashDialogModuleRows(const std::vector<TCrashModulePtr>& modules) {
  std::vector<TCrashDialogRow> rows;
  for (const TCrashModulePtr& m : modules)
    if (m)
      rows.push_back(CrashDialogModuleRow(*m));
  return rows;
}

} // namespace rasp
