#pragma once
// The command-line companion: statistics, comparison and keyword density of
// article files on the same engine as the window.
//
//   rasp stats FILE
//   rasp compare FILE1 FILE2 [--unit words|sentences|paragraphs] [--min N] [--json]
//   rasp density FILE PHRASE
//   rasp help [COMMAND], rasp COMMAND --help, rasp --version

#include <ostream>
#include <string>
#include <vector>

#include "tools/rasp/ColorOutput.h"

namespace rasp {

// Exit status: 0 done, 2 bad usage or an unreadable file (one line on err).
// Exit status 1: an internal failure (out of memory).
int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same, with colour for "compare" decided for this terminal
// (--color=auto); the overload above behaves as for a pipe.
int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const TTerminal& terminal);

}  // namespace rasp
