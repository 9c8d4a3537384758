#pragma once
// The rows the exception dialog lists, as the report thread hands them to
// the dialog helper: one per call stack entry it shows and one per loaded
// module, every cell already in the form the list displays.
#include "crash/protocol/CrashDialogProtocol.h"
#include "crash/modules/CrashModules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rasp {

// address, module, unit, class, routine, line, icon; none for an entry the
// list leaves out (nothing known, or only the module, or a symbol-table
// name of the program itself).
std::optional<TCrashDialogRow> CrashDialogStackRow(const TCrashDebugInfo& entry);
// handle, name, description, version, size, folder, icon.
TCrashDialogRow CrashDialogModuleRow(const TCrashModuleInfo& module);
std::vector<TCrashDialogRow> CrashDialogModuleRows(const std::vector<TCrashModulePtr>& modules);

// "1.2.3.4" -> "1.2.x"; a version with fewer than two dots is unchanged.
std::string CrashDialogShortVersion(const std::string& version);
// Bytes as whole kilobytes, halves to even: 1536 -> "2 Kb", 2560 -> "2 Kb".
std::string CrashDialogKilobytes(uint32_t bytes);
// "VCL" for the program itself (or a ".exe"), "BPL" for ".bpl"/".dpl",
// else "DLL".
std::string CrashDialogModuleIcon(const std::string& fileName, bool isProgram);

} // namespace rasp
