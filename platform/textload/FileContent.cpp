#include "platform/textload/FileContent.h"

#include "platform/rtf/RtfReader.h"
#include "platform/textload/ZipDirectory.h"

namespace rasp {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

constexpr std::string_view kOle2Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

// Small enough to read whole, large enough for any real [Content_Types].xml.
constexpr std::size_t kMaxManifest = 1 << 20;

bool IsOpenDocumentText(std::string_view zip, const TZipEntry& entry) {
    const auto type = ZipEntryContent(zip, entry, 256);
    return type && StartsWith(*type, "application/vnd.oasis.opendocument.text");
}

bool ListsWordMainPart(std::string_view zip, const TZipEntry& entry) {
    const auto types = ZipEntryContent(zip, entry, kMaxManifest);
    if (!types) return false;
    for (std::string_view main : {"wordprocessingml.document.main+xml", "wordprocessingml.template.main+xml",
                                  "ms-word.document.macroEnabled.main+xml",
                                  "ms-word.template.macroEnabledTemplate.main+xml"}) {
        if (types->find(main) != std::string::npos) return true;
    }
    return false;
}

TWordFormat WordProcessorZipFormat(std::string_view zip) {
    for (const TZipEntry& entry : ZipEntries(zip)) {
        if (entry.name == "word/document.xml") return TWordFormat::OfficeOpenXml;
        if (entry.name == "mimetype" && IsOpenDocumentText(zip, entry)) return TWordFormat::OpenDocumentText;
        if (entry.name == "[Content_Types].xml" && ListsWordMainPart(zip, entry)) return TWordFormat::OfficeOpenXml;
    }
    return TWordFormat::None;
}

// Formats a user may pick by mistake, named so the message says what it was.
const char* KnownBinaryFormat(std::string_view b) {
    if (LooksLikeZip(b)) return "a zip archive";
    if (StartsWith(b, "%PDF-")) return "a PDF document";
    if (StartsWith(b, "\x89PNG\r\n\x1A\n")) return "a PNG picture";
    if (StartsWith(b, "\xFF\xD8\xFF")) return "a JPEG picture";
    if (StartsWith(b, "GIF87a") || StartsWith(b, "GIF89a")) return "a GIF picture";
    if (StartsWith(b, std::string_view("II*\0", 4)) || StartsWith(b, std::string_view("MM\0*", 4)))
        return "a TIFF picture";
    if (b.size() >= 12 && StartsWith(b, "RIFF") && b.substr(8, 4) == "WEBP") return "a WebP picture";
    // "BM" alone also starts ordinary text; a bitmap's reserved header bytes are zero.
    if (b.size() >= 26 && StartsWith(b, "BM") && b.substr(6, 4) == std::string_view("\0\0\0\0", 4))
        return "a BMP picture";
    if (StartsWith(b, std::string_view("\0\0\1\0", 4))) return "an icon";
    if (StartsWith(b, "\x1F\x8B")) return "a gzip archive";
    if (StartsWith(b, "\x7F" "ELF")) return "a program";
    return nullptr;
}

bool HasUtf16ByteOrderMark(std::string_view b) { return StartsWith(b, "\xFF\xFE") || StartsWith(b, "\xFE\xFF"); }

}  // namespace

TWordFormat WordDocumentFormat(std::string_view bytes) {
    if (StartsWith(bytes, kOle2Signature)) return TWordFormat::CompoundFile;
    if (LooksLikeZip(bytes)) return WordProcessorZipFormat(bytes);
    return TWordFormat::None;
}

TContentCheck CheckFileContent(std::string_view bytes) {
    if (LooksLikeRtf(bytes)) return {TContentKind::RichText, {}};
    if (WordDocumentFormat(bytes) != TWordFormat::None) return {TContentKind::WordDocument, {}};
    if (HasUtf16ByteOrderMark(bytes)) return {TContentKind::PlainText, {}};
    if (const char* format = KnownBinaryFormat(bytes))
        return {TContentKind::NotText, std::string("it is ") + format + ", not text"};
    if (bytes.find('\0') != std::string_view::npos)
        return {TContentKind::NotText, "it holds NUL bytes, so it is not text"};
    return {TContentKind::PlainText, {}};
}

}  // namespace rasp
