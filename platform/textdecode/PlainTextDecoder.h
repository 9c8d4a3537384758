#pragma once
// Plain-text files as the pane loads them: UTF-8 with or without a byte order
// mark, UTF-16 LE/BE with a byte order mark, anything else Windows-1252.

#include <string>
#include <string_view>

namespace rasp {

enum class TTextEncoding { Utf8Bom, Utf8, Utf16LE, Utf16BE, Windows1252 };

struct TDecodedText {
    std::u16string text;  // line breaks CR LF
    TTextEncoding encoding;
};

TTextEncoding DetectTextEncoding(std::string_view bytes);
TDecodedText DecodePlainText(std::string_view bytes);

// Every lone CR and lone LF becomes CR LF; CR LF pairs stay.
void NormaliseLineBreaks(std::u16string& text);

}  // namespace rasp
