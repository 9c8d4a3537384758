#pragma once
// The Import command after the file has been chosen: empty the pane, then
// fill it from a word-processor document through automation (any path with
// ".doc" in it) or with the pane's own file loader.

#include "platform/automation/AutomationRegistry.h"
#include "platform/pane/RichTextPane.h"
#include "platform/textload/TextFileLoader.h"

#include <functional>
#include <string>
#include <vector>

namespace rasp {

// The lines of a text as a pane's lines take it: breaks are CR, LF or CR LF,
// and a break at the very end does not start another line.
std::vector<std::u16string> SplitLines(const std::u16string& text);

// Fills `pane` from `fileName` (UTF-8 path); `processMessages` runs once the
// document text is in the pane. Failures propagate with the pane left empty.
void ImportArticleFile(IRichTextPane& pane, const std::string& fileName, const TAutomationRegistry& registry,
                       const std::function<void()>& processMessages);

// The text the Import command would put in a pane, for callers without a
// pane (the command-line companion): lines joined by CR LF.
std::u16string LoadArticleText(const std::string& fileName, const TAutomationRegistry& registry,
                               TStreamPolicy policy = TStreamPolicy::RegularFilesOnly);

}  // namespace rasp
