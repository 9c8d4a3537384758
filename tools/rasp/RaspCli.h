#pragma once
// The command-line companion: statistics, comparison and keyword density of
// article files on the same engine as the window.
//
//   rasp stats FILE
//   rasp compare FILE1 FILE2 [--unit words|sentences|paragraphs] [--min N] [--json]
//   rasp density FILE PHRASE

#include <ostream>
#include <string>
#include <vector>

namespace rasp {

// Exit status: 0 done, 2 bad usage or an unreadable file (one line on err).
int RunRasp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace rasp
