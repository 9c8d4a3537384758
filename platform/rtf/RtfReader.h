#pragma once
// Our rich text reader: turns an RTF document into the plain text the pane
// shows. Paragraph, line, section, page and row ends become CR LF, tabs and
// table cells a tab; \'hh bytes are read in the code page of the current
// font (\fcharset, \cpg) or of the document (\ansicpg, Windows-1252 by
// default); \uN is read with \ucN fallback skipping; the font, colour and
// style tables, document information, pictures, objects, headers, footers,
// footnotes, field instructions and every \* destination are left out.
//
// The reader is lenient like a text control: a document cut short or with
// a stray closing brace yields the text read so far.

#include <optional>
#include <string>
#include <string_view>

namespace rasp {

// A rich text document starts with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// The document's text with CR LF line breaks; std::nullopt when the bytes
// are not rich text.
std::optional<std::u16string> RtfToText(std::string_view bytes);

}  // namespace rasp
