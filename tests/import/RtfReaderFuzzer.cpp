// Any bytes after "{\rtf" must give text with only CR LF line breaks, never a
// crash, a hang or unbounded growth.

#include "platform/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes = "{\\rtf1 ";
    bytes.append(reinterpret_cast<const char*>(data), size);
    const auto text = rasp::RtfToText(bytes);
    if (!text) std::abort();
    // Every input byte gives at most two code units (\par is four bytes for CR LF).
    if (text->size() > 2 * bytes.size()) std::abort();
    for (std::size_t i = 0; i < text->size(); ++i) {
        const char16_t c = (*text)[i];
        if (c == u'\r' && (i + 1 >= text->size() || (*text)[i + 1] != u'\n')) std::abort();
        if (c == u'\n' && (i == 0 || (*text)[i - 1] != u'\r')) std::abort();
    }
    rasp::RtfToText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
