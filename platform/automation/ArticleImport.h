#pragma once
// What the Import command reads: a word-processor document (any path with
// ".doc" in it, or any file whose content is one) through automation, as the
// lines the pane is given; any other text file as the pane's own loader reads
// it. Files that are clearly not text are refused before anything changes.

#include "platform/automation/AutomationRegistry.h"
#include "platform/textload/TextFileLoader.h"

#include <string>
#include <vector>

namespace rasp {

// The lines of a text as a pane's lines take it: breaks are CR, LF or CR LF,
// and a break at the very end does not start another line.
std::vector<std::u16string> SplitLines(const std::u16string& text);

enum class TImportRoute { WordProcessor, PaneLoader };

// Which way the Import command reads the file. A name with ".doc" decides
// without reading; otherwise the content does, and a file that cannot be
// read or is not text throws ELoadStreamError. `bytes`, when given, receives
// what was read (empty when the name decided).
TImportRoute ChooseImportRoute(const std::string& fileName, TStreamPolicy policy = TStreamPolicy::RegularFilesOnly,
                               std::string* bytes = nullptr);

// The lines of the document `fileName` (UTF-8 path) through "Word.Application".
std::vector<std::u16string> ReadDocumentLines(const TAutomationRegistry& registry, const std::string& fileName);

// The text the Import command would put in a pane, for callers without a
// pane (the command-line companion): lines joined by CR LF.
std::u16string LoadArticleText(const std::string& fileName, const TAutomationRegistry& registry,
                               TStreamPolicy policy = TStreamPolicy::RegularFilesOnly);

}  // namespace rasp
