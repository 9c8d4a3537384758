#include "platform/textdecode/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <string>
#include <vector>

namespace rasp {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

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

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    AppendUtf8(bytes, out);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) { return EncodeUtf8(text); }

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
