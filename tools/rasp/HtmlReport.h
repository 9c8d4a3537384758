#pragma once
// A self-contained HTML report of one comparison: the figures on top, both
// articles side by side in the window's colours, and every run linked to its
// partner in the other article (a click scrolls there and flashes it).
// Nothing is loaded from elsewhere; everything from the articles is escaped.

#include <string>

#include "compare/ArticleMatch.h"

namespace rasp {

struct THtmlReport {
    std::string Name1;  // file names as the user gave them (any bytes)
    std::string Name2;
    const TMatchArticle* Article1 = nullptr;
    const TMatchArticle* Article2 = nullptr;
    const TMatchResult* Result = nullptr;
    TMatchOptions Options;
    bool ShowExcluded = false;  // a row with the left-out word counts
};

std::string HtmlReport(const THtmlReport& report);

// Text for an HTML text node or attribute value: UTF-8, the five markup
// characters as references, CR LF and lone CR as LF, and code points HTML
// does not allow in a document (controls, noncharacters, lone surrogates)
// as U+FFFD.
std::string HtmlEscape(std::u16string_view text);
std::string HtmlEscapeBytes(std::string_view bytes);  // bytes read as UTF-8

// "#RRGGBB" of a 0x00BBGGRR colour.
std::string CssColour(std::uint32_t colour);

}  // namespace rasp
