#include "tools/rasp/RaspJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "text/ArticleDecode.h"

namespace rasp {

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "0";  // JSON has no NaN or infinity
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string JsonString(std::string_view bytes) {
    std::u16string text;
    AppendUtf8(bytes, text);
    const std::string utf8 = EncodeUtf8(text);
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

namespace {

template <class TList, class TFields>
void AppendList(std::string& out, const char* key, const TList& list, TFields fields) {
    out += '"';
    out += key;
    out += "\":[";
    bool first = true;
    for (const auto& span : list) {
        if (!first) out += ',';
        first = false;
        out += '[';
        out += fields(span);
        out += ']';
    }
    out += ']';
}

}  // namespace

std::string ArticleSpansJson(const TListWords& words, const TListSentences& sentences,
                             const TListParagraphs& paragraphs) {
    std::string out = "{";
    AppendList(out, "words", words, [](const TWord& w) {
        return std::to_string(w.StartPos) + ',' + std::to_string(w.EndPos) + ',' +
               std::to_string(w.Color);
    });
    out += ',';
    AppendList(out, "sentences", sentences, [](const TSentence& s) {
        return std::to_string(s.FirstWord) + ',' + std::to_string(s.LastWord);
    });
    out += ',';
    AppendList(out, "paragraphs", paragraphs, [](const TParagraph& p) {
        return std::to_string(p.FirstWord) + ',' + std::to_string(p.LastWord);
    });
    out += '}';
    return out;
}

}  // namespace rasp
