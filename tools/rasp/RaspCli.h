#pragma once
// The command-line companion: statistics, comparison and keyword density of
// article files on the same engine as the window.
//
//   rasp stats FILE
//   rasp compare FILE1 FILE2 [--unit words|sentences|paragraphs] [--min N] [--json]
//                [--any-order] [--ignore-quoted] [--exclude FILE] [--html OUT.html]
//   rasp scan ARTICLE PATH... [compare's matching options] [--json | --csv] [--top K]
//   rasp density FILE PHRASE
//   rasp help [COMMAND], rasp COMMAND --help, rasp --version

#include <ostream>
#include <string>
#include <vector>

#include "tools/rasp/ColorOutput.h"

namespace rasp {

// Exit status: 0 done, 1 an unexpected failure, 2 bad usage or an unreadable
// file (one line on err), 3 a scan that had to skip files or folders.
int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same, with colour for "compare" decided for this terminal
// (--color=auto); the overload above behaves as for a pipe.
int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const TTerminal& terminal);

}  // namespace rasp
