#pragma once
// rasp's own help and version: "rasp --version", "rasp help [COMMAND]",
// "rasp --help" and "rasp COMMAND --help". Each command has one entry in the
// table of Help.cpp; the manual page (packaging/man/rasp.1) says the same at
// length.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace rasp {

// The one-screen summary of every command, as printed after a usage error.
std::string UsageText();

// The help of one command; nullopt for a command rasp does not know.
std::optional<std::string> CommandHelp(const std::string& command);

// When args ask for help or the version, prints it and returns the exit
// status (0, or 2 for help on an unknown command); otherwise nullopt and the
// command runs. "--help" anywhere before "--" asks for the command's help.
std::optional<int> RunHelpRequest(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err);

}  // namespace rasp
