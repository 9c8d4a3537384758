// The plain-text decoder on any bytes: CR LF breaks only, and text that was
// well-formed UTF-8 survives a round trip.

#include "platform/textdecode/CodePage.h"
#include "platform/textdecode/PlainTextDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rasp::TDecodedText decoded = rasp::DecodePlainText(bytes);
    const std::u16string& text = decoded.text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')) std::abort();
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) std::abort();
    }
    if (rasp::IsValidUtf8(bytes)) {
        if (rasp::Utf16ToUtf8(rasp::Utf8ToUtf16(bytes)) != bytes) std::abort();
    }
    for (int cp : {932, 936, 1251, 65001}) {
        rasp::TCodePageDecoder decoder(cp);
        std::u16string out;
        decoder.Append(bytes, out);
    }
    return 0;
}
