#pragma once
// JSON text for the comparison result: the exact percentage and every span of
// both articles.

#include <string>
#include <string_view>

#include "text/SpanLists.h"

namespace rasp {

// Shortest text that reads back as the same double.
std::string JsonNumber(double value);

// A JSON string of bytes read as UTF-8 (ill-formed bytes become U+FFFD).
std::string JsonString(std::string_view bytes);

// {"words":[[StartPos,EndPos,Color],...],"sentences":[[First,Last],...],"paragraphs":[...]}
std::string ArticleSpansJson(const TListWords& words, const TListSentences& sentences,
                             const TListParagraphs& paragraphs);

}  // namespace rasp
