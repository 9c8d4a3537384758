// Any bytes read as an article: decoding never fails, line breaks come out
// as CR LF only, and the spans of the text keep their invariants.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/ArticleDecode.h"
#include "text/SplitArticle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = rasp::DecodeArticleBytes(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')) std::abort();
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) std::abort();
    }
    if (auto utf8 = rasp::DecodeUtf8(bytes)) {
        if (rasp::EncodeUtf8(*utf8) != bytes) std::abort();  // valid UTF-8 round-trips
    }

    rasp::TListWords words;
    rasp::TListSentences sentences;
    rasp::TListParagraphs paragraphs;
    rasp::SplitArticle(text, words, sentences, paragraphs);
    int previousEnd = 0;
    for (const rasp::TWord& w : words) {
        if (w.StartPos <= previousEnd || w.EndPos <= w.StartPos) std::abort();
        if (w.EndPos > static_cast<int>(text.size()) + 1) std::abort();
        previousEnd = w.EndPos;
    }
    int next = 0;
    for (const rasp::TSentence& s : sentences) {
        if (s.FirstWord != next || s.LastWord < s.FirstWord) std::abort();
        next = s.LastWord + 1;
    }
    if (next != words.Count()) std::abort();
    next = 0;
    for (const rasp::TParagraph& p : paragraphs) {
        if (p.FirstWord != next || p.LastWord < p.FirstWord) std::abort();
        next = p.LastWord + 1;
    }
    if (next != words.Count()) std::abort();
    return 0;
}
