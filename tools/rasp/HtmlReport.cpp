#include "tools/rasp/HtmlReport.h"

#include <algorithm>
#include <cstdio>

#include "compare/HighlightColor.h"
#include "compare/WordText.h"
#include "text/ArticleDecode.h"
#include "tools/rasp/CompareReport.h"

namespace rasp {

namespace {

bool Allowed(char32_t c) {
    if (c == u'\t' || c == u'\n') return true;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    if (c >= 0xFDD0 && c <= 0xFDEF) return false;
    if ((c & 0xFFFE) == 0xFFFE) return false;
    return true;
}

void AppendCodePoint(std::string& out, char32_t c) {
    if (!Allowed(c)) c = 0xFFFD;
    switch (c) {
        case U'&': out += "&amp;"; return;
        case U'<': out += "&lt;"; return;
        case U'>': out += "&gt;"; return;
        case U'"': out += "&quot;"; return;
        case U'\'': out += "&#39;"; return;
        default: break;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendEscaped(std::string& out, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            c = u'\n';
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendCodePoint(out, c);
    }
}

int ColourClass(std::uint32_t colour) {
    for (int k = 1; k <= 6; ++k)
        if (HighlightColor(k) == colour) return k;
    return 0;
}

// For each word the pair it is shown as part of: the last pair that covers
// it, as the last window to colour a word decides its colour.
std::vector<int> PairOfWords(int words, const std::vector<TRunPair>& runs, bool first) {
    std::vector<int> pair(static_cast<std::size_t>(words), -1);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const int from = first ? runs[r].Start1 : runs[r].Start2;
        const int to = first ? runs[r].End1 : runs[r].End2;
        for (int k = std::max(from, 0); k <= to && k < words; ++k) pair[static_cast<std::size_t>(k)] = static_cast<int>(r);
    }
    return pair;
}

// One article's text: a stretch of words of one pair and colour is one link
// (its separators inside); separators between two stretches of the same
// colour and text after a highlighted last word take the colour, as in the
// window's panes.
// The pairs that show in an article: those that still own a highlighted,
// not left-out word there.
std::vector<bool> ShownPairs(const TMatchArticle& article, const std::vector<TRunPair>& runs, bool first) {
    const std::vector<int> pair = PairOfWords(article.Words.Count(), runs, first);
    std::vector<bool> shown(runs.size(), false);
    for (int k = 0; k < article.Words.Count(); ++k) {
        const int p = pair[static_cast<std::size_t>(k)];
        const bool excluded = static_cast<std::size_t>(k) < article.Excluded.size() &&
                              article.Excluded[static_cast<std::size_t>(k)];
        if (p >= 0 && !excluded && ColourClass(article.Words[k].Color) != 0) shown[static_cast<std::size_t>(p)] = true;
    }
    return shown;
}

std::string ArticleBody(const TMatchArticle& article, const std::vector<TRunPair>& runs, bool first,
                        const std::vector<bool>& partnerShows) {
    const char* self = first ? "a" : "b";
    const char* other = first ? "b" : "a";
    const std::u16string_view text = article.Text;
    const int count = article.Words.Count();
    const std::vector<int> pair = PairOfWords(count, runs, first);
    std::vector<bool> named(runs.size(), false);

    std::string out;
    auto span = [&](std::u16string_view piece, std::uint32_t colour) {
        if (piece.empty()) return;
        const int c = ColourClass(colour);
        if (c == 0) {
            AppendEscaped(out, piece);
            return;
        }
        out += "<span class=\"c" + std::to_string(c) + "\">";
        AppendEscaped(out, piece);
        out += "</span>";
    };

    long long previousEnd = 1;
    std::uint32_t previousColour = kWordUnhighlighted;
    int k = 0;
    while (k < count) {
        const TWord& word = article.Words[k];
        const long long start = word.StartPos;
        // A gap between two stretches of one colour takes the colour; it goes
        // inside the next stretch's element (an element of blanks alone
        // would be dropped by HTML tools).
        const std::u16string_view gap = CopyText(text, previousEnd, start - previousEnd);
        const bool colouredGap = word.Color == previousColour && ColourClass(word.Color) != 0;
        if (!colouredGap) AppendEscaped(out, gap);
        // The stretch: words k..last of one pair and one colour (or one left-out word).
        int last = k;
        const bool excluded = article.Excluded.size() > static_cast<std::size_t>(k) &&
                              article.Excluded[static_cast<std::size_t>(k)];
        if (!excluded)
            while (last + 1 < count && pair[static_cast<std::size_t>(last + 1)] == pair[static_cast<std::size_t>(k)] &&
                   article.Words[last + 1].Color == word.Color && pair[static_cast<std::size_t>(k)] >= 0)
                ++last;
        const TWord& lastWord = article.Words[last];
        const long long from = colouredGap ? previousEnd : start;
        const std::u16string_view piece = CopyText(text, from, static_cast<long long>(lastWord.EndPos) - from);
        const int p = pair[static_cast<std::size_t>(k)];
        const int c = ColourClass(word.Color);
        if (excluded) {
            out += "<span class=\"out\">";
            AppendEscaped(out, piece);
            out += "</span>";
        } else if (p >= 0 && c != 0 && partnerShows[static_cast<std::size_t>(p)]) {
            out += "<a class=\"run c" + std::to_string(c) + "\"";
            if (!named[static_cast<std::size_t>(p)]) {
                out += " id=\"" + std::string(self) + std::to_string(p + 1) + "\"";
                named[static_cast<std::size_t>(p)] = true;
            }
            out += " href=\"#" + std::string(other) + std::to_string(p + 1) + "\">";
            AppendEscaped(out, piece);
            out += "</a>";
        } else {
            span(piece, word.Color);
        }
        previousEnd = lastWord.EndPos;
        previousColour = lastWord.Color;
        k = last + 1;
    }
    const std::u16string_view tail = CopyText(text, previousEnd, static_cast<long long>(text.size()) + 1 - previousEnd);
    const bool blank = std::all_of(tail.begin(), tail.end(), [](char16_t c) { return c <= u' '; });
    span(tail, blank ? kWordUnhighlighted : previousColour);
    return out;
}

constexpr const char* kStyle = R"(body{font-family:"Liberation Sans",Arial,Helvetica,sans-serif;margin:1.2em 1.5em;color:#000;background:#fff}
h1{font-size:1.5em;margin:0 0 .2em}
p.mode{margin:0 0 .8em;color:#333}
table.figures{border-collapse:collapse;margin:0 0 1em}
table.figures th{text-align:left;font-weight:normal;padding:.15em 1.5em .15em 0;color:#333}
table.figures td{padding:.15em 0;font-weight:bold}
.articles{display:flex;gap:1.2em;align-items:flex-start}
.article{flex:1 1 0;min-width:0;border:1px solid #999;padding:0 .8em .6em}
.article h2{font-size:1.05em;margin:.5em 0;overflow-wrap:anywhere}
.text{white-space:pre-wrap;overflow-wrap:anywhere;line-height:1.5;max-height:78vh;overflow:auto}
a.run{color:#000;text-decoration:none;font-weight:bold}
a.run:hover{outline:1px solid #000}
.out{color:#666;text-decoration:line-through}
.c1{background:#00FFFF;font-weight:bold}
.c2{background:#C0DCC0;font-weight:bold}
.c3{background:#FFFF00;font-weight:bold}
.c4{background:#FF0000;font-weight:bold}
.c5{background:#808000;font-weight:bold}
.c6{background:#C0C0C0;font-weight:bold}
@keyframes flash{0%,40%,80%{outline:3px solid #000}20%,60%,100%{outline:3px solid transparent}}
.flash{animation:flash 1.5s}
@media print{body{margin:0;font-size:10pt}.articles{display:block}.article{border:0;padding:0;margin:0 0 1.5em}.text{max-height:none;overflow:visible}*{-webkit-print-color-adjust:exact;print-color-adjust:exact}}
)";

constexpr const char* kScript = R"(document.addEventListener("click",function(e){var a=e.target.closest("a.run");if(!a)return;var t=document.getElementById(a.getAttribute("href").slice(1));if(!t)return;e.preventDefault();t.scrollIntoView({behavior:"smooth",block:"center"});t.classList.remove("flash");void t.offsetWidth;t.classList.add("flash");});
)";

std::string Row(const std::string& name, const std::string& value) {
    return "<tr><th>" + name + "</th><td>" + value + "</td></tr>\n";
}

std::string Words(int count) { return std::to_string(count) + (count == 1 ? " word" : " words"); }

}  // namespace

std::string HtmlEscape(std::u16string_view text) {
    std::string out;
    AppendEscaped(out, text);
    return out;
}

std::string HtmlEscapeBytes(std::string_view bytes) {
    std::u16string text;
    AppendUtf8(bytes, text);
    return HtmlEscape(text);
}

std::string CssColour(std::uint32_t colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buffer;
}

std::string HtmlReport(const THtmlReport& report) {
    const TMatchFigures& f = report.Result->Figures;
    const std::string name1 = HtmlEscapeBytes(report.Name1);
    const std::string name2 = HtmlEscapeBytes(report.Name2);
    const std::string percentage = ShownPercentage(f.Percentage);
    static const char* const kUnits[] = {"words", "sentences", "paragraphs"};
    const int unit = report.Options.Unit >= 0 && report.Options.Unit <= 2 ? report.Options.Unit : 0;

    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta name=\"generator\" content=\"Tellivo Rasp\">\n<title>Duplicate Content: " +
           percentage + "% \xE2\x80\x93 " + name1 + " and " + name2 + "</title>\n<style>\n" + kStyle +
           "</style>\n</head>\n<body>\n";
    out += "<h1>Duplicate Content: " + percentage + "%</h1>\n<p class=\"mode\">";
    out += report.Options.AnyOrder ? "Order-free matching" : "In-order matching, as the window compares";
    out += ", runs of at least " + std::to_string(report.Options.MinLength) + " " +
           (report.Options.AnyOrder ? "words" : kUnits[unit]) + ". Click a run to see its partner.</p>\n";
    out += "<table class=\"figures\">\n";
    out += Row("Words matched", std::to_string(f.Matched2) + " of " + Words(f.Words2) + " of article 2");
    out += Row("Runs", std::to_string(f.Runs));
    out += Row("Longest run", Words(f.LongestRun));
    out += Row("Article 1 covered", ShownPercentage(f.Covered1) + "% (" + std::to_string(f.Matched1) + " of " +
                                        Words(f.Words1) + ")");
    if (report.ShowExcluded)
        out += Row("Left out", Words(f.Excluded1) + " of article 1, " + Words(f.Excluded2) +
                                   " of article 2 (struck through)");
    out += "</table>\n<div class=\"articles\">\n";
    const std::vector<TRunPair>& runs = report.Result->Runs;
    const std::vector<bool> shown1 = ShownPairs(*report.Article1, runs, true);
    const std::vector<bool> shown2 = ShownPairs(*report.Article2, runs, false);
    out += "<section class=\"article\" id=\"article1\">\n<h2>Article 1: " + name1 + "</h2>\n<div class=\"text\">" +
           ArticleBody(*report.Article1, runs, true, shown2) + "</div>\n</section>\n";
    out += "<section class=\"article\" id=\"article2\">\n<h2>Article 2: " + name2 + "</h2>\n<div class=\"text\">" +
           ArticleBody(*report.Article2, runs, false, shown1) + "</div>\n</section>\n";
    out += "</div>\n<script>\n";
    out += kScript;
    out += "</script>\n</body>\n</html>\n";
    return out;
}

}  // namespace rasp
