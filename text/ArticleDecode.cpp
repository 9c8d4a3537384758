#include "text/ArticleDecode.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace rasp {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Bytes 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1.
// The five unassigned bytes map to the C1 control of the same value, as the
// system's own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendCodePoint(char32_t cp, std::u16string& out) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// Length of the well-formed UTF-8 sequence at `i`, or 0 when it is malformed
// (a stray or cut-short sequence, an overlong form, a surrogate or a code
// point above U+10FFFF).
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

// Appends `bytes` read as UTF-8. A byte that starts no well-formed sequence
// becomes U+FFFD when `replace` is set; otherwise it ends the decoding, and
// the result is false.
bool AppendUtf8Sequences(std::string_view bytes, std::u16string& out, bool replace) {
    out.reserve(out.size() + bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceAt(bytes, i, cp);
        if (len == 0) {
            if (!replace) return false;
            out.push_back(kReplacement);
            ++i;
        } else {
            AppendCodePoint(cp, out);
            i += len;
        }
    }
    return true;
}

}  // namespace

void AppendWindows1252(std::string_view bytes, std::u16string& out) {
    out.reserve(out.size() + bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
    }
}

void AppendUtf8(std::string_view bytes, std::u16string& out) {
    AppendUtf8Sequences(bytes, out, true);
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

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    if (!AppendUtf8Sequences(bytes, out, false)) return std::nullopt;
    return out;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out;
    AppendWindows1252(bytes, out);
    return out;
}

std::u16string NormaliseLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string DecodeArticleBytes(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        if (auto text = DecodeUtf8(bytes.substr(3))) return NormaliseLineBreaks(*text);
    } else if (auto text = DecodeUtf8(bytes)) {
        return NormaliseLineBreaks(*text);
    }
    return NormaliseLineBreaks(DecodeWindows1252(bytes));
}

std::u16string ReadArticleFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw std::runtime_error("cannot read '" + path + "': it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int code = errno;
        throw std::runtime_error("cannot open '" + path + "': " +
                                 (code != 0 ? std::strerror(code) : "unknown error"));
    }
    std::string bytes;
    try {
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size < 0)
            in.clear();  // a pipe or device cannot seek: just read it
        else
            in.seekg(0, std::ios::beg);
        if (size > kMaxArticleFileBytes)
            throw std::runtime_error("cannot read '" + path + "': the file is too large for an article");
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
        // Read in blocks, so that a file that grows while it is read (a pipe,
        // a log) still stops at the limit.
        char block[1 << 16];
        while (in.read(block, sizeof block) || in.gcount() > 0) {
            bytes.append(block, static_cast<std::size_t>(in.gcount()));
            if (bytes.size() > static_cast<std::size_t>(kMaxArticleFileBytes))
                throw std::runtime_error("cannot read '" + path +
                                         "': the file is too large for an article");
        }
    } catch (const std::ios_base::failure&) {
        throw std::runtime_error("cannot read '" + path + "'");
    }
    if (in.bad()) throw std::runtime_error("cannot read '" + path + "'");
    return DecodeArticleBytes(bytes);
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;  // a lone surrogate has no UTF-8 form
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

}  // namespace rasp
