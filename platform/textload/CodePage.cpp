#include "platform/textload/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <string>
#include <vector>

namespace rasp {

namespace {

// Bytes 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(char32_t cp, std::u16string& out) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// Length of the well-formed UTF-8 sequence at `i`, or 0 when it is malformed.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2; min = 0x80; cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3; min = 0x800; cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4; min = 0x10000; cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// The code pages a document may name that we hand to the converters; any
// other number is read as Windows-1252 without asking, so a hostile document
// naming thousands of code pages costs nothing.
bool IsKnownCodePage(int codePage) {
    switch (codePage) {
        case 437: case 850: case 874: case 932: case 936: case 949: case 950: case 1250: case 1251:
        case 1253: case 1254: case 1255: case 1256: case 1257: case 1258: case 1361: case 10000:
            return true;
        default:
            return false;
    }
}

std::string IconvName(int codePage) {
    switch (codePage) {
        case 10000: return "MACINTOSH";
        case 1361: return "JOHAB";
        default: return "CP" + std::to_string(codePage);
    }
}

}  // namespace

void AppendWindows1252(std::string_view bytes, std::u16string& out) {
    out.reserve(out.size() + bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
}

void AppendUtf8(std::string_view bytes, std::u16string& out) {
    out.reserve(out.size() + bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceAt(bytes, i, cp);
        if (len == 0) {
            out.push_back(kReplacement);
            ++i;
        } else {
            AppendCodePoint(cp, out);
            i += len;
        }
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceAt(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    AppendUtf8(bytes, out);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

int CodePageFromCharset(int charset) {
    switch (charset) {
        case 77: return 10000;
        case 128: return 932;
        case 129: return 949;
        case 130: return 1361;
        case 134: return 936;
        case 136: return 950;
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: return 1256;
        case 186: return 1257;
        case 204: return 1251;
        case 222: return 874;
        case 238: return 1250;
        case 254: return 437;
        case 255: return 850;
        default: return 0;  // ANSI, default, symbol and unknown charsets
    }
}

struct TCodePageDecoder::TConverter {
    iconv_t handle;
    explicit TConverter(iconv_t h) : handle(h) {}
    ~TConverter() { iconv_close(handle); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;
};

TCodePageDecoder::TCodePageDecoder(int codePage) : FCodePage(codePage) {
    if (codePage == cpWindows1252 || codePage == cpUtf8) return;
    if (!IsKnownCodePage(codePage)) {
        FCodePage = cpWindows1252;
        return;
    }
    iconv_t h = iconv_open("UTF-16LE", IconvName(codePage).c_str());
    if (h == reinterpret_cast<iconv_t>(-1)) {
        FCodePage = cpWindows1252;
        return;
    }
    FConverter = std::make_unique<TConverter>(h);
}

TCodePageDecoder::~TCodePageDecoder() = default;

void TCodePageDecoder::Append(std::string_view bytes, std::u16string& out) {
    if (FCodePage == cpUtf8) {
        AppendUtf8(bytes, out);
        return;
    }
    if (!FConverter) {
        AppendWindows1252(bytes, out);
        return;
    }
    iconv(FConverter->handle, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    std::vector<char> buffer(bytes.size() * 4 + 16);
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    auto flush = [&](std::size_t produced) {
        for (std::size_t k = 0; k + 1 < produced; k += 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[k]) |
                                                (static_cast<unsigned char>(buffer[k + 1]) << 8)));
        }
    };
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t oLeft = buffer.size();
        const std::size_t rc = iconv(FConverter->handle, &in, &inLeft, &o, &oLeft);
        flush(buffer.size() - oLeft);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // An invalid byte, or a sequence cut short at the end: mark it and go on.
        out.push_back(kReplacement);
        ++in;
        --inLeft;
        iconv(FConverter->handle, nullptr, nullptr, nullptr, nullptr);
    }
}

}  // namespace rasp
