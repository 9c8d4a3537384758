#pragma once
// What a file's bytes are, whatever its name says: rich text, a word-processor
// document (an OLE2 compound file, an OpenDocument text, an Office Open XML
// word document), plain text, or something that is clearly not text (NUL
// bytes that no UTF-16 byte order mark explains, a zip, a PDF, a picture).

#include <string>
#include <string_view>

namespace rasp {

enum class TContentKind { RichText, WordDocument, PlainText, NotText };

struct TContentCheck {
    TContentKind kind = TContentKind::PlainText;
    // For NotText: why, worded for the user ("it is a PNG picture, not text").
    std::string reason;
};

TContentCheck CheckFileContent(std::string_view bytes);

// Which kind of word-processor document the bytes are, if any.
enum class TWordFormat { None, CompoundFile, OfficeOpenXml, OpenDocumentText };
TWordFormat WordDocumentFormat(std::string_view bytes);

}  // namespace rasp
