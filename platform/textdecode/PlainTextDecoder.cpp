#include "platform/textdecode/PlainTextDecoder.h"

#include "platform/textdecode/CodePage.h"

namespace rasp {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

void AppendUtf16(std::string_view bytes, bool bigEndian, std::u16string& out) {
    out.reserve(out.size() + bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    if (i < bytes.size()) out.push_back(0xFFFD);  // half a code unit at the end
}

}  // namespace

TTextEncoding DetectTextEncoding(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return TTextEncoding::Utf8Bom;
    if (StartsWith(bytes, "\xFF\xFE")) return TTextEncoding::Utf16LE;
    if (StartsWith(bytes, "\xFE\xFF")) return TTextEncoding::Utf16BE;
    if (IsValidUtf8(bytes)) return TTextEncoding::Utf8;
    return TTextEncoding::Windows1252;
}

TDecodedText DecodePlainText(std::string_view bytes) {
    TDecodedText result{{}, DetectTextEncoding(bytes)};
    switch (result.encoding) {
        case TTextEncoding::Utf8Bom: AppendUtf8(bytes.substr(3), result.text); break;
        case TTextEncoding::Utf8: AppendUtf8(bytes, result.text); break;
        case TTextEncoding::Utf16LE: AppendUtf16(bytes.substr(2), false, result.text); break;
        case TTextEncoding::Utf16BE: AppendUtf16(bytes.substr(2), true, result.text); break;
        case TTextEncoding::Windows1252: AppendWindows1252(bytes, result.text); break;
    }
    NormaliseLineBreaks(result.text);
    return result;
}

void NormaliseLineBreaks(std::u16string& text) {
    std::size_t extra = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            else ++extra;
        } else if (text[i] == u'\n') {
            ++extra;
        }
    }
    if (extra == 0) return;
    std::u16string out;
    out.reserve(text.size() + extra);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            out += u"\r\n";
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            out.push_back(c);
        }
    }
    text = std::move(out);
}

}  // namespace rasp
