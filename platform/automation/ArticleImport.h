#pragma once
// What the Import command reads: a word-processor document (any path with
// ".doc" in it) through automation, as the lines the pane is given; any
// other file as the pane's own loader reads it.

#include "platform/automation/AutomationRegistry.h"
#include "platform/textload/TextFileLoader.h"

#include <string>
#include <vector>

namespace rasp {

// The lines of a text as a pane's lines take it: breaks are CR, LF or CR LF,
// and a break at the very end does not start another line.
std::vector<std::u16string> SplitLines(const std::u16string& text);

// The lines of the document `fileName` (UTF-8 path) through "Word.Application".
std::vector<std::u16string> ReadDocumentLines(const TAutomationRegistry& registry, const std::string& fileName);

// The text the Import command would put in a pane, for callers without a
// pane (the command-line companion): lines joined by CR LF.
std::u16string LoadArticleText(const std::string& fileName, const TAutomationRegistry& registry,
                               TStreamPolicy policy = TStreamPolicy::RegularFilesOnly);

}  // namespace rasp
