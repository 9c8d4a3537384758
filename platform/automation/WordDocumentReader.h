#pragma once
// The text of a word-processor document, read through the automation server
// "Word.Application" with the nine late-bound calls of the Import command:
// create, Documents, Open(name), Visible := false, Documents, Item(1), Range,
// Text, Quit(false).
//
// The server is asked to quit whatever happens: when a call fails, Quit(false)
// still goes out (its own failure is swallowed so the first one is the one
// reported) and the server object is released before the error travels on.

#include "platform/automation/AutomationRegistry.h"

#include <string>
#include <string_view>

namespace rasp {

inline constexpr char kWordProgId[] = "Word.Application";

// The Import command's test: ".doc" anywhere in the lower-cased path, so
// ".docx" files and folders named "x.doc" qualify as well.
bool IsWordDocumentName(std::string_view path);

// The document's text as the server returns it (paragraphs end in CR).
std::u16string ReadWordDocumentText(const TAutomationRegistry& registry, const std::u16string& fileName);

}  // namespace rasp
