#pragma once
// The build tool's commands, callable from its main and from tests.
#include <iosfwd>
#include <string>

namespace rasp {

// crashblock build BINARY OPTIONS.ini: options from the file, debug data
// from the binary's DWARF, written into the binary's .cwdata section.
int CrashBlockBuild(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err);
// crashblock dump [--show-secrets] BINARY: the options as an options file,
// then a summary. A stored password shows as a "***" comment unless asked.
int CrashBlockDump(const std::string& binary, std::ostream& out, std::ostream& err, bool showSecrets = false);
// crashblock stamp [--defaults] BINARY OPTIONS.ini: the file's keys merged
// into the options the binary carries (with --defaults: into the defaults),
// the debug data kept.
int CrashBlockStamp(const std::string& binary, const std::string& optionsFile, std::ostream& out, std::ostream& err,
                    bool fromDefaults = false);

} // namespace rasp
