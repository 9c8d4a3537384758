#pragma once
// The build tool's commands, callable from its main and from tests.
#include <iosfwd>
#include <string>

namespace rasp {

// crashblock build BINARY OPTIONS.ini: options from the file, debug data
// from the binary's DWARF, written into the binary's .cwdata section.
int CrashBlockBuild(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err);
// crashblock dump BINARY: the options as an options file, then a summary.
int CrashBlockDump(const std::string& binary, std::ostream& out, std::ostream& err);
// crashblock stamp BINARY OPTIONS.ini: new options, the debug data kept.
int CrashBlockStamp(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err);

} // namespace rasp
