#pragma once
// Single- and double-byte Windows code pages turned into UTF-16, as the rich
// text reader and the plain-text decoder need them.

#include <memory>
#include <string>
#include <string_view>

// AppendWindows1252, AppendUtf8 and IsValidUtf8: the one UTF-8 and
// Windows-1252 codec, shared with the article decoder.
#include "text/ArticleDecode.h"

namespace rasp {

inline constexpr int cpWindows1252 = 1252;
inline constexpr int cpUtf8 = 65001;

std::u16string Utf8ToUtf16(std::string_view bytes);
// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The code page that the RTF font charset `charset` stands for; 0 when the
// charset means "the document's code page".
int CodePageFromCharset(int charset);

// Turns bytes of one code page into UTF-16. Code pages other than 1252 and
// UTF-8 go through the C library's converters; one that it does not know is
// read as Windows-1252, so text is never dropped.
class TCodePageDecoder {
public:
    explicit TCodePageDecoder(int codePage);
    ~TCodePageDecoder();
    TCodePageDecoder(const TCodePageDecoder&) = delete;
    TCodePageDecoder& operator=(const TCodePageDecoder&) = delete;

    int CodePage() const { return FCodePage; }
    // Appends the decoded bytes; invalid or incomplete sequences become U+FFFD.
    void Append(std::string_view bytes, std::u16string& out);

private:
    struct TConverter;
    int FCodePage;
    std::unique_ptr<TConverter> FConverter;
};

}  // namespace rasp
